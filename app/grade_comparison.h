#pragma once
// The figures the classes of a grade are compared by, each class's and the
// whole grade's, from the same code as one class's analysis and 统计指标,
// and the comparison table's columns: header, text and the value it sorts by.
#include "band_distribution.h"
#include "exam_statistics.h"

#include <QString>
#include <vector>

struct ClassFigures {
    QString name;
    ExamStatistics statistics;
    BandDistribution bands;
    long double meanDifference = 0;  // this mean minus the grade's; 0 for the grade itself
};

struct GradeComparison {
    std::vector<ClassFigures> classes;  // in the grade's order
    ClassFigures grade;                 // every score of every class together
};

struct ComparedClass {
    QString name;
    const std::vector<double>* scores;
};

// Classes without scores are not passed in; the grade must have one class.
GradeComparison CompareClasses(const std::vector<ComparedClass>& classes, int fullMarks);

// The grade's row is named this.
inline const QString kWholeGradeName = QStringLiteral("全年级");

struct ComparisonColumn {
    QString header;
    QString (*text)(const ClassFigures&);
    long double (*value)(const ClassFigures&);  // null for the name column
};
const std::vector<ComparisonColumn>& ComparisonColumns();

// The order the class rows are shown in when sorted by column (the grade
// row is not among them): indices into comparison.classes. Equal values
// keep the grade's order; the name column sorts by text.
std::vector<int> SortedClasses(const GradeComparison& comparison, int column, bool descending);
