#include "skin_source.h"

#include "component_stream.h"
#include "exceptions.h"
#include "gbk.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QByteArray ObjectText(const TSkSkinObject& o) {
    const QByteArray utf8 = WriteComponentText(o.Save());
    for (char ch : utf8)
        if (uchar(ch) >= 0x80) return gbk::encode(QString::fromUtf8(utf8));
    return utf8;
}

// The objects of one read, built aside: the source takes them only once the
// whole stream has been read.
class SourceReading final : public TSkSkinStore::Reading {
public:
    explicit SourceReading(TSkSkinSource& source) : source_(source) {}

    void Object(const QString& className, QByteArrayView body, TSkRecordForm form) override {
        TSkSkinObject* obj = form == TSkRecordForm::Text ? ReadSkinObjectText(className, body, nullptr)
                                                         : ReadSkinObjectBinary(className, body, nullptr);
        if (!obj) return;
        std::unique_ptr<TSkSkinObject> owned(obj);
        owned->SetCharset(1);  // DEFAULT_CHARSET
        fresh_.objects.push_back(std::move(owned));
    }

    // Gives every object the new bitmaps, resolves its links, swaps the skin in.
    void Finish(TSkSkinHeader&& header, std::unique_ptr<TskBitmapList> bitmaps) override {
        fresh_.header = std::move(header);
        fresh_.bitmaps = std::move(bitmaps);
        for (auto& o : fresh_.objects) {
            o->SetBitmaps(fresh_.bitmaps.get());
            o->AfterLoad();
        }
        source_.SwapIn(std::move(fresh_));
    }

private:
    TSkSkinSource& source_;
    SkinObjectBudget budget_;
    TSkSkinContent fresh_;
};

}  // namespace

// ---- the source ---------------------------------------------------------------------------

TSkSkinSource::TSkSkinSource(TComponent* owner) : TComponent(owner) {}
TSkSkinSource::~TSkSkinSource() = default;

TSkSkinObject* TSkSkinSource::Object(int index) const {
    if (locked_ || index < 0 || index >= ObjectCount()) return nullptr;
    return c_.objects[std::size_t(index)].get();
}

void TSkSkinSource::AddObject(std::unique_ptr<TSkSkinObject> obj) {
    obj->SetBitmaps(c_.bitmaps.get());
    c_.objects.push_back(std::move(obj));
}

void TSkSkinSource::Clear() {
    c_.objects.clear();
    c_.bitmaps->Clear();
    appliedHue_ = 0;
}

TSkSkinObject* TSkSkinSource::GetObjectByName(const QString& name) const {
    for (const auto& o : c_.objects)
        if (o->Name().compare(name, Qt::CaseInsensitive) == 0) return o.get();
    return nullptr;
}

TSkSkinObject* TSkSkinSource::GetObjectByKind(TSkKind kind) const {
    for (const auto& o : c_.objects)
        if (o->Kind() == kind) return o.get();
    return nullptr;
}

TSkSkinObject* TSkSkinSource::GetFormObject() const {
    if (TSkSkinObject* f = GetObjectByName(QStringLiteral("Form"))) return f;
    return GetObjectByKind(TSkKind::skForm);
}

void TSkSkinSource::SetDeltaHue(int value) {
    hue_ = value;
    const int delta = value - appliedHue_;
    if (delta == 0) return;
    for (int k = 0; k < c_.bitmaps->Count(); ++k) c_.bitmaps->At(k)->ChangeHue(delta);
    for (auto& o : c_.objects) o->ChangeHue(delta);
    appliedHue_ = value;
}

void TSkSkinSource::SwapIn(TSkSkinContent&& fresh) {
    c_ = std::move(fresh);
    appliedHue_ = 0;
}

std::unique_ptr<TSkSkinStore::Reading> TSkSkinSource::StartReading() { return std::make_unique<SourceReading>(*this); }

QString TSkSkinSource::RecordClassName(int index) const { return c_.objects.at(std::size_t(index))->ClassName(); }

