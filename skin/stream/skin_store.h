#pragma once
// What the codecs read a skin into and write it from. The stream knows a
// skin as its five header strings, its bitmaps and a list of object records;
// what an object record holds only the object model above understands.
#include "skin_bitmap.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

struct TSkSkinHeader {
    QString skinName = QStringLiteral("Untitled Skin");
    QString skinVersion = QStringLiteral("3.4.0");
    QString author = QStringLiteral("markwise");
    QString authorEMail = QStringLiteral("markwise@localhost");
    QString authorURL = QStringLiteral("file:///usr/share/doc/markwise");
};

// An object record's body: the component text form or the binary form.
enum class TSkRecordForm { Text, Binary };

class TSkSkinStore {
public:
    virtual ~TSkSkinStore() = default;

    // One read in progress. Records arrive in stream order as they are read;
    // the skin is taken whole by Finish, or, when reading fails, not at all.
    class Reading {
    public:
        virtual ~Reading() = default;
        virtual void Object(const QString& className, QByteArrayView body, TSkRecordForm form) = 0;
        virtual void Finish(TSkSkinHeader&& header, std::unique_ptr<TskBitmapList> bitmaps) = 0;
    };
    virtual std::unique_ptr<Reading> StartReading() = 0;

    virtual const TSkSkinHeader& Header() const = 0;
    virtual const TskBitmapList& Bitmaps() const = 0;
    // Every object, also while the skin is locked.
    virtual int RecordCount() const = 0;
    virtual QString RecordClassName(int index) const = 0;
    virtual QByteArray RecordBody(int index, TSkRecordForm form) const = 0;
};
