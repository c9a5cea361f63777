#pragma once
// How one workbook holds several classes: one class on each sheet that has
// rows, or, on a single sheet, a 班级 column whose values tell the classes
// apart. The split only says where each class's rows are; reading their
// scores is the import's own.
#include "score_table.h"

#include <vector>

struct ClassTable {
    QString name;
    ScoreTable table;  // the header row (if any) and this class's rows
};

struct WorkbookSplit {
    enum class By { Sheets, ClassColumn, Single };
    By by = By::Single;
    std::vector<ClassTable> classes;  // in the order they first appear
    QString classHeader;              // ClassColumn: the column's header as it stands
    // ClassColumn: rows whose 班级 cell is empty, by their source row.
    std::vector<int> unassigned;
};

// fallbackName names the one class of a workbook that is not split.
WorkbookSplit SplitWorkbook(const std::vector<ScoreSheet>& sheets, const QString& fallbackName);
