#include "compound_file.h"

#include <QtEndian>
#include <optional>
#include <vector>

namespace {

constexpr quint32 kFreeSector = 0xFFFFFFFF, kEndOfChain = 0xFFFFFFFE;
constexpr int kHeaderFatEntries = 109;
constexpr qsizetype kLargest = 64 << 20;

struct Entry {
    QString name;
    int type = 0;  // 1 storage, 2 stream, 5 root
    quint32 start = 0;
    quint64 size = 0;
};

class Reader {
public:
    explicit Reader(const QByteArray& b) : b_(b) {}

    QString Check() {
        if (b_.size() < 512) return QStringLiteral("shorter than a header");
        if (b_.size() > kLargest) return QStringLiteral("far larger than any report");
        if (b_.left(8) != QByteArray::fromHex("d0cf11e0a1b11ae1")) return QStringLiteral("no compound file signature");
        if (U16(28) != 0xFFFE) return QStringLiteral("bad byte order mark");
        const int major = U16(26), shift = U16(30);
        if (!((major == 3 && shift == 9) || (major == 4 && shift == 12)))
            return QStringLiteral("unknown version %1 with sector shift %2").arg(major).arg(shift);
        sector_ = 1u << shift;
        miniSector_ = 1u << U16(32);
        if (miniSector_ != 64) return QStringLiteral("bad mini sector size");
        if (quint64(b_.size()) < sector_) return QStringLiteral("shorter than one sector");
        sectors_ = quint32((quint64(b_.size()) - sector_) / sector_);
        cutoff_ = U32(56);

        if (QString e = ReadFat(); !e.isEmpty()) return e;
        std::vector<quint32> dirChain;
        if (!Chain(U32(48), dirChain)) return QStringLiteral("the directory runs outside the file");
        for (quint32 s : dirChain)
            for (quint32 off = 0; off + 128 <= sector_; off += 128) entries_.push_back(ReadEntry(Offset(s) + off));
        if (entries_.empty() || entries_[0].type != 5) return QStringLiteral("no root entry");

        // The mini stream (the root's data) and its sector table.
        if (!Chain(entries_[0].start, miniStream_, entries_[0].size))
            return QStringLiteral("the mini stream runs outside the file");
        std::vector<quint32> miniFatChain;
        if (U32(60) != kEndOfChain && U32(60) != kFreeSector) {
            if (!Chain(U32(60), miniFatChain)) return QStringLiteral("the mini sector table runs outside the file");
            for (quint32 s : miniFatChain)
                for (quint32 off = 0; off < sector_; off += 4) miniFat_.push_back(U32(Offset(s) + off));
        }
        for (const Entry& e : entries_) {
            if (e.type != 2) continue;
            if (!StreamComplete(e)) return QStringLiteral("the stream %1 runs outside the file").arg(e.name);
        }
        return CheckWordStreams();
    }

private:
    quint16 U16(quint64 at) const {
        return at + 2 <= quint64(b_.size()) ? qFromLittleEndian<quint16>(b_.constData() + at) : 0;
    }
    quint32 U32(quint64 at) const {
        return at + 4 <= quint64(b_.size()) ? qFromLittleEndian<quint32>(b_.constData() + at) : kFreeSector;
    }
    quint64 Offset(quint32 sector) const { return quint64(sector + 1) * sector_; }

    QString ReadFat() {
        const quint32 fatSectors = U32(44);
        if (fatSectors == 0 || fatSectors > sectors_) return QStringLiteral("bad sector table count");
        std::vector<quint32> fatIds;
        for (int i = 0; i < kHeaderFatEntries && fatIds.size() < fatSectors; ++i) fatIds.push_back(U32(76 + 4 * i));
        // Further table sectors are listed in a chain of list sectors.
        quint32 next = U32(68);
        for (quint32 hops = 0; fatIds.size() < fatSectors; ++hops) {
            if (next >= sectors_ || hops > sectors_) return QStringLiteral("the sector list runs outside the file");
            const quint32 perSector = sector_ / 4 - 1;
            for (quint32 i = 0; i < perSector && fatIds.size() < fatSectors; ++i)
                fatIds.push_back(U32(Offset(next) + 4 * i));
            next = U32(Offset(next) + 4 * perSector);
        }
        for (quint32 id : fatIds) {
            if (id >= sectors_) return QStringLiteral("a sector table sector lies outside the file");
            for (quint32 off = 0; off < sector_; off += 4) fat_.push_back(U32(Offset(id) + off));
        }
        return {};
    }

