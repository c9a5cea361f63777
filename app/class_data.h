#pragma once
// One class's work as the teacher gave it: the score texts in grid order,
// who each score belongs to where that is known, the course and exam
// description, the conclusion and the full marks. The window shows one; the
// class file, the import and paste carry them in and out.
#include "grade_bands.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <vector>

// Who a score belongs to; both empty for a row typed by hand.
struct ClassStudent {
    QString number;  // 学号
    QString name;    // 姓名
    bool IsEmpty() const { return number.isEmpty() && name.isEmpty(); }
    bool operator==(const ClassStudent&) const = default;
};

// Each student's score on each question of the exam, where the teacher has
// them: the total in the grid is then their sum.
struct ClassItems {
    QStringList questions;          // as the sheet names them: "1", "第2题", "T3"
    std::vector<double> fullMarks;  // one per question, each above 0
    // One entry per entry of ClassData::scores: a text per question as
    // typed, or no texts for a row without them (typed by hand).
    std::vector<QStringList> rows;
    bool IsEmpty() const { return questions.isEmpty(); }
    bool operator==(const ClassItems&) const = default;
};

enum class ExamMode { ClosedBook, OpenBook, Paper, Other };

// The information tab, as typed.
struct ClassInfo {
    QString courseName, teacher, courseNumber, credits, hours, className;
    QDate examDate;
    QTime beginTime, endTime;
    ExamMode examMode = ExamMode::ClosedBook;
    bool operator==(const ClassInfo&) const = default;
};

struct ClassData {
    // Row k of the grid is entry k - 1; texts as typed, so that the same
    // texts give the same analysis. Empty rows between scores stay empty
    // texts; trailing empty rows are left out.
    QStringList scores;
    // Empty, or one entry per entry of scores.
    std::vector<ClassStudent> roster;
    ClassInfo info;
    QString conclusion;
    int fullMarks = kDefaultFullMarks;
    // Empty for a class of totals alone.
    ClassItems items;
    bool operator==(const ClassData&) const = default;
};
