#include "skin_bitmap.h"

#include "exceptions.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

TskBitmap::TskBitmap(const QString& name, int width, int height) : name_(name) { SetSize(width, height); }

void TskBitmap::SetSize(int width, int height) {
    width = width == INT32_MIN ? INT32_MAX : std::abs(width);
    height = height == INT32_MIN ? INT32_MAX : std::abs(height);
    if (width == width_ && height == height_) return;
    if (width == 0 || height == 0) {
        pixels_.clear();
        pixels_.shrink_to_fit();
        width_ = height_ = 0;
        return;
    }
    if (width > skin_limits::kMaxBitmapSide || height > skin_limits::kMaxBitmapSide ||
        std::int64_t(width) * height > skin_limits::kMaxBitmapPixels)
        throw EStreamError(QStringLiteral("Can't allocate the DIB handle"));
    std::vector<std::uint32_t> fresh(std::size_t(width) * std::size_t(height), 0);
    pixels_.swap(fresh);
    width_ = width;
    height_ = height;
    partialAlpha_ = keyColor_ = false;
}

void TskBitmap::ApplyKeyColor() {
    for (std::uint32_t& px : pixels_) {
        // Each channel within 5 of 0x7F, 0x00, 0x7F: unsigned wrap folds both sides.
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

// ---- hue ---------------------------------------------------------------------

int ShiftHueValue(int hue, int delta) {
    int h = hue + delta;
    if (h >= 256) h -= 255;
    if (h < 0) h += 255;
    return h;
}

namespace {

void RgbToHsl(int r8, int g8, int b8, double& h, double& s, double& l) {
    const double r = r8 / 255.0, g = g8 / 255.0, b = b8 / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    l = (mx + mn) / 2;
    if (mx == mn) {
        h = s = 0;
        return;
    }
    const double d = mx - mn;
    s = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
    if (mx == r) h = (g - b) / d + (g < b ? 6 : 0);
    else if (mx == g) h = (b - r) / d + 2;
    else h = (r - g) / d + 4;
    h /= 6;
    if (h >= 1) h -= 1;
}

double HueToRgb(double p, double q, double t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

void HslToRgb(double h, double s, double l, int& r, int& g, int& b) {
    if (s == 0) {
        r = g = b = int(std::lround(l * 255));
        return;
    }
    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    const double p = 2 * l - q;
    r = int(std::lround(HueToRgb(p, q, h + 1.0 / 3) * 255));
    g = int(std::lround(HueToRgb(p, q, h) * 255));
    b = int(std::lround(HueToRgb(p, q, h - 1.0 / 3) * 255));
}

}  // namespace

std::uint32_t ShiftPixelHue(std::uint32_t argb, int delta) {
    double h, s, l;
    RgbToHsl(int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF), h, s, l);
    const int hv = ShiftHueValue(int(std::lround(h * 255)), delta);
    int r, g, b;
    HslToRgb(hv / 255.0, s, l, r, g, b);
    return (argb & 0xFF000000u) | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

void TskBitmap::ChangeHue(int delta) {
    if (delta == 0) return;
    for (std::uint32_t& px : pixels_)
        if (px >> 24) px = ShiftPixelHue(px, delta);
}

// ---- list --------------------------------------------------------------------

TskBitmap* TskBitmapList::Find(const QString& name) const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)  // simple case folding keeps the length
        if ((*it)->Name().size() == name.size() && (*it)->Name().compare(name, Qt::CaseInsensitive) == 0) return it->get();
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

// Source offset of destination offset d: scaled by 16.16 steps, or repeated.
inline int MapCoord(int d, std::int64_t step, int srcLen, TskFit fit) {
    if (fit == TskFit::Tile) return d % srcLen;
    return int((std::int64_t(d) * step) >> 16);
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
        const bool opaqueTarget = img->format() == QImage::Format_RGB32;
        for (int y = target.top(); y <= target.bottom(); ++y) {
            const int sy = src.top() + MapCoord(y - offset.y() - dst.top(), stepY, src.height(), fit);
            if (sy < 0 || sy >= bmp.Height()) continue;
            const std::uint32_t* srow = bmp.Row(sy);
            auto* drow = reinterpret_cast<std::uint32_t*>(img->scanLine(y));
            for (int x = target.left(); x <= target.right(); ++x) {
                const int sx = src.left() + MapCoord(x - offset.x() - dst.left(), stepX, src.width(), fit);
                if (sx < 0 || sx >= bmp.Width()) continue;
                const std::uint32_t s = srow[sx];
                std::uint32_t out;
                switch (mode) {
                case Mode::Blend: out = BlendPixel(s, drow[x]); break;
                case Mode::Key:
                    if ((s & 0xFFFFFF) == kSkinKeyColor) continue;
                    out = s;
                    break;
                default: out = s; break;
                }
                drow[x] = opaqueTarget ? (out | 0xFF000000u) : out;
            }
        }
        return;
    }

    // Any other device: render the visible part and let the painter put it there.
    QRect area = dst;
    if (QPaintDevice* dev = p.device()) {
        // A widget measures itself in logical pixels, the device transform in real ones.
        const qreal ratio = std::max<qreal>(1, dev->devicePixelRatioF());
        const QRect pixels(0, 0, int(std::ceil(dev->width() * ratio)), int(std::ceil(dev->height() * ratio)));
        const QRect logical = p.deviceTransform().inverted().mapRect(pixels);
        area &= logical.adjusted(-1, -1, 1, 1);
    }
    if (area.isEmpty()) return;
    QImage piece(area.size(), QImage::Format_ARGB32);
    piece.fill(Qt::transparent);
    for (int y = 0; y < area.height(); ++y) {
        const int sy = src.top() + MapCoord(y + area.top() - dst.top(), stepY, src.height(), fit);
        if (sy < 0 || sy >= bmp.Height()) continue;
        const std::uint32_t* srow = bmp.Row(sy);
        auto* drow = reinterpret_cast<std::uint32_t*>(piece.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            const int sx = src.left() + MapCoord(x + area.left() - dst.left(), stepX, src.width(), fit);
            if (sx < 0 || sx >= bmp.Width()) continue;
            const std::uint32_t s = srow[sx];
            if (mode == Mode::Blend) drow[x] = s;
            else if (mode == Mode::Key && (s & 0xFFFFFF) == kSkinKeyColor) drow[x] = 0;
            else drow[x] = s | 0xFF000000u;
        }
    }
    p.drawImage(area.topLeft(), piece);
}
