#include "score_reader.h"

ScoreReading ReadScoreTable(const ScoreTable& table, int fullMarks, int column) {
    ScoreReading out;
    for (const ScoreTable::Row& row : table.rows)
        for (const QString& cell : row.cells)
            if (cell.size() > kMaxCellChars) {
                out.outcome = ScoreReading::Outcome::CellTooLong;
                out.longCellRow = row.sourceRow;
                out.longCellLength = cell.size();
                return out;
            }
    const ColumnSearch search = FindScoreColumns(table, fullMarks);
    out.setAside = search.setAside;
    if (column < 0) {
        if (search.candidates.empty()) return out;
        // A column named against others that qualify is a question too.
        if (search.candidates.size() > 1 || !search.setAside.empty()) {
            out.outcome = ScoreReading::Outcome::ChooseColumn;
            out.choices = search.candidates;
            return out;
        }
        column = search.candidates.front().index;
    }
    out.list = CollectScores(table, column, search, fullMarks);
    out.outcome = out.list.scores.isEmpty() ? ScoreReading::Outcome::NoScores : ScoreReading::Outcome::Ready;
    return out;
}
