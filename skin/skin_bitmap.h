#pragma once
// The skin's 32-bit bitmaps and the one primitive every skin piece is drawn
// with: nearest-neighbour scaling, alpha blending and the transparent key.
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
constexpr int kMaxBitmapSide = 16384;
constexpr std::int64_t kMaxBitmapPixels = 16 * 1024 * 1024;
}

class TskBitmap {
public:
    TskBitmap() = default;
    TskBitmap(const QString& name, int width, int height);

    const QString& Name() const { return name_; }
    void SetName(const QString& n) { name_ = n; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ < 1 || height_ < 1; }

    // Negative sizes count as their absolute values; a zero side frees the
    // pixels; the same size keeps them. Too large a size raises EStreamError
    // and leaves the bitmap as it was.
    void SetSize(int width, int height);

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

    bool HasPartialAlpha() const { return partialAlpha_; }
    bool HasKeyColor() const { return keyColor_; }
    // Some pixel is not fully opaque (partial, key or alpha 0).
    bool HasTransparency() const { return transparency_; }

    // Pixels within 5 of the key colour in each channel become transparent.
    void ApplyKeyColor();
    void TestPartialAlpha();
    // What loading a bitmap does: the key only when no pixel is half transparent.
    void AfterPixelsLoaded();

    // Shifts the hue of every visible pixel; alpha is kept.
    void ChangeHue(int delta);

    bool operator==(const TskBitmap& o) const {
        return name_ == o.name_ && width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
    }

private:
    QString name_;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
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
// painter. transparent false copies the pixels as they are.
void DrawSkinBitmap(QPainter& p, const TskBitmap& bmp, const QRect& src, const QRect& dst, bool transparent = true,
                    TskFit fit = TskFit::Scale);

// One byte channel of the blend of s over d with alpha a.
constexpr int BlendChannel(int s, int d, int a) { return (s * a + 128) / 256 + (d * (255 - a) + 128) / 256; }
std::uint32_t BlendPixel(std::uint32_t s, std::uint32_t d);

// Hue steps of 1/255: h + delta wrapped into 0..255.
int ShiftHueValue(int hue, int delta);
// 0x00BBGGRR colour or 0xAARRGGBB pixel: both keep their top byte.
std::uint32_t ShiftPixelHue(std::uint32_t argb, int delta);
