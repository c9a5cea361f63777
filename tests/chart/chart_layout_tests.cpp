// The chart picture as a whole: what takes room and what still shows.
#include "histogram_charts.h"

#include <gtest/gtest.h>

namespace {
int CountColor(const QImage& im, QRgb c, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += im.pixel(x, y) == c;
    return n;
}
}

TEST(ChartLayout, Chart1ShowsTitleLegendWallsAndBars) {
    auto h = MakeChart1();
    FillWorkedExample(h, false);
    const QImage im = PaintOnScreen(*h.chart);
    const TRect legend = h.chart->Legend.Rect();
    ASSERT_FALSE(legend.IsEmpty());
    EXPECT_LE(h.chart->ChartRect().right, legend.left);
    // Five legend rows, each with a red box.
    EXPECT_EQ(legend.Height(), 2 + 5 * QFontMetrics(h.chart->Legend.Font.QtFont()).height());
    EXPECT_GT(CountColor(im, qRgb(255, 0, 0), legend.ToQRect()), 5 * 4);
    // Light-yellow left wall and a white floor.
    const TRect p = h.chart->ChartRect();
    EXPECT_EQ(im.pixel(p.left + 1, (p.top + p.bottom) / 2), ToQColor(0x80FFFF).rgb());
    EXPECT_EQ(im.pixel(p.left + 40, p.bottom - 1), qRgb(255, 255, 255));
    // The title is blue text above the plot.
    EXPECT_GT(CountColor(im, qRgb(0, 0, 255), QRect(0, 0, im.width(), p.top)), 10);
    // Panel colour around, a raised bevel on the outside.
    EXPECT_EQ(im.pixel(2, im.height() / 2), ToQColor(clBtnFace).rgb());
    EXPECT_EQ(im.pixel(0, 10), ToQColor(clBtnHighlight).rgb());
    EXPECT_EQ(im.pixel(im.width() - 1, 10), ToQColor(clBtnShadow).rgb());
}

TEST(ChartLayout, EmptySeriesStillPaintsAxesAndWallsAndTheLegendTakesNoRoom) {
    auto h = MakeChart1();
    FillWorkedExample(h, false);
    PaintOnScreen(*h.chart);
    const TRect withLegend = h.chart->ChartRect();
    h.series->ClearPoints();
    const QImage im = PaintOnScreen(*h.chart);
    EXPECT_TRUE(h.chart->Legend.Rect().IsEmpty());
    EXPECT_GT(h.chart->ChartRect().right, withLegend.right);
    const TRect p = h.chart->ChartRect();
    EXPECT_EQ(im.pixel(p.left + 1, (p.top + p.bottom) / 2), ToQColor(0x80FFFF).rgb());  // left wall
    EXPECT_EQ(im.pixel(p.left - 1, (p.top + p.bottom) / 2), qRgb(0, 0, 0));             // left axis line
    EXPECT_EQ(im.pixel((p.left + p.right) / 2, p.bottom), qRgb(0, 0, 0));               // bottom axis line
    EXPECT_EQ(CountColor(im, qRgb(255, 0, 0), im.rect()), 0);                           // no bars
}

TEST(ChartLayout, TitleWithoutLinesTakesOnlyTheGap) {
    auto h = MakeChart2();
    h.chart->Title.SetVisible(true);
    h.chart->Title.SetText({});
    PaintOnScreen(*h.chart);
    const int withEmptyTitle = h.chart->ChartRect().top;
    h.chart->Title.SetVisible(false);
    PaintOnScreen(*h.chart);
    EXPECT_EQ(withEmptyTitle - h.chart->ChartRect().top, 5);
}

TEST(ChartLayout, Chart2PlotIsBoundedByMarginsAndAxisLabels) {
    auto h = MakeChart2();
    FillWorkedExample(h, true);
    PaintOnScreen(*h.chart);
    const TRect p = h.chart->ChartRect();
    EXPECT_EQ(p.top, 13);                 // 4 % of 313
    EXPECT_EQ(p.right, 393 - 12);         // 3 % of 393
    const int fh = QFontMetrics(h.chart->BottomAxis.LabelsFont.QtFont()).height();
    EXPECT_EQ(p.bottom, 313 - 13 - fh - 6);  // labels, then axis line and ticks
    EXPECT_GT(p.left, 12);
    EXPECT_EQ(h.chart->DepthWidth(), 0);
}

TEST(ChartLayout, TinyControlGivesAOnePixelPlotNotANegativeOne) {
    auto h = MakeChart1(6, 6);
    FillWorkedExample(h, false);
    PaintOnScreen(*h.chart);
    const TRect p = h.chart->ChartRect();
    EXPECT_GE(p.Width(), 1);
    EXPECT_GE(p.Height(), 1);
}

TEST(ChartSeriesList, SeriesAtAndOwnership) {
    auto h = MakeChart1();
    EXPECT_EQ(h.chart->SeriesAt(0), h.series);
    EXPECT_THROW(h.chart->SeriesAt(1), ChartException);
    h.chart.reset();  // the chart goes first: the series is left without one
    EXPECT_EQ(h.series->ParentChart(), nullptr);
    h.series->AddPoint(1, 1);  // and still works
}

TEST(ChartSeriesList, SeriesGoingAwayLeavesTheChart) {
    auto h = MakeChart1();
    delete h.series;
    EXPECT_EQ(h.chart->SeriesCount(), 0);
    PaintOnScreen(*h.chart);
}

TEST(ChartLayout, BandNamesThatWouldOverlapAreLeftOut) {
    auto h = MakeChart2();
    FillWorkedExample(h, true);
    PaintOnScreen(*h.chart);
    const TChartAxis& bottom = h.chart->BottomAxis;
    std::vector<int> expected;
    for (int i = 1; i <= 5; ++i) expected.push_back(bottom.CalcPosValue(12.0 * i));
    EXPECT_EQ(bottom.TickPixels(), expected);  // all five names fit

    h.chart->resize(130, 313);
    PaintOnScreen(*h.chart);
    const std::vector<int>& drawn = bottom.TickPixels();
    ASSERT_FALSE(drawn.empty());
    EXPECT_LT(drawn.size(), 5u);
    EXPECT_EQ(drawn.front(), bottom.CalcPosValue(12));  // the first name is always drawn
}
