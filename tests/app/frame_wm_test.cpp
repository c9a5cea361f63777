// The main window under a real window manager, driven by a real pointer
// (xdotool): the window manager moves and sizes the frameless window when
// the frame asks it to, and real clicks reach the caption and the buttons.
// Run by tests/support/with_window_manager.sh; skipped elsewhere.
#include "app_fixture.h"

#include "skin_form.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QMap>

namespace {

class MainFrameWithWindowManager : public AppTest {
protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("MARKWISE_WINDOW_MANAGER")) GTEST_SKIP() << "needs X with a window manager";
        AppTest::SetUp();
        frame = form->Find<TSkSkinForm>(QStringLiteral("SkSkinForm1"));
        ASSERT_NE(frame, nullptr);
        // The window manager has placed and mapped the window.
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QTest::qWait(200);
    }
    QPoint Global(QPoint windowPoint) const { return form->mapToGlobal(windowPoint); }
    QPoint Inside(const char* name) const { return frame->FormObject()->FindByName(QString::fromLatin1(name))->BoundsRect().center(); }

    // Runs xdotool while the window keeps handling its events. The event loop
    // may be what sees xdotool end, after which waitForFinished() only ever
    // says false: the loop asks the process state instead, and gives up in time.
    void Pointer(const QStringList& steps) {
        QProcess xdo;
        xdo.start(QStringLiteral("xdotool"), steps);
        ASSERT_TRUE(xdo.waitForStarted());
        const QDeadlineTimer deadline(30000);
        while (xdo.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            xdo.waitForFinished(10);
            QCoreApplication::processEvents();
        }
        if (xdo.state() != QProcess::NotRunning) {
            xdo.kill();
            xdo.waitForFinished();
            FAIL() << "xdotool did not finish: " << steps.join(QLatin1Char(' ')).toStdString();
        }
        ASSERT_EQ(xdo.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(xdo.exitCode(), 0) << xdo.readAllStandardError().toStdString();
    }
    static QStringList At(QPoint p) { return {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())}; }
    static QStringList Pause() { return {QStringLiteral("sleep"), QStringLiteral("0.3")}; }
    // A press, a first step, and a second in two halves; the window follows from the first step.
    void Drag(QPoint from, QPoint first, QPoint then) {
        Pointer(At(from) + QStringList{"mousedown", "1"} + Pause() + At(from + first) + Pause() + At(from + first + then / 2) +
                Pause() + At(from + first + then) + Pause() + QStringList{"mouseup", "1"});
    }
    bool Eventually(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }
    // Where the X server has the window, in device pixels: during a move by
    // the window manager, Qt hears of the window's place only at its end.
    QRect OnScreen() {
        QProcess xdo;
        xdo.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(form->winId())});
        if (!xdo.waitForFinished(10000)) return QRect();
        QMap<QString, int> at;
        for (const QByteArray& line : xdo.readAllStandardOutput().split('\n')) {
            const int eq = line.indexOf('=');
            if (eq > 0) at[QString::fromLatin1(line.left(eq))] = line.mid(eq + 1).toInt();
        }
        return QRect(at.value(QStringLiteral("X")), at.value(QStringLiteral("Y")), at.value(QStringLiteral("WIDTH")),
                     at.value(QStringLiteral("HEIGHT")));
    }

    TSkSkinForm* frame = nullptr;
};

}  // namespace

TEST_F(MainFrameWithWindowManager, TheWindowManagerMovesAndSizesTheWindow) {
    const QRect start = form->geometry();
    Drag(Global(Inside("Title")), QPoint(-8, 4), QPoint(-120, 60));
    EXPECT_TRUE(Eventually([&] { return form->pos() == start.topLeft() + QPoint(-8, 4) + QPoint(-120, 60); }))
        << form->x() << "," << form->y();

    const QRect moved = form->geometry();
    Drag(Global(QPoint(moved.width() - 3, moved.height() - 3)), QPoint(0, 0), QPoint(80, 40));
    EXPECT_TRUE(Eventually([&] { return form->size() == moved.size() + QSize(80, 40); }))
        << form->width() << "x" << form->height();
    EXPECT_EQ(form->ClientWidth(), 370 + 80);
    EXPECT_EQ(frame->ClientRect().size(), QSize(370 + 80, 287 + 40));
    EXPECT_EQ(form->pos(), moved.topLeft());
}

