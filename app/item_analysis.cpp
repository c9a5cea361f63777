#include "item_analysis.h"

#include "number_format.h"
#include "score_column.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

double Mean(const std::vector<double>& v) {
    if (v.empty()) return 0;
    double sum = 0;
    for (double x : v) sum += x;
    return sum / double(v.size());
}

// Sum of squared deviations from the mean, two-pass.
double Squares(const std::vector<double>& v) {
    const double m = Mean(v);
    double s = 0;
    for (double x : v) s += (x - m) * (x - m);
    return s;
}

// Scores are given in halves or tenths; a spread this small against their
// size is rounding, not students answering differently.
bool Varies(const std::vector<double>& v, double squares) {
    double largest = 0;
    for (double x : v) largest = std::max(largest, std::fabs(x));
    return squares > 1e-12 * double(v.size()) * std::max(1.0, largest * largest);
}

std::optional<double> Correlation(const std::vector<double>& x, const std::vector<double>& y) {
    const double sx = Squares(x), sy = Squares(y);
    if (!Varies(x, sx) || !Varies(y, sy)) return std::nullopt;
    const double mx = Mean(x), my = Mean(y);
    double sxy = 0;
    for (size_t k = 0; k < x.size(); ++k) sxy += (x[k] - mx) * (y[k] - my);
    return std::clamp(sxy / std::sqrt(sx * sy), -1.0, 1.0);
}

// Judged on the two decimals shown, as 统计指标 judges its D: a P shown as
// 0.30 is not below 0.30.
long long Hundredths(double v) { return std::llround(StrToFloat(FormatFixed2(v)) * 100); }

unsigned Flags(const ItemFigures& f) {
    unsigned flags = 0;
    if (Hundredths(f.difficulty) < 30) flags |= kItemTooHard;
    if (Hundredths(f.difficulty) > 90) flags |= kItemTooEasy;
    if (Hundredths(f.discrimination) < 20) flags |= kItemPoorlyDiscriminating;
    if (f.correlation && Hundredths(*f.correlation) < 0) flags |= kItemNegativeCorrelation;
    return flags;
}

QString Labels(const std::vector<const ItemFigures*>& items) {
    QStringList names;
    for (const ItemFigures* f : items) names << QuestionLabel(f->question);
    return names.join(QStringLiteral("、"));
}

QString Optional2(const std::optional<double>& v) { return v ? FormatFixed2(*v) : QStringLiteral("—"); }

}  // namespace

std::vector<const ItemFigures*> ItemAnalysis::Flagged() const {
    std::vector<const ItemFigures*> out;
    for (const ItemFigures& f : items)
        if (f.flags) out.push_back(&f);
    return out;
}

ItemAnalysis AnalyseItems(const QStringList& questions, const std::vector<double>& fullMarks,
                          const std::vector<std::vector<double>>& scores) {
    ItemAnalysis a;
    const size_t k = size_t(questions.size());
    a.count = int(scores.size());
    const size_t n = scores.size();

    std::vector<double> totals(n, 0.0);
    for (size_t s = 0; s < n; ++s)
        for (size_t q = 0; q < k && q < scores[s].size(); ++q) totals[s] += scores[s][q];
    const auto score = [&](size_t s, size_t q) { return q < scores[s].size() ? scores[s][q] : 0.0; };
    a.totalMean = Mean(totals);
    a.totalDeviation = n ? std::sqrt(Squares(totals) / double(n)) : 0;

    // Highest total first; equal totals in the order of the list.
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t l, size_t r) { return totals[l] > totals[r]; });
    a.groupSize = n ? GroupSize(int(n)) : 0;

    a.dichotomous = k > 0 && n > 0;
    double itemSquares = 0;
    for (size_t q = 0; q < k; ++q) {
        ItemFigures f;
        f.question = questions[qsizetype(q)];
        f.fullMarks = q < fullMarks.size() ? fullMarks[q] : 0;
        std::vector<double> x(n), rest(n);
        for (size_t s = 0; s < n; ++s) {
            x[s] = score(s, q);
            rest[s] = totals[s] - x[s];
            if (x[s] == 0) ++f.zeroCount;
            if (x[s] == f.fullMarks) ++f.fullCount;
            if (f.fullMarks != 1 || (x[s] != 0 && x[s] != 1)) a.dichotomous = false;
        }
        if (f.fullMarks != 1) a.dichotomous = false;
        if (n > 0 && f.fullMarks > 0) {
            f.mean = Mean(x);
            f.difficulty = f.mean / f.fullMarks;
            double upper = 0, lower = 0;
            const size_t g = size_t(a.groupSize);
            for (size_t j = 0; j < g; ++j) {
                upper += x[order[j]];
                lower += x[order[n - 1 - j]];
            }
            f.discrimination = (upper - lower) / double(g) / f.fullMarks;
            f.correlation = Correlation(x, rest);
            f.flags = Flags(f);
        }
        itemSquares += Squares(x);
        a.items.push_back(std::move(f));
    }

    const double totalSquares = Squares(totals);
    if (k >= 2 && n >= 2 && Varies(totals, totalSquares)) {
        // The n of the population variances cancels in the ratio.
        const double alpha = double(k) / double(k - 1) * (1 - itemSquares / totalSquares);
        a.alpha = alpha;
        // A negative alpha (questions that work against each other) is no
        // reliability at all: the error is then the whole spread, never more.
        a.sem = a.totalDeviation * std::sqrt(1 - std::clamp(alpha, 0.0, 1.0));
    }
    return a;
}

