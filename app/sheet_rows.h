#pragma once
// Collects the cells of one sheet as a reader finds them, in any order of
// rows, into the rows of a score table; padding of sparse rows counts
// against the workbook's cell budget.
#include "score_table.h"

#include <map>

class SheetRows {
public:
    explicit SheetRows(qint64& budget) : budget_(budget) {}
    // row from 1, column from 0; an empty text is no cell.
    void Put(qint64 row, qint64 column, const QString& text);
    ScoreTable Take();

    static constexpr qint64 kMaxRow = 1 << 20, kMaxColumn = 1 << 14;

private:
    qint64& budget_;
    std::map<int, QStringList> rows_;
};
