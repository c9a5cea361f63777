#pragma once
// Reads a sheet of per-question scores: one column per question (headed 1,
// 2, …, 第1题, T1, 选择1 …), the roster's columns, maybe a 总分 column, and
// maybe a row of each question's full marks under the header (labelled
// 满分). It never touches the window; the import command asks what only the
// teacher can decide.
#include "score_column.h"

#include <optional>
#include <vector>

// One student's row.
struct ItemRow {
    int sourceRow = 0;
    ClassStudent student;
    QStringList texts;           // one per question, as the grid is to keep them; "" for an empty cell
    std::vector<double> values;  // the same as numbers, an empty cell 0
    QString total;               // the 总分 cell as it stands, when the sheet has one
    double Sum() const;
};

// A 总分 that is not the sum of the questions.
struct ItemMismatch {
    int sourceRow = 0;
    ClassStudent student;
    QString total;
    double sum = 0;
};

struct ItemReading {
    enum class Outcome {
        Ready,
        NoQuestions,  // fewer than two question columns
        NoRows,       // no row with a question's score
        BadCells,     // cells that are no score at all (refused)
        CellTooLong,  // a cell no class list has
    };
    Outcome outcome = Outcome::NoQuestions;
    QStringList questions;
    std::vector<int> columns;  // the table column of each question
    int totalColumn = -1;
    // From the row of full marks, when there is one and it is whole.
    std::optional<std::vector<double>> fullMarks;
    std::vector<double> largest;  // each question's highest score: the guess when none are given
    std::vector<ItemRow> rows;    // students with at least one question's score, in source order
    std::vector<RefusedValue> refused;
    int longCellRow = 0;
};

// Whether a header names a question: "1", "第1题", "T1", "Q1", "选择1", "17(2)" …
bool NamesAQuestion(const QString& header);

ItemReading ReadItemTable(const ScoreTable& table);

// Cells beyond their question's full marks.
std::vector<RefusedValue> CellsAboveMarks(const ItemReading& reading, const std::vector<double>& fullMarks);

// Rows whose 总分 is not the sum of their questions' scores.
std::vector<ItemMismatch> TotalMismatches(const ItemReading& reading);

// Full marks the class can take: each above 0, their sum a whole number of
// points from 1 to 1000. The message for the teacher, or empty when they can.
QString CheckQuestionMarks(const std::vector<double>& fullMarks);
