#include "grade_split.h"

#include "score_column.h"

#include <QHash>

namespace {

bool NamesClass(const QString& header) {
    const QString h = header.trimmed();
    return h == QStringLiteral("班") || h == QStringLiteral("班别") || h == QStringLiteral("班次") ||
           h.contains(QStringLiteral("班级"));
}

// The column of the header row that names each row's class, or -1.
int ClassColumn(const ScoreTable& table, int headerRow) {
    if (headerRow < 0 || headerRow >= table.rows.size()) return -1;
    const QStringList& cells = table.rows[headerRow].cells;
    for (int c = 0; c < cells.size(); ++c)
        if (NamesClass(cells[c])) return c;
    return -1;
}

// The class's number in its own column is no score to offer.
ScoreTable::Row WithoutCell(ScoreTable::Row row, int column) {
    if (column < row.cells.size()) row.cells.removeAt(column);
    return row;
}

}  // namespace

WorkbookSplit SplitWorkbook(const std::vector<ScoreSheet>& sheets, const QString& fallbackName) {
    WorkbookSplit split;
    std::vector<const ScoreSheet*> filled;
    for (const ScoreSheet& s : sheets)
        if (!s.table.rows.isEmpty()) filled.push_back(&s);
    if (filled.size() > 1) {
        split.by = WorkbookSplit::By::Sheets;
        for (const ScoreSheet* s : filled) split.classes.push_back({s->name.trimmed(), s->table});
        return split;
    }
    if (filled.empty()) return split;
    const ScoreTable& table = filled.front()->table;
    const int headerRow = FindScoreColumns(table).headerRow;
    const int column = ClassColumn(table, headerRow);
    if (column < 0) {
        split.classes.push_back({fallbackName, table});
        return split;
    }
    split.by = WorkbookSplit::By::ClassColumn;
    split.classHeader = table.rows[headerRow].cells[column].trimmed();
    QHash<QString, size_t> index;
    for (int r = headerRow + 1; r < table.rows.size(); ++r) {
        const ScoreTable::Row& row = table.rows[r];
        const QString name = column < row.cells.size() ? row.cells[column].trimmed() : QString();
        if (name.isEmpty()) {
            split.unassigned.push_back(row.sourceRow);
            continue;
        }
        auto it = index.find(name);
        if (it == index.end()) {
            ClassTable c{name, table};
            c.table.rows = {WithoutCell(table.rows[headerRow], column)};
            split.classes.push_back(std::move(c));
            it = index.insert(name, split.classes.size() - 1);
        }
        split.classes[*it].table.rows.push_back(WithoutCell(row, column));
    }
    return split;
}
