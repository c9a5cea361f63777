#include "skin_filter.h"

#include "exceptions.h"
#include "skin_bytes.h"
#include "skin_zlib.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <cstring>

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

void ReadHeader(SkinByteReader& r, TSkSkinHeader& h) {
    h.skinName = r.String("SkinName");
    h.skinVersion = r.String("SkinVersion");
    h.author = r.String("Author");
    h.authorEMail = r.String("AuthorEMail");
    h.authorURL = r.String("AuthorURL");
}

void WriteHeader(SkinByteWriter& w, const TSkSkinHeader& h) {
    w.String(h.skinName);
    w.String(h.skinVersion);
    w.String(h.author);
    w.String(h.authorEMail);
    w.String(h.authorURL);
}

void ReadPlainBitmap(SkinByteReader& r, TskBitmapList& bitmaps, SkinPixelBudget& pixels) {
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
    bitmaps.Add(std::move(b));
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
void ReadBmpFileBitmap(SkinByteReader& r, TskBitmapList& bitmaps, SkinPixelBudget& pixels) {
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
    bitmaps.Add(std::move(b));
}

// The object records to the end of the stream; then the store takes the
// whole skin. Without a store the stream is only checked.
void ReadRecords(SkinByteReader& r, TSkSkinStore* store, TSkRecordForm form, TSkSkinHeader&& header,
                 std::unique_ptr<TskBitmapList> bitmaps) {
    const std::int64_t objects = r.Count(r.Int32("object count"), 8, "object count");
    const std::unique_ptr<TSkSkinStore::Reading> reading = store ? store->StartReading() : nullptr;
    for (std::int64_t k = 0; k < objects; ++k) {
        const QString cls = r.String("object class name");
        const QByteArrayView body = r.StringView(form == TSkRecordForm::Text ? "object text" : "object component");
        if (reading) reading->Object(cls, body, form);
    }
    if (!r.AtEnd()) r.Fail(QStringLiteral("%1 bytes after the last object").arg(r.Remaining()));
    if (reading) reading->Finish(std::move(header), std::move(bitmaps));
}

void WriteRecords(SkinByteWriter& w, const TSkSkinStore& store, TSkRecordForm form) {
    const int count = store.RecordCount();
    w.Int32(count);
    for (int k = 0; k < count; ++k) {
        w.String(store.RecordClassName(k));
        w.StringBytes(store.RecordBody(k, form));
    }
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
    TSkSkinHeader header;
    ReadHeader(r, header);
    auto bitmaps = std::make_unique<TskBitmapList>();
    SkinPixelBudget pixels;
    const std::int64_t count = r.Count(r.Int32("bitmap count"), 12, "bitmap count");
    for (std::int64_t k = 0; k < count; ++k) ReadPlainBitmap(r, *bitmaps, pixels);
    ReadRecords(r, source_, TSkRecordForm::Text, std::move(header), std::move(bitmaps));
}

QByteArray TSkSkinFilter::WriteSkinBytes() {
    SkinByteWriter w;
    WriteHeader(w, source_->Header());
    const TskBitmapList& bitmaps = source_->Bitmaps();
    w.Int32(bitmaps.Count());
    for (int k = 0; k < bitmaps.Count(); ++k) WritePlainBitmap(w, *bitmaps.At(k));
    WriteRecords(w, *source_, TSkRecordForm::Text);
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
    TSkSkinHeader header;
    ReadHeader(r, header);
    auto bitmaps = std::make_unique<TskBitmapList>();
    SkinPixelBudget pixels;
    const std::uint32_t word = std::uint32_t(r.Int32("bitmap count"));
    if ((word & 0xF0000) == 0xF0000) {
        const std::int64_t n = r.Count(std::int32_t(word & ~0xF0000u), 12, "bitmap count");
        for (std::int64_t k = 0; k < n; ++k) ReadPlainBitmap(r, *bitmaps, pixels);
    } else {
        const std::int64_t n = r.Count(std::int32_t(word), 8, "bitmap count");
        for (std::int64_t k = 0; k < n; ++k) ReadBmpFileBitmap(r, *bitmaps, pixels);
    }
    ReadRecords(r, source_, TSkRecordForm::Binary, std::move(header), std::move(bitmaps));
}

QByteArray TSkSkinFilterMaxCompression::WriteSkinBytes() {
    SkinByteWriter w;
    WriteHeader(w, source_->Header());
    const TskBitmapList& bitmaps = source_->Bitmaps();
    w.FlaggedCount(bitmaps.Count(), "bitmaps");
    for (int k = 0; k < bitmaps.Count(); ++k) WritePlainBitmap(w, *bitmaps.At(k));
    WriteRecords(w, *source_, TSkRecordForm::Binary);
    return w.out;
}

// ---- registry ---------------------------------------------------------------------------

namespace {
template <class F>
TSkSkinFilterClass FilterClass() {
    return {F::StaticExtension(), F::StaticDescription(),
            [](TSkSkinStore* s) -> std::unique_ptr<TSkSkinFilter> { return std::make_unique<F>(s); }};
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