QByteArray TSkSkinSource::RecordBody(int index, TSkRecordForm form) const {
    const TSkSkinObject& o = *c_.objects.at(std::size_t(index));
    return form == TSkRecordForm::Text ? ObjectText(o) : WriteComponentBinary(o.Save());
}

void TSkSkinSource::AfterLoadFixUp() {
    for (auto& o : c_.objects)
        if (TSkSkinObject* client = o->FindByKind(TSkKind::skClient)) client->SetMasked(false);
}

void TSkSkinSource::LoadFromStream(QIODevice& stream) {
    TSkSkinFilterCompressed codec(this);
    codec.LoadFromStream(stream);
    AfterLoadFixUp();
}

void TSkSkinSource::LoadFromBytes(const QByteArray& bytes) {
    TSkSkinFilterCompressed codec(this);
    codec.LoadFromBytes(bytes.constData(), bytes.size());
    AfterLoadFixUp();
}

void TSkSkinSource::SaveToStream(QIODevice& stream) {
    TSkSkinFilterCompressed codec(this);
    codec.SaveToStream(stream);
}

QByteArray TSkSkinSource::SaveToBytes() {
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    SaveToStream(buf);
    return buf.data();
}

void TSkSkinSource::LoadFromFile(const QString& fileName) {
    if (fileName.isEmpty()) return;
    QString path = fileName;
    if (!QFileInfo::exists(path)) {
        // A name with a drive or an absolute path is not looked for elsewhere.
        if ((path.size() >= 2 && path[1] == ':') || QFileInfo(path).isAbsolute()) return;
        path = QDir(QCoreApplication::applicationDirPath()).filePath(path);
        if (!QFileInfo::exists(path)) return;
    }
    const TSkSkinFilterClass* cls = FindSkinFilter(QFileInfo(path).suffix());
    if (!cls) return;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw EStreamError(QStringLiteral("Cannot open the skin file %1: %2").arg(path, f.errorString()));
    std::unique_ptr<TSkSkinFilter> codec = cls->create(this);
    codec->LoadFromStream(f);
    AfterLoadFixUp();
}

void TSkSkinSource::SaveToFile(const QString& fileName) {
    if (fileName.isEmpty()) return;
    const TSkSkinFilterClass* cls = FindSkinFilter(QFileInfo(fileName).suffix());
    std::unique_ptr<TSkSkinFilter> codec = cls ? cls->create(this) : std::make_unique<TSkSkinFilterCompressed>(this);
    // Written aside and renamed, so a failed save leaves the old file whole.
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly)) throw EStreamError(QStringLiteral("Cannot create the skin file %1: %2").arg(fileName, f.errorString()));
    codec->SaveToStream(f);
    if (!f.commit()) throw EStreamError(QStringLiteral("Cannot write the skin file %1: %2").arg(fileName, f.errorString()));
}

bool SameSkin(const TSkSkinSource& a, const TSkSkinSource& b) {
    if (a.SkinName() != b.SkinName() || a.SkinVersion() != b.SkinVersion() || a.Author() != b.Author() ||
        a.AuthorEMail() != b.AuthorEMail() || a.AuthorURL() != b.AuthorURL())
        return false;
    if (a.Bitmaps().Count() != b.Bitmaps().Count() || a.ObjectCount() != b.ObjectCount()) return false;
    for (int k = 0; k < a.Bitmaps().Count(); ++k)
        if (!(*a.Bitmaps().At(k) == *b.Bitmaps().At(k))) return false;
    for (int k = 0; k < a.ObjectCount(); ++k) {
        const TSkSkinObject& x = *a.Content().objects[std::size_t(k)];
        const TSkSkinObject& y = *b.Content().objects[std::size_t(k)];
        if (x.ClassName() != y.ClassName() || WriteComponentBinary(x.Save()) != WriteComponentBinary(y.Save())) return false;
    }
    return true;
}
