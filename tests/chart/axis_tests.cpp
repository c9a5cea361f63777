// Axes: value to pixel, ranges, label steps, invalid settings.
#include "bar_series.h"
#include "chart.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {
struct AxisFixture : ::testing::Test {
    TChart chart{nullptr};
};
}

TEST_F(AxisFixture, ValueToPixelRoundsTiesToEven) {
    TChartAxis& bottom = chart.BottomAxis;
    bottom.SetRange(0, 8);
    bottom.SetPixelExtent({0, 0, 100, 50});
    bottom.AdjustRange();
    EXPECT_EQ(bottom.CalcPosValue(1), 12);  // 12.5
    EXPECT_EQ(bottom.CalcPosValue(3), 38);  // 37.5
    EXPECT_EQ(bottom.CalcPosValue(8), 100);

    TChartAxis& left = chart.LeftAxis;
    left.SetRange(0, 4);
    left.SetPixelExtent({0, 0, 50, 250});
    left.AdjustRange();
    EXPECT_EQ(left.CalcPosValue(0), 250);  // values grow upwards
    EXPECT_EQ(left.CalcPosValue(1), 188);  // 62.5 -> 62
    EXPECT_EQ(left.CalcPosValue(3), 62);   // 187.5 -> 188
    left.SetInverted(true);
    EXPECT_EQ(left.CalcPosValue(1), 62);
}

TEST_F(AxisFixture, EmptyRangeMapsToTheCentre) {
    TChartAxis& bottom = chart.BottomAxis;
    bottom.SetPixelExtent({10, 0, 110, 50});
    bottom.AdjustRange();  // automatic and no series: 0..0
    EXPECT_EQ(bottom.RangeSpan(), 0);
    EXPECT_EQ(bottom.CalcPosValue(5), 60);
}

TEST_F(AxisFixture, SetRangeSwapsAndWidensAnEmptyRange) {
    TChartAxis& a = chart.LeftAxis;
    a.SetRange(70, 0);
    EXPECT_EQ(a.Minimum(), 0);
    EXPECT_EQ(a.Maximum(), 70);
    EXPECT_FALSE(a.Automatic());
    EXPECT_FALSE(a.AutomaticMaximum());
    EXPECT_FALSE(a.AutomaticMinimum());
    a.SetRange(5, 5);
    EXPECT_EQ(a.Minimum(), 5);
    EXPECT_DOUBLE_EQ(a.Maximum(), 5 + 1e-10);
    EXPECT_GT(a.Maximum(), a.Minimum());
}

TEST_F(AxisFixture, InvalidSettingsRaiseAndKeepTheOldValue) {
    TChartAxis& a = chart.LeftAxis;
    a.SetIncrement(2);
    try {
        a.SetIncrement(-1);
        FAIL() << "no exception";
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Axis increment must be >= 0"));
    }
    EXPECT_EQ(a.Increment(), 2);

    a.SetRange(0, 10);
    try {
        a.SetMinimum(11);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Axis Minimum Value must be <= Maximum"));
    }
    try {
        a.SetMaximum(-1);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Axis Maximum Value must be >= Minimum"));
    }
    EXPECT_EQ(a.Minimum(), 0);
    EXPECT_EQ(a.Maximum(), 10);
    try {
        a.SetLogarithmicBase(1.5);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Axis Logarithmic Base should be >= 2"));
    }
    try {
        a.SetLabelsSeparation(-1);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Labels Separation % must be greater than 0"));
    }
    try {
        a.SetLabelsAngle(360);
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Axis Labels Angle must be between 0 and 359 degrees"));
    }
    EXPECT_EQ(a.LabelsAngle(), 0);
}

