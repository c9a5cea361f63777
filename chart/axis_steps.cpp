#include "axis_steps.h"

#include "chart_math.h"

#include <algorithm>

namespace chart {

namespace {
constexpr double kMaxInt = 2147483647.0;
}

double NextStep(double x) {
    if (!(x > 0) || !std::isfinite(x)) return 1.0;
    if (x >= 10) return 10 * NextStep(x * 0.1);
    if (x < 1) return 0.1 * NextStep(x * 10);
    if (x < 2) return 2;
    if (x < 5) return 5;
    return 10;
}

int LabelsThatFit(int pixels, int labelSize, int separationPercent) {
    if (labelSize < 1) return 1;
    if (separationPercent > 0) labelSize += Nearest(separationPercent * 0.01 * labelSize);
    return Nearest(pixels * 1.0 / labelSize);
}

double LabelStep(double span, double increment, int fit, bool search) {
    double step = increment > 0 ? increment : (std::fabs(span) >= 1 ? 1.0 : 1e-12);
    if (search) {
        for (int guard = 0; guard < 400; ++guard) {
            const double q = span / step;
            if (std::fabs(q) > kMaxInt || Nearest(q) > fit) step = NextStep(step);
            else break;
        }
    }
    return std::max(step, 1e-12);
}

}  // namespace chart
