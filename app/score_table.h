#pragma once
// The cells a score list arrives in: read from a text file, taken from a
// spreadsheet, or pasted into the score grid. Each row keeps the number it
// has in its source, so a message can point the teacher at it.
#include "exceptions.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

MARKWISE_EXCEPTION(ETextTableError)

struct ScoreTable {
    struct Row {
        int sourceRow;  // the line of a text, the row of a sheet, from 1
        QStringList cells;
    };
    QList<Row> rows;
    // A comma may be a decimal separator ("85,5") unless it separates the cells.
    bool decimalComma = true;
    // A text's rows hold as many fields as its header: one more is a
    // separator inside a value ("85,5" unquoted), and the row is refused.
    bool fieldsFollowHeader = false;
    QChar separator;  // of a text's fields; null for runs of blanks
};

// One sheet of a workbook, or the one table of a text.
struct ScoreSheet {
    QString name;
    ScoreTable table;
};

// The text of a file's bytes: UTF-8 with or without its byte order mark,
// UTF-16 with one, else GBK, as Chinese spreadsheet programs save CSV.
// Throws ETextTableError, its message for the teacher, for bytes that are
// not text.
QString DecodeText(const QByteArray& bytes);

// Rows and cells of a text: the cells are separated by tabs, commas,
// semicolons (whichever splits the lines most consistently) or else by
// blanks; a field in double quotes may hold separators and line breaks.
// Rows without any text are dropped. Throws ETextTableError for a text of
// more cells than a class list can have.
ScoreTable ParseTextTable(const QString& text);
