#pragma once
// Parses one XML entry of a workbook as it inflates, token by token, with
// the bounds every entry of an untrusted file gets: no document type (so no
// entity of its own), a limited depth, and a whole document.
#include "sheet_archive.h"

#include <QXmlStreamReader>

// Calls onToken with the reader at each start element, end element and
// piece of text. Throws ESheetFileError.
void ParseSheetXml(SheetArchive& archive, const QString& entry, qint64 maxBytes,
                   const std::function<void(QXmlStreamReader&)>& onToken);

// The cells a workbook may hold in all its sheets together, padding of
// sparse rows included: far more than any class list.
constexpr qint64 kMaxWorkbookCells = 300000;
ESheetFileError TooManyCells();
