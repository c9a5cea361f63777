#pragma once
// Scores that arrive in bulk: imported from a spreadsheet or a text file, or
// pasted into the score grid as a column. Both take the same checks, ask the
// same questions, and leave the grid as it was when the teacher says no.
#include "score_table.h"

class TForm1;

// The import command: a file dialog, then the scores into rows 1 to N.
void ImportScores(TForm1& form);

// The cells of a file: spreadsheets through the office, other files as text.
// Throws ETextTableError or ESheetError.
ScoreTable ReadScoreFile(const QString& path);

// A pasted text of several lines, into the grid from row on. False for a
// single line, which the editor takes as if typed.
bool PasteScores(TForm1& form, int row, const QString& text);
