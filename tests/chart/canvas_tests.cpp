// The GDI-like canvas: exclusive edges, pen and brush state, text, blits.
#include "canvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <random>

namespace {
QImage Blank(int w = 20, int h = 20) {
    QImage im(w, h, QImage::Format_RGB32);
    im.fill(Qt::white);
    return im;
}
bool IsColor(const QImage& im, int x, int y, TColor c) { return im.pixel(x, y) == ToQColor(c).rgb(); }
}

TEST(CanvasShapes, RectangleExcludesRightAndBottomEdges) {
    QImage im = Blank();
    {
        Canvas c(&im);
        c.SetPen({clBlack});
        c.SetBrush({clRed});
        c.Rectangle(2, 3, 8, 9);
    }
    EXPECT_TRUE(IsColor(im, 2, 3, clBlack));
    EXPECT_TRUE(IsColor(im, 7, 8, clBlack));   // last pixel inside
    EXPECT_TRUE(IsColor(im, 8, 5, clWhite));   // right edge outside
    EXPECT_TRUE(IsColor(im, 5, 9, clWhite));   // bottom edge outside
    EXPECT_TRUE(IsColor(im, 5, 5, clRed));     // brush inside the pen
}

TEST(CanvasShapes, WidePenStaysInside) {
    QImage im = Blank();
    {
        Canvas c(&im);
        c.SetPen({clBlue, 2});
        c.SetBrush({clWhite, TBrushStyle::bsClear});
        c.Rectangle(2, 2, 12, 12);
    }
    EXPECT_TRUE(IsColor(im, 3, 6, clBlue));
    EXPECT_TRUE(IsColor(im, 4, 6, clWhite));
    EXPECT_TRUE(IsColor(im, 10, 6, clBlue));
    EXPECT_TRUE(IsColor(im, 12, 6, clWhite));
}

TEST(CanvasShapes, LineLeavesOutItsEndPoint) {
    QImage im = Blank();
    {
        Canvas c(&im);
        c.SetPen({clBlack});
        c.MoveTo(2, 5);
        c.LineTo(10, 5);
        c.LineTo(10, 12);
        EXPECT_EQ(c.PenPos(), QPoint(10, 12));
    }
    EXPECT_TRUE(IsColor(im, 2, 5, clBlack));
    EXPECT_TRUE(IsColor(im, 9, 5, clBlack));
    EXPECT_TRUE(IsColor(im, 10, 5, clBlack));  // drawn as the start of the second line
    EXPECT_TRUE(IsColor(im, 10, 11, clBlack));
    EXPECT_TRUE(IsColor(im, 10, 12, clWhite));
}

TEST(CanvasShapes, ClearPenAndClearBrushDrawNothing) {
    QImage im = Blank();
    {
        Canvas c(&im);
        c.SetPen({clBlack, 1, TPenStyle::psClear});
        c.SetBrush({clRed, TBrushStyle::bsClear});
        c.Rectangle(0, 0, 20, 20);
        c.Polygon({{1, 1}, {15, 1}, {15, 15}});
        c.Line(0, 10, 20, 10);
    }
    EXPECT_EQ(im, Blank());
}

TEST(CanvasShapes, PolygonFillsWithTheBrush) {
    QImage im = Blank();
    {
        Canvas c(&im);
        c.SetPen({clBlack});
        c.SetBrush({clLime});
        c.Polygon({{2, 2}, {16, 2}, {16, 16}, {2, 16}});
    }
    EXPECT_TRUE(IsColor(im, 9, 9, clLime));
    EXPECT_TRUE(IsColor(im, 2, 9, clBlack));
    EXPECT_TRUE(IsColor(im, 18, 9, clWhite));
}

TEST(CanvasState, SaverRestoresPenBrushFontAndClip) {
    QImage im = Blank();
    Canvas c(&im);
    c.SetPen({clRed, 3});
    c.SetBrush({clBlue});
    c.SetFontColor(clGreen);
    QFont before = c.Font();
    {
        Canvas::StateSaver saved(c);
        c.SetPen({clBlack});
        c.SetBrush({clWhite, TBrushStyle::bsClear});
        QFont f = before;
        f.setPixelSize(30);
        c.SetFont(f);
        c.SetFontColor(clBlack);
        c.SetClipRect({0, 0, 5, 5});
        EXPECT_TRUE(c.HasClip());
    }
    EXPECT_EQ(c.Pen(), (TPenSpec{clRed, 3}));
    EXPECT_EQ(c.Brush(), (TBrushSpec{clBlue}));
    EXPECT_EQ(c.Font(), before);
    EXPECT_EQ(c.FontColor(), clGreen);
    EXPECT_FALSE(c.HasClip());
}

TEST(CanvasState, ClipKeepsShapesInside) {
    QImage im = Blank();
    {
        Canvas c(&im);
        c.SetClipRect({0, 0, 10, 20});
        c.FillRect({0, 0, 20, 20}, clRed);
    }
    EXPECT_TRUE(IsColor(im, 9, 3, clRed));
    EXPECT_TRUE(IsColor(im, 10, 3, clWhite));
}

