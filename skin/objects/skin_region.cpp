#include "skin_tree.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

// Rows rendered at once while shaping: memory stays small however large the object.
constexpr std::int64_t kStripPixels = 1 << 20;
// Each rectangle of a region costs as much of the budget as four pixels (16 bytes).
constexpr std::int64_t kPixelsPerRect = 4;

// The union of many regions, pairwise, so that a tree of thousands of parts
// costs n log n rather than n squared.
QRegion UniteAll(std::vector<QRegion> parts) {
    if (parts.empty()) return QRegion();
    while (parts.size() > 1) {
        std::vector<QRegion> next;
        next.reserve((parts.size() + 1) / 2);
        for (std::size_t k = 0; k + 1 < parts.size(); k += 2) next.push_back(parts[k].united(parts[k + 1]));
        if (parts.size() % 2) next.push_back(std::move(parts.back()));
        parts.swap(next);
    }
    return parts.front();
}

}  // namespace

QRegion TSkSkinObject::GetRegion() {
    SkinPixelBudget budget;
    return ShapeWithin(budget, BoundsRect());
}

QRegion TSkSkinObject::Mask() {
    SkinPixelBudget budget;
    return MaskWithin(budget, BoundsRect());
}

QRegion TSkSkinObject::MaskWithin(SkinPixelBudget& budget, const QRect& clip) {
    if (width_ < 1 || height_ < 1) return QRegion();
    if (ChildCount() > 0 && !drawIfOwner_ && masked_) {
        std::vector<QRegion> parts;
        for (int k = 0; k < ChildCount(); ++k)
            if (Child(k)->visible_) parts.push_back(Child(k)->MaskWithin(budget, clip));
        return UniteAll(std::move(parts));
    }
    return ShapeWithin(budget, clip);
}

QRegion TSkSkinObject::ShapeWithin(SkinPixelBudget& budget, const QRect& clip) {
    if (width_ < 1 || height_ < 1) return QRegion();
    const QRect area = BoundsRect() & clip;
    if (area.isEmpty()) return QRegion();
    if (!IsBitmapObject() || !masked_ || kind_ == TSkKind::skClient) return QRegion(area);
    // Past the budget the object keeps its rectangle: a window stays whole
    // rather than vanish, and nothing of that size is ever rendered.
    if (!budget.TryTake(std::int64_t(area.width()) * area.height())) return QRegion(area);

    const std::uint32_t key = 0xFF000000u | kSkinKeyColor;
    const int w = area.width();
    const int stripRows = int(std::clamp<std::int64_t>(kStripPixels / w, 1, area.height()));
    QImage strip(w, stripRows, QImage::Format_RGB32);
    if (strip.isNull()) return QRegion(area);
    QList<QRect> rects;
    for (int top = area.top(); top <= area.bottom(); top += stripRows) {
        const int rows = std::min(stripRows, area.bottom() + 1 - top);
        strip.fill(QColor(0x7F, 0x00, 0x7F));
        {
            QPainter p(&strip);
            p.translate(-area.left(), -top);
            Draw(p);
        }
        const qsizetype before = rects.size();
        for (int y = 0; y < rows; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(strip.constScanLine(y));
            int x = 0;
            while (x < w) {
                while (x < w && row[x] == key) ++x;
                const int start = x;
                while (x < w && row[x] != key) ++x;
                if (x > start) rects.append(QRect(area.left() + start, top + y, x - start, 1));
            }
        }
        if (!budget.TryTake((rects.size() - before) * kPixelsPerRect)) return QRegion(area);
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}