    // Follows a chain of sectors from start; false when it leaves the file,
    // loops, or is shorter than minBytes.
    bool Chain(quint32 start, std::vector<quint32>& out, quint64 minBytes = 0) const {
        out.clear();
        // A chain longer than the file has sectors loops.
        for (quint32 s = start; s != kEndOfChain;) {
            if (s >= sectors_ || s >= fat_.size() || out.size() >= sectors_) return false;
            out.push_back(s);
            s = fat_[s];
        }
        return quint64(out.size()) * sector_ >= minBytes;
    }

    bool MiniChain(quint32 start, quint64 bytes) const {
        const quint64 miniCount = quint64(miniStream_.size()) * sector_ / miniSector_;
        quint64 covered = 0, steps = 0;
        for (quint32 s = start; s != kEndOfChain; ++steps) {
            if (s >= miniFat_.size() || s >= miniCount || steps >= miniCount) return false;
            covered += miniSector_;
            s = miniFat_[s];
        }
        return covered >= bytes;
    }

    bool StreamComplete(const Entry& e) const {
        if (e.size == 0) return true;
        if (e.size > quint64(b_.size())) return false;
        if (e.size < cutoff_) return MiniChain(e.start, e.size);
        std::vector<quint32> chain;
        return Chain(e.start, chain, e.size);
    }

    Entry ReadEntry(quint64 at) const {
        Entry e;
        const int nameBytes = U16(at + 64);
        for (int i = 0; i + 2 < nameBytes && i < 62; i += 2) e.name += QChar(U16(at + quint64(i)));
        e.type = int(quint8(at + 66 < quint64(b_.size()) ? b_[qsizetype(at + 66)] : 0));
        e.start = U32(at + 116);
        e.size = U32(at + 120);
        if (sector_ == 4096) e.size |= quint64(U32(at + 124)) << 32;
        return e;
    }

    const Entry* Find(const QString& name) const {
        for (const Entry& e : entries_)
            if (e.type == 2 && e.name == name) return &e;
        return nullptr;
    }

    // The first bytes of a stream, read through its chain.
    QByteArray Head(const Entry& e, int n) const {
        QByteArray out;
        if (e.size == 0) return out;
        if (e.size < cutoff_) {
            for (quint32 s = e.start; out.size() < n && s < miniFat_.size(); s = miniFat_[s]) {
                const quint64 pos = quint64(s) * miniSector_;
                if (pos / sector_ >= miniStream_.size()) break;
                const quint64 container = miniStream_[size_t(pos / sector_)];
                out += b_.mid(qsizetype(Offset(quint32(container)) + pos % sector_), qsizetype(miniSector_));
                if (out.size() > n) break;
            }
        } else {
            out = b_.mid(qsizetype(Offset(e.start)), qsizetype(sector_));
        }
        return out.left(n);
    }

    QString CheckWordStreams() const {
        const Entry* word = Find(QStringLiteral("WordDocument"));
        if (!word) return QStringLiteral("no WordDocument stream");
        const QByteArray fib = Head(*word, 12);
        if (fib.size() < 12) return QStringLiteral("the WordDocument stream is too short");
        if (qFromLittleEndian<quint16>(fib.constData()) != 0xA5EC)
            return QStringLiteral("the WordDocument stream has no Word information block");
        if (qFromLittleEndian<quint16>(fib.constData() + 2) < 0xC1)
            return QStringLiteral("not a Word 97-2003 document");
        const bool table1 = qFromLittleEndian<quint16>(fib.constData() + 10) & 0x0200;
        const QString table = table1 ? QStringLiteral("1Table") : QStringLiteral("0Table");
        if (!Find(table)) return QStringLiteral("no %1 stream").arg(table);
        return {};
    }

    const QByteArray& b_;
    quint32 sector_ = 512, miniSector_ = 64, sectors_ = 0, cutoff_ = 4096;
    std::vector<quint32> fat_, miniFat_, miniStream_;
    std::vector<Entry> entries_;
};

}  // namespace

QString CheckWord97Document(const QByteArray& bytes) { return Reader(bytes).Check(); }
