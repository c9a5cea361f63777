#include "number_format.h"

#include "exceptions.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <string>

// Every conversion here is done with an explicit separator: the C library's
// numeric locale (which Qt sets from the environment) never takes part.

QString Trim(const QString& s) {
    int begin = 0, end = int(s.size());
    while (begin < end && s[begin].unicode() < 33) ++begin;
    while (end > begin && s[end - 1].unicode() < 33) --end;
    return s.mid(begin, end - begin);
}

QChar DecimalSeparator() {
    const QString dp = QLocale().decimalPoint();
    return dp.size() == 1 ? dp.front() : QChar('.');
}

namespace {
bool IsDigit(QChar c) { return c >= '0' && c <= '9'; }
}

bool TryStrToFloat(const QString& s, double& value) {
    const QString t = Trim(s);
    const QChar sep = DecimalSeparator();
    // The text rewritten in the one form from_chars reads.
    std::string normal;
    int i = 0, n = int(t.size()), digits = 0;
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') normal += '-';
        ++i;
    }
    while (i < n && IsDigit(t[i])) { normal += char(t[i++].unicode()); ++digits; }
    // The key filter only lets "." be typed, so it is always a separator too.
    if (i < n && (t[i] == sep || t[i] == '.')) {
        normal += '.';
        ++i;
        while (i < n && IsDigit(t[i])) { normal += char(t[i++].unicode()); ++digits; }
    }
    if (digits == 0) return false;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-')) normal += char(t[i++].unicode());
        int expDigits = 0;
        while (i < n && IsDigit(t[i])) { normal += char(t[i++].unicode()); ++expDigits; }
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    double v = 0;
    const auto r = std::from_chars(normal.data(), normal.data() + normal.size(), v);
    // Out of range still gives a number the range check refuses.
    if (r.ec == std::errc::result_out_of_range) v = normal[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    else if (r.ec != std::errc() || r.ptr != normal.data() + normal.size()) return false;
    value = v;
    return true;
}

double StrToFloat(const QString& s) {
    double v = 0;
    if (!TryStrToFloat(s, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    return v;
}

QString FormatFixed2(long double value) {
    if (std::isnan(value)) return QStringLiteral("nan");
    if (std::isinf(value)) return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    // 18 significant digits, correctly rounded.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 17);
    std::string s(buf, r.ptr);
    const bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const auto ePos = s.find('e');
    const int exponent = std::stoi(s.substr(ePos + 1));
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
    if (digits[size_t(intDigits + 2)] >= '5') {
        int k = int(kept.size()) - 1;
        while (k >= 0) {
            if (kept[size_t(k)] == '9') { kept[size_t(k)] = '0'; --k; }
            else { ++kept[size_t(k)]; break; }
        }
        if (k < 0) { kept.insert(kept.begin(), '1'); ++intDigits; }
    }
    std::string intPart = kept.substr(0, size_t(intDigits));
    const std::string fracPart = kept.substr(size_t(intDigits), 2);
    const size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
    const bool zero = intPart == "0" && fracPart == "00";
    QString out = QString::fromLatin1(((negative && !zero) ? "-" : "") + intPart);
    out += DecimalSeparator();
    out += QString::fromLatin1(fracPart);
    return out.rightJustified(2, ' ');
}

QString IntToStr(long long value) { return QString::number(value); }
