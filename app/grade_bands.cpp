#include "grade_bands.h"

#include <cmath>

namespace {
// Tenths of full marks at each band's lower edge, fail excluded.
constexpr int kTenths[] = {9, 8, 7, 6};
const char* const kNames[kBandCount] = {"优", "良", "中", "及格", "不及格"};
}  // namespace

int BandOf(double score, int fullMarks) {
    const double r = std::nearbyint(score);  // the default rounding mode: ties to even
    if (!(r >= 0) || r > fullMarks) return -1;
    // Compared in tenths, so 90 % of any whole full marks is exact.
    const double tenths = r * 10;
    for (int b = 0; b < 4; ++b)
        if (tenths >= double(kTenths[b]) * fullMarks) return b;
    return int(GradeBand::Fail);
}

QString BandThresholdText(GradeBand band, int fullMarks) {
    const int b = band == GradeBand::Fail ? int(GradeBand::Pass) : int(band);
    const long long tenths = (long long)kTenths[b] * fullMarks;
    QString text = QString::number(tenths / 10);
    if (tenths % 10) text += QLatin1Char('.') + QString::number(tenths % 10);
    return text;
}

QString BandLabel(GradeBand band, int fullMarks) {
    const int b = int(band);
    const QString name = QString::fromUtf8(kNames[b]);
    if (band == GradeBand::Excellent) return name + QStringLiteral("(%1+)").arg(BandThresholdText(band, fullMarks));
    if (band == GradeBand::Fail) return name + QStringLiteral("(%1-)").arg(BandThresholdText(band, fullMarks));
    return name + QStringLiteral("(%1-%2)").arg(BandThresholdText(band, fullMarks),
                                                 BandThresholdText(GradeBand(b - 1), fullMarks));
}
