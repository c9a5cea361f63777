#pragma once
// Finds the column of a table that holds the scores, and the columns of the
// roster, and takes the scores as the grid is to show them, each with its
// student, setting aside what is not a score.
#include "class_data.h"
#include "score_table.h"

#include <optional>
#include <vector>

// A column that may hold the scores.
struct ScoreColumn {
    int index = 0;
    QString header;           // empty when the table has no header row
    QStringList firstValues;  // its first five values, as they stand
};

struct ColumnSearch {
    bool hasHeader = false;  // a row names the columns
    // The header row's index in the table's rows: the first row, or one
    // below a title such as 高一(3)班期中考试成绩单; -1 without a header.
    int headerRow = -1;
    // The columns to choose from: those whose header names a score and
    // whose values lie within the full marks, else those whose values all
    // do, else those whose header names a score, else a table's only column.
    std::vector<ScoreColumn> candidates;
    // Columns whose header names a score but whose values mostly exceed
    // the full marks (a 总分 beside the subjects), when others were offered.
    std::vector<ScoreColumn> setAside;
    // The roster's columns: 学号 (考号, 编号, 序号) and 姓名 (名字); -1 for none.
    int numberColumn = -1, nameColumn = -1;
    int FirstDataRow() const { return headerRow + 1; }
};

ColumnSearch FindScoreColumns(const ScoreTable& table, int fullMarks = kDefaultFullMarks);

// A row whose score cannot be taken.
struct RefusedValue {
    int sourceRow;
    QString text;  // the cell as it stands, or the whole row for an extra field
    ClassStudent student = {};
    int extraFields = 0;  // fields beyond the header's
};

struct ScoreList {
    QStringList scores;  // grid texts, in source order; empty cells skipped
    std::vector<ClassStudent> students;  // one per score; all empty without roster columns
    std::vector<RefusedValue> refused;
    bool HasRoster() const;
};

ScoreList CollectScores(const ScoreTable& table, int column, const ColumnSearch& search,
                        int fullMarks = kDefaultFullMarks);
// The table's rows from the first (or the second, with a header), no roster.
ScoreList CollectScores(const ScoreTable& table, int column, bool hasHeader);

// A number as a teacher types it: "85.5", "90", at most 15 significant digits.
QString ScoreText(double value);

// The number in a cell: digits with "." (and "," when decimalComma) as the
// decimal separator, full-width forms included; nothing for other text.
std::optional<double> CellNumber(const QString& text, bool decimalComma);
