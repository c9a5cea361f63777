// Bar series: point storage, bar geometry, drawing and marks.
#include "histogram_charts.h"

#include <gtest/gtest.h>

TEST(BarPoints, XValuesAddedOutOfOrderAreKeptAscending) {
    TBarSeries s(nullptr);
    EXPECT_EQ(s.AddPoint(24, 5, QStringLiteral("b"), clBlue), 0);
    EXPECT_EQ(s.AddPoint(12, 7, QStringLiteral("a"), clRed), 0);
    EXPECT_EQ(s.AddPoint(24, 9, QStringLiteral("c")), 2);  // equal X keeps arrival order
    EXPECT_EQ(s.AddPoint(18, 1, QStringLiteral("m")), 1);
    ASSERT_EQ(s.Count(), 4);
    EXPECT_EQ(s.XValues[0], 12);
    EXPECT_EQ(s.YValues[0], 7);
    EXPECT_EQ(s.Label(0), QStringLiteral("a"));
    EXPECT_EQ(s.StoredColor(0), clRed);
    EXPECT_EQ(s.Label(1), QStringLiteral("m"));
    EXPECT_EQ(s.YValues[2], 5);
    EXPECT_EQ(s.StoredColor(2), clBlue);
    EXPECT_EQ(s.Label(3), QStringLiteral("c"));
}

TEST(BarPoints, UnorderedAndDescendingLists) {
    TBarSeries s(nullptr);
    s.XValues.SetOrder(TChartListOrder::loNone);
    s.AddPoint(30, 1);
    s.AddPoint(10, 2);
    EXPECT_EQ(s.XValues[1], 10);
    s.ClearPoints();
    s.XValues.SetOrder(TChartListOrder::loDescending);
    s.AddPoint(10, 1);
    s.AddPoint(30, 2);
    s.AddPoint(20, 3);
    EXPECT_EQ(s.XValues[0], 30);
    EXPECT_EQ(s.XValues[1], 20);
    EXPECT_EQ(s.YValues[1], 3);
}

TEST(BarPoints, BeforeAddCanRefuseAndClearKeepsSettings) {
    TBarSeries s(nullptr);
    s.SetSeriesColor(clSilver);
    s.OnBeforeAdd = [](TChartSeries*) { return false; };
    EXPECT_EQ(s.AddPoint(1, 1), -1);
    EXPECT_EQ(s.Count(), 0);
    s.OnBeforeAdd = nullptr;
    s.AddPoint(1, 1);
    int cleared = 0;
    s.OnClearValues = [&](TChartSeries*) { ++cleared; };
    s.ClearPoints();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(s.SeriesColor(), clSilver);
}

TEST(BarPoints, DefaultColorTakesTheSeriesColour) {
    TBarSeries s(nullptr);
    s.SetSeriesColor(clRed);
    s.AddPoint(1, 1, QString(), DefaultColor);
    s.AddPoint(2, 1, QString(), clBlue);
    EXPECT_EQ(s.ValueColor(0), clRed);
    EXPECT_EQ(s.ValueColor(1), clBlue);
}

TEST(BarSettings, RangeChecksRaiseAndKeepTheOldValue) {
    TBarSeries s(nullptr);
    try {
        s.SetBarWidthPercent(0);
        FAIL();
    } catch (const BarException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Bar Width Percent must be between 1 and 100"));
    }
    try {
        s.SetOffsetPercent(101);
        FAIL();
    } catch (const BarException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Bar Offset Percent must be between -100% and 100%"));
    }
    EXPECT_EQ(s.BarWidthPercent(), 70);
    EXPECT_EQ(s.OffsetPercent(), 0);
    EXPECT_EQ(s.YValues.Name(), QStringLiteral("Bar"));
    EXPECT_TRUE(s.Marks.Visible());
    EXPECT_EQ(s.Marks.ArrowLength(), 20);
}

