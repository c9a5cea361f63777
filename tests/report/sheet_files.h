#pragma once
// Spreadsheets made by the office from CSV text, as a teacher's program
// would save them.
#include <QString>

namespace sheetfiles {
// csv (UTF-8) converted to format ("xlsx", "xls", "ods") in this process's
// test folder under name; the path, or empty when the office failed.
QString Convert(const QString& name, const QString& csv, const QString& format);
// Plain text (UTF-8) written by the office's word processor as format ("odt", "docx").
QString ConvertText(const QString& name, const QString& text, const QString& format);
// The class list 学号, 姓名, 成绩 of the worked example.
QString WorkedExampleCsv();
}
