#pragma once
// The window's commands for scores that arrive in bulk: imported from a
// spreadsheet or a text file, or pasted into the score grid as a column.
// The readers say what a file holds; these ask the teacher what only she
// can decide and place the result through the window's one way in, or
// leave the grid as it was when she says no.
#include <QString>

class TForm1;
class ESheetError;

// What the teacher is told when the office cannot read the spreadsheet name
// (文件“成绩.xls”).
QString SheetMessage(const ESheetError& e, const QString& name);

// The import command: a file dialog, then the scores into rows 1 to N.
void ImportScores(TForm1& form);

// A pasted text of several lines, into the grid from row on. False for a
// single line, which the editor takes as if typed.
bool PasteScores(TForm1& form, int row, const QString& text);
