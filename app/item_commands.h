#pragma once
// The window's commands for per-question scores: 导入小题成绩… places a
// sheet of them (totals in the grid as their sums), 小题分析… shows how each
// question worked and writes a sentence of it into the conclusion, and the
// report takes the same figures.
#include "item_analysis.h"

#include <QStringList>
#include <optional>

class TForm1;

void ImportItemScores(TForm1& form);
void ShowItemAnalysis(TForm1& form);

// The figures of the last analysis' students that have per-question scores,
// and "第5行" lines of those left out because their total was changed by
// hand since; nothing without per-question scores.
struct ClassItemFigures {
    ItemAnalysis analysis;
    QStringList leftOut;
};
std::optional<ClassItemFigures> AnalyseClassItems(TForm1& form);
