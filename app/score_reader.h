#pragma once
// Reads the scores of one table as the grid is to take them: which column,
// who each score belongs to, and what the teacher must be told or asked.
// It never touches the window; the window applies what it returns.
#include "score_column.h"

struct ScoreReading {
    enum class Outcome {
        Ready,          // scores (and maybe refused rows) to place
        ChooseColumn,   // several columns qualify: the teacher picks one of choices
        NoScoreColumn,  // no column holds scores
        NoScores,       // the column holds nothing within the full marks
        CellTooLong,    // a cell no class list has: a damaged or hostile file
    };
    Outcome outcome = Outcome::NoScoreColumn;
    ScoreList list;                      // Ready, NoScores
    std::vector<ScoreColumn> choices;    // ChooseColumn
    std::vector<ScoreColumn> setAside;   // named columns beyond the full marks
    int longCellRow = 0;                 // CellTooLong: its source row
    qsizetype longCellLength = 0;
};

// Longer than any name, score or note of a class list.
constexpr qsizetype kMaxCellChars = 10000;

// column: the table column the teacher chose, or -1 to let the table say.
ScoreReading ReadScoreTable(const ScoreTable& table, int fullMarks, int column = -1);
