#pragma once
// The middle of a set of timings: these machines are noisy, and one slow
// run must not move the figure.
#include <algorithm>
#include <vector>

// 0 for no timings.
inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
