#pragma once
// Spreadsheets made by the office from CSV text, as a teacher's program
// would save them.
#include <QString>

namespace sheetfiles {
// csv (UTF-8) converted to format ("xlsx", "xls", "ods") in this process's
// test folder under name; the path, or empty when the office failed.
QString Convert(const QString& name, const QString& csv, const QString& format);
// Any text the office can open (name.suffix; "txt" is read as UTF-8 by the
// word processor), converted to format ("odt", "docx", "xlsx" ...).
QString ConvertText(const QString& name, const QString& text, const QString& suffix, const QString& format);
// A workbook of several sheets, each a name and its rows of cells (a cell
// that looks like a number is stored as one), as a flat OpenDocument file.
QString SheetsXml(const QList<QPair<QString, QList<QStringList>>>& sheets);
// The class list 学号, 姓名, 成绩 of the worked example.
QString WorkedExampleCsv();
}
