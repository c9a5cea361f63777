#include "number_format.h"

#include "exceptions.h"

#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <string>

QString Trim(const QString& s) {
    int begin = 0, end = int(s.size());
    while (begin < end && s[begin].unicode() < 33) ++begin;
    while (end > begin && s[end - 1].unicode() < 33) --end;
    return s.mid(begin, end - begin);
}

QChar DecimalSeparator() {
    const QString dp = QLocale().decimalPoint();
    return dp.isEmpty() ? QChar('.') : dp.front();
}

bool TryStrToFloat(const QString& s, double& value) {
    const QString t = Trim(s);
    const QChar sep = DecimalSeparator();
    std::string normal;
    int i = 0, n = int(t.size()), digits = 0;
    if (i < n && (t[i] == '+' || t[i] == '-')) normal += char(t[i++].unicode());
    while (i < n && t[i].isDigit() && t[i].unicode() < 128) { normal += char(t[i++].unicode()); ++digits; }
    if (i < n && t[i] == sep) {
        normal += '.';
        ++i;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) { normal += char(t[i++].unicode()); ++digits; }
    }
    if (digits == 0) return false;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-')) normal += char(t[i++].unicode());
        int expDigits = 0;
        while (i < n && t[i].isDigit() && t[i].unicode() < 128) { normal += char(t[i++].unicode()); ++expDigits; }
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    value = std::strtod(normal.c_str(), nullptr);
    return true;
}

double StrToFloat(const QString& s) {
    double v = 0;
    if (!TryStrToFloat(s, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    return v;
}

QString FormatFixed2(long double value) {
    // 18 significant digits, correctly rounded by the C library.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", value);
    std::string s(buf);
    bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    if (s.find_first_not_of("0123456789.e+-") != std::string::npos)
        return QString::fromLatin1(buf);  // inf or nan: shown as the C library writes it
    auto ePos = s.find('e');
    int exponent = std::atoi(s.c_str() + ePos + 1);
    std::string mantissa;
    for (size_t k = 0; k < ePos; ++k)
        if (s[k] != '.') mantissa += s[k];
    // value = 0.mantissa * 10^(exponent + 1); keep the digits up to 10^-2.
    int intDigits = exponent + 1;
    std::string digits;
    if (intDigits > 0) {
        digits = mantissa;
        if (int(digits.size()) < intDigits + 3) digits.append(size_t(intDigits + 3 - int(digits.size())), '0');
    } else {
        digits = std::string(size_t(1 - intDigits), '0') + mantissa;
        intDigits = 1;
    }
    // digits[0 .. intDigits) integer part, then decimals.
    std::string kept = digits.substr(0, size_t(intDigits + 2));
    bool roundUp = digits[size_t(intDigits + 2)] >= '5';
    if (roundUp) {
        int k = int(kept.size()) - 1;
        while (k >= 0) {
            if (kept[size_t(k)] == '9') { kept[size_t(k)] = '0'; --k; }
            else { ++kept[size_t(k)]; break; }
        }
        if (k < 0) { kept.insert(kept.begin(), '1'); ++intDigits; }
    }
    std::string intPart = kept.substr(0, size_t(intDigits));
    std::string fracPart = kept.substr(size_t(intDigits), 2);
    size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
    bool zero = intPart == "0" && fracPart == "00";
    QString out = QString::fromLatin1(((negative && !zero) ? "-" : "") + intPart);
    out += DecimalSeparator();
    out += QString::fromLatin1(fracPart);
    return out.rightJustified(2, ' ');
}

QString IntToStr(long long value) { return QString::number(value); }
