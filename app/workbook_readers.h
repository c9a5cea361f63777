#pragma once
// Reads the sheets of an .xlsx or .ods workbook straight from its bytes:
// each sheet's name and cells, numbers as a teacher types them. Throws
// ESheetFileError, whose message is for the teacher.
#include "score_table.h"
#include "sheet_archive.h"

#include <vector>

std::vector<ScoreSheet> ReadXlsxBook(const QByteArray& bytes);
std::vector<ScoreSheet> ReadOdsBook(const QByteArray& bytes);
