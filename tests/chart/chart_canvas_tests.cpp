// The chart's drawing layer: colours, projection, boxes, buffering.
#include "chart_canvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(DarkenColor, SubtractsWithAFloorOfZero) {
    EXPECT_EQ(DarkenColor(clBlack, 128), clBlack);
    EXPECT_EQ(DarkenColor(RGBColor(100, 200, 50), 128), RGBColor(0, 72, 0));
    EXPECT_EQ(DarkenColor(clRed, 128), RGBColor(127, 0, 0));
    EXPECT_EQ(DarkenColor(clRed, 64), RGBColor(191, 0, 0));
    // System colours are resolved first.
    EXPECT_EQ(DarkenColor(clBtnFace, 0), ColorToRGB(clBtnFace));
}

namespace {
struct Layer {
    QImage target{200, 150, QImage::Format_RGB32};
    QPainter painter;
    TChartCanvas3D canvas;
    TRect rect;
    explicit Layer(bool view3D, bool buffering = true, TView3DOptions o = {}) {
        target.fill(Qt::white);
        painter.begin(&target);
        canvas.SetBuffering(buffering);
        rect = canvas.BeginPicture(painter, {10, 10, 190, 140}, view3D, o);
        canvas.Surface().FillRect(rect, clWhite);
        canvas.SetProjection(10, {20, 20, 120, 120});
    }
    QImage Finish() {
        canvas.EndPicture();
        painter.end();
        return target;
    }
};
}

TEST(ChartProjection, OrthogonalMovesDepthRightAndUp) {
    Layer l(true);
    EXPECT_EQ(l.canvas.Project(50, 60, 0), QPoint(50, 60));
    EXPECT_EQ(l.canvas.Project(50, 60, 7), QPoint(57, 53));
    l.Finish();
}

TEST(ChartProjection, ZoomScalesAroundTheCentreWithTiesToEven) {
    TView3DOptions o;
    o.zoom = 50;
    Layer l(true, true, o);
    // centre (70, 70): (75 - 70 + 0) * 0.5 = 2.5 -> 2; (77 - 70) * 0.5 = 3.5 -> 4
    EXPECT_EQ(l.canvas.Project(75, 70, 0).x(), 72);
    EXPECT_EQ(l.canvas.Project(77, 70, 0).x(), 74);
    l.Finish();
}

TEST(ChartProjection, FlatViewIgnoresDepth) {
    Layer l(false);
    EXPECT_EQ(l.canvas.Project(50, 60, 9), QPoint(50, 60));
    l.canvas.SetPen({clBlack});
    l.canvas.SetBrush({clRed});
    l.canvas.Box(30, 60, 30, 80, 0, 10, TDarkSides::Darken);
    const QImage im = l.Finish();
    // No side or top face: right of the front face stays white.
    EXPECT_EQ(im.pixel(10 + 65, 10 + 50), qRgb(255, 255, 255));
    EXPECT_EQ(im.pixel(10 + 45, 10 + 50), qRgb(255, 0, 0));
}

TEST(ChartBox, DarkSidesOfARedBar) {
    Layer l(true);
    l.canvas.SetPen({clBlack});
    l.canvas.SetBrush({clRed});
    l.canvas.Box(30, 60, 40, 100, 0, 8, TDarkSides::Darken);
    EXPECT_EQ(l.canvas.Surface().Brush().color, clRed) << "the brush is given back";
    const QImage im = l.Finish();
    auto at = [&](int x, int y) { return im.pixel(10 + x, 10 + y); };
    EXPECT_EQ(at(45, 70), qRgb(255, 0, 0));   // front
    EXPECT_EQ(at(64, 70), qRgb(127, 0, 0));   // right side
    EXPECT_EQ(at(45, 36), qRgb(191, 0, 0));   // top
}

TEST(ChartBox, PlainSidesWithoutDarkening) {
    Layer l(true);
    l.canvas.SetPen({clBlack});
    l.canvas.SetBrush({clSilver});
    l.canvas.Box(30, 60, 40, 100, 0, 8, TDarkSides::None);
    const QImage im = l.Finish();
    EXPECT_EQ(im.pixel(10 + 64, 10 + 70), ToQColor(clSilver).rgb());
}

TEST(ChartFaces, WallsAtDepth) {
    Layer l(true);
    l.canvas.SetPen({clBlack});
    l.canvas.SetBrush({0x80FFFF});
    l.canvas.SideWallFace(20, 20, 100, 0, 11);
    l.canvas.SetBrush({clBlue});
    l.canvas.FloorFace(40, 100, 110, 0, 11);
    const QImage im = l.Finish();
    EXPECT_EQ(im.pixel(10 + 25, 10 + 60), ToQColor(0x80FFFF).rgb());
    EXPECT_EQ(im.pixel(10 + 70, 10 + 105), ToQColor(clBlue).rgb());
    EXPECT_EQ(im.pixel(10 + 70, 10 + 112), qRgb(255, 255, 255));
}

TEST(ChartGradient, TopIsTheFirstColourForTopToBottom) {
    Layer l(false);
    l.canvas.FillGradient({0, 0, 100, 100}, clWhite, clBlack, TGradientDirection::gdTopBottom);
    l.canvas.FillGradient({100, 0, 180, 100}, clWhite, clBlack, TGradientDirection::gdBottomTop);
    const QImage im = l.Finish();
    EXPECT_EQ(im.pixel(10 + 50, 10), qRgb(255, 255, 255));
    EXPECT_EQ(im.pixel(10 + 50, 10 + 99), qRgb(0, 0, 0));
    EXPECT_EQ(im.pixel(10 + 150, 10), qRgb(0, 0, 0));  // other directions hand the colours over reversed
    EXPECT_LT(qRed(im.pixel(10 + 50, 10 + 60)), qRed(im.pixel(10 + 50, 10 + 30)));
}

TEST(ChartBuffering, BitmapIsReusedForTheSameSizeAndRemadeForAnother) {
    QImage target(100, 100, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter p(&target);
    TChartCanvas3D c;
    EXPECT_EQ(c.BeginPicture(p, {5, 5, 65, 45}, false, {}), (TRect{0, 0, 60, 40}));
    c.Surface().FillRect({0, 0, 60, 40}, clRed);
    c.EndPicture();
    const QImage* first = c.OffscreenBitmap();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(target.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(4, 4), target.pixel(99, 99));

    c.BeginPicture(p, {0, 0, 60, 40}, false, {});
    c.EndPicture();
    EXPECT_EQ(c.OffscreenBitmap(), first);

    c.BeginPicture(p, {0, 0, 80, 40}, false, {});
    c.EndPicture();
    ASSERT_NE(c.OffscreenBitmap(), nullptr);
    EXPECT_EQ(c.OffscreenBitmap()->width(), 80);

    c.SetBuffering(false);
    EXPECT_EQ(c.OffscreenBitmap(), nullptr);
    EXPECT_EQ(c.BeginPicture(p, {5, 5, 65, 45}, false, {}), (TRect{5, 5, 65, 45}));
    c.EndPicture();
}
