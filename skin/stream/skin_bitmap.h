#pragma once
// The skin's 32-bit bitmaps and the one primitive every skin piece is drawn
// with: nearest-neighbour scaling, alpha blending and the transparent key.
#include "skin_hue.h"

#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QPainter;

// Pixels are 0xAARRGGBB, i.e. the bytes blue, green, red, alpha in memory.
constexpr std::uint32_t kSkinKeyColor = 0x7F007F;          // red 127, green 0, blue 127
constexpr std::uint32_t kSkinTransparent = 0x007F007F;     // the key with alpha 0

namespace skin_limits {
// One skin's pixels: all its bitmaps together, and what one mask of it may
// render. 16 M pixels are 64 MB, the size of the largest decompressed skin
// stream; our skin needs 54 K, the largest sensible one a few million (a
// background at 4K and its state copies).
constexpr std::int64_t kMaxSkinPixels = 16 * 1024 * 1024;
constexpr int kMaxBitmapSide = 16384;
constexpr std::int64_t kMaxBitmapPixels = kMaxSkinPixels;
}

// What is left of a pixel budget.
class SkinPixelBudget {
public:
    explicit SkinPixelBudget(std::int64_t pixels = skin_limits::kMaxSkinPixels) : left_(pixels) {}
    std::int64_t Left() const { return left_; }
    // False, and nothing taken, when fewer are left.
    bool TryTake(std::int64_t pixels);
    // Raises EStreamError about the named bitmap when fewer are left.
    void Take(std::int64_t pixels, const QString& bitmap);
private:
    std::int64_t left_;
};

// A vector that leaves new elements uninitialised: pixels that are about to be
// overwritten need no clearing.
template <class T>
struct UninitAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UninitAllocator<U>; };
    using std::allocator<T>::allocator;
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... A> void construct(U* p, A&&... a) { ::new (static_cast<void*>(p)) U(std::forward<A>(a)...); }
};

class TskBitmap {
public:
    TskBitmap() = default;
    TskBitmap(const QString& name, int width, int height);

    const QString& Name() const { return name_; }
    void SetName(const QString& n);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ < 1 || height_ < 1; }

    // Negative sizes count as their absolute values; a zero side frees the
    // pixels; the same size keeps them; new pixels are 0. Too large a size
    // raises EStreamError and leaves the bitmap as it was.
    void SetSize(int width, int height);
    // What a skin stream brings: width x height pixels as stored (bottom-up
    // rows of blue, green, red, alpha), then the key colour and the
    // partial-alpha test, in one pass.
    void LoadStreamPixels(int width, int height, const char* bytes);

    // Rows are stored bottom-up, as they travel in skin streams.
    std::uint32_t* Bits() { return pixels_.data(); }
    const std::uint32_t* Bits() const { return pixels_.data(); }
    std::size_t ByteSize() const { return pixels_.size() * 4; }

    // (x, y) with y = 0 the top row; outside reads as 0.
    std::uint32_t Pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
        return pixels_[std::size_t(x) + std::size_t(height_ - y - 1) * std::size_t(width_)];
    }
    void SetPixel(int x, int y, std::uint32_t v) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        pixels_[std::size_t(x) + std::size_t(height_ - y - 1) * std::size_t(width_)] = v;
    }
    const std::uint32_t* Row(int y) const { return pixels_.data() + std::size_t(height_ - y - 1) * std::size_t(width_); }
    std::uint32_t* Row(int y) { return pixels_.data() + std::size_t(height_ - y - 1) * std::size_t(width_); }
    // Whether a pixel of row y between x0 and x1 (exclusive), both inside,
    // is not fully opaque.
    bool AnyTransparent(int y, int x0, int x1) const;

    bool HasPartialAlpha() const { return partialAlpha_; }
    bool HasKeyColor() const { return keyColor_; }
    // Some pixel is not fully opaque (partial, key or alpha 0).
    bool HasTransparency() const { return transparency_; }

    // Pixels within 5 of the key colour in each channel become transparent.
    void ApplyKeyColor();
    void TestPartialAlpha();
    // The key colour, then the partial-alpha test: what every bitmap of a
    // skin stream goes through.
    void ApplyStreamRules();
    // What loading a bitmap does: the key only when no pixel is half transparent.
    void AfterPixelsLoaded();

    // Shifts the hue of every visible pixel; alpha is kept.
    void ChangeHue(int delta);

    bool operator==(const TskBitmap& o) const {
        return name_ == o.name_ && width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
    }

private:
    friend class TskBitmapList;
    bool Allocate(int width, int height);  // false for an empty size

    QString name_;
    QString foldedName_;  // for lookups: case folding keeps the length
    std::uint32_t foldedHash_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t, UninitAllocator<std::uint32_t>> pixels_;
    bool partialAlpha_ = false;
    bool keyColor_ = false;
    bool transparency_ = false;
};

// The skin's bitmaps in stream order; names may repeat.
class TskBitmapList {
public:
    int Count() const { return int(items_.size()); }
    TskBitmap* At(int k) const { return items_.at(std::size_t(k)).get(); }
    void Add(std::unique_ptr<TskBitmap> b) { items_.push_back(std::move(b)); }
    void Clear() { items_.clear(); }
    // Case-insensitive; when several share the name the last one wins.
    TskBitmap* Find(const QString& name) const;
private:
    std::vector<std::unique_ptr<TskBitmap>> items_;
};

enum class TskTileStyle { tsTile, tsStretch, tsCenter };

enum class TskFit { Scale, Tile };
// Draws src of bmp into dst of the painter's device, scaled (nearest
// neighbour) or repeated from dst's top-left. A 32-bit image device is written
// pixel by pixel (exact blend, key skipped); other devices go through the
// painter in bands of bounded size. transparent false copies the pixels as
// they are.
void DrawSkinBitmap(QPainter& p, const TskBitmap& bmp, const QRect& src, const QRect& dst, bool transparent = true,
                    TskFit fit = TskFit::Scale);

// One byte channel of the blend of s over d with alpha a.
constexpr int BlendChannel(int s, int d, int a) { return (s * a + 128) / 256 + (d * (255 - a) + 128) / 256; }
std::uint32_t BlendPixel(std::uint32_t s, std::uint32_t d);
