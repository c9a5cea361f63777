// The picture export: the report's histogram, repeatability, buffering, clipboard.
#include "histogram_charts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {
const QRgb kSilver = qRgb(0xC0, 0xC0, 0xC0);

// Silver rows in column x.
int BarHeight(const QImage& im, int x) {
    int n = 0;
    for (int y = 0; y < im.height(); ++y) n += im.pixel(x, y) == kSilver;
    return n;
}
// Silver-or-outline extent of the bar row through y, around x.
std::pair<int, int> BarSpan(const QImage& im, int x, int y) {
    int l = x, r = x;
    while (l > 0 && im.pixel(l - 1, y) != qRgb(255, 255, 255)) --l;
    while (r + 1 < im.width() && im.pixel(r + 1, y) != qRgb(255, 255, 255)) ++r;
    return {l, r};
}
}

TEST(ChartExport, ReportPictureOfTheWorkedExample) {
    auto h = MakeChart2();
    FillWorkedExample(h, true);
    const QImage im = h.chart->RenderToBitmap(clWhite, {0, 0, 393, 313});
    ASSERT_EQ(im.size(), QSize(393, 313));
    EXPECT_EQ(im.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(im.pixel(200, 40), qRgb(255, 255, 255));

    const TChartAxis& left = h.chart->LeftAxis;
    EXPECT_EQ(left.RangeMin(), 0);
    EXPECT_EQ(left.RangeMax(), 4);
    const int unit = left.CalcPosValue(0) - left.CalcPosValue(1);
    int heights[5];
    for (int i = 0; i < 5; ++i) {
        const int x = h.chart->BottomAxis.CalcPosValue(12.0 * (i + 1));
        heights[i] = BarHeight(im, x);
        if (i == 1) continue;
        const int y = left.CalcPosValue(0) - 5;
        const auto [l, r] = BarSpan(im, x, y);
        EXPECT_EQ(r - l + 1, 30) << "bar " << i;
        EXPECT_EQ(l, x - 15) << "bar " << i;
    }
    EXPECT_EQ(heights[1], 0);
    for (int i : {2, 3, 4}) EXPECT_NEAR(heights[i], unit - 2, 1) << i;  // inside the outline
    EXPECT_NEAR(heights[0], 3 * unit - 2, 2);
    // Band names under the bars: dark pixels below the axis around each X.
    const int labelsTop = h.chart->BottomAxis.LabelsPos();
    for (int i = 0; i < 5; ++i) {
        const int x = h.chart->BottomAxis.CalcPosValue(12.0 * (i + 1));
        int ink = 0;
        for (int y = labelsTop; y < 313 - 4; ++y)
            for (int dx = -12; dx <= 12; ++dx) ink += qGray(im.pixel(x + dx, y)) < 128;
        EXPECT_GT(ink, 5) << "label " << i;
    }
}

TEST(ChartExport, TwiceGivesTheSamePictureAndBufferingComesBack) {
    auto h = MakeChart2();
    FillWorkedExample(h, true);
    ASSERT_TRUE(h.chart->ChartCanvas().Buffering());
    const QImage a = h.chart->RenderToBitmap(clWhite, {0, 0, 393, 313});
    EXPECT_TRUE(h.chart->ChartCanvas().Buffering());
    EXPECT_EQ(h.chart->ChartCanvas().OffscreenBitmap(), nullptr);  // released by the export
    const QImage b = h.chart->RenderToBitmap(clWhite, {0, 0, 393, 313});
    EXPECT_EQ(a, b);
    // The screen paint goes through a new buffer and gives the same pixels.
    const QImage screen = PaintOnScreen(*h.chart);
    EXPECT_NE(h.chart->ChartCanvas().OffscreenBitmap(), nullptr);
    EXPECT_EQ(screen.convertToFormat(QImage::Format_RGB32), a.convertToFormat(QImage::Format_RGB32));
}

TEST(ChartExport, AfterClearingOnlyAxesAndWallsRemain) {
    auto h = MakeChart2();
    FillWorkedExample(h, true);
    h.series->ClearPoints();
    const QImage im = h.chart->RenderToBitmap(clWhite, {0, 0, 393, 313});
    for (int x = 0; x < im.width(); ++x) ASSERT_EQ(BarHeight(im, x), 0);
    const TRect p = h.chart->ChartRect();
    EXPECT_EQ(im.pixel(p.right, (p.top + p.bottom) / 2), qRgb(0, 0, 0));  // back wall frame
}

TEST(ChartExport, BackgroundAndOffsetRectangle) {
    auto h = MakeChart2();
    FillWorkedExample(h, true);
    const QImage whole = h.chart->RenderToBitmap(clWhite, {0, 0, 393, 313});
    const QImage moved = h.chart->RenderToBitmap(clWhite, {50, 40, 443, 353});
    EXPECT_EQ(whole, moved);
    h.chart->Gradient.SetVisible(false);
    const QImage grey = h.chart->RenderToBitmap(clRed, {0, 0, 100, 80});
    EXPECT_EQ(grey.size(), QSize(100, 80));
    EXPECT_EQ(grey.pixel(50, 1), ToQColor(clBtnFace).rgb());  // the panel paints over the background
}

TEST(ChartExport, ClipboardGetsThePicture) {
    auto h = MakeChart2();
    FillWorkedExample(h, true);
    h.chart->CopyBitmapToClipboard();
    const QImage fromClipboard = QGuiApplication::clipboard()->image();
    const QImage expected = h.chart->RenderToBitmap(clWhite, {0, 0, 393, 313});
    ASSERT_FALSE(fromClipboard.isNull());
    EXPECT_EQ(fromClipboard.size(), QSize(393, 313));
    EXPECT_EQ(fromClipboard.convertToFormat(QImage::Format_RGB32), expected);
}
