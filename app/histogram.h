#pragma once
// Draws the band counts of the last analysis as a histogram in both charts:
// the visible one on the histogram tab and the hidden one whose picture goes
// into the report.
#include <array>

class TForm1;
class TCustomChart;

// Where one chart puts its five bars and how its bottom axis is stepped.
struct HistogramLayout {
    double step;                 // bottom-axis label step
    int barWidth;                // pixels
    std::array<double, 5> x;     // bar positions of the bands, in band order
};
extern const HistogramLayout kChart1Layout;  // 10, 20 px, 5 .. 45
extern const HistogramLayout kChart2Layout;  // 12, 30 px, 12 .. 60

// Fits the count axis to the largest count: 0 .. m + 1 by 1 below 10, the
// next even number above m by 2 up to 20, the next multiple of 10 by 5 above.
void FitCountAxis(TCustomChart& chart, const std::array<double, 5>& counts);
// Refills the chart's first series with the counts and fits its axes.
void FillHistogram(TCustomChart& chart, const std::array<double, 5>& counts, const HistogramLayout& layout);

// Both charts of the window, after an analysis.
void FillHistograms(TForm1& form);
// Empties both charts' series; their axes keep their last settings.
void ClearHistograms(TForm1& form);
