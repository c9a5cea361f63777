// The main window's own frame: every area of the hit table, the caption's
// double-click, the system buttons, and what the frame looks like.
#include "app_fixture.h"

#include "framed_grid.h"
#include "logical_pixels.h"
#include "skin_form.h"
#include "skin_frame_view.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

namespace {

class MainFrame : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        frame = form->Find<TSkSkinForm>(QStringLiteral("SkSkinForm1"));
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(frame->SkinCopy(), nullptr);
    }
    TSkSkinObject* Part(const char* name) const { return frame->FormObject()->FindByName(QString::fromLatin1(name)); }
    QPoint Inside(const char* name) const { return Part(name)->BoundsRect().center(); }
    QWidget* View() const { return form->findChild<TSkFrameView*>(); }
    void Click(const char* name) { QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, Inside(name)); }
    // The pointer moved over p with no button held. (QTest moves it by
    // warping the cursor, a move the offscreen platform does not hand to
    // the window at a pixel ratio of 2.)
    void Hover(QPoint p) {
        QMouseEvent move(QEvent::MouseMove, p, View()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(View(), &move);
    }

    TSkSkinForm* frame = nullptr;
};

QColor Mix(QColor a, QColor b, double t) {
    return QColor(int(std::lround(a.red() + (b.red() - a.red()) * t)), int(std::lround(a.green() + (b.green() - a.green()) * t)),
                  int(std::lround(a.blue() + (b.blue() - a.blue()) * t)));
}

// Zodiraze's frame colours, active and inactive.
const QColor kCaptionTop(0x4A, 0x6A, 0x8F), kCaptionBottom(0x34, 0x50, 0x6F), kEdge(0x26, 0x3A, 0x50);
const QColor kCaptionTopOff(0x9A, 0xA8, 0xB8), kCaptionBottomOff(0x83, 0x93, 0xA6);

}  // namespace

TEST_F(MainFrame, EveryAreaOfTheHitTable) {
    using A = TSkFrameArea;
    const QSize size = form->size();
    const struct { QPoint at; A area; } table[] = {
        {Inside("Title"), A::Caption},
        {QPoint(size.width() / 2, 1), A::Top},
        {QPoint(1, 1), A::TopLeft},
        {QPoint(size.width() - 2, 1), A::TopRight},
        {QPoint(3, size.height() / 2), A::Left},
        {QPoint(size.width() - 3, size.height() / 2), A::Right},
        {QPoint(size.width() / 2, size.height() - 3), A::Bottom},
        {QPoint(3, size.height() - 3), A::BottomLeft},
        {QPoint(size.width() - 3, size.height() - 3), A::BottomRight},
        {Inside("CloseButton"), A::SysButton},
        {Inside("MinimizeButton"), A::SysButton},
        {Inside("MaximizeButton"), A::SysButton},
        {Inside("SysMenuButton"), A::SysButton},
        {frame->ClientRect().center(), A::Client},
        {frame->ClientRect().topLeft(), A::Client},
    };
    for (const auto& row : table) EXPECT_EQ(frame->AreaAt(row.at), row.area) << row.at.x() << "," << row.at.y();

    // Maximized, the borders belong to the client; the client is client throughout.
    Click("MaximizeButton");
    ASSERT_EQ(frame->WindowState(), TSkWindowState::kwsMaximized);
    const QSize big = form->size();
    for (QPoint p : {QPoint(1, 1), QPoint(3, big.height() / 2), QPoint(big.width() / 2, big.height() - 3),
                     QPoint(big.width() - 3, big.height() - 3), frame->ClientRect().center(), frame->ClientRect().bottomRight()})
        EXPECT_EQ(frame->AreaAt(p), A::Client) << p.x() << "," << p.y();
    EXPECT_EQ(frame->AreaAt(Inside("Title")), A::Caption);
}

// The edges of each area, worked out from the skin: a 402 x 344 window with
// 16-pixel sides, a 36-pixel caption whose top 4 pixels size the window,
// 18-pixel corners above (the system buttons in front of their inner parts)
// and 16-pixel ones in the 21-pixel bottom edge.
TEST_F(MainFrame, FirstAndLastPixelOfEachBorderAndCorner) {
    using A = TSkFrameArea;
    ASSERT_EQ(form->size(), QSize(402, 344));
    const struct { QPoint at; A area; } table[] = {
        {{0, 0}, A::TopLeft}, {{17, 0}, A::TopLeft}, {{0, 17}, A::TopLeft}, {{11, 11}, A::TopLeft},
        {{18, 0}, A::Top}, {{383, 3}, A::Top}, {{18, 4}, A::Caption}, {{200, 4}, A::Caption},
        {{384, 0}, A::TopRight}, {{401, 17}, A::TopRight}, {{383, 4}, A::Caption},
        {{0, 18}, A::Caption}, {{401, 35}, A::Caption},
        {{0, 36}, A::Left}, {{15, 322}, A::Left}, {{16, 36}, A::Client},
        {{386, 36}, A::Right}, {{401, 322}, A::Right}, {{385, 322}, A::Client},
        {{0, 323}, A::BottomLeft}, {{15, 343}, A::BottomLeft},
        {{16, 323}, A::Bottom}, {{385, 343}, A::Bottom}, {{200, 322}, A::Client},
        {{386, 323}, A::BottomRight}, {{401, 343}, A::BottomRight},
    };
    for (const auto& row : table) EXPECT_EQ(frame->AreaAt(row.at), row.area) << row.at.x() << "," << row.at.y();
}

