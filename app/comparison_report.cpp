#include "comparison_report.h"

namespace {

QString Escaped(const QString& s) { return s.toHtmlEscaped(); }

QString Table(const GradeComparison& comparison, const std::vector<int>& columns) {
    const auto& all = ComparisonColumns();
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n<tr>");
    for (int c : columns) html += QStringLiteral("<th>%1</th>").arg(Escaped(all[size_t(c)].header));
    html += QStringLiteral("</tr>\n");
    const auto row = [&](const ClassFigures& f, bool grade) {
        html += QStringLiteral("<tr>");
        for (int c : columns) {
            // The grade's difference from itself says nothing.
            const QString text = grade && all[size_t(c)].header == QStringLiteral("均分差") ? QString() : all[size_t(c)].text(f);
            html += (grade ? QStringLiteral("<td><b>%1</b></td>") : QStringLiteral("<td>%1</td>")).arg(Escaped(text));
        }
        html += QStringLiteral("</tr>\n");
    };
    for (const ClassFigures& f : comparison.classes) row(f, false);
    row(comparison.grade, true);
    return html + QStringLiteral("</table>\n");
}

}  // namespace

const std::vector<int>& MeasureColumns() {
    static const std::vector<int> c{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 21};
    return c;
}

const std::vector<int>& BandColumns() {
    static const std::vector<int> c{0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    return c;
}

QByteArray ComparisonPage(const GradeComparison& comparison, const ClassInfo& d, int fullMarks) {
    QString html = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>年级对比报告</title>"
        "<style>body{font-size:10pt} th,td{font-size:9pt;text-align:center}</style></head><body>\n"
        "<h2 style=\"text-align:center\">年级对比报告</h2>\n");
    QStringList about;
    if (!d.courseName.trimmed().isEmpty()) about << QStringLiteral("课程名称：") + Escaped(d.courseName.trimmed());
    if (!d.courseNumber.trimmed().isEmpty()) about << QStringLiteral("课程编号：") + Escaped(d.courseNumber.trimmed());
    if (d.examDate.isValid())
        about << QStringLiteral("考试日期：%1年%2月%3日").arg(d.examDate.year()).arg(d.examDate.month()).arg(d.examDate.day());
    if (!about.isEmpty()) html += QStringLiteral("<p>%1</p>\n").arg(about.join(QStringLiteral("　")));
    html += QStringLiteral("<p>共%1个班级，%2人，满分%3分。成绩先四舍五入为整数，达到满分的90%为优、80%为良、70%为中、60%为及格。</p>\n")
                .arg(comparison.classes.size())
                .arg(comparison.grade.statistics.count)
                .arg(fullMarks);
    // Each table follows a line of text of its own, or the office joins them into one.
    html += QStringLiteral("<p><b>一、各班主要指标</b></p>\n") + Table(comparison, MeasureColumns());
    html += QStringLiteral("<p><b>二、各档人数与比例</b></p>\n") + Table(comparison, BandColumns());
    html += QStringLiteral("<p><b>三、各班成绩分布图</b></p>\n<table border=\"0\" width=\"100%\"><tr><td></td></tr></table>\n"
                           "</body></html>\n");
    return html.toUtf8();
}
