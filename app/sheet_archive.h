#pragma once
// The entries of a zip archive held in memory, as .xlsx and .ods files are:
// stored or deflated, bounded in what they may inflate to, so that a
// damaged or hostile file costs a message and never the memory.
#include "exceptions.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <map>

// Its message is for the teacher.
MARKWISE_EXCEPTION(ESheetFileError)

class SheetArchive {
public:
    // Reads the archive's directory. Throws ESheetFileError.
    explicit SheetArchive(const QByteArray& bytes);

    static bool LooksLikeZip(const QByteArray& head) { return head.startsWith("PK\x03\x04"); }
    bool Contains(const QString& name) const { return entries_.count(name) > 0; }
    // Inflates an entry in pieces of at most 64 KiB, each handed to sink,
    // checking its length and checksum. Throws ESheetFileError, also when
    // the entry would inflate beyond maxBytes or all entries together
    // beyond the archive's budget.
    void Read(const QString& name, qint64 maxBytes, const std::function<void(const char*, qsizetype)>& sink);
    // The whole entry, within maxBytes.
    QByteArray ReadAll(const QString& name, qint64 maxBytes);

    // Inflated bytes all entries together may produce: a class list's
    // workbook is well under a megabyte.
    static constexpr qint64 kBudget = 96ll << 20;

private:
    struct Entry {
        quint16 method;
        quint32 crc;
        qint64 compressed, size;
        qint64 localHeader;
    };
    const QByteArray& bytes_;
    std::map<QString, Entry> entries_;
    qint64 inflated_ = 0;
};
