#pragma once
// Number formats of the "#,##0.###" kind used by axis labels, legend items
// and marks: '0' a digit always shown, '#' a digit shown when significant,
// ',' in the integer part groups thousands, '.' the decimal separator; any
// other characters are copied as they are. A ';' starts the format for
// negative values.
#include <QString>

QString FormatFloat(const QString& format, double value);
