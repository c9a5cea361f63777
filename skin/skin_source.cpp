#include "skin_source.h"

#include "component_stream.h"
#include "exceptions.h"
#include "gbk.h"
#include "skin_bytes.h"
#include "skin_zlib.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>

namespace {

constexpr char kSignature[] = "VQZR";

// Everything from the device's position to its end, capped.
QByteArray ReadRest(QIODevice& d) {
    if (auto* buf = qobject_cast<QBuffer*>(&d)) {
        const QByteArray& all = buf->data();
        const qint64 pos = buf->pos();
        if (all.size() - pos > skin_limits::kMaxSkinBytes) throw EStreamError(QStringLiteral("The skin stream is too large"));
        QByteArray rest = all.mid(pos);
        buf->seek(all.size());
        return rest;
    }
    QByteArray rest;
    char chunk[65536];
    for (;;) {
        const qint64 n = d.read(chunk, sizeof chunk);
        if (n < 0) throw EStreamError(QStringLiteral("The skin stream cannot be read: %1").arg(d.errorString()));
        if (n == 0) break;
        if (rest.size() + n > skin_limits::kMaxSkinBytes) throw EStreamError(QStringLiteral("The skin stream is too large"));
        rest.append(chunk, n);
    }
    return rest;
}

void WriteAll(QIODevice& d, const QByteArray& bytes) {
    if (d.write(bytes) != bytes.size())
        throw EStreamError(QStringLiteral("The skin stream cannot be written: %1").arg(d.errorString()));
}

void ReadHeader(SkinByteReader& r, TSkSkinContent& c) {
    c.skinName = r.String("SkinName");
    c.skinVersion = r.String("SkinVersion");
    c.author = r.String("Author");
    c.authorEMail = r.String("AuthorEMail");
    c.authorURL = r.String("AuthorURL");
}

void WriteHeader(SkinByteWriter& w, const TSkSkinSource& s) {
    w.String(s.SkinName());
    w.String(s.SkinVersion());
    w.String(s.Author());
    w.String(s.AuthorEMail());
    w.String(s.AuthorURL());
}

void ReadPlainBitmap(SkinByteReader& r, TSkSkinContent& c, SkinPixelBudget& pixels) {
    auto b = std::make_unique<TskBitmap>();
    b->SetName(r.String("bitmap name"));
    std::int64_t w = r.Int32("bitmap width"), h = r.Int32("bitmap height");
    w = w < 0 ? -w : w;
    h = h < 0 ? -h : h;
    if (w > 0 && h > 0) {
        if (w > skin_limits::kMaxBitmapSide || h > skin_limits::kMaxBitmapSide || w * h > skin_limits::kMaxBitmapPixels)
            r.Fail(QStringLiteral("bitmap %1 is %2 x %3 pixels, too large").arg(b->Name()).arg(w).arg(h));
        const char* px = r.Take(w * h * 4, "bitmap pixels");
        pixels.Take(w * h, b->Name());
        b->LoadStreamPixels(int(w), int(h), px);
    }
    c.bitmaps->Add(std::move(b));
}

void WritePlainBitmap(SkinByteWriter& w, const TskBitmap& b) {
    w.String(b.Name());
    w.Int32(b.Width());
    w.Int32(b.Height());
    w.Raw(reinterpret_cast<const char*>(b.Bits()), std::int64_t(b.ByteSize()));
}

// A bitmap file of the older records, decoded and turned into 32 bits. Its
// size comes from its header and counts against the skin's pixels before
// anything is decoded: a few bytes of file can claim a huge image.
void ReadBmpFileBitmap(SkinByteReader& r, TSkSkinContent& c, SkinPixelBudget& pixels) {
    auto b = std::make_unique<TskBitmap>();
    b->SetName(r.String("bitmap name"));
    const QByteArrayView file = r.StringView("bitmap file");
    QBuffer buffer;
    buffer.setData(QByteArray::fromRawData(file.data(), file.size()));
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        r.Fail(QStringLiteral("bitmap %1 is not a readable bitmap file").arg(b->Name()));
    if (size.width() > skin_limits::kMaxBitmapSide || size.height() > skin_limits::kMaxBitmapSide)
        r.Fail(QStringLiteral("bitmap %1 is %2 x %3 pixels, too large").arg(b->Name()).arg(size.width()).arg(size.height()));
    pixels.Take(std::int64_t(size.width()) * size.height(), b->Name());
    reader.setAllocationLimit(int(skin_limits::kMaxSkinPixels * 4 / (1024 * 1024)) + 1);
    QImage img;
    if (!reader.read(&img) || img.size() != size)
        r.Fail(QStringLiteral("bitmap %1 is not a readable bitmap file").arg(b->Name()));
    b->SetSize(img.width(), img.height());
    const bool direct = img.format() == QImage::Format_ARGB32 || img.format() == QImage::Format_RGB32;
    // Other formats are converted a band at a time, not as a second whole copy.
    const int band = direct ? img.height() : std::max(1, (1 << 20) / img.width());
    for (int top = 0; top < img.height(); top += band) {
        const int rows = std::min(band, img.height() - top);
        const QImage part = direct ? img : img.copy(0, top, img.width(), rows).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < rows; ++y)
            std::memcpy(b->Row(top + y), part.constScanLine(direct ? top + y : y), std::size_t(img.width()) * 4);
    }
    b->AfterPixelsLoaded();
    b->ApplyStreamRules();  // again, as for every bitmap of a stream
    c.bitmaps->Add(std::move(b));
}

