#pragma once
// Writes a table as an Excel workbook (.xlsx) through the program's office:
// a hidden new spreadsheet is filled, saved beside the target and only then
// put in its place, so a failed or cancelled export leaves an earlier file
// exactly as it was.
#include <QList>
#include <QString>
#include <QVariant>
#include <atomic>

struct SheetTable {
    // One list per row, the header first; a double is written as a number,
    // a QString as text (never read as a formula or a number).
    QList<QVariantList> rows;
};

// False when cancel was set before the workbook took the target's place.
// Throws EWordError (the office failed) or EFileWriteError (the file).
bool WriteWorkbook(const QString& path, const SheetTable& table, const std::atomic<bool>* cancel = nullptr);
