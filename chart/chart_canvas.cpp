#include "chart_canvas.h"

#include "chart_math.h"

#include <algorithm>

using chart::Nearest;

namespace {
int MulDivFloor(int a, int b, int c) { return int(std::int64_t(a) * b / c); }
}

TColor DarkenColor(TColor c, int n) {
    TColor rgb = ColorToRGB(c);
    return RGBColor(std::max(0, GetRValue(rgb) - n), std::max(0, GetGValue(rgb) - n), std::max(0, GetBValue(rgb) - n));
}

TChartCanvas::~TChartCanvas() = default;

void TChartCanvas::SetFont(const QFont& f) {
    surface_->SetFont(f);
    for (size_t k = 0; k < fonts_.size(); ++k)
        if (fonts_[k] == f) {
            fontSlot_ = int(k);
            return;
        }
    if (int(fonts_.size()) < kFontSlots) {
        fonts_.push_back(f);
        fontSlot_ = int(fonts_.size()) - 1;
    } else {
        fontSlot_ = -1;
    }
}

int TChartCanvas::TextWidth(const QString& s) const {
    if (fontSlot_ < 0) return surface_->TextWidth(s);
    QHash<QString, int>& cache = widths_[fontSlot_];
    if (auto it = cache.constFind(s); it != cache.constEnd()) return *it;
    if (cache.size() > 256) cache.clear();
    const int w = surface_->TextWidth(s);
    cache.insert(s, w);
    return w;
}

TChartCanvas3D::TChartCanvas3D() = default;
TChartCanvas3D::~TChartCanvas3D() = default;

TRect TChartCanvas3D::BeginPicture(QPainter& target, const TRect& rect, bool view3D, const TView3DOptions& options) {
    target_ = &target;
    userRect_ = rect;
    is3D_ = view3D;
    orthogonal_ = false;
    zoom_ = 0;
    horizOffset_ = vertOffset_ = 0;
    if (view3D) {
        orthogonal_ = options.orthogonal;
        zoom_ = 0.01 * options.zoom;
        zoomText_ = options.zoomText;
        horizOffset_ = options.horizOffset;
        vertOffset_ = options.vertOffset;
    }
    const int w = std::max(1, rect.Width()), h = std::max(1, rect.Height());
    if (buffering_) {
        if (buffer_ && (buffer_->width() != w || buffer_->height() != h)) buffer_.reset();
        if (!buffer_) buffer_ = std::make_unique<QImage>(w, h, QImage::Format_ARGB32_Premultiplied);
        surface_ = std::make_unique<Canvas>(buffer_.get());
        return {0, 0, rect.Width(), rect.Height()};
    }
    surface_ = std::make_unique<Canvas>(target);
    return rect;
}

void TChartCanvas3D::SetProjection(int maxDepth, const TRect& plot) {
    cx_ = (plot.left + plot.right) / 2;
    cy_ = (plot.top + plot.bottom) / 2;
    halfDepth_ = maxDepth / 2;
}

void TChartCanvas3D::EndPicture() {
    surface_.reset();  // finishes painting the buffer, or gives the target its state back
    if (buffering_ && buffer_ && target_) {
        const auto mode = target_->compositionMode();
        target_->setCompositionMode(QPainter::CompositionMode_Source);
        target_->drawImage(QPoint(userRect_.left, userRect_.top), *buffer_);
        target_->setCompositionMode(mode);
    }
    target_ = nullptr;
}

void TChartCanvas3D::SetBuffering(bool on) {
    if (buffering_ == on) return;
    buffering_ = on;
    if (!on) buffer_.reset();
}

QPoint TChartCanvas3D::Project(int x, int y, int z) const {
    if (!is3D_) return {x, y};
    if (zoom_ == 1.0) return {x + z + horizOffset_, y - z + vertOffset_};
    return {Nearest((x - cx_ + z) * zoom_) + cx_ + horizOffset_, Nearest((y - cy_ - z) * zoom_) + cy_ + vertOffset_};
}

