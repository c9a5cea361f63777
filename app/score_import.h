#pragma once
// The window's commands for scores that arrive in bulk: imported from a
// spreadsheet or a text file, or pasted into the score grid as a column.
// The readers say what a file holds; these ask the teacher what only she
// can decide and place the result through the window's one way in, or
// leave the grid as it was when she says no.
#include "score_table.h"

#include <QString>
#include <optional>

class TForm1;
class ESheetError;

// What the teacher is told when the office cannot read the spreadsheet name
// (文件“成绩.xls”).
QString SheetMessage(const ESheetError& e, const QString& name);

// A table the teacher chose to import, and how messages name its file (文件“成绩.xlsx”).
struct ImportedTable {
    QString source;
    ScoreTable table;
};

// The open dialog, the file read off the event loop and its sheet chosen;
// nothing when the teacher cancelled, or was told why it cannot be read.
std::optional<ImportedTable> ReadImportTable(TForm1& form);

// The import command: a file dialog, then the scores into rows 1 to N.
void ImportScores(TForm1& form);

// A pasted text of several lines, into the grid from row on. False for a
// single line, which the editor takes as if typed.
bool PasteScores(TForm1& form, int row, const QString& text);
