#pragma once
// Reads the cells of a spreadsheet (.xlsx, .xls, .ods) through the program's
// office: the used range of each sheet, from a hidden read-only copy that is
// closed again before the call returns.
#include "exceptions.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <vector>

class ESheetError : public Exception {
public:
    enum class Reason {
        NoOffice,        // the office is not installed or did not start
        Unreadable,      // the office could not open the file
        NotASpreadsheet, // it opened as something else (a text document, a drawing)
        TooLarge,        // more cells than any class list has
    };
    ESheetError(Reason reason, const QString& detail) : Exception(detail), reason_(reason) {}
    Reason reason() const { return reason_; }

private:
    Reason reason_;
};

struct SheetCells {
    int firstRow = 1;  // the sheet's row number (from 1) of rows[0]
    // One list per row of the used range; a cell is a double for a number, a
    // QString for text, and an empty QString when the cell is empty.
    QList<QVariantList> rows;
};

struct NamedSheet {
    QString name;
    SheetCells cells;
};

// Every sheet, in the workbook's order; all of them together within the
// cell limit. Throws ESheetError.
std::vector<NamedSheet> ReadSheets(const QString& path);
// The first sheet alone. Throws ESheetError.
SheetCells ReadFirstSheet(const QString& path);
