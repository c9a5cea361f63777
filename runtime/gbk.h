#pragma once
// GBK (code page 936): the 8-bit text of captions and skin streams.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace gbk {
QByteArray encode(const QString& text);   // unmappable characters become '?'
QString decode(const QByteArray& bytes);  // invalid sequences become U+FFFD
// Plain ASCII reads the same in GBK, UTF-8 and Latin-1.
bool isAscii(QByteArrayView bytes);
}
