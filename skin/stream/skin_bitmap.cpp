#include "skin_bitmap.h"

#include "exceptions.h"

#include <QImage>
#include <QPainter>
#include <QVarLengthArray>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

bool SkinPixelBudget::TryTake(std::int64_t pixels) {
    if (pixels < 0 || pixels > left_) return false;
    left_ -= pixels;
    return true;
}

void SkinPixelBudget::Take(std::int64_t pixels, const QString& bitmap) {
    if (!TryTake(pixels))
        throw EStreamError(QStringLiteral("Bitmap %1 needs %2 pixels, more than the %3 a skin may hold")
                               .arg(bitmap).arg(pixels).arg(skin_limits::kMaxSkinPixels));
}

// ---- pixels ----------------------------------------------------------------------

namespace {

struct PixelFlags {
    bool key = false, transparent = false, partial = false;
};

// Copies n pixels (in place when src is dst), turning those near the key
// colour transparent and noting what the alpha bytes hold afterwards.
// src is a stream's bytes and need not be aligned.
PixelFlags CopyWithStreamRules(const void* source, std::uint32_t* dst, std::size_t n) {
    const auto* src = static_cast<const char*>(source);
    PixelFlags f;
    std::size_t k = 0;
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi32(int(kSkinTransparent));
    const __m128i five = _mm_set1_epi8(5);
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    const __m128i alphaOne = _mm_set1_epi32(0x01000000);
    const __m128i alphaHigh = _mm_set1_epi32(int(0xFE000000u));
    const __m128i zero = _mm_setzero_si128();
    __m128i anyKey = zero, allBits = _mm_set1_epi32(-1), anyPartial = zero;
    for (; k + 4 <= n; k += 4) {
        __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * k));
        // Per byte |px - key|; the colour bytes all within 5 make a key pixel.
        const __m128i diff = _mm_or_si128(_mm_subs_epu8(px, key), _mm_subs_epu8(key, px));
        const __m128i near = _mm_cmpeq_epi32(_mm_and_si128(_mm_subs_epu8(diff, five), rgb), zero);
        px = _mm_or_si128(_mm_and_si128(near, key), _mm_andnot_si128(near, px));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + k), px);
        anyKey = _mm_or_si128(anyKey, near);
        // Alpha 255 everywhere leaves 255 in the AND; alpha + 1 (wrapping) keeps
        // a bit above the lowest one only for alphas other than 0 and 255.
        allBits = _mm_and_si128(allBits, px);
        anyPartial = _mm_or_si128(anyPartial, _mm_and_si128(_mm_add_epi8(px, alphaOne), alphaHigh));
    }
    f.key = _mm_movemask_epi8(anyKey) != 0;
    f.transparent = (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(allBits, _mm_set1_epi32(int(0xFF000000u))),
                                                      _mm_set1_epi32(int(0xFF000000u)))) & 0x8888) != 0x8888;
    f.partial = _mm_movemask_epi8(_mm_cmpeq_epi32(anyPartial, zero)) != 0xFFFF;
#endif
    for (; k < n; ++k) {
        std::uint32_t px;
        std::memcpy(&px, src + 4 * k, 4);
        // Each channel within 5 of 0x7F, 0x00, 0x7F: unsigned wrap folds both sides.
        if (((px >> 16) & 0xFF) - 0x7Au < 11u && ((px >> 8) & 0xFF) < 6u && (px & 0xFF) - 0x7Au < 11u) {
            px = kSkinTransparent;
            f.key = true;
        }
        dst[k] = px;
        const std::uint32_t a = px >> 24;
        f.transparent |= a != 255;
        f.partial |= a != 0 && a != 255;
    }
    return f;
}

}  // namespace

namespace {
std::uint32_t HashFolded(QStringView folded) {
    std::uint32_t h = 2166136261u;
    for (QChar c : folded) h = (h ^ c.unicode()) * 16777619u;
    return h;
}
}  // namespace

