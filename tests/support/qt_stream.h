#pragma once
// Lets Qt strings follow "<<" in GoogleTest failure messages.
#include <QByteArray>
#include <QString>
#include <ostream>

inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }
inline std::ostream& operator<<(std::ostream& os, const QByteArray& b) { return os << b.toStdString(); }