void AddReadObject(TSkSkinContent& c, TSkSkinObject* obj) {
    if (!obj) return;
    std::unique_ptr<TSkSkinObject> owned(obj);
    owned->SetCharset(1);  // DEFAULT_CHARSET
    c.objects.push_back(std::move(owned));
}

// Gives every object the new bitmaps and resolves its links.
void FinishObjects(TSkSkinContent& c) {
    for (auto& o : c.objects) {
        o->SetBitmaps(c.bitmaps.get());
        o->AfterLoad();
    }
}

QByteArray ObjectText(const TSkSkinObject& o) {
    const QByteArray utf8 = WriteComponentText(o.Save());
    for (char ch : utf8)
        if (uchar(ch) >= 0x80) return gbk::encode(QString::fromUtf8(utf8));
    return utf8;
}

}  // namespace

// ---- codecs -------------------------------------------------------------------------

void TSkSkinFilter::ReadSkin(QIODevice& stream) {
    const QByteArray all = ReadRest(stream);
    ReadSkinBytes(all.constData(), all.size());
}

void TSkSkinFilter::WriteSkin(QIODevice& stream) { WriteAll(stream, WriteSkinBytes()); }

void TSkSkinFilter::ReadSkinBytes(const char* data, std::int64_t size) {
    SkinByteReader r(data, size, QStringLiteral("The skin stream"));
    TSkSkinContent fresh;
    ReadHeader(r, fresh);
    SkinPixelBudget pixels;
    const std::int64_t bitmaps = r.Count(r.Int32("bitmap count"), 12, "bitmap count");
    for (std::int64_t k = 0; k < bitmaps; ++k) ReadPlainBitmap(r, fresh, pixels);
    const std::int64_t objects = r.Count(r.Int32("object count"), 8, "object count");
    SkinObjectBudget budget;
    for (std::int64_t k = 0; k < objects; ++k) {
        const QString cls = r.String("object class name");
        AddReadObject(fresh, ReadSkinObjectText(cls, r.StringView("object text"), nullptr));
    }
    if (!r.AtEnd()) r.Fail(QStringLiteral("%1 bytes after the last object").arg(r.Remaining()));
    FinishObjects(fresh);
    if (source_) source_->SwapIn(std::move(fresh));
}

QByteArray TSkSkinFilter::WriteSkinBytes() {
    SkinByteWriter w;
    WriteHeader(w, *source_);
    const TskBitmapList& bitmaps = source_->Bitmaps();
    w.Int32(bitmaps.Count());
    for (int k = 0; k < bitmaps.Count(); ++k) WritePlainBitmap(w, *bitmaps.At(k));
    const auto& objects = source_->Content().objects;
    w.Int32(std::int32_t(objects.size()));
    for (const auto& o : objects) {
        w.String(o->ClassName());
        w.StringBytes(ObjectText(*o));
    }
    return w.out;
}

void TSkSkinFilterUncompressed::LoadFromStream(QIODevice& stream) { ReadSkin(stream); }
void TSkSkinFilterUncompressed::SaveToStream(QIODevice& stream) { WriteSkin(stream); }