TEST(BarGeometry, ComputedWidthIsRaisedToEven) {
    TChart chart(nullptr);
    TBarSeries s(nullptr);
    s.SetParentChart(&chart);
    for (int k = 1; k <= 5; ++k) s.AddPoint(k, k);
    chart.BottomAxis.SetPixelExtent({0, 0, 300, 10});
    EXPECT_EQ(s.CalcBarWidth(), 36);  // nearest(0.7 x (300 div 6)) = 35
    s.SetCustomBarWidth(30);
    EXPECT_EQ(s.CalcBarWidth(), 30);
    chart.BottomAxis.SetPixelExtent({0, 0, 900, 10});
    EXPECT_EQ(s.CalcBarWidth(), 30);
    s.SetCustomBarWidth(0);
    s.ClearPoints();
    EXPECT_EQ(s.CalcBarWidth(), 0);
}

TEST(BarGeometry, BarsAreCentredOnTheirX) {
    auto h = MakeChart2();
    FillWorkedExample(h, true);
    PaintOnScreen(*h.chart);
    for (int i = 0; i < 5; ++i) {
        const int x = h.chart->BottomAxis.CalcPosValue(12.0 * (i + 1));
        const TRect r = h.series->CalcBarBounds(i);
        EXPECT_EQ(r.left, x - 15);
        EXPECT_EQ(r.Width(), 30);
        EXPECT_EQ(r.bottom, h.chart->LeftAxis.CalcPosValue(0));
    }
}

TEST(BarDrawing, RedBarHasDarkenedSidesAndTopIn3D) {
    auto h = MakeChart1();
    FillWorkedExample(h, false);
    const QImage im = PaintOnScreen(*h.chart);
    const int d = h.chart->SeriesDepth();
    ASSERT_GE(d, 3);
    const TRect r = h.series->CalcBarBounds(0);
    const int midY = (r.top + r.bottom) / 2;
    EXPECT_EQ(im.pixel((r.left + r.right) / 2, midY), qRgb(255, 0, 0));
    EXPECT_EQ(im.pixel(r.right + d / 2, midY), qRgb(127, 0, 0));
    EXPECT_EQ(im.pixel((r.left + r.right) / 2 + d / 2, r.top - d / 2), qRgb(191, 0, 0));
}

TEST(BarDrawing, FlatBarsHaveNoDarkSides) {
    auto h = MakeChart2();
    FillWorkedExample(h, true);
    const QImage im = PaintOnScreen(*h.chart);
    const TRect r = h.series->CalcBarBounds(0);
    EXPECT_EQ(im.pixel(r.left + 5, r.top + 5), ToQColor(clSilver).rgb());
    EXPECT_EQ(im.pixel(r.right + 2, r.top + 5), qRgb(255, 255, 255));
}

TEST(BarMarks, ZeroHeightBarGetsItsMarkTwentyPixelsAboveTheAxis) {
    auto h = MakeChart1();
    h.chart->SetView3D(false);
    FillWorkedExample(h, false);
    PaintOnScreen(*h.chart);
    const int origin = h.chart->LeftAxis.CalcPosValue(0);
    ASSERT_EQ(h.series->Marks.Positions.size(), 5u);
    const TSeriesMarkPosition& m = h.series->Marks.Positions[1];  // the empty band
    const TRect bar = h.series->CalcBarBounds(1);
    EXPECT_EQ(bar.top, bar.bottom);
    EXPECT_EQ(m.arrowFrom.y(), origin);
    EXPECT_EQ(m.arrowTo.y(), origin - 20);
    EXPECT_EQ(m.leftTop.y() + m.height - 1, origin - 20);  // the box sits on the arrow's end
    EXPECT_EQ(m.arrowTo.x(), bar.left + bar.Width() / 2);
    EXPECT_EQ(m.leftTop.x() + m.width / 2, m.arrowTo.x());
}

