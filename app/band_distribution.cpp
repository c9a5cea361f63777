#include "band_distribution.h"

#include "number_format.h"

QString BandDistribution::Cell(int col, int row) const {
    if (row >= 1 && row <= kBandCount) {
        if (col == 1) return IntToStr(counts[size_t(row - 1)]);
        if (col == 2) return percentTexts[size_t(row - 1)];
    }
    if (col == 1 && row == 6) return IntToStr(total);
    if (col == 1 && row == 7) return averageText;
    return QString();
}

std::array<double, kBandCount> BandDistribution::Counts() const {
    std::array<double, kBandCount> c{};
    for (int b = 0; b < kBandCount; ++b) c[size_t(b)] = counts[size_t(b)];
    return c;
}

BandDistribution ComputeBandDistribution(const std::vector<double>& scores, int fullMarks) {
    BandDistribution d;
    double sum = 0;
    for (double x : scores) {
        sum += x;
        const int band = BandOf(x, fullMarks);
        if (band >= 0) ++d.counts[size_t(band)];
    }
    const int n = int(scores.size());
    d.total = n;
    d.averageText = FormatFixed2(static_cast<long double>(sum) / n);
    for (int b = 0; b < 4; ++b)
        d.percentTexts[size_t(b)] = FormatFixed2(static_cast<long double>(d.counts[size_t(b)]) / n * 100);
    // The fail band shows the remainder of the displayed values, so the five
    // percentages always add up to 100.00.
    long double shown = 0;
    for (int b = 0; b < 4; ++b) shown += StrToFloat(d.percentTexts[size_t(b)]);
    d.percentTexts[4] = FormatFixed2(100.0L - shown);
    return d;
}
