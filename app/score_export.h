#pragma once
// 导出成绩…: the class's scores, with the roster where there is one, as a
// spreadsheet: .xlsx through the office, or .csv in UTF-8 with a byte order
// mark so that spreadsheet programs read the Chinese right.
#include "class_data.h"

#include <QByteArray>
#include <QList>
#include <QVariant>

class TForm1;

void ExportScores(TForm1& form);

// The rows exported, the header first: 学号, 姓名 and 成绩 with a roster,
// else 成绩; with per-question scores 学号, 姓名, the questions and 总分,
// and a row of full marks (labelled 满分) under the header. Scores as typed; with numbers, a score that is a number as a
// double. Rows with neither a score nor a student are left out.
QList<QVariantList> ExportRows(const ClassData& data, bool numbers);

// The rows (texts) as CSV: BOM, comma-separated, CRLF line ends, fields quoted
// where needed. A text that a spreadsheet would take for a formula is
// written with a leading apostrophe.
QByteArray CsvBytes(const QList<QVariantList>& rows);
