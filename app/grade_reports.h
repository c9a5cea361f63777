#pragma once
// Every report of a grade in one go, into one folder, each through the same
// making as the single-class command; and the comparison report.
#include <QString>
#include <QStringList>
#include <vector>

class TGradeWindow;

// A file name from a class name: no separators, control or reserved
// characters, no leading dots, not empty, and short enough for any file
// system with room for the longest suffix the program adds.
QString SafeFileName(const QString& name);

struct BatchOutcome {
    QStringList made;                                 // class names
    std::vector<std::pair<QString, QString>> failed;  // class name, reason
    QStringList skipped;                              // kept by the teacher, or left by 取消
    bool cancelled = false;
};

// 生成全部报告…: a folder, the question about files already there, then the
// reports one after another with progress and 取消, and a summary.
void MakeAllReports(TGradeWindow& window);
// The same for a folder already chosen; the summary is shown too.
BatchOutcome MakeReportsInto(TGradeWindow& window, const QString& folder);
// The summary's text.
QString BatchSummary(const BatchOutcome& outcome, const QString& folder);

inline const QString kComparisonReportName = QStringLiteral("年级对比报告.doc");
// 年级对比报告…: the comparison table and chart as a Word 97-2003 document.
void MakeComparisonReport(TGradeWindow& window);
