#include "histogram.h"

#include "bar_series.h"
#include "chart.h"
#include "main_window.h"

#include <algorithm>
#include <cstdint>

const HistogramLayout kChart1Layout{10, 20, {5, 15, 25, 35, 45}};
const HistogramLayout kChart2Layout{12, 30, {12, 24, 36, 48, 60}};

namespace {
const char* const kBandLabels[kBandCount] = {"优", "良", "中", "及格", "不及格"};

TChartSeries& FirstSeries(TCustomChart& chart) { return *chart.SeriesAt(0); }

TCustomChart* FindChart(TForm1& form, const char* name) {
    return form.Find<TCustomChart>(QString::fromLatin1(name));
}
}

void FitCountAxis(TCustomChart& chart, const std::array<double, 5>& counts) {
    double m = counts[0];
    for (double c : counts) m = std::max(m, c);
    const std::int64_t whole = static_cast<std::int64_t>(m);
    double increment, maximum;
    if (m < 10) {
        increment = 1;
        maximum = m + 1;
    } else if (m <= 20) {
        increment = 2;
        maximum = double((whole / 2 + 1) * 2);
    } else {
        increment = 5;
        maximum = double((whole / 10 + 1) * 10);
    }
    chart.LeftAxis.SetIncrement(increment);
    chart.LeftAxis.SetRange(0, maximum);
}

void FillHistogram(TCustomChart& chart, const std::array<double, 5>& counts, const HistogramLayout& layout) {
    TChartSeries& series = FirstSeries(chart);
    series.ClearPoints();
    FitCountAxis(chart, counts);
    chart.BottomAxis.SetIncrement(layout.step);
    chart.BottomAxis.SetRange(0, 70);
    chart.BottomAxis.SetLogarithmic(false);
    if (auto* bars = dynamic_cast<TBarSeries*>(&series)) bars->SetCustomBarWidth(layout.barWidth);
    for (int b = 0; b < kBandCount; ++b)
        series.AddPoint(layout.x[size_t(b)], counts[size_t(b)], QString::fromUtf8(kBandLabels[b]), DefaultColor);
}

void FillHistograms(TForm1& form) {
    if (TCustomChart* chart = FindChart(form, "Chart1")) FillHistogram(*chart, form.BandCounts, kChart1Layout);
    if (TCustomChart* chart = FindChart(form, "Chart2")) FillHistogram(*chart, form.BandCounts, kChart2Layout);
}

void ClearHistograms(TForm1& form) {
    for (const char* name : {"Chart1", "Chart2"})
        if (TCustomChart* chart = FindChart(form, name)) FirstSeries(*chart).ClearPoints();
}