TskBitmap::TskBitmap(const QString& name, int width, int height) {
    SetName(name);
    SetSize(width, height);
}

void TskBitmap::SetName(const QString& n) {
    name_ = n;
    foldedName_ = n.toCaseFolded();
    foldedHash_ = HashFolded(foldedName_);
}

bool TskBitmap::Allocate(int width, int height) {
    width = width == INT32_MIN ? INT32_MAX : std::abs(width);
    height = height == INT32_MIN ? INT32_MAX : std::abs(height);
    if (width == 0 || height == 0) {
        pixels_.clear();
        pixels_.shrink_to_fit();
        width_ = height_ = 0;
        return false;
    }
    if (width > skin_limits::kMaxBitmapSide || height > skin_limits::kMaxBitmapSide ||
        std::int64_t(width) * height > skin_limits::kMaxBitmapPixels)
        throw EStreamError(QStringLiteral("Can't allocate the DIB handle"));
    decltype(pixels_) fresh(std::size_t(width) * std::size_t(height));
    pixels_.swap(fresh);
    width_ = width;
    height_ = height;
    partialAlpha_ = keyColor_ = false;
    return true;
}

void TskBitmap::SetSize(int width, int height) {
    if ((width == INT32_MIN ? INT32_MAX : std::abs(width)) == width_ &&
        (height == INT32_MIN ? INT32_MAX : std::abs(height)) == height_)
        return;
    if (Allocate(width, height)) std::fill(pixels_.begin(), pixels_.end(), 0u);
}

void TskBitmap::LoadStreamPixels(int width, int height, const char* bytes) {
    if (!Allocate(width, height)) return;
    const PixelFlags f = CopyWithStreamRules(bytes, pixels_.data(), pixels_.size());
    keyColor_ = f.key;
    transparency_ = f.transparent;
    partialAlpha_ = f.partial;
}

void TskBitmap::ApplyStreamRules() {
    const PixelFlags f = CopyWithStreamRules(pixels_.data(), pixels_.data(), pixels_.size());
    keyColor_ = keyColor_ || f.key;
    transparency_ = f.transparent;
    partialAlpha_ = f.partial;
}

void TskBitmap::ApplyKeyColor() {
    for (std::uint32_t& px : pixels_) {
        if (((px >> 16) & 0xFF) - 0x7Au < 11u && ((px >> 8) & 0xFF) < 6u && (px & 0xFF) - 0x7Au < 11u) {
            px = kSkinTransparent;
            keyColor_ = transparency_ = true;
        }
    }
}

void TskBitmap::TestPartialAlpha() {
    partialAlpha_ = transparency_ = false;
    for (std::uint32_t px : pixels_) {
        const std::uint32_t a = px >> 24;
        if (a != 255) {
            transparency_ = true;
            if (a != 0) {
                partialAlpha_ = true;
                return;
            }
        }
    }
}

void TskBitmap::AfterPixelsLoaded() {
    TestPartialAlpha();
    if (!partialAlpha_) ApplyKeyColor();
}

bool TskBitmap::AnyTransparent(int y, int x0, int x1) const {
    const std::uint32_t* row = Row(y);
    int x = x0;
#if defined(__SSE2__)
    __m128i all = _mm_set1_epi32(-1), more = all;
    for (; x + 8 <= x1; x += 8) {
        all = _mm_and_si128(all, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)));
        more = _mm_and_si128(more, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x + 4)));
    }
    for (; x + 4 <= x1; x += 4) all = _mm_and_si128(all, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)));
    all = _mm_and_si128(all, more);
    alignas(16) std::uint32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), all);
    std::uint32_t acc = lanes[0] & lanes[1] & lanes[2] & lanes[3];
#else
    std::uint32_t acc = 0xFFFFFFFFu;
#endif
    for (; x < x1; ++x) acc &= row[x];
    // Some alpha byte below 255 leaves a zero bit in the AND of them all.
    return (acc >> 24) != 0xFF;
}

