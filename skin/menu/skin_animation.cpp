#include "skin_animation.h"

#include "skin_bitmap.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

const EnumNames<TSkDirection> kSkDirectionNames{{"kdNone", "kdNoRotate", "kdRotate90", "kdRotate180", "kdRotate270"}};

void TSkAnimation::SetDirection(TSkDirection d) {
    direction_ = d;
    switch (d) {
    case TSkDirection::kdRotate90: rec_.Rotation = TskRotation::krRotate90; break;
    case TSkDirection::kdRotate180: rec_.Rotation = TskRotation::krRotate180; break;
    case TSkDirection::kdRotate270: rec_.Rotation = TskRotation::krRotate270; break;
    default: rec_.Rotation = TskRotation::krNone; break;
    }
}

namespace {

double SteadyClock() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return double(timer.nsecsElapsed()) / 1e6;
}

bool Swaps(TskRotation r) { return r == TskRotation::krRotate90 || r == TskRotation::krRotate270; }

// Turns a grid of size `from` (already turned by r) back into `to`.
void RotateInto(const std::vector<std::uint8_t>& src, QSize from, TskRotation r, std::vector<std::uint8_t>& dst, QSize to) {
    const int sw = from.width(), sh = from.height();
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x) {
            int sx = x, sy = y;
            switch (r) {
            case TskRotation::krRotate90: sx = y; sy = sh - 1 - x; break;
            case TskRotation::krRotate180: sx = sw - 1 - x; sy = sh - 1 - y; break;
            case TskRotation::krRotate270: sx = sw - 1 - y; sy = x; break;
            default: break;
            }
            dst[std::size_t(y) * std::size_t(to.width()) + std::size_t(x)] = src[std::size_t(sy) * std::size_t(sw) + std::size_t(sx)];
        }
}

// Which cell each column (or row) of the picture falls in.
std::vector<int> CellIndex(int pixels, int cells, int resolution, int tileCount) {
    const int tile = std::max(1, pixels / std::max(1, tileCount));
    std::vector<int> index(std::size_t(std::max(0, pixels)));
    for (int k = 0; k < pixels; ++k) index[std::size_t(k)] = std::min((k % tile) / resolution, cells - 1);
    return index;
}

// The work bitmap over the target, alpha 0 leaving the target, 255 replacing it.
void BlendOnto(QImage& target, QPoint at, const QImage& work) {
    const QRect area = QRect(at, work.size()) & target.rect();
    const bool opaque = !target.hasAlphaChannel();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(work.constScanLine(y - at.y()));
        auto* d = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb out = BlendPixel(s[x - at.x()], d[x]);
            d[x] = opaque ? (out | 0xFF000000u) : out;
        }
    }
}

TskEffectFrame FrameOf(double progress, QSize picture, QSize cells) {
    TskEffectFrame f;
    f.progress = progress;
    f.picture = picture;
    f.cells = cells;
    return f;
}

}  // namespace

const TskEffectEntry* TskAnimationRec::ChooseEffect() const {
    const TskEffectList& list = EffectRegistry();
    if (EffectKind.compare(kRandomEffectName, Qt::CaseInsensitive) == 0)
        return list.Count() > 0 ? &list.Entries()[std::size_t(QRandomGenerator::global()->bounded(list.Count()))] : nullptr;
    return list.Find(EffectKind);
}