void TChartCanvas3D::Face(QPoint a, QPoint b, QPoint c, QPoint d) {
    poly_[0] = a;
    poly_[1] = b;
    poly_[2] = c;
    poly_[3] = d;
    surface_->Polygon(poly_, 4);
}

void TChartCanvas3D::RectangleAtDepth(const TRect& r, int z) {
    if (!is3D_) {
        surface_->Rectangle(r);
        return;
    }
    Face(Project(r.left, r.top, z), Project(r.right, r.top, z), Project(r.right, r.bottom, z), Project(r.left, r.bottom, z));
}

void TChartCanvas3D::SideWallFace(int left, int top, int bottom, int z0, int z1) {
    Face(Project(left, top, z0), Project(left, top, z1), Project(left, bottom, z1), Project(left, bottom, z0));
}

void TChartCanvas3D::FloorFace(int left, int right, int y, int z0, int z1) {
    Face(Project(left, y, z0), Project(left, y, z1), Project(right, y, z1), Project(right, y, z0));
}

void TChartCanvas3D::Box(int left, int right, int top, int bottom, int z0, int z1, TDarkSides dark) {
    const QPoint ft = Project(left, top, z0), frt = Project(right, top, z0), frb = Project(right, bottom, z0),
                 brt = Project(right, top, z1);
    const TBrushSpec brush = surface_->Brush();
    const bool solid = brush.style == TBrushStyle::bsSolid;
    const bool darken = dark == TDarkSides::Darken && solid;
    Face(ft, frt, frb, Project(left, bottom, z0));

    const QPoint brb = Project(right, bottom, z1);
    if (brb.x() > frb.x()) {
        if (darken) surface_->SetBrushColor(DarkenColor(brush.color, 128));
        Face(frt, brt, brb, frb);
    } else {
        const QPoint flb = Project(left, bottom, z0), blb = Project(left, bottom, z1);
        if (blb.x() < flb.x()) {
            if (darken) surface_->SetBrushColor(DarkenColor(brush.color, 128));
            Face(ft, Project(left, top, z1), blb, flb);
        }
    }
    const QPoint blt = Project(left, top, z1);
    if (blt.y() < ft.y()) {
        if (darken) surface_->SetBrushColor(DarkenColor(brush.color, 64));
        Face(ft, frt, brt, blt);
    }
    surface_->SetBrush(brush);
}

void TChartCanvas3D::LineAtDepth(int x0, int y0, int x1, int y1, int z) {
    const QPoint a = Project(x0, y0, z), b = Project(x1, y1, z);
    surface_->Line(a.x(), a.y(), b.x(), b.y());
}

void TChartCanvas3D::FillGradient(const TRect& r0, TColor first, TColor second, TGradientDirection dir) {
    if (dir != TGradientDirection::gdTopBottom && dir != TGradientDirection::gdLeftRight) std::swap(first, second);
    first = ColorToRGB(first);
    second = ColorToRGB(second);
    TRect r{std::min(r0.left, r0.right), std::min(r0.top, r0.bottom), std::max(r0.left, r0.right), std::max(r0.top, r0.bottom)};
    if (r.IsEmpty()) return;
    if (first == second) {
        surface_->FillRect(r, first);
        return;
    }
    const bool vertical = dir != TGradientDirection::gdLeftRight && dir != TGradientDirection::gdRightLeft;
    const int extent = vertical ? r.Height() : r.Width();
    const int bands = std::clamp(extent, 1, 128);
    for (int k = 0; k < bands; ++k) {
        const int from = MulDivFloor(k, extent, bands), to = MulDivFloor(k + 1, extent, bands);
        if (to <= from) continue;
        const double t = bands > 1 ? double(k) / (bands - 1) : 0.0;
        auto mix = [t](int a, int b) { return a + Nearest((b - a) * t); };
        const TColor c = RGBColor(mix(GetRValue(first), GetRValue(second)), mix(GetGValue(first), GetGValue(second)),
                                  mix(GetBValue(first), GetBValue(second)));
        surface_->FillRect(vertical ? TRect{r.left, r.top + from, r.right, r.top + to}
                                    : TRect{r.left + from, r.top, r.left + to, r.bottom},
                           c);
    }
}
