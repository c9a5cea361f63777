#pragma once
// Reads a score file into its sheets, away from the window: text files
// (CSV, TXT) as text, .xlsx and .ods straight from their zip of XML, and
// what those cannot read (.xls, a workbook that is no zip) through the
// office. Any step may be cancelled between pieces of work.
#include "score_table.h"

#include <atomic>
#include <vector>

// The read was cancelled.
MARKWISE_EXCEPTION(EReadCancelled)

enum class ScoreFileKind { Text, Workbook, Office };

// Throws ESheetFileError (a message for the teacher) or ESheetError.
std::vector<ScoreSheet> ReadScoreFile(const QString& path, const std::atomic<bool>& cancelled);

// The bytes of a file or any other source read to its end, in pieces, as
// long as they stay within maxBytes. Throws ESheetFileError, EReadCancelled.
QByteArray ReadFileBytes(const QString& path, qint64 maxBytes, const std::atomic<bool>& cancelled);

// How path is read, from its name and its first bytes.
ScoreFileKind KindOf(const QString& path, const QByteArray& head);