TEST(BarMarks, MarksShowTheBandNames) {
    auto h = MakeChart1();
    FillWorkedExample(h, false);
    EXPECT_EQ(h.series->MarkText(4), QStringLiteral("不及格"));
    h.series->Marks.SetStyle(TSeriesMarksStyle::smsValue);
    EXPECT_EQ(h.series->MarkText(0), QStringLiteral("3"));
    h.series->Marks.SetStyle(TSeriesMarksStyle::smsLabelValue);
    EXPECT_EQ(h.series->MarkText(0), QStringLiteral("优 3"));
    h.series->Marks.SetStyle(TSeriesMarksStyle::smsPercent);
    EXPECT_EQ(h.series->MarkText(0), QStringLiteral("50 %"));
}

TEST(BarMarks, DownwardBarPutsItsMarkBelow) {
    auto h = MakeChart1();
    h.chart->SetView3D(false);
    h.chart->LeftAxis.SetRange(-4, 4);
    h.chart->BottomAxis.SetRange(0, 70);
    h.series->SetCustomBarWidth(20);
    h.series->AddPoint(10, -2, QStringLiteral("x"));
    PaintOnScreen(*h.chart);
    const TSeriesMarkPosition& m = h.series->Marks.Positions[0];
    const int value = h.chart->LeftAxis.CalcPosValue(-2);
    EXPECT_EQ(m.arrowTo.y(), value + 20 + m.height);
    EXPECT_GT(m.leftTop.y(), value);
}

TEST(BarGeometry, SideBySideBarsShareTheirSlotWithoutOverlapping) {
    auto h = MakeChart1();
    h.chart->SetView3D(false);
    h.series->SetCustomBarWidth(20);
    auto* second = new TBarSeries(h.owner.get());
    second->SetCustomBarWidth(20);
    second->SetParentChart(h.chart.get());
    auto* hidden = new TBarSeries(h.owner.get());
    hidden->SetCustomBarWidth(20);
    hidden->SetParentChart(h.chart.get());
    for (TBarSeries* s : {h.series, second, hidden}) s->AddPoint(10, 2);
    hidden->SetActive(false);  // an inactive series takes no slot
    PaintOnScreen(*h.chart);
    const int x = h.chart->BottomAxis.CalcPosValue(10);
    const TRect a = h.series->CalcBarBounds(0), b = second->CalcBarBounds(0);
    EXPECT_EQ(a.right, b.left);
    EXPECT_EQ(a.left, x - 20);
    EXPECT_EQ(b.right, x + 20);
}

TEST(BarGeometry, MarksStandAtTheBarsValueEndOnAnInvertedAxis) {
    auto h = MakeChart1();
    h.chart->SetView3D(false);
    h.chart->LeftAxis.SetRange(-4, 4);
    h.chart->LeftAxis.SetInverted(true);  // values grow downwards
    h.chart->BottomAxis.SetRange(0, 70);
    h.series->SetCustomBarWidth(20);
    h.series->AddPoint(10, 3, QStringLiteral("x"));
    h.series->AddPoint(30, -3, QStringLiteral("y"));
    PaintOnScreen(*h.chart);
    for (int i = 0; i < 2; ++i) {
        const TCustomBarSeries::TBarGeometry g = h.series->BarGeometry(i);
        EXPECT_EQ(g.valuePixel, h.chart->LeftAxis.CalcPosValue(h.series->YValues[i]));
        EXPECT_EQ(g.originPixel, h.chart->LeftAxis.CalcPosValue(0));
        EXPECT_EQ(g.rect.top, std::min(g.valuePixel, g.originPixel));
        EXPECT_EQ(g.rect.bottom, std::max(g.valuePixel, g.originPixel));
        const TSeriesMarkPosition& m = h.series->Marks.Positions[size_t(i)];
        EXPECT_EQ(m.arrowFrom, QPoint(g.rect.left + g.rect.Width() / 2, g.valuePixel));
    }
    // The positive bar grows downwards here, so its mark goes below it; the
    // negative one grows upwards and gets its mark above.
    EXPECT_GT(h.series->Marks.Positions[0].leftTop.y(), h.series->BarGeometry(0).valuePixel);
    EXPECT_LT(h.series->Marks.Positions[1].leftTop.y(), h.series->BarGeometry(1).valuePixel);
}
