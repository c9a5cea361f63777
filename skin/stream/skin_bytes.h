#pragma once
// Little-endian reading and writing of skin stream fields. The reader trusts
// nothing: every length is checked against what remains.
#include "exceptions.h"
#include "gbk.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <cstring>

class SkinByteReader {
public:
    // what names the input in error messages; %1 in it stands for subject,
    // filled in only when an error is raised.
    SkinByteReader(const char* data, std::int64_t size, QString what, QString subject = QString())
        : data_(data), size_(size), what_(std::move(what)), subject_(std::move(subject)) {}
    explicit SkinByteReader(const QByteArray& b, QString what = QStringLiteral("Skin stream"))
        : SkinByteReader(b.constData(), b.size(), std::move(what)) {}

    std::int64_t Pos() const { return pos_; }
    std::int64_t Remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ >= size_; }

    [[noreturn]] void Fail(const QString& why) const {
        const QString what = subject_.isNull() ? what_ : what_.arg(subject_);
        throw EStreamError(QStringLiteral("%1 is damaged at byte %2: %3").arg(what).arg(pos_).arg(why));
    }
    void Need(std::int64_t n, const char* field) const {
        if (n < 0 || n > Remaining())
            Fail(QStringLiteral("%1 needs %2 bytes, %3 left").arg(QLatin1String(field)).arg(n).arg(Remaining()));
    }
    std::int32_t Int32(const char* field) {
        Need(4, field);
        std::uint32_t v;
        std::memcpy(&v, data_ + pos_, 4);  // little-endian hosts only
        pos_ += 4;
        return std::int32_t(v);
    }
    // A count of records that each take at least minRecord bytes.
    std::int64_t Count(std::int64_t value, std::int64_t minRecord, const char* field) const {
        if (value < 0 || value > Remaining() / minRecord)
            Fail(QStringLiteral("%1 %2 does not fit in the %3 bytes left").arg(QLatin1String(field)).arg(value).arg(Remaining()));
        return value;
    }
    const char* Take(std::int64_t n, const char* field) {
        Need(n, field);
        const char* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    QByteArray Bytes(std::int64_t n, const char* field) { return QByteArray(Take(n, field), int(n)); }
    // Int32 length and that many bytes, as a view into the input.
    QByteArrayView StringView(const char* field) {
        const std::int32_t n = Int32(field);
        if (n < 0) Fail(QStringLiteral("%1 has a negative length %2").arg(QLatin1String(field)).arg(n));
        return QByteArrayView(Take(n, field), n);
    }
    QByteArray StringBytes(const char* field) { return StringView(field).toByteArray(); }
    QString String(const char* field) { return gbk::decode(StringBytes(field)); }

private:
    const char* data_;
    std::int64_t size_;
    std::int64_t pos_ = 0;
    QString what_;
    QString subject_;
};

class SkinByteWriter {
public:
    QByteArray out;
    void Int32(std::int32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }
    void Raw(const char* p, std::int64_t n) { out.append(p, qsizetype(n)); }
    void Raw(const QByteArray& b) { out.append(b); }
    void StringBytes(const QByteArray& b) {
        Int32(std::int32_t(b.size()));
        out.append(b);
    }
    void String(const QString& s) { StringBytes(gbk::encode(s)); }
    // A count in the low 16 bits of a word whose bits 16-19 mark the layout:
    // a larger count could not be read back, so it is refused here.
    void FlaggedCount(std::int64_t n, const char* what) {
        if (n > 0xFFFF)
            throw EStreamError(QStringLiteral("A skin holds at most 65535 %1, not %2").arg(QLatin1String(what)).arg(n));
        Int32(std::int32_t(n | 0xF0000));
    }
};