void TskAnimationRec::RenderFrame(const TskEffectEntry* entry, const QImage& prepared, QImage& work, double progress) const {
    const QSize size = prepared.size();
    const int resolution = std::max(1, Resolution), tiles = std::max(1, TileCount);
    if (entry && entry->kind == skeffect::kManual) {
        TskEffectFrame f = FrameOf(progress, size, QSize());
        f.source = &prepared;
        f.work = &work;
        entry->proc(f);
        return;
    }
    const QSize cells = EffectMaskSize(size, resolution, tiles);
    const std::size_t count = std::size_t(cells.width()) * std::size_t(cells.height());
    const std::vector<int> col = CellIndex(size.width(), cells.width(), resolution, tiles);
    const std::vector<int> row = CellIndex(size.height(), cells.height(), resolution, tiles);

    if (entry && entry->kind == skeffect::kSlide) {
        slide_.assign(count, TskSlideCell());
        TskEffectFrame f = FrameOf(progress, size, cells);
        f.slide = slide_.data();
        entry->proc(f);
        for (int y = 0; y < size.height(); ++y) {
            auto* d = reinterpret_cast<QRgb*>(work.scanLine(y));
            for (int x = 0; x < size.width(); ++x) {
                const TskSlideCell& c = slide_[std::size_t(row[std::size_t(y)]) * std::size_t(cells.width()) + std::size_t(col[std::size_t(x)])];
                const int sx = x + c.dx, sy = y + c.dy;
                if (sx < 0 || sy < 0 || sx >= size.width() || sy >= size.height()) {
                    d[x] = 0;
                    continue;
                }
                const QRgb s = reinterpret_cast<const QRgb*>(prepared.constScanLine(sy))[sx];
                d[x] = (s & 0xFFFFFF) | (std::uint32_t((qAlpha(s) * c.alpha + 127) / 255) << 24);
            }
        }
        return;
    }

    mask_.assign(count, 255);
    const double p = std::clamp(progress / 100.0, 0.0, 1.0);
    const QSize turned = Swaps(Rotation) ? cells.transposed() : cells;
    if (entry) {  // an effect of kind 0, computed in the turned grid when there is a rotation
        std::vector<std::uint8_t>& into = Rotation == TskRotation::krNone ? mask_ : rotated_;
        into.assign(count, 0);
        TskEffectFrame f = FrameOf(progress, size, turned);
        f.mask = into.data();
        entry->proc(f);
        if (Rotation != TskRotation::krNone) RotateInto(rotated_, turned, Rotation, mask_, cells);
    } else if (!Bitmap.isNull()) {  // the bitmap effect: its first byte orders the cells
        const QImage stretched = Bitmap.convertToFormat(QImage::Format_ARGB32).scaled(turned, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        constexpr double soft = 64;
        rotated_.assign(count, 0);
        for (int y = 0; y < turned.height(); ++y) {
            const auto* line = stretched.constScanLine(y);
            for (int x = 0; x < turned.width(); ++x) {
                const double v = line[x * 4];
                rotated_[std::size_t(y) * std::size_t(turned.width()) + std::size_t(x)] =
                    std::uint8_t(std::lround(std::clamp((p * (255 + soft) - v) / soft, 0.0, 1.0) * 255));
            }
        }
        RotateInto(rotated_, turned, Rotation, mask_, cells);
    }
    for (int y = 0; y < size.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(prepared.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(work.scanLine(y));
        const std::uint8_t* m = mask_.data() + std::size_t(row[std::size_t(y)]) * std::size_t(cells.width());
        for (int x = 0; x < size.width(); ++x)
            d[x] = (s[x] & 0xFFFFFF) | (std::uint32_t((qAlpha(s[x]) * m[col[std::size_t(x)]] + 127) / 255) << 24);
    }
}

void TskAnimationRec::Run(const QImage& source, QImage& target, QPoint at, const std::function<void(double)>& frameDrawn) const {
    if (source.isNull() || target.isNull() || source.width() < 1 || source.height() < 1) return;
    const TskEffectEntry* entry = ChooseEffect();
    if (!entry && EffectKind.compare(kBitmapEffectName, Qt::CaseInsensitive) != 0) return;
    if (entry && !entry->proc) return;

    QImage prepared = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < prepared.height(); ++y) {  // the key colour is never shown
        auto* line = reinterpret_cast<QRgb*>(prepared.scanLine(y));
        for (int x = 0; x < prepared.width(); ++x)
            if ((line[x] & 0xFFFFFF) == kSkinKeyColor) line[x] = kSkinTransparent;
    }
    QImage work(prepared.size(), QImage::Format_ARGB32);
    const std::function<double()> clock = Clock ? Clock : SteadyClock;
    const double time = std::max(0, Time);
    double elapsed = 0.01;
    while (elapsed < time) {
        const double started = clock();
        const double progress = std::min(100.0, elapsed / time * 100);
        RenderFrame(entry, prepared, work, progress);
        BlendOnto(target, at, work);
        if (frameDrawn) frameDrawn(progress);
        // A clock that stands still must not hold the window back for ever.
        elapsed += std::max(1.0, clock() - started);
    }
    RenderFrame(entry, prepared, work, 100);
    BlendOnto(target, at, work);
    if (frameDrawn) frameDrawn(100);
}