void TskBitmap::ChangeHue(int delta) {
    if (delta == 0) return;
    for (std::uint32_t& px : pixels_)
        if (px >> 24) px = ShiftPixelHue(px, delta);
}

// ---- list --------------------------------------------------------------------

TskBitmap* TskBitmapList::Find(const QString& name) const {
    // Fold the wanted name once, on the stack when it is short, and compare
    // hashes before names.
    QVarLengthArray<char16_t, 64> folded(name.size());
    for (qsizetype k = 0; k < name.size(); ++k) {
        const char16_t c = name.at(k).unicode();
        if (QChar::isSurrogate(c)) {
            const QString slow = name.toCaseFolded();
            std::copy(slow.utf16(), slow.utf16() + slow.size(), folded.begin());
            break;
        }
        folded[k] = c < 0x80 ? (c >= 'A' && c <= 'Z' ? char16_t(c + 32) : c) : QChar::toCaseFolded(c);
    }
    const QStringView want(folded.constData(), folded.size());
    const std::uint32_t hash = HashFolded(want);
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if ((*it)->foldedHash_ == hash && QStringView((*it)->foldedName_) == want) return it->get();
    return nullptr;
}

// ---- drawing -----------------------------------------------------------------

std::uint32_t BlendPixel(std::uint32_t s, std::uint32_t d) {
    const int a = int(s >> 24);
    if (a == 255) return s;
    if (a == 0) return d;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int c = BlendChannel(int((s >> shift) & 0xFF), int((d >> shift) & 0xFF), a);
        out |= std::uint32_t(c & 0xFF) << shift;
    }
    return out;
}

namespace {

enum class Mode { Copy, Blend, Key };

// Rows of the band the painter path renders at once.
constexpr std::int64_t kBandPixels = 1 << 20;

// Source offset of destination offset d: scaled by 16.16 steps, or repeated.
inline int MapCoord(int d, std::int64_t step, int srcLen, TskFit fit) {
    if (fit == TskFit::Tile) return d % srcLen;
    return int((std::int64_t(d) * step) >> 16);
}

// The source column of each of count destination columns starting first
// columns into the destination, or -1 where that falls outside the bitmap.
// Worked out once per draw: every row uses the same columns.
std::vector<int> SourceColumns(int first, int count, const QRect& src, std::int64_t step, TskFit fit, int width) {
    std::vector<int> cols(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const int sx = src.left() + MapCoord(first + i, step, src.width(), fit);
        cols[std::size_t(i)] = sx >= 0 && sx < width ? sx : -1;
    }
    return cols;
}

// The 32-bit image under the painter when its pixels can be written directly,
// with the painter's translation and clip rectangle in device coordinates.
QImage* DirectTarget(QPainter& p, QPoint& offset, QRect& clip) {
    QPaintDevice* dev = p.device();
    if (!dev || dev->devType() != QInternal::Image) return nullptr;
    auto* img = static_cast<QImage*>(dev);
    if (img->format() != QImage::Format_RGB32 && img->format() != QImage::Format_ARGB32) return nullptr;
    const QTransform t = p.deviceTransform();
    if (t.type() > QTransform::TxTranslate) return nullptr;
    // Pixels written straight would not fade or combine as the painter says.
    if (p.opacity() < 1 || p.compositionMode() != QPainter::CompositionMode_SourceOver) return nullptr;
    offset = QPoint(int(t.dx()), int(t.dy()));
    clip = img->rect();
    if (p.hasClipping()) {
        const QRegion r = p.clipRegion();
        if (r.rectCount() > 1) return nullptr;
        clip &= r.boundingRect().translated(offset);
    }
    return img;
}

}  // namespace

