#pragma once
// Text <-> number conversions with the semantics the score workflow relies on.
#include <QString>

// Removes leading and trailing characters with codes below 33.
QString Trim(const QString& s);

// Decimal text to a 64-bit float. The separator is the locale's or "."; leading
// and trailing blanks are allowed; anything else raises EConvertError
// "'%s' is not a valid floating point value".
double StrToFloat(const QString& s);
bool TryStrToFloat(const QString& s, double& value);

// "%2.2f": fixed notation, two decimals, at least two characters wide. Rounds
// on the value's 18-digit decimal expansion, a 5 or more in the third decimal
// rounding away from zero (3.125 gives "3.13"). A value that rounds to zero
// is shown unsigned. The separator is the locale's.
QString FormatFixed2(long double value);

QString IntToStr(long long value);

// The locale's decimal separator ('.' in the C and Chinese locales).
QChar DecimalSeparator();
