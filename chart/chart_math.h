#pragma once
// Rounding helpers shared by the chart engine's geometry.
#include <cmath>
#include <cstdint>

namespace chart {
// Nearest integer, a tie going to the even neighbour.
inline int Nearest(double x) { return int(std::nearbyint(x)); }

// a x b / c rounded half away from zero, in 64 bits; -1 when c is 0.
inline int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t p = std::int64_t(a) * b;
    bool negative = (p < 0) != (c < 0);
    std::int64_t ap = p < 0 ? -p : p, ac = c < 0 ? -std::int64_t(c) : c;
    std::int64_t q = (ap + ac / 2) / ac;
    return int(negative ? -q : q);
}
}  // namespace chart
