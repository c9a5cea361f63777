#include "exam_statistics.h"

#include "number_format.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

#include <QRegularExpression>

namespace {

long double MeanOf(std::vector<double>::const_iterator first, std::vector<double>::const_iterator last) {
    long double sum = 0;
    for (auto it = first; it != last; ++it) sum += *it;
    return sum / static_cast<long double>(last - first);
}

QString Percent(long double v) { return FormatFixed2(v) + QLatin1Char('%'); }

}  // namespace

int GroupSize(int count) { return std::max(1, (27 * count + 50) / 100); }

ExamStatistics ComputeStatistics(const std::vector<double>& scores, int fullMarks) {
    ExamStatistics s;
    s.fullMarks = fullMarks;
    s.count = int(scores.size());
    if (s.count == 0) return s;
    // Summed in row order as a 64-bit float, like the result grid's average.
    double sum = 0;
    for (double x : scores) sum += x;
    s.mean = static_cast<long double>(sum) / s.count;

    std::vector<double> sorted = scores;
    std::sort(sorted.begin(), sorted.end(), std::greater<double>());
    s.highest = sorted.front();
    s.lowest = sorted.back();
    const size_t n = sorted.size();
    s.median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;

    long double squares = 0;
    for (double x : scores) squares += (x - s.mean) * (x - s.mean);
    s.deviation = std::sqrt(squares / s.count);
    s.difficulty = s.mean / fullMarks;

    s.groupSize = GroupSize(s.count);
    s.upperMean = MeanOf(sorted.begin(), sorted.begin() + s.groupSize);
    s.lowerMean = MeanOf(sorted.end() - s.groupSize, sorted.end());
    s.discrimination = (s.upperMean - s.lowerMean) / fullMarks;

    for (double x : scores) {
        const int band = BandOf(x, fullMarks);
        if (band >= 0 && band != int(GradeBand::Fail)) ++s.passCount;
        if (band == int(GradeBand::Excellent)) ++s.excellentCount;
    }
    s.passRate = static_cast<long double>(s.passCount) / s.count * 100;
    s.excellentRate = static_cast<long double>(s.excellentCount) / s.count * 100;
    return s;
}

QString DiscriminationReading(long double discrimination) {
    const long double shown = StrToFloat(FormatFixed2(discrimination));
    const long long hundredths = std::llround(shown * 100);
    if (hundredths >= 40) return QStringLiteral("优秀");
    if (hundredths >= 30) return QStringLiteral("良好");
    if (hundredths >= 20) return QStringLiteral("尚可");
    return QStringLiteral("差");
}

std::vector<std::pair<QString, QString>> StatisticsRows(const ExamStatistics& s) {
    return {
        {QStringLiteral("人数"), IntToStr(s.count)},
        {QStringLiteral("最高分"), FormatFixed2(s.highest)},
        {QStringLiteral("最低分"), FormatFixed2(s.lowest)},
        {QStringLiteral("平均分"), FormatFixed2(s.mean)},
        {QStringLiteral("中位数"), FormatFixed2(s.median)},
        {QStringLiteral("标准差"), FormatFixed2(s.deviation)},
        {QStringLiteral("及格率"), Percent(s.passRate)},
        {QStringLiteral("优秀率"), Percent(s.excellentRate)},
        {QStringLiteral("难度 P"), FormatFixed2(s.difficulty)},
        {QStringLiteral("区分度 D"),
         QStringLiteral("%1（%2）").arg(FormatFixed2(s.discrimination), DiscriminationReading(s.discrimination))},
    };
}

QString GroupNote(const ExamStatistics& s) {
    QString note = QStringLiteral(
        "难度 P = 平均分 ÷ %1。区分度 D = (高分组平均分 − 低分组平均分) ÷ %1：按成绩从高到低排列，"
        "高分组取前 27%、低分组取后 27% 的学生，人数四舍五入，至少 1 人，所以不到 6 人的班级每组只有 1 人")
                       .arg(s.fullMarks);
    if (s.count == 1) note += QStringLiteral("；只有 1 人时两组是同一个人，区分度为 0");
    note += QStringLiteral("。本次每组 %1 人：高分组平均 %2 分，低分组平均 %3 分。")
                .arg(s.groupSize)
                .arg(FormatFixed2(s.upperMean), FormatFixed2(s.lowerMean));
    note += QStringLiteral("区分度 0.40 以上为优秀，0.30~0.39 良好，0.20~0.29 尚可，0.20 以下差。");
    return note;
}

QString RateNote(const ExamStatistics& s) {
    return QStringLiteral("及格率 = 及格人数 ÷ 人数，优秀率 = 优秀人数 ÷ 人数。成绩先四舍五入为整数，"
                          "达到满分的 60%（%1 分）为及格，达到 90%（%2 分）为优秀。本次及格 %3 人，优秀 %4 人，共 %5 人。")
        .arg(BandThresholdText(GradeBand::Pass, s.fullMarks), BandThresholdText(GradeBand::Excellent, s.fullMarks))
        .arg(s.passCount)
        .arg(s.excellentCount)
        .arg(s.count);
}

QString ConclusionSentence(const ExamStatistics& s) {
    return QStringLiteral("本次考试共%1人，最高分%2，最低分%3，平均分%4，中位数%5，标准差%6；及格率%7，优秀率%8；"
                          "试卷难度P为%9，区分度D为%10（%11）。")
        .arg(IntToStr(s.count), FormatFixed2(s.highest), FormatFixed2(s.lowest), FormatFixed2(s.mean),
             FormatFixed2(s.median), FormatFixed2(s.deviation), Percent(s.passRate), Percent(s.excellentRate),
             FormatFixed2(s.difficulty))
        .arg(FormatFixed2(s.discrimination), DiscriminationReading(s.discrimination));
}

SentencePlace PlaceConclusionSentence(const QString& text) {
    // The sentence this program writes, whatever its figures: one whole line.
    static const QRegularExpression written(QStringLiteral(
        "^本次考试共\\d+人，最高分[^\\n]*，区分度D为[^\\n]*（(优秀|良好|尚可|差)）。$"),
                                            QRegularExpression::MultilineOption);
    QRegularExpressionMatch last;
    for (auto it = written.globalMatch(text); it.hasNext();) last = it.next();
    if (last.hasMatch()) return {last.capturedStart(), last.capturedLength(), false};
    return {text.size(), 0, !text.isEmpty() && !text.endsWith(QLatin1Char('\n'))};
}
