#include "sheet_rows.h"

#include "sheet_xml.h"

void SheetRows::Put(qint64 row, qint64 column, const QString& text) {
    if (text.trimmed().isEmpty()) return;
    if (row < 1 || row > kMaxRow || column < 0 || column >= kMaxColumn) throw TooManyCells();
    QStringList& cells = rows_[int(row)];
    const qint64 grow = column + 1 - cells.size();
    if (grow > 0) {
        if ((budget_ -= grow) < 0) throw TooManyCells();
        while (cells.size() <= column) cells << QString();
    }
    cells[column] = text;
}

ScoreTable SheetRows::Take() {
    ScoreTable t;
    for (auto& [row, cells] : rows_) t.rows << ScoreTable::Row{row, std::move(cells)};
    rows_.clear();
    return t;
}
