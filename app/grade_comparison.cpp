#include "grade_comparison.h"

#include "number_format.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace {

ClassFigures Figures(const QString& name, const std::vector<double>& scores, int fullMarks) {
    ClassFigures f;
    f.name = name;
    f.statistics = ComputeStatistics(scores, fullMarks);
    f.bands = ComputeBandDistribution(scores, fullMarks);
    return f;
}

QString Percent(long double v) { return FormatFixed2(v) + QLatin1Char('%'); }

QString Signed(long double v) {
    const QString text = FormatFixed2(v);
    // A difference that shows as zero has no sign, whichever side it lies on.
    if (StrToFloat(text) == 0) return FormatFixed2(0.0L);
    return v > 0 ? QLatin1Char('+') + text : text;
}

template <int Band>
QString BandCount(const ClassFigures& f) { return IntToStr(f.bands.counts[Band]); }
template <int Band>
long double BandCountValue(const ClassFigures& f) { return f.bands.counts[Band]; }
template <int Band>
QString BandPercent(const ClassFigures& f) { return f.bands.percentTexts[Band] + QLatin1Char('%'); }
template <int Band>
long double BandPercentValue(const ClassFigures& f) { return StrToFloat(f.bands.percentTexts[Band]); }

// Fixed, not the session's locale, so every machine sorts alike; numbers
// inside names by value, so 2班 comes before 10班.
const QCollator& NameCollator() {
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Chinese, QLocale::China)};
        c.setNumericMode(true);
        return c;
    }();
    return collator;
}

}  // namespace

GradeComparison CompareClasses(const std::vector<ComparedClass>& classes, int fullMarks) {
    GradeComparison c;
    std::vector<double> all;
    for (const ComparedClass& k : classes) all.insert(all.end(), k.scores->begin(), k.scores->end());
    c.grade = Figures(kWholeGradeName, all, fullMarks);
    for (const ComparedClass& k : classes) {
        ClassFigures f = Figures(k.name, *k.scores, fullMarks);
        f.meanDifference = f.statistics.mean - c.grade.statistics.mean;
        c.classes.push_back(std::move(f));
    }
    return c;
}

const std::vector<ComparisonColumn>& ComparisonColumns() {
    using F = const ClassFigures&;
    static const std::vector<ComparisonColumn> columns{
        {QStringLiteral("班级"), [](F f) { return f.name; }, nullptr},
        {QStringLiteral("人数"), [](F f) { return IntToStr(f.statistics.count); },
         [](F f) -> long double { return f.statistics.count; }},
        {QStringLiteral("平均分"), [](F f) { return FormatFixed2(f.statistics.mean); },
         [](F f) { return f.statistics.mean; }},
        {QStringLiteral("均分差"), [](F f) { return Signed(f.meanDifference); }, [](F f) { return f.meanDifference; }},
        {QStringLiteral("中位数"), [](F f) { return FormatFixed2(f.statistics.median); },
         [](F f) -> long double { return f.statistics.median; }},
        {QStringLiteral("标准差"), [](F f) { return FormatFixed2(f.statistics.deviation); },
         [](F f) { return f.statistics.deviation; }},
        {QStringLiteral("最高分"), [](F f) { return FormatFixed2(f.statistics.highest); },
         [](F f) -> long double { return f.statistics.highest; }},
        {QStringLiteral("最低分"), [](F f) { return FormatFixed2(f.statistics.lowest); },
         [](F f) -> long double { return f.statistics.lowest; }},
        {QStringLiteral("及格率"), [](F f) { return Percent(f.statistics.passRate); },
         [](F f) { return f.statistics.passRate; }},
        {QStringLiteral("优秀率"), [](F f) { return Percent(f.statistics.excellentRate); },
         [](F f) { return f.statistics.excellentRate; }},
        {QStringLiteral("优"), BandCount<0>, BandCountValue<0>},
        {QStringLiteral("优%"), BandPercent<0>, BandPercentValue<0>},
        {QStringLiteral("良"), BandCount<1>, BandCountValue<1>},
        {QStringLiteral("良%"), BandPercent<1>, BandPercentValue<1>},
        {QStringLiteral("中"), BandCount<2>, BandCountValue<2>},
        {QStringLiteral("中%"), BandPercent<2>, BandPercentValue<2>},
        {QStringLiteral("及格"), BandCount<3>, BandCountValue<3>},
        {QStringLiteral("及格%"), BandPercent<3>, BandPercentValue<3>},
        {QStringLiteral("不及格"), BandCount<4>, BandCountValue<4>},
        {QStringLiteral("不及格%"), BandPercent<4>, BandPercentValue<4>},
        {QStringLiteral("难度P"), [](F f) { return FormatFixed2(f.statistics.difficulty); },
         [](F f) { return f.statistics.difficulty; }},
        {QStringLiteral("区分度D"), [](F f) { return FormatFixed2(f.statistics.discrimination); },
         [](F f) { return f.statistics.discrimination; }},
    };
    return columns;
}

std::vector<int> SortedClasses(const GradeComparison& comparison, int column, bool descending) {
    std::vector<int> order(comparison.classes.size());
    std::iota(order.begin(), order.end(), 0);
    const auto& columns = ComparisonColumns();
    if (column < 0 || column >= int(columns.size())) return order;
    const ComparisonColumn& c = columns[size_t(column)];
    const auto less = [&](int a, int b) {
        const ClassFigures& x = comparison.classes[size_t(a)];
        const ClassFigures& y = comparison.classes[size_t(b)];
        if (!c.value) return NameCollator().compare(x.name, y.name) < 0;
        return c.value(x) < c.value(y);
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return descending ? less(b, a) : less(a, b); });
    return order;
}
