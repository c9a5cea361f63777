#include "student_lists.h"

#include "main_window.h"

#include <algorithm>

namespace {
constexpr qsizetype kListedLines = 10;

void SortByScore(std::vector<ListedStudent>& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const ListedStudent& a, const ListedStudent& b) { return a.value > b.value; });
}
}  // namespace

StudentLists ListStudents(const std::vector<AnalysedScore>& scores, int fullMarks) {
    StudentLists out;
    for (const AnalysedScore& s : scores) {
        const int band = BandOf(s.value, fullMarks);
        const ListedStudent entry{s.row, s.student, s.text, s.value};
        if (band == int(GradeBand::Fail)) out.failing.push_back(entry);
        else if (band == int(GradeBand::Excellent)) out.excellent.push_back(entry);
    }
    SortByScore(out.failing);
    SortByScore(out.excellent);
    return out;
}

QString ShownName(const ListedStudent& s) {
    if (!s.student.name.isEmpty()) return s.student.name;
    if (!s.student.number.isEmpty()) return QString();
    return QStringLiteral("第%1行").arg(s.row);
}

QString TabSeparated(const std::vector<ListedStudent>& list) {
    // Tabs or line breaks inside a field would split it in a spreadsheet.
    const auto clean = [](QString t) { return t.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' ')); };
    QString text = QStringLiteral("学号\t姓名\t成绩\n");
    for (const ListedStudent& s : list)
        text += clean(s.student.number) + QLatin1Char('\t') + clean(ShownName(s)) + QLatin1Char('\t') + s.score + QLatin1Char('\n');
    return text;
}

QString StudentSuffix(const ClassStudent& s) {
    if (s.IsEmpty()) return QString();
    const QString who = s.number.isEmpty() ? s.name : s.name.isEmpty() ? s.number : s.number + QLatin1Char(' ') + s.name;
    return QStringLiteral("（%1）").arg(who);
}

QString ListedLines(const QStringList& lines) {
    QStringList shown = lines.mid(0, kListedLines);
    if (lines.size() > kListedLines) shown << QStringLiteral("……另有%1处").arg(lines.size() - kListedLines);
    return shown.join(QLatin1Char('\r'));
}
