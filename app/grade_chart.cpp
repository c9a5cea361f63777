#include "grade_chart.h"

#include "bar_series.h"
#include "chart.h"
#include "chart_series.h"
#include "number_format.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kBandNames[kBandCount] = {"优", "良", "中", "及格", "不及格"};

// What the window description sets on the histogram beyond the defaults.
const char* const kLookPaths[] = {"BackWall.Brush.Color", "BackWall.Brush.Style", "BevelOuter", "BottomWall.Color",
                                  "Color", "LeftWall.Color", "Legend.ShadowColor", "Legend.Frame.Color",
                                  "Title.Font.Color", "Title.Font.Style"};

// Colours (blue in the high byte) that stay apart from one another and from
// the histogram's red; after them the hue turns on.
constexpr unsigned kPalette[] = {0xC07020, 0x30A030, 0x0090F0, 0x903090, 0x909000, 0x2050A0, 0x808080,
                                 0x6060F0, 0xF0A060, 0x008060};

}  // namespace

void StyleLikeHistogram(TCustomChart& chart, const TCustomChart& histogram) {
    for (const char* path : kLookPaths) {
        const QString p = QString::fromLatin1(path);
        chart.SetProperty(p, histogram.GetProperty(p));
    }
    chart.Title.Font.SetSpec(histogram.Title.Font.Settings());
    chart.Legend.Font.SetSpec(histogram.Legend.Font.Settings());
    chart.LeftAxis.LabelsFont.SetSpec(histogram.LeftAxis.LabelsFont.Settings());
    chart.BottomAxis.LabelsFont.SetSpec(histogram.BottomAxis.LabelsFont.Settings());
    chart.Title.SetText({QStringLiteral("各班成绩分布（%）")});
    chart.SetAllowZoom(false);
    chart.SetAllowPanning(TPanningMode::pmNone);
}

unsigned HistogramColor(const TCustomChart* histogram) {
    if (!histogram || histogram->SeriesCount() == 0) return clRed;
    return histogram->SeriesAt(0)->SeriesColor();
}

unsigned BarColor(int k, unsigned histogramColor) {
    if (k == 0) return histogramColor;
    const int n = int(std::size(kPalette));
    return kPalette[(k - 1) % n];
}

void FillGradeChart(TCustomChart& chart, const GradeComparison& comparison, unsigned histogramColor) {
    while (chart.SeriesCount() > 0) delete chart.SeriesAt(chart.SeriesCount() - 1);
    double highest = 0;
    for (size_t k = 0; k < comparison.classes.size(); ++k) {
        const ClassFigures& f = comparison.classes[k];
        auto* series = new TBarSeries(&chart);
        series->SetTitle(f.name);
        series->SetSeriesColor(BarColor(int(k), histogramColor));
        series->SetMultiBar(TMultiBar::mbSide);
        series->Marks.SetVisible(false);
        series->SetParentChart(&chart);
        for (int b = 0; b < kBandCount; ++b) {
            const double share = StrToFloat(f.bands.percentTexts[size_t(b)]);
            highest = std::max(highest, share);
            series->AddPoint(b, share, QString::fromUtf8(kBandNames[b]));
        }
    }
    // Whole tens above the highest share, in steps that leave room for labels.
    const double top = std::min(100.0, std::max(10.0, std::ceil((highest + 0.01) / 10) * 10));
    chart.LeftAxis.SetIncrement(top > 50 ? 20 : 10);
    chart.LeftAxis.SetRange(0, top);
    chart.BottomAxis.SetRange(-0.5, kBandCount - 0.5);
    chart.BottomAxis.SetIncrement(1);
}
