// The axis' scale map (value <-> pixel) and its label steps, apart from any chart.
#include "axis_scale.h"
#include "axis_steps.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {
TAxisScale Scale(double min, double max, bool horizontal, bool inverted, bool logarithmic = false) {
    TAxisScale s;
    s.min = min;
    s.max = max;
    s.startPixel = 20;
    s.endPixel = 320;
    s.horizontal = horizontal;
    s.inverted = inverted;
    s.logarithmic = logarithmic;
    return s;
}
}  // namespace

TEST(AxisScale, EveryPixelMapsBackToItselfInEachOrientation) {
    for (bool horizontal : {true, false})
        for (bool inverted : {false, true})
            for (bool logarithmic : {false, true}) {
                const TAxisScale s = Scale(logarithmic ? 0.5 : -7, 1000, horizontal, inverted, logarithmic);
                for (int px = s.startPixel; px <= s.endPixel; ++px)
                    ASSERT_EQ(s.Pixel(s.Value(px)), px)
                        << "horizontal " << horizontal << " inverted " << inverted << " log " << logarithmic;
            }
}

TEST(AxisScale, EndsOfTheRangeFollowTheDirection) {
    // Values grow rightwards and upwards; inverted, leftwards and downwards.
    EXPECT_EQ(Scale(0, 10, true, false).Pixel(0), 20);
    EXPECT_EQ(Scale(0, 10, true, true).Pixel(0), 320);
    EXPECT_EQ(Scale(0, 10, false, false).Pixel(0), 320);
    EXPECT_EQ(Scale(0, 10, false, true).Pixel(0), 20);
    EXPECT_DOUBLE_EQ(Scale(0, 10, false, false).Value(20), 10);
    EXPECT_DOUBLE_EQ(Scale(0, 10, true, true).Value(20), 10);
}

TEST(AxisScale, LogarithmicPutsTheGeometricMeanInTheMiddle) {
    const TAxisScale s = Scale(1, 10000, true, false, true);
    EXPECT_EQ(s.Pixel(100), s.CenterPixel());
    EXPECT_EQ(s.Pixel(10), 20 + 75);
    EXPECT_NEAR(s.Value(s.CenterPixel()), 100, 1e-9);
    // Nothing at or below 0 on a logarithmic scale: such a value sits at the low end.
    EXPECT_EQ(s.Pixel(0), 20);
    EXPECT_EQ(s.Pixel(-5), 20);
    EXPECT_EQ(Scale(1, 10000, false, false, true).Pixel(0), 320);
    EXPECT_EQ(Scale(1, 10000, true, true, true).Pixel(-1), 320);
    // A range that is not all positive is mapped linearly.
    EXPECT_EQ(Scale(0, 100, true, false, true).Pixel(50), 170);
}

TEST(AxisScale, DegenerateRangesAndExtentsStayFinite) {
    EXPECT_EQ(Scale(5, 5, true, false).Pixel(5), 170);  // empty range: the centre
    EXPECT_EQ(Scale(0, 1, true, false).Pixel(1e300), 170);  // no pixel that far: the centre
    EXPECT_EQ(Scale(0, 1, true, false).Pixel(std::numeric_limits<double>::quiet_NaN()), 170);
    TAxisScale flat = Scale(3, 9, true, false);
    flat.endPixel = flat.startPixel;
    EXPECT_EQ(flat.Value(flat.startPixel), 3);
    EXPECT_TRUE(std::isfinite(flat.Value(flat.startPixel + 40)));
}

TEST(AxisSteps, NextStepOnAwkwardValues) {
    EXPECT_NEAR(chart::NextStep(7e-5), 1e-4, 1e-18);
    EXPECT_NEAR(chart::NextStep(0.07), 0.1, 1e-15);
    EXPECT_NEAR(chart::NextStep(1.5e12), 2e12, 1);
    EXPECT_EQ(chart::NextStep(0), 1);
    EXPECT_EQ(chart::NextStep(-3), 1);
    EXPECT_EQ(chart::NextStep(std::numeric_limits<double>::infinity()), 1);
    EXPECT_EQ(chart::NextStep(std::numeric_limits<double>::quiet_NaN()), 1);
    // Always a step up, so a search for a label step ends.
    for (double x = 1e-9; x < 1e9; x *= 1.37) ASSERT_GT(chart::NextStep(x), x) << x;
}

TEST(AxisSteps, LabelsThatFitKeepTheirSeparation) {
    EXPECT_EQ(chart::LabelsThatFit(100, 10, 0), 10);
    EXPECT_EQ(chart::LabelsThatFit(100, 10, 10), 9);  // 11 px a label: 9.09
    EXPECT_EQ(chart::LabelsThatFit(100, 0, 10), 1);   // labels of no size
    EXPECT_EQ(chart::LabelsThatFit(3, 20, 10), 0);    // not even one
}

TEST(AxisSteps, LabelStepOnAwkwardRanges) {
    // Under 1 the search starts from a tiny step and climbs the nice steps.
    EXPECT_NEAR(chart::LabelStep(0.7, 0, 5, true), 0.2, 1e-12);
    // A huge span against an increment of 1 climbs without overflowing.
    EXPECT_NEAR(chart::LabelStep(1e15, 1, 10, true), 1e14, 1e2);
    // No room: the step grows past the span, so no more than one label shows.
    EXPECT_GT(chart::LabelStep(4, 1, 0, true), 8);
    // Without the search the increment stands, however many labels it makes.
    EXPECT_EQ(chart::LabelStep(1000, 1, 3, false), 1);
    EXPECT_EQ(chart::LabelStep(1000, 0, 3, false), 1);
    EXPECT_EQ(chart::LabelStep(0, 0, 3, true), 1e-12);
}

TEST(AxisSteps, LabelValuesWalkDownFromTheTop) {
    auto walk = [](double lo, double hi, double step, bool round) {
        std::vector<double> out;
        chart::ForEachLabelValue(lo, hi, step, round, [&](double v) { out.push_back(v); });
        return out;
    };
    EXPECT_EQ(walk(0, 70, 12, true), (std::vector<double>{60, 48, 36, 24, 12, 0}));
    EXPECT_EQ(walk(0, 70, 12, false), (std::vector<double>{70, 58, 46, 34, 22, 10}));
    // A range below zero still reaches its bottom label through the rounding.
    const std::vector<double> d = walk(-0.4, 1, 0.2, true);
    ASSERT_EQ(d.size(), 8u);
    EXPECT_NEAR(d.back(), -0.4, 1e-9);
    EXPECT_TRUE(walk(0, 1e6, 1, true).empty());  // 10000 labels or more: none
}
