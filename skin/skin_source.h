#pragma once
// A skin in memory (TSkSkinSource) and the codecs that read and write it.
// Streams from outside are untrusted: a damaged one raises EStreamError and
// the source keeps the skin it had.
#include "component.h"
#include "skin_bitmap.h"
#include "skin_object.h"
#include "skin_zlib.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QIODevice;
class TSkSkinSource;

namespace skin_limits {
// A decompressed skin larger than this is refused.
constexpr std::int64_t kMaxSkinBytes = 64 * 1024 * 1024;
}

// What one skin holds; a load fills a fresh one and swaps it in on success.
struct TSkSkinContent {
    QString skinName = QStringLiteral("Untitled Skin");
    QString skinVersion = QStringLiteral("3.4.0");
    QString author = QStringLiteral("markwise");
    QString authorEMail = QStringLiteral("markwise@localhost");
    QString authorURL = QStringLiteral("file:///usr/share/doc/markwise");
    std::vector<std::unique_ptr<TSkSkinObject>> objects;
    std::unique_ptr<TskBitmapList> bitmaps = std::make_unique<TskBitmapList>();
};

class TSkSkinFilter {
public:
    explicit TSkSkinFilter(TSkSkinSource* source = nullptr) : source_(source) {}
    virtual ~TSkSkinFilter() = default;
    TSkSkinSource* Source() const { return source_; }
    void SetSource(TSkSkinSource* s) { source_ = s; }

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
    TSkSkinSource* source_;
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
    std::unique_ptr<TSkSkinFilter> (*create)(TSkSkinSource*);
};
void RegisterSkinFilter(const TSkSkinFilterClass& c);
const std::vector<TSkSkinFilterClass>& SkinFilters();
// By extension, with or without the dot, case-insensitive; null when unknown.
const TSkSkinFilterClass* FindSkinFilter(const QString& extension);

class TSkSkinSource : public TComponent {
public:
    explicit TSkSkinSource(TComponent* owner = nullptr);
    ~TSkSkinSource() override;
    QString ClassName() const override { return QStringLiteral("TSkSkinSource"); }

    const QString& SkinName() const { return c_.skinName; }
    void SetSkinName(const QString& v) { c_.skinName = v; }
    const QString& SkinVersion() const { return c_.skinVersion; }
    void SetSkinVersion(const QString& v) { c_.skinVersion = v; }
    const QString& Author() const { return c_.author; }
    void SetAuthor(const QString& v) { c_.author = v; }
    const QString& AuthorEMail() const { return c_.authorEMail; }
    void SetAuthorEMail(const QString& v) { c_.authorEMail = v; }
    const QString& AuthorURL() const { return c_.authorURL; }
    void SetAuthorURL(const QString& v) { c_.authorURL = v; }

    TskBitmapList& Bitmaps() { return *c_.bitmaps; }
    const TskBitmapList& Bitmaps() const { return *c_.bitmaps; }
    int ObjectCount() const { return int(c_.objects.size()); }
    // Nothing when out of range or while locked.
    TSkSkinObject* Object(int index) const;
    // Takes ownership; the object gets this skin's bitmaps.
    void AddObject(std::unique_ptr<TSkSkinObject> obj);
    bool Empty() const { return c_.objects.empty(); }
    void Clear();

    bool Locked() const { return locked_; }
    void SetLocked(bool v) { locked_ = v; }

    TSkSkinObject* GetObjectByName(const QString& name) const;
    TSkSkinObject* GetObjectByKind(TSkKind kind) const;
    // "Form", else the first object of kind skForm.
    TSkSkinObject* GetFormObject() const;

    int DeltaHue() const { return hue_; }
    int AppliedHue() const { return appliedHue_; }
    void SetDeltaHue(int value);

    // Read with the default codec from the stream's position.
    void LoadFromStream(QIODevice& stream);
    void LoadFromBytes(const QByteArray& bytes);
    void SaveToStream(QIODevice& stream);
    QByteArray SaveToBytes();
    // Picks the codec by extension; an unknown extension, an empty name or a
    // missing file load nothing. A relative name not found is looked for in
    // the program's directory.
    void LoadFromFile(const QString& fileName);
    // Unknown extensions get the default codec; the file is replaced whole.
    void SaveToFile(const QString& fileName);

    // The client object of every top-level object stops shaping the window.
    void AfterLoadFixUp();

    // Used by codecs: replaces the content with a freshly read one.
    void SwapIn(TSkSkinContent&& fresh);
    const TSkSkinContent& Content() const { return c_; }

private:
    TSkSkinContent c_;
    bool locked_ = false;
    int hue_ = 0;
    int appliedHue_ = 0;
};

// Equal header, bitmaps and objects (by their stored form).
bool SameSkin(const TSkSkinSource& a, const TSkSkinSource& b);
