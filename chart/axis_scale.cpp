#include "axis_scale.h"

#include "chart_math.h"

#include <cmath>

namespace {
constexpr double kMaxInt = 2147483647.0;
}

int TAxisScale::Pixel(double value) const {
    double d;
    if (IsLog()) {
        if (value <= 0) return inverted == horizontal ? endPixel : startPixel;
        d = Pixels() * (std::log(value) - std::log(min)) / (std::log(max) - std::log(min));
    } else {
        const double span = max - min;
        if (span == 0) return CenterPixel();
        d = Pixels() * (value - min) / span;
    }
    if (!(std::fabs(d) < kMaxInt)) return CenterPixel();
    const int n = chart::Nearest(d);
    if (horizontal) return inverted ? endPixel - n : startPixel + n;
    return inverted ? startPixel + n : endPixel - n;
}

double TAxisScale::Value(int pixel) const {
    if (Pixels() == 0) return min;
    // Pixels from the low end of the values.
    int n;
    if (horizontal) n = inverted ? endPixel - pixel : pixel - startPixel;
    else n = inverted ? pixel - startPixel : endPixel - pixel;
    const double f = double(n) / Pixels();
    if (IsLog()) return std::exp(std::log(min) + f * (std::log(max) - std::log(min)));
    return min + f * (max - min);
}