// The pointer shows what a press there would do.
TEST_F(MainFrame, ResizeCursorsOverTheBordersAndCorners) {
    const struct { QPoint at; Qt::CursorShape shape; } table[] = {
        {{8, 200}, Qt::SizeHorCursor},    {{393, 200}, Qt::SizeHorCursor},  {{200, 1}, Qt::SizeVerCursor},
        {{200, 340}, Qt::SizeVerCursor},  {{5, 5}, Qt::SizeFDiagCursor},    {{396, 340}, Qt::SizeFDiagCursor},
        {{396, 5}, Qt::SizeBDiagCursor},  {{5, 340}, Qt::SizeBDiagCursor},  {Inside("Title"), Qt::ArrowCursor},
        {Inside("CloseButton"), Qt::ArrowCursor},
    };
    for (const auto& row : table) {
        Hover(row.at);
        EXPECT_EQ(View()->cursor().shape(), row.shape) << row.at.x() << "," << row.at.y();
    }
    // A maximized window is not sized from its borders.
    Click("MaximizeButton");
    ASSERT_EQ(frame->WindowState(), TSkWindowState::kwsMaximized);
    Hover(QPoint(8, 200));
    EXPECT_EQ(View()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainFrame, DoubleClickOnTheCaptionMaximizesThenRestores) {
    const QRect normal = form->geometry();
    QTest::mouseDClick(View(), Qt::LeftButton, Qt::NoModifier, Inside("Title"));
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMaximized);
    EXPECT_EQ(form->geometry(), form->screen()->availableGeometry());
    EXPECT_TRUE(Part("RestoreButton")->Visible());
    EXPECT_FALSE(Part("MaximizeButton")->Visible());
    QTest::mouseDClick(View(), Qt::LeftButton, Qt::NoModifier, Inside("Title"));
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsNormal);
    EXPECT_EQ(form->geometry(), normal);
    // The workflow goes on in the restored window.
    EXPECT_EQ(form->ClientWidth(), 370);
    EXPECT_TRUE(form->strgrdscore->isVisible());
    EXPECT_EQ(form->strgrdscore->Cells(0, 0), "成绩");
}

TEST_F(MainFrame, EachSystemButtonDoesItsAction) {
    const QRect normal = form->geometry();
    Click("MinimizeButton");
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMinimized);
    EXPECT_TRUE(form->isMinimized());
    // Back from the taskbar: the window comes back as it left.
    form->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsNormal);

    Click("MaximizeButton");
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMaximized);
    Click("RestoreButton");
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsNormal);
    EXPECT_EQ(form->geometry(), normal);

    // A press that leaves the button before the release does nothing.
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, Inside("CloseButton"));
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, Inside("Title"));
    EXPECT_TRUE(form->isVisible());

    int closing = 0;
    frame->OnClose = [&](TComponent*) { ++closing; };
    Click("CloseButton");
    EXPECT_EQ(closing, 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFrame, FramePixelsOfTheGrabbedWindow) {
    const QSize size = form->size();
    QImage shot = frame->GrabWindow();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.deviceIndependentSize().toSize(), size);
    EXPECT_EQ(frame->TitleObject()->Text(), "Markwise07.7");
    // The caption's gradient, clear of the title text and the buttons.
    EXPECT_TRUE(Near(PixelAt(shot, QPoint(200, 20)), Mix(kCaptionTop, kCaptionBottom, 20.0 / 35))) << PixelAt(shot, QPoint(200, 20)).name().toStdString();
    // The bottom edge: a dark line under a slate band, as the sides have.
    EXPECT_TRUE(Near(PixelAt(shot, QPoint(200, size.height() - 1)), kEdge));
    EXPECT_TRUE(Near(PixelAt(shot, QPoint(200, size.height() - 3)), kCaptionBottom));
    EXPECT_TRUE(Near(PixelAt(shot, QPoint(0, 150)), kEdge));
    EXPECT_TRUE(Near(PixelAt(shot, QPoint(size.width() - 1, 150)), kEdge));
    // Rounded corners: outside the window's shape nothing is there.
    for (QPoint corner : {QPoint(0, 0), QPoint(size.width() - 1, 0), QPoint(0, size.height() - 1), QPoint(size.width() - 1, size.height() - 1)})
        EXPECT_EQ(PixelAt(shot, corner).alpha(), 0) << corner.x() << "," << corner.y();
    EXPECT_FALSE(form->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(form->mask().contains(QPoint(200, size.height() - 1)));
    // The system-menu button shows the program's teal icon, not the toolkit's logo.
    const QColor icon = PixelAt(shot, Part("SysMenuButton")->BoundsRect().topLeft() + QPoint(3, 3));
    EXPECT_GT(icon.green(), icon.red() + 60) << icon.name().toStdString();

    // Another window takes the focus: the frame turns to its inactive look.
    QWidget other;
    other.resize(100, 100);
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(frame->WindowActive());
    shot = frame->GrabWindow();
    EXPECT_TRUE(Near(PixelAt(shot, QPoint(200, 20)), Mix(kCaptionTopOff, kCaptionBottomOff, 20.0 / 35))) << PixelAt(shot, QPoint(200, 20)).name().toStdString();
}
