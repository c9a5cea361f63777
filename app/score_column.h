#pragma once
// Finds the column of a table that holds the scores, and takes its scores
// as the grid is to show them, setting aside what is not a score.
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
    bool hasHeader = false;  // the first row names the columns
    // The columns to choose from: those whose header names a score, else
    // those whose values all lie in 0 to 100, else a table's only column.
    std::vector<ScoreColumn> candidates;
};

ColumnSearch FindScoreColumns(const ScoreTable& table);

// A cell that is not a score from 0 to 100.
struct RefusedValue {
    int sourceRow;
    QString text;
};

struct ScoreList {
    QStringList scores;  // grid texts, in source order; empty cells skipped
    std::vector<RefusedValue> refused;
};

ScoreList CollectScores(const ScoreTable& table, int column, bool hasHeader);

// A number as a teacher types it: "85.5", "90", at most 15 significant digits.
QString ScoreText(double value);

// The number in a cell: digits with "." (and "," when decimalComma) as the
// decimal separator, full-width forms included; nothing for other text.
std::optional<double> CellNumber(const QString& text, bool decimalComma);
