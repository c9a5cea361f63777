#pragma once
// A skin in memory (TSkSkinSource): the object tree and the bitmaps it
// draws from. The codecs below read into it and write from it; a damaged
// stream raises EStreamError and the source keeps the skin it had.
#include "component.h"
#include "skin_bitmap.h"
#include "skin_filter.h"
#include "skin_object.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QIODevice;

// What one skin holds; a load fills a fresh one and swaps it in on success.
struct TSkSkinContent {
    TSkSkinHeader header;
    std::vector<std::unique_ptr<TSkSkinObject>> objects;
    std::unique_ptr<TskBitmapList> bitmaps = std::make_unique<TskBitmapList>();
};

class TSkSkinSource : public TComponent, public TSkSkinStore {
public:
    explicit TSkSkinSource(TComponent* owner = nullptr);
    ~TSkSkinSource() override;
    QString ClassName() const override { return QStringLiteral("TSkSkinSource"); }

    const QString& SkinName() const { return c_.header.skinName; }
    void SetSkinName(const QString& v) { c_.header.skinName = v; }
    const QString& SkinVersion() const { return c_.header.skinVersion; }
    void SetSkinVersion(const QString& v) { c_.header.skinVersion = v; }
    const QString& Author() const { return c_.header.author; }
    void SetAuthor(const QString& v) { c_.header.author = v; }
    const QString& AuthorEMail() const { return c_.header.authorEMail; }
    void SetAuthorEMail(const QString& v) { c_.header.authorEMail = v; }
    const QString& AuthorURL() const { return c_.header.authorURL; }
    void SetAuthorURL(const QString& v) { c_.header.authorURL = v; }

    TskBitmapList& Bitmaps() { return *c_.bitmaps; }
    const TskBitmapList& Bitmaps() const override { return *c_.bitmaps; }
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

    // Replaces the content with a freshly read one.
    void SwapIn(TSkSkinContent&& fresh);
    const TSkSkinContent& Content() const { return c_; }

    // What the codecs read into and write from.
    std::unique_ptr<Reading> StartReading() override;
    const TSkSkinHeader& Header() const override { return c_.header; }
    int RecordCount() const override { return ObjectCount(); }
    QString RecordClassName(int index) const override;
    QByteArray RecordBody(int index, TSkRecordForm form) const override;

private:
    TSkSkinContent c_;
    bool locked_ = false;
    int hue_ = 0;
    int appliedHue_ = 0;
};

// Equal header, bitmaps and objects (by their stored form).
bool SameSkin(const TSkSkinSource& a, const TSkSkinSource& b);
