#pragma once
// The comparison's grouped bar chart: the five bands along the bottom, one
// bar series per class with the share of its scores in each band, and a
// legend of the classes. It takes its colours and fonts from the window's
// histogram, so the two read as one program's charts.
#include "grade_comparison.h"

class TCustomChart;

// Gives chart the look of histogram (walls, bevel, legend, title and axis
// fonts); called once, before the first fill.
void StyleLikeHistogram(TCustomChart& chart, const TCustomChart& histogram);
// The colour of the k-th class's bars: the histogram's own first.
unsigned BarColor(int k, unsigned histogramColor);
// The colour of the histogram's bars (red when it has no series).
unsigned HistogramColor(const TCustomChart* histogram);
// Replaces the chart's series by one per class of comparison.
void FillGradeChart(TCustomChart& chart, const GradeComparison& comparison, unsigned histogramColor);