TEST_F(MainFrameWithWindowManager, RealClicksOnTheCaptionAndTheButtons) {
    const QRect normal = form->geometry();
    Pointer(At(Global(Inside("Title"))) + QStringList{"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(Eventually([&] { return frame->WindowState() == TSkWindowState::kwsMaximized; }));
    EXPECT_TRUE(Eventually([&] { return form->geometry() == form->screen()->availableGeometry(); }));
    Pointer(At(Global(Inside("Title"))) + QStringList{"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(Eventually([&] { return frame->WindowState() == TSkWindowState::kwsNormal && form->geometry() == normal; }));

    Pointer(At(Global(Inside("MaximizeButton"))) + QStringList{"click", "1"});
    EXPECT_TRUE(Eventually([&] { return frame->WindowState() == TSkWindowState::kwsMaximized; }));
    Pointer(At(Global(Inside("RestoreButton"))) + QStringList{"click", "1"});
    EXPECT_TRUE(Eventually([&] { return frame->WindowState() == TSkWindowState::kwsNormal && form->geometry() == normal; }));

    Pointer(At(Global(Inside("MinimizeButton"))) + QStringList{"click", "1"});
    EXPECT_TRUE(Eventually([&] { return form->isMinimized(); }));
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMinimized);
    // The window manager brings it back, as a taskbar would.
    Pointer({"windowactivate", "--sync", QString::number(form->winId())});
    EXPECT_TRUE(Eventually([&] { return !form->isMinimized() && frame->WindowState() == TSkWindowState::kwsNormal; }));

    Pointer(At(Global(Inside("CloseButton"))) + QStringList{"click", "1"});
    EXPECT_TRUE(Eventually([&] { return !form->isVisible(); }));
}

// Pixel by pixel, the pointer keeps the place on the caption where it took
// hold: below the distance that makes a press a move, and after the window
// manager takes the move over. Read from the X server at every step.
TEST_F(MainFrameWithWindowManager, TheWindowStaysUnderThePointerFromTheFirstPixel) {
    if (form->devicePixelRatio() != 1) GTEST_SKIP() << "the pointer is driven in device pixels";
    const QPoint grip = Global(Inside("Title"));
    const QPoint offset = grip - OnScreen().topLeft();
    Pointer(At(grip) + QStringList{"mousedown", "1"} + Pause());
    QStringList slips;
    for (int step = 1; step <= 60 && slips.isEmpty(); ++step) {
        const QPoint at = grip + QPoint(step, step / 3);
        Pointer(At(at));
        QPoint held;
        if (!Eventually([&] { return (held = at - OnScreen().topLeft()) == offset; }))
            slips << QStringLiteral("step %1: held at %2,%3 instead of %4,%5").arg(step).arg(held.x()).arg(held.y()).arg(offset.x()).arg(offset.y());
    }
    Pointer({"mouseup", "1"});
    EXPECT_TRUE(slips.isEmpty()) << slips.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(Eventually([&] { return form->pos() == grip + QPoint(60, 20) - offset; })) << form->x() << "," << form->y();
}

// At twice the size, on a 1280 x 1024 screen, the window placed for a
// screen twice as large in logical pixels is wholly on the screen, in the
// device pixels the X server counts.
TEST_F(MainFrameWithWindowManager, AtScaleTwoTheWholeFrameIsOnTheScreen) {
    if (form->devicePixelRatio() != 2) GTEST_SKIP() << "run at QT_SCALE_FACTOR=2";
    const QRect work = form->screen()->availableGeometry();
    EXPECT_TRUE(work.contains(form->geometry())) << form->x() << "," << form->y() << " " << form->width() << "x" << form->height();
    const QRect device = OnScreen();
    const QRect screen = form->screen()->geometry();
    EXPECT_EQ(device.size(), form->size() * 2);
    EXPECT_TRUE(QRect(screen.topLeft(), screen.size() * 2).contains(device))
        << device.x() << "," << device.y() << " " << device.width() << "x" << device.height();
    // Its buttons are in reach: a real click on close closes it. The place
    // is the X server's, which is current even while Qt hears of a move late;
    // the pointer rests on the button before it clicks, as a hand does.
    const QPoint close = device.topLeft() + Inside("CloseButton") * 2;
    Pointer(At(close) + Pause() + QStringList{"click", "1"});
    EXPECT_TRUE(Eventually([&] { return !form->isVisible(); }));
}
