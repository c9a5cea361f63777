#pragma once
// The two histogram charts as the main window describes them, built in code,
// and the worked example's fill.
#include "bar_series.h"
#include "chart.h"

#include <QImage>
#include <memory>

struct HistogramChart {
    std::unique_ptr<TComponent> owner;  // owns the series, as a form does
    std::unique_ptr<TChart> chart;
    TBarSeries* series = nullptr;
};

// Chart1: 3D, title, legend, light-yellow left wall, red bars with marks.
HistogramChart MakeChart1(int width = 345, int height = 231);
// Chart2: 393 x 313, 2D, white, silver bars without marks, no title or legend.
HistogramChart MakeChart2();

// Counts 3, 0, 1, 1, 1 at the chart's band positions, the count axis 0..4.
void FillWorkedExample(HistogramChart& h, bool second);

// The chart painted into an image of its size the way the screen gets it.
QImage PaintOnScreen(TChart& chart);

inline int Red(QRgb c) { return qRed(c); }
