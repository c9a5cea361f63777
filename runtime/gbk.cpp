#include "gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace {
// iconv is always present with glibc; Qt's own codecs may lack GBK.
QByteArray convert(const char* to, const char* from, const QByteArray& in, bool& ok) {
    ok = true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) { ok = false; return {}; }
    std::vector<char> out(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = size_t(in.size());
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1)) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    return QByteArray(out.data(), int(out.size() - dstLeft));
}
}

namespace {
bool isAsciiText(const QString& s) {
    for (QChar c : s)
        if (c.unicode() >= 0x80) return false;
    return true;
}
}

namespace gbk {
// Eight bytes at a time: skins bring tens of kilobytes of text.
bool isAscii(QByteArrayView b) {
    const char* p = b.data();
    const qsizetype n = b.size();
    std::uint64_t high = 0;
    qsizetype k = 0;
    for (; k + 8 <= n; k += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + k, 8);
        high |= w;
    }
    for (; k < n; ++k) high |= uchar(p[k]);
    return (high & 0x8080808080808080ull) == 0;
}

// Plain ASCII is the same in GBK; it skips the converter, which is slow to open.
QByteArray encode(const QString& text) {
    if (isAsciiText(text)) return text.toLatin1();
    bool whole = false;
    QByteArray fast = convert("GBK", "UTF-16LE",
        QByteArray(reinterpret_cast<const char*>(text.utf16()), int(text.size() * 2)), whole);
    if (whole) return fast;
    QByteArray result;
    for (QChar c : text) {
        if (c.unicode() < 0x80) { result.append(char(c.unicode())); continue; }
        bool ok = false;
        QByteArray piece = convert("GBK", "UTF-16LE",
            QByteArray(reinterpret_cast<const char*>(&c), 2), ok);
        result.append(ok && !piece.isEmpty() ? piece : QByteArray("?"));
    }
    return result;
}

QString decode(const QByteArray& bytes) {
    if (isAscii(bytes)) return QString::fromLatin1(bytes);
    bool whole = false;
    QByteArray fast = convert("UTF-16LE", "GBK", bytes, whole);
    if (whole && fast.size() % 2 == 0)
        return QString(reinterpret_cast<const QChar*>(fast.constData()), int(fast.size() / 2));
    QString result;
    for (int i = 0; i < bytes.size();) {
        unsigned char b = uchar(bytes[i]);
        if (b < 0x80) { result.append(QChar(b)); ++i; continue; }
        if (i + 1 < bytes.size()) {
            bool ok = false;
            QByteArray u = convert("UTF-16LE", "GBK", bytes.mid(i, 2), ok);
            if (ok && u.size() == 2) {
                result.append(QChar(uchar(u[0]) | (uchar(u[1]) << 8)));
                i += 2;
                continue;
            }
        }
        result.append(QChar(0xFFFD));
        ++i;
    }
    return result;
}
}
