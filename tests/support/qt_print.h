#pragma once
// Lets GoogleTest print Qt strings in failure messages (included into
// every test source by the test support library).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '{';
    for (qsizetype k = 0; k < l.size(); ++k) *os << (k ? ", " : " ") << '"' << l[k].toStdString() << '"';
    *os << " }";
}