TEST(CanvasText, TextOutPutsTheCellTopLeftAtThePoint) {
    QImage im = Blank(80, 40);
    int h = 0, w = 0;
    {
        Canvas c(&im);
        c.SetBackMode(TBackgroundMode::Opaque);
        c.SetBackColor(clYellow);
        c.SetFontColor(clBlack);
        h = c.TextHeight();
        w = c.TextWidth(QStringLiteral("WW"));
        c.TextOut(10, 5, QStringLiteral("WW"));
    }
    ASSERT_GT(h, 0);
    EXPECT_TRUE(IsColor(im, 10, 5, clYellow) || IsColor(im, 10, 5, clBlack));
    EXPECT_TRUE(IsColor(im, 9, 5, clWhite));
    EXPECT_TRUE(IsColor(im, 10 + w, 5, clWhite));
    EXPECT_TRUE(IsColor(im, 10, 5 + h, clWhite));
    bool ink = false;
    for (int y = 5; y < 5 + h; ++y)
        for (int x = 10; x < 10 + w; ++x) ink |= qGray(im.pixel(x, y)) < 100;
    EXPECT_TRUE(ink);
}

TEST(CanvasText, CalcRectMeasuresWithoutDrawing) {
    QImage im = Blank(100, 40);
    Canvas c(&im);
    TRect r{5, 5, 5, 5};
    const int h = c.DrawText(QStringLiteral("Hello"), r, dtCalcRect | dtSingleLine);
    EXPECT_EQ(h, r.Height());
    EXPECT_EQ(r.Width(), c.TextWidth(QStringLiteral("Hello")));
}

TEST(CanvasBlocks, BitBltReplacesTheTargetBlock) {
    QImage src(4, 4, QImage::Format_ARGB32);
    src.fill(qRgba(255, 0, 0, 0));  // fully transparent red: copied as it is
    QImage im = Blank();
    {
        Canvas c(&im);
        c.BitBlt(2, 2, 3, 3, src, 1, 1);
    }
    EXPECT_NE(im.pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_EQ(im.pixel(5, 5), qRgb(255, 255, 255));
}

// Upright rectangles take a short cut past the polygon rasteriser; every
// corner order, size (down to a line) and pen/brush mix must paint the same.
TEST(CanvasShapes, UprightPolygonsPaintLikeTheGeneralFill) {
    std::mt19937 rng(7);
    for (int k = 0; k < 600; ++k) {
        const int l = int(rng() % 30), t = int(rng() % 30), r = int(rng() % 30), b = int(rng() % 30);
        const bool pen = rng() % 3 != 0, brush = rng() % 3 != 0, turned = rng() % 2 != 0;
        QPoint pts[4] = {{l, t}, {r, t}, {r, b}, {l, b}};
        if (turned) std::swap(pts[1], pts[3]);
        QImage ours = Blank(40, 40), general = Blank(40, 40);
        {
            Canvas c(&ours);
            c.SetPen(pen ? TPenSpec{clBlack} : TPenSpec{clBlack, 1, TPenStyle::psClear});
            c.SetBrush(brush ? TBrushSpec{clRed} : TBrushSpec{clRed, TBrushStyle::bsClear});
            c.Polygon(pts, 4);
        }
        if (pen || brush) {
            QPainter p(&general);
            p.setPen(pen ? QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin) : QPen(Qt::NoPen));
            p.setBrush(brush ? QBrush(Qt::red) : QBrush(Qt::NoBrush));
            p.drawPolygon(pts, 4, Qt::OddEvenFill);
        }
        ASSERT_EQ(ours, general) << l << "," << t << " " << r << "," << b << " pen " << pen << " brush " << brush;
    }
}

// Upright solid lines take the same kind of short cut past the stroker; both
// directions, every length and a shifted painter must paint the same.
TEST(CanvasShapes, UprightLinesPaintLikeTheStroker) {
    std::mt19937 rng(11);
    for (int k = 0; k < 600; ++k) {
        const QPoint from(int(rng() % 30), int(rng() % 30));
        const int length = int(rng() % 12) - 6;
        const QPoint to = rng() % 2 ? from + QPoint(length, 0) : from + QPoint(0, length);
        const QPoint shift(int(rng() % 3), int(rng() % 3));
        QImage ours = Blank(40, 40), stroked = Blank(40, 40);
        {
            QPainter p(&ours);
            p.translate(shift);
            Canvas c(p);
            c.SetPen(TPenSpec{clBlack});
            c.MoveTo(from.x(), from.y());
            c.LineTo(to.x(), to.y());
        }
        {
            QPainter p(&stroked);
            p.translate(shift);
            p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            if (from != to) p.drawLine(from, to);
        }
        ASSERT_EQ(ours, stroked) << from.x() << "," << from.y() << " to " << to.x() << "," << to.y();
    }
}