void TSkSkinFilterCompressed::LoadFromBytes(const char* data, std::int64_t size) {
    // The signature is not checked: any four bytes will do.
    if (size < 4) throw EStreamError(QStringLiteral("The skin stream is too short for its signature"));
    const QByteArray plain = SkinInflate(data + 4, size - 4);
    ReadSkinBytes(plain.constData(), plain.size());
}

void TSkSkinFilterCompressed::LoadFromStream(QIODevice& stream) {
    const QByteArray all = ReadRest(stream);
    LoadFromBytes(all.constData(), all.size());
}

void TSkSkinFilterCompressed::SaveToStream(QIODevice& stream) {
    QByteArray out(kSignature, 4);
    out.append(SkinDeflate(WriteSkinBytes(), Level()));
    WriteAll(stream, out);
}

void TSkSkinFilterMaxCompression::ReadSkinBytes(const char* data, std::int64_t size) {
    SkinByteReader r(data, size, QStringLiteral("The skin stream"));
    TSkSkinContent fresh;
    ReadHeader(r, fresh);
    SkinPixelBudget pixels;
    const std::uint32_t word = std::uint32_t(r.Int32("bitmap count"));
    if ((word & 0xF0000) == 0xF0000) {
        const std::int64_t n = r.Count(std::int32_t(word & ~0xF0000u), 12, "bitmap count");
        for (std::int64_t k = 0; k < n; ++k) ReadPlainBitmap(r, fresh, pixels);
    } else {
        const std::int64_t n = r.Count(std::int32_t(word), 8, "bitmap count");
        for (std::int64_t k = 0; k < n; ++k) ReadBmpFileBitmap(r, fresh, pixels);
    }
    const std::int64_t objects = r.Count(r.Int32("object count"), 8, "object count");
    SkinObjectBudget budget;
    for (std::int64_t k = 0; k < objects; ++k) {
        const QString cls = r.String("object class name");
        AddReadObject(fresh, ReadSkinObjectBinary(cls, r.StringView("object component"), nullptr));
    }
    if (!r.AtEnd()) r.Fail(QStringLiteral("%1 bytes after the last object").arg(r.Remaining()));
    FinishObjects(fresh);
    if (source_) source_->SwapIn(std::move(fresh));
}

QByteArray TSkSkinFilterMaxCompression::WriteSkinBytes() {
    SkinByteWriter w;
    WriteHeader(w, *source_);
    const TskBitmapList& bitmaps = source_->Bitmaps();
    w.FlaggedCount(bitmaps.Count(), "bitmaps");
    for (int k = 0; k < bitmaps.Count(); ++k) WritePlainBitmap(w, *bitmaps.At(k));
    const auto& objects = source_->Content().objects;
    w.Int32(std::int32_t(objects.size()));
    for (const auto& o : objects) {
        w.String(o->ClassName());
        w.StringBytes(WriteComponentBinary(o->Save()));
    }
    return w.out;
}

// ---- registry ---------------------------------------------------------------------------

namespace {
template <class F>
TSkSkinFilterClass FilterClass() {
    return {F::StaticExtension(), F::StaticDescription(),
            [](TSkSkinSource* s) -> std::unique_ptr<TSkSkinFilter> { return std::make_unique<F>(s); }};
}
std::vector<TSkSkinFilterClass>& Filters() {
    static std::vector<TSkSkinFilterClass> filters = {
        FilterClass<TSkSkinFilterUncompressed>(),
        FilterClass<TSkSkinFilterCompressed>(),
        FilterClass<TSkSkinFilterUltraCompressed>(),
        FilterClass<TSkSkinFilterMaxCompression>(),
    };
    return filters;
}
}

void RegisterSkinFilter(const TSkSkinFilterClass& c) {
    for (auto& f : Filters())
        if (f.extension.compare(c.extension, Qt::CaseInsensitive) == 0) {
            f = c;
            return;
        }
    Filters().push_back(c);
}

const std::vector<TSkSkinFilterClass>& SkinFilters() { return Filters(); }

const TSkSkinFilterClass* FindSkinFilter(const QString& extension) {
    const QString ext = extension.startsWith('.') ? extension.mid(1) : extension;
    if (ext.isEmpty()) return nullptr;
    for (const auto& f : Filters())
        if (f.extension.compare(ext, Qt::CaseInsensitive) == 0) return &f;
    return nullptr;
}

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
