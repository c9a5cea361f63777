#pragma once
// The four codecs that read and write a skin (TSkSkinFilter and its
// descendants) and the registry that finds one by file extension. Streams
// from outside are untrusted: a damaged one raises EStreamError and the
// store keeps the skin it had.
#include "skin_store.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;

class TSkSkinFilter {
public:
    explicit TSkSkinFilter(TSkSkinStore* store = nullptr) : source_(store) {}
    virtual ~TSkSkinFilter() = default;
    TSkSkinStore* Source() const { return source_; }
    void SetSource(TSkSkinStore* s) { source_ = s; }

    // The plain layout. ReadSkin reads from the device's position to its end.
    virtual void ReadSkin(QIODevice& stream);
    virtual void WriteSkin(QIODevice& stream);
    virtual QString Extension() const { return QString(); }
    virtual QString Description() const { return QString(); }
    virtual void LoadFromStream(QIODevice&) {}
    virtual void SaveToStream(QIODevice&) {}

    // The layouts on bytes in memory, for codecs and tests.
    virtual void ReadSkinBytes(const char* data, std::int64_t size);
    virtual QByteArray WriteSkinBytes();

protected:
    TSkSkinStore* source_;
};

class TSkSkinFilterUncompressed : public TSkSkinFilter {
public:
    using TSkSkinFilter::TSkSkinFilter;
    static QString StaticExtension() { return QStringLiteral("uskn"); }
    static QString StaticDescription() { return QStringLiteral("Uncompressed Skin"); }
    QString Extension() const override { return StaticExtension(); }
    QString Description() const override { return StaticDescription(); }
    void LoadFromStream(QIODevice& stream) override;
    void SaveToStream(QIODevice& stream) override;
};

class TSkSkinFilterCompressed : public TSkSkinFilter {
public:
    using TSkSkinFilter::TSkSkinFilter;
    static QString StaticExtension() { return QStringLiteral("cskn"); }
    static QString StaticDescription() { return QStringLiteral("Compressed Skin"); }
    QString Extension() const override { return StaticExtension(); }
    QString Description() const override { return StaticDescription(); }
    // Skips the four signature bytes, inflates the rest.
    void LoadFromStream(QIODevice& stream) override;
    void SaveToStream(QIODevice& stream) override;
    void LoadFromBytes(const char* data, std::int64_t size);
    virtual int Level() const { return 1; }
};

class TSkSkinFilterUltraCompressed : public TSkSkinFilterCompressed {
public:
    using TSkSkinFilterCompressed::TSkSkinFilterCompressed;
    static QString StaticExtension() { return QStringLiteral("xskn"); }
    static QString StaticDescription() { return QStringLiteral("Ultra Compressed Skin"); }
    QString Extension() const override { return StaticExtension(); }
    QString Description() const override { return StaticDescription(); }
    int Level() const override { return 9; }
};

// The binary-record layout: objects in their binary component form.
class TSkSkinFilterMaxCompression : public TSkSkinFilterUltraCompressed {
public:
    using TSkSkinFilterUltraCompressed::TSkSkinFilterUltraCompressed;
    static QString StaticExtension() { return QStringLiteral("mskn"); }
    static QString StaticDescription() { return QStringLiteral("Maximum Compressed"); }
    QString Extension() const override { return StaticExtension(); }
    QString Description() const override { return StaticDescription(); }
    void ReadSkinBytes(const char* data, std::int64_t size) override;
    QByteArray WriteSkinBytes() override;
};

// The codec registry, in registration order.
struct TSkSkinFilterClass {
    QString extension;
    QString description;
    std::unique_ptr<TSkSkinFilter> (*create)(TSkSkinStore*);
};
void RegisterSkinFilter(const TSkSkinFilterClass& c);
const std::vector<TSkSkinFilterClass>& SkinFilters();
// By extension, with or without the dot, case-insensitive; null when unknown.
const TSkSkinFilterClass* FindSkinFilter(const QString& extension);
