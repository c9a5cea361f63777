#pragma once
// The choice of an axis' label step, and the walk over the label values.
#include <cmath>

namespace chart {

// The next nice step: 1 -> 2 -> 5 -> 10 -> 20 ...; 1 for what is no
// positive finite number.
double NextStep(double x);

// How many labels of labelSize pixels fit along pixels when each keeps
// separationPercent of its size clear; 1 for labels of no size.
int LabelsThatFit(int pixels, int labelSize, int separationPercent);

// The label step over span: increment (or 1, or 1e-12 for a span under 1),
// raised to the next nice step while more than fit labels would show when
// search is on; never below 1e-12.
double LabelStep(double span, double increment, int fit, bool search);

// Calls f with each label value from the top of the range down, as they are
// drawn: from rangeMax, or its multiple of step when roundFirst, to rangeMin.
// A range of 10000 steps or more has no labels.
template <class F>
void ForEachLabelValue(double rangeMin, double rangeMax, double step, bool roundFirst, F f) {
    if (std::fabs((rangeMax - rangeMin) / step) >= 10000) return;
    double v = (rangeMin == rangeMax || !roundFirst) ? rangeMax : std::trunc(rangeMax / step) * step;
    while (v > rangeMax) v -= step;
    const double limit = (rangeMin - 1e-12) / 1.000000000001;
    for (int guard = 0; v >= limit && guard < 10000; ++guard) {
        f(v);
        v -= step;
    }
}

}  // namespace chart