void DrawSkinBitmap(QPainter& p, const TskBitmap& bmp, const QRect& src, const QRect& dst, bool transparent,
                    TskFit fit) {
    if (bmp.Empty() || src.width() < 1 || src.height() < 1 || dst.width() < 1 || dst.height() < 1) return;
    const Mode mode = !transparent ? Mode::Copy
                      : bmp.HasPartialAlpha() ? Mode::Blend
                      : bmp.HasKeyColor() ? Mode::Key
                                          : Mode::Copy;
    // 16.16 steps from destination to source pixels.
    const std::int64_t stepX = (std::int64_t(src.width()) << 16) / dst.width();
    const std::int64_t stepY = (std::int64_t(src.height()) << 16) / dst.height();

    QPoint offset;
    QRect clip;
    if (QImage* img = DirectTarget(p, offset, clip)) {
        const QRect target = dst.translated(offset) & clip;
        if (target.isEmpty()) return;
        const std::uint32_t opaque = img->format() == QImage::Format_RGB32 ? 0xFF000000u : 0u;
        const std::vector<int> cols =
            SourceColumns(target.left() - offset.x() - dst.left(), target.width(), src, stepX, fit, bmp.Width());
        const int n = target.width();
        for (int y = target.top(); y <= target.bottom(); ++y) {
            const int sy = src.top() + MapCoord(y - offset.y() - dst.top(), stepY, src.height(), fit);
            if (sy < 0 || sy >= bmp.Height()) continue;
            const std::uint32_t* srow = bmp.Row(sy);
            auto* drow = reinterpret_cast<std::uint32_t*>(img->scanLine(y)) + target.left();
            switch (mode) {
            case Mode::Blend:
                for (int i = 0; i < n; ++i)
                    if (cols[i] >= 0) drow[i] = BlendPixel(srow[cols[i]], drow[i]) | opaque;
                break;
            case Mode::Key:
                for (int i = 0; i < n; ++i)
                    if (cols[i] >= 0 && (srow[cols[i]] & 0xFFFFFF) != kSkinKeyColor) drow[i] = srow[cols[i]] | opaque;
                break;
            default:
                for (int i = 0; i < n; ++i)
                    if (cols[i] >= 0) drow[i] = srow[cols[i]] | opaque;
                break;
            }
        }
        return;
    }

    // Any other device: render the visible part band by band and let the
    // painter put it there. Only the part inside the painter's window: a
    // widget's painter has the widget as its device, already offset within
    // the window it paints into.
    QRect area = dst;
    if (p.device()) {
        const QRect logical = p.worldTransform().inverted().mapRect(p.window());
        area &= logical.adjusted(-1, -1, 1, 1);
    }
    if (area.isEmpty()) return;
    const int bandRows = int(std::clamp<std::int64_t>(kBandPixels / area.width(), 1, area.height()));
    QImage piece(area.width(), bandRows, QImage::Format_ARGB32);
    if (piece.isNull()) return;
    const std::vector<int> cols = SourceColumns(area.left() - dst.left(), area.width(), src, stepX, fit, bmp.Width());
    for (int top = area.top(); top <= area.bottom(); top += bandRows) {
        const int rows = std::min(bandRows, area.bottom() + 1 - top);
        piece.fill(Qt::transparent);
        for (int y = 0; y < rows; ++y) {
            const int sy = src.top() + MapCoord(y + top - dst.top(), stepY, src.height(), fit);
            if (sy < 0 || sy >= bmp.Height()) continue;
            const std::uint32_t* srow = bmp.Row(sy);
            auto* drow = reinterpret_cast<std::uint32_t*>(piece.scanLine(y));
            for (int x = 0; x < area.width(); ++x) {
                const int sx = cols[std::size_t(x)];
                if (sx < 0) continue;
                const std::uint32_t s = srow[sx];
                if (mode == Mode::Blend) drow[x] = s;
                else if (mode == Mode::Key && (s & 0xFFFFFF) == kSkinKeyColor) drow[x] = 0;
                else drow[x] = s | 0xFF000000u;
            }
        }
        p.drawImage(QPoint(area.left(), top), piece, QRect(0, 0, area.width(), rows));
    }
}
