#pragma once
// Who failed and who excelled in an analysis, and how messages name a
// student beside a row.
#include "class_data.h"

#include <QString>
#include <QStringList>
#include <vector>

struct AnalysedScore;

struct ListedStudent {
    int row;  // of the score grid, from 1
    ClassStudent student;
    QString score;  // as typed
    double value;
};

struct StudentLists {
    std::vector<ListedStudent> failing;    // 不及格名单
    std::vector<ListedStudent> excellent;  // 优秀名单
};

// By band of the full marks; each list sorted by score, highest first, and
// in grid order among equal scores.
StudentLists ListStudents(const std::vector<AnalysedScore>& scores, int fullMarks);

// A list as a spreadsheet takes it from the clipboard: a header line
// 学号, 姓名, 成绩 and one line per student, tab-separated.
QString TabSeparated(const std::vector<ListedStudent>& list);

// The name a list shows for a student: the name, else the number, else the
// grid row ("第5行") for a score typed by hand.
QString ShownName(const ListedStudent& s);

// "（2006001 张三）" after a row in a message; empty for no student.
QString StudentSuffix(const ClassStudent& s);

// At most ten lines joined by CR, then how many more there are.
QString ListedLines(const QStringList& lines);
