#include "sheet_archive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMaxEntries = 20000;
constexpr qsizetype kPiece = 64 * 1024;

ESheetFileError Damaged() { return ESheetFileError(QStringLiteral("文件已损坏或不完整（压缩包结构不对）。")); }

quint32 U32(const QByteArray& b, qint64 at) {
    if (at < 0 || at + 4 > b.size()) throw Damaged();
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 U16(const QByteArray& b, qint64 at) {
    if (at < 0 || at + 2 > b.size()) throw Damaged();
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return quint16(p[0] | p[1] << 8);
}

}  // namespace

SheetArchive::SheetArchive(const QByteArray& bytes) : bytes_(bytes) {
    // The end record is in the last 64 KiB + 22 bytes (its comment is at most 64 KiB).
    const qint64 n = bytes.size();
    qint64 end = -1;
    for (qint64 at = n - 22; at >= 0 && at >= n - 22 - 0xFFFF; --at)
        if (U32(bytes, at) == 0x06054b50) {
            end = at;
            break;
        }
    if (end < 0) throw Damaged();
    const quint16 count = U16(bytes, end + 10);
    const qint64 dirSize = U32(bytes, end + 12), dirStart = U32(bytes, end + 16);
    if (count == 0xFFFF || dirStart == 0xFFFFFFFF)
        throw ESheetFileError(QStringLiteral("文件太大，不像是一个班级的成绩表。"));
    if (count > kMaxEntries || dirStart + dirSize > end) throw Damaged();
    qint64 at = dirStart;
    for (int k = 0; k < count; ++k) {
        if (U32(bytes, at) != 0x02014b50) throw Damaged();
        const quint16 flags = U16(bytes, at + 8), method = U16(bytes, at + 10);
        Entry e{method, U32(bytes, at + 16), U32(bytes, at + 20), U32(bytes, at + 24), U32(bytes, at + 42)};
        const quint16 nameLength = U16(bytes, at + 28), extra = U16(bytes, at + 30), comment = U16(bytes, at + 32);
        if (at + 46 + nameLength > n) throw Damaged();
        const QString name = QString::fromUtf8(bytes.constData() + at + 46, nameLength);
        if (flags & 1) throw ESheetFileError(QStringLiteral("文件设有密码，请先在表格程序中去掉密码再导入。"));
        entries_[name] = e;
        at += 46 + nameLength + extra + comment;
    }
}

void SheetArchive::Read(const QString& name, qint64 maxBytes, const std::function<void(const char*, qsizetype)>& sink) {
    const auto it = entries_.find(name);
    if (it == entries_.end()) throw Damaged();
    const Entry& e = it->second;
    const qint64 header = e.localHeader;
    if (U32(bytes_, header) != 0x04034b50) throw Damaged();
    const qint64 data = header + 30 + U16(bytes_, header + 26) + U16(bytes_, header + 28);
    if (data < 0 || e.compressed < 0 || data + e.compressed > bytes_.size()) throw Damaged();
    const auto tooLarge = [] {
        return ESheetFileError(QStringLiteral("文件解压后过大（可能是一个“压缩炸弹”），不像是一个班级的成绩表，没有读取。"));
    };
    // The declared size may lie; what inflates is counted as it comes.
    const qint64 limit = std::min(maxBytes, kBudget - inflated_);
    if (e.size > limit) throw tooLarge();
    uLong crc = crc32(0, nullptr, 0);
    qint64 produced = 0;
    const auto take = [&](const char* p, qsizetype len) {
        produced += len;
        if (produced > e.size || produced > limit) throw tooLarge();
        crc = crc32(crc, reinterpret_cast<const Bytef*>(p), uInt(len));
        sink(p, len);
    };
    const char* in = bytes_.constData() + data;
    if (e.method == 0) {
        for (qint64 off = 0; off < e.compressed; off += kPiece) take(in + off, qsizetype(std::min<qint64>(kPiece, e.compressed - off)));
    } else if (e.method == 8) {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw Damaged();
        struct End { z_stream& z; ~End() { inflateEnd(&z); } } end{z};
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in));
        z.avail_in = uInt(e.compressed);
        char out[kPiece];
        int status = Z_OK;
        while (status != Z_STREAM_END) {
            z.next_out = reinterpret_cast<Bytef*>(out);
            z.avail_out = sizeof out;
            status = inflate(&z, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END) throw Damaged();
            const qsizetype got = qsizetype(sizeof out - z.avail_out);
            if (got > 0) take(out, got);
            else if (status == Z_OK && z.avail_in == 0) throw Damaged();  // cut short
        }
    } else {
        throw ESheetFileError(QStringLiteral("文件用了本程序不认识的压缩方式。"));
    }
    inflated_ += produced;
    if (produced != e.size || crc != e.crc) throw Damaged();
}

QByteArray SheetArchive::ReadAll(const QString& name, qint64 maxBytes) {
    QByteArray out;
    Read(name, maxBytes, [&](const char* p, qsizetype n) { out.append(p, n); });
    return out;
}
