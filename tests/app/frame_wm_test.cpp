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
    // The first step is what makes a press a drag; the window follows the pointer from there.
    void Drag(QPoint from, QPoint first, QPoint then) {
        Pointer(At(from) + QStringList{"mousedown", "1"} + Pause() + At(from + first) + Pause() + At(from + first + then / 2) +
                Pause() + At(from + first + then) + Pause() + QStringList{"mouseup", "1"});
    }
    bool Eventually(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }

    TSkSkinForm* frame = nullptr;
};

}  // namespace

TEST_F(MainFrameWithWindowManager, TheWindowManagerMovesAndSizesTheWindow) {
    const QRect start = form->geometry();
    Drag(Global(Inside("Title")), QPoint(-8, 4), QPoint(-120, 60));
    EXPECT_TRUE(Eventually([&] { return form->pos() == start.topLeft() + QPoint(-120, 60); }))
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