QString QuestionLabel(const QString& question) {
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    return digits.match(question).hasMatch() ? QStringLiteral("第%1题").arg(question) : question;
}

QString FlagText(unsigned flags) {
    QStringList parts;
    if (flags & kItemTooHard) parts << QStringLiteral("偏难");
    if (flags & kItemTooEasy) parts << QStringLiteral("偏易");
    if (flags & kItemPoorlyDiscriminating) parts << QStringLiteral("区分度低");
    if (flags & kItemNegativeCorrelation) parts << QStringLiteral("题总相关为负，请核对答案");
    return parts.join(QStringLiteral("；"));
}

QStringList ItemTableHeader() {
    return {QStringLiteral("题号"),     QStringLiteral("满分"),     QStringLiteral("平均分"),
            QStringLiteral("得分率P"),  QStringLiteral("区分度D"),  QStringLiteral("题总相关"),
            QStringLiteral("零分人数"), QStringLiteral("满分人数"), QStringLiteral("提示")};
}

QStringList ItemTableRow(const ItemFigures& f) {
    return {f.question,
            ScoreText(f.fullMarks),
            FormatFixed2(f.mean),
            FormatFixed2(f.difficulty),
            FormatFixed2(f.discrimination),
            Optional2(f.correlation),
            IntToStr(f.zeroCount),
            IntToStr(f.fullCount),
            FlagText(f.flags)};
}

QString ReliabilityText(const ItemAnalysis& a) {
    return QStringLiteral("%1 = %2，测量标准误 SEM = %3")
        .arg(a.dichotomous ? QStringLiteral("KR-20") : QStringLiteral("Cronbach α"), Optional2(a.alpha), Optional2(a.sem));
}

QString ItemNote(const ItemAnalysis& a) {
    QString note = QStringLiteral(
        "得分率 P = 平均分 ÷ 该题满分；P < 0.30 为偏难，P > 0.90 为偏易（0.30~0.90 是教育测量中常用的适宜难度范围）。"
        "区分度 D = (高分组该题平均分 − 低分组该题平均分) ÷ 该题满分，高分组、低分组按总分各取 27%（每组 %1 人，"
        "与“统计指标”的分组相同，总分相同时按成绩表中的顺序）；D < 0.20 为区分度低（Ebel 的区分度分级，"
        "与“统计指标”相同）。题总相关是该题得分与其余各题总分的相关系数（0/1 计分的题即点二列相关），"
        "为负时说明总分高的学生反而答错，请核对答案或评分标准；所有学生得分相同时无法计算，显示“—”。"
        "以上判断都按显示的两位小数。")
                       .arg(a.groupSize);
    note += a.dichotomous ? QStringLiteral("各题都是 0/1 计分，信度用 KR-20 计算；")
                          : QStringLiteral("信度用 Cronbach α 计算；");
    note += QStringLiteral("测量标准误 SEM = 总分标准差 × √(1 − 信度)，标准差与“统计指标”相同，按全体人数计算；"
                           "信度为负时按 0 计，SEM 即等于标准差。");
    if (!a.alpha) note += QStringLiteral("本次题数或人数不足两个，或者所有学生总分相同，信度无法计算。");
    return note;
}

QString ItemSentence(const ItemAnalysis& a) {
    std::vector<const ItemFigures*> hard, easy, poor, negative;
    for (const ItemFigures& f : a.items) {
        if (f.flags & kItemTooHard) hard.push_back(&f);
        if (f.flags & kItemTooEasy) easy.push_back(&f);
        if (f.flags & kItemPoorlyDiscriminating) poor.push_back(&f);
        if (f.flags & kItemNegativeCorrelation) negative.push_back(&f);
    }
    QStringList parts;
    if (!hard.empty()) parts << QStringLiteral("%1得分率低于0.30，偏难").arg(Labels(hard));
    if (!easy.empty()) parts << QStringLiteral("%1得分率高于0.90，偏易").arg(Labels(easy));
    if (!poor.empty()) parts << QStringLiteral("%1区分度低于0.20").arg(Labels(poor));
    if (!negative.empty()) parts << QStringLiteral("%1与其余各题的相关为负，请核对答案或评分标准").arg(Labels(negative));
    const QString reliability = ReliabilityText(a);
    if (parts.isEmpty()) return QStringLiteral("小题分析：各题难度和区分度都在适宜范围内；%1。").arg(reliability);
    return QStringLiteral("小题分析：%1；%2。").arg(parts.join(QStringLiteral("；")), reliability);
}

SentencePlace PlaceItemSentence(const QString& text) {
    static const QRegularExpression written(QStringLiteral("^小题分析：[^\\n]*测量标准误 SEM = [^\\n]*。$"),
                                            QRegularExpression::MultilineOption);
    QRegularExpressionMatch last;
    for (auto it = written.globalMatch(text); it.hasNext();) last = it.next();
    if (last.hasMatch()) return {last.capturedStart(), last.capturedLength(), false};
    return {text.size(), 0, !text.isEmpty() && !text.endsWith(QLatin1Char('\n'))};
}
