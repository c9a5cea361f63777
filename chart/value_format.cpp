#include "value_format.h"

#include "number_format.h"

#include <QHashFunctions>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <unordered_map>

namespace {
bool IsPlaceholder(QChar c) { return c == '0' || c == '#' || c == ',' || c == '.'; }
QString Format(const QString& format, double value);
}  // namespace

// Every paint labels the same axes, marks and legend again; the texts are
// worked out once and looked up after that.
QString FormatFloat(const QString& format, double value) {
    struct Key {
        QString format;
        double value;
        QChar separator;
        bool operator==(const Key& o) const {
            return format == o.format && std::memcmp(&value, &o.value, sizeof value) == 0 && separator == o.separator;
        }
    };
    struct KeyHash {
        size_t operator()(const Key& k) const { return qHashMulti(0, k.format, qHashBits(&k.value, sizeof k.value), k.separator); }
    };
    thread_local std::unordered_map<Key, QString, KeyHash> known;
    Key key{format, value, DecimalSeparator()};
    if (auto it = known.find(key); it != known.end()) return it->second;
    if (known.size() >= 1024) known.clear();
    QString text = Format(format, value);
    known.emplace(std::move(key), text);
    return text;
}

namespace {
QString Format(const QString& format, double value) {
    if (!std::isfinite(value)) return QString::number(value);
    QString fmt = format;
    bool negativeSection = false;
    if (int semi = int(fmt.indexOf(QLatin1Char(';'))); semi >= 0) {
        if (value < 0 && semi + 1 < fmt.size()) {
            fmt = fmt.mid(semi + 1);
            negativeSection = true;
        } else {
            fmt = fmt.left(semi);
        }
    }
    if (fmt.isEmpty()) return QString::number(value, 'g', 15);
    int first = 0;
    while (first < fmt.size() && !IsPlaceholder(fmt[first])) ++first;
    int last = int(fmt.size()) - 1;
    while (last >= first && !IsPlaceholder(fmt[last])) --last;
    if (first > last) return fmt;  // no digits at all: the text itself
    const QString prefix = fmt.left(first), suffix = fmt.mid(last + 1), number = fmt.mid(first, last - first + 1);

    int point = int(number.indexOf(QLatin1Char('.')));
    const QString intPart = point < 0 ? number : number.left(point);
    const QString fracPart = point < 0 ? QString() : number.mid(point + 1);
    const bool thousands = intPart.contains(QLatin1Char(','));
    const int minInt = int(intPart.count(QLatin1Char('0')));
    const int minFrac = int(fracPart.count(QLatin1Char('0')));
    const int maxFrac = minFrac + int(fracPart.count(QLatin1Char('#')));

    double v = negativeSection ? std::fabs(value) : value;
    char buf[400];
    // to_chars, unlike printf, never writes the C library's locale separator.
    const auto written = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed, maxFrac);
    if (written.ec != std::errc()) return QString::number(value, 'g', 15);
    std::string s(buf, written.ptr);
    std::string ip = s, fp;
    if (auto dot = s.find('.'); dot != std::string::npos) {
        ip = s.substr(0, dot);
        fp = s.substr(dot + 1);
    }
    while (int(fp.size()) > minFrac && !fp.empty() && fp.back() == '0') fp.pop_back();
    size_t nz = ip.find_first_not_of('0');
    ip = nz == std::string::npos ? std::string() : ip.substr(nz);
    while (int(ip.size()) < minInt) ip.insert(ip.begin(), '0');
    if (thousands && ip.size() > 3)
        for (int k = int(ip.size()) - 3; k > 0; k -= 3) ip.insert(size_t(k), 1, ',');
    const bool isZero = ip.find_first_not_of("0,") == std::string::npos && fp.find_first_not_of('0') == std::string::npos;
    QString out = QString::fromLatin1(ip.c_str());
    if (!fp.empty()) out += DecimalSeparator() + QString::fromLatin1(fp.c_str());
    if (out.isEmpty()) out = QStringLiteral("0");
    if (v < 0 && !isZero) out.prepend(QLatin1Char('-'));
    return prefix + out + suffix;
}
}  // namespace