TEST_F(AxisFixture, LogarithmicNeedsAPositiveRange) {
    TChartAxis& a = chart.LeftAxis;
    a.SetRange(-5, 10);
    try {
        a.SetLogarithmic(true);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Logarithmic Axis Min and Max values should be >= 0"));
    }
    EXPECT_FALSE(a.Logarithmic());
    a.SetLogarithmic(false);
    a.SetRange(1, 100);
    a.SetLogarithmic(true);
    EXPECT_TRUE(a.Logarithmic());
    a.SetLogarithmic(false);
    EXPECT_FALSE(a.Logarithmic());
}

TEST(AxisStep, NextNiceStep) {
    EXPECT_EQ(TChartAxis::NextStep(1), 2);
    EXPECT_EQ(TChartAxis::NextStep(2), 5);
    EXPECT_EQ(TChartAxis::NextStep(5), 10);
    EXPECT_EQ(TChartAxis::NextStep(12), 20);
    EXPECT_EQ(TChartAxis::NextStep(20), 50);
    EXPECT_EQ(TChartAxis::NextStep(50), 100);
    EXPECT_NEAR(TChartAxis::NextStep(0.3), 0.5, 1e-12);
}

TEST_F(AxisFixture, LabelStepFollowsTheRoomForLabels) {
    TChartAxis& a = chart.LeftAxis;
    a.SetRange(0, 4);
    a.SetIncrement(1);
    const int h = QFontMetrics(a.LabelsFont.QtFont()).height();
    const int s = h + int(std::nearbyint(h * 0.1));
    auto stepFor = [&](int pixels) {
        a.SetPixelExtent({0, 0, 30, pixels});
        a.AdjustRange();
        return a.CalcIncrement();
    };
    EXPECT_EQ(stepFor(7 * s), 1);  // seven labels fit, four are needed
    EXPECT_EQ(stepFor(3 * s), 2);  // three fit: 1 grows to 2
    EXPECT_EQ(stepFor(s), 5);
    if (h == 13) {
        EXPECT_EQ(stepFor(100), 1);
        EXPECT_EQ(stepFor(40), 2);
    }
}

TEST_F(AxisFixture, SetIncrementGrowsToTheNextNiceStepOnlyWhenNeeded) {
    TChartAxis& a = chart.BottomAxis;
    a.SetRange(0, 70);
    a.SetIncrement(12);
    a.SetPixelExtent({0, 0, 1000, 30});
    a.AdjustRange();
    EXPECT_EQ(a.CalcIncrement(), 12);
    a.SetPixelExtent({0, 0, 60, 30});
    a.AdjustRange();
    EXPECT_GE(a.CalcIncrement(), 20);
    const double grown = a.CalcIncrement();
    EXPECT_TRUE(grown == 20 || grown == 50 || grown == 100);
}

TEST_F(AxisFixture, AutomaticRangeFollowsTheSeries) {
    TBarSeries s(nullptr);
    s.SetParentChart(&chart);
    s.AddPoint(12, 3);
    s.AddPoint(60, 7);
    chart.LeftAxis.SetPixelExtent({0, 0, 50, 200});
    chart.LeftAxis.AdjustRange();
    // Bars start from 0; the marks add room above the tallest bar.
    EXPECT_EQ(chart.LeftAxis.RangeMin(), 0);
    EXPECT_GT(chart.LeftAxis.RangeMax(), 7);
    chart.LeftAxis.SetRange(0, 8);
    chart.LeftAxis.AdjustRange();
    EXPECT_EQ(chart.LeftAxis.RangeMax(), 8);  // a set range gets no margins
    EXPECT_EQ(chart.BottomAxis.LabelStyleInForce(), TAxisLabelStyle::talValue);
    s.ClearPoints();
    s.AddPoint(12, 3, QStringLiteral("优"));
    EXPECT_EQ(chart.BottomAxis.LabelStyleInForce(), TAxisLabelStyle::talText);
    EXPECT_EQ(chart.LeftAxis.LabelStyleInForce(), TAxisLabelStyle::talValue);
    EXPECT_EQ(chart.RightAxis.LabelStyleInForce(), TAxisLabelStyle::talNone);
}
