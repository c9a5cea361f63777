#pragma once
// The comparison report: the grade's figures in two tables (the measures,
// then the bands), and the grouped chart below them, as a page the office
// turns into a Word 97-2003 document.
#include "class_data.h"
#include "grade_comparison.h"

#include <QByteArray>
#include <QImage>

// The table of the chart's picture in the page, counted from 1.
constexpr int kComparisonPictureTable = 3;
// The columns of the first and the second table, as indices of ComparisonColumns.
const std::vector<int>& MeasureColumns();
const std::vector<int>& BandColumns();

// description: the course and exam the grade was examined in.
QByteArray ComparisonPage(const GradeComparison& comparison, const ClassInfo& description, int fullMarks);
