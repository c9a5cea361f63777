#include "canvas.h"

#include <unordered_map>
#include <vector>

#include <QImage>
#include <QPaintDevice>
#include <algorithm>

namespace {
Qt::PenStyle QtPenStyle(TPenStyle s) {
    switch (s) {
    case TPenStyle::psDash: return Qt::DashLine;
    case TPenStyle::psDot: return Qt::DotLine;
    case TPenStyle::psDashDot: return Qt::DashDotLine;
    case TPenStyle::psDashDotDot: return Qt::DashDotDotLine;
    case TPenStyle::psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

Qt::BrushStyle QtBrushStyle(TBrushStyle s) {
    switch (s) {
    case TBrushStyle::bsClear: return Qt::NoBrush;
    case TBrushStyle::bsHorizontal: return Qt::HorPattern;
    case TBrushStyle::bsVertical: return Qt::VerPattern;
    case TBrushStyle::bsFDiagonal: return Qt::BDiagPattern;  // "/" lines
    case TBrushStyle::bsBDiagonal: return Qt::FDiagPattern;  // "\" lines
    case TBrushStyle::bsCross: return Qt::CrossPattern;
    case TBrushStyle::bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

bool IsHatch(TBrushStyle s) { return s != TBrushStyle::bsSolid && s != TBrushStyle::bsClear; }

TRect Normalized(const TRect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
}
}  // namespace

Canvas::Canvas(QPaintDevice* device) : own_(std::make_unique<QPainter>(device)), painter_(own_.get()) { Init(); }

Canvas::Canvas(QPainter& painter) : painter_(&painter) {
    painter_->save();
    Init();
}

Canvas::~Canvas() {
    if (own_) own_->end();
    else painter_->restore();
}

void Canvas::Init() {
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setBackgroundMode(Qt::TransparentMode);
    font_ = painter_->font();
}

void Canvas::SetPen(const TPenSpec& p) {
    if (pen_ == p) return;
    pen_ = p;
    if (heldPen_ == Held::Pen) heldPen_ = Held::None;
}

void Canvas::SetBrush(const TBrushSpec& b) {
    if (brush_ == b) return;
    brush_ = b;
    if (heldBrush_ == HeldB::Brush) heldBrush_ = HeldB::None;
}

void Canvas::SetFont(const QFont& f) {
    if (font_ == f) return;
    font_ = f;
    measures_.reset();
    fontHeld_ = false;
}

namespace {
// Building font metrics looks the font up again in the font database, and even
// a line height asks every fallback face; a chart switches between a few
// fonts many times a paint, so the measures of the fonts used last are kept.
const Canvas::FontMeasures& CachedMeasures(const QFont& font, const QPaintDevice* device) {
    struct Entry {
        QFont font;
        int dpiX, dpiY;
        Canvas::FontMeasures measures;
    };
    constexpr std::size_t kKept = 16;
    thread_local std::vector<Entry> kept;
    const int dpiX = device->logicalDpiX(), dpiY = device->logicalDpiY();
    for (const Entry& e : kept)
        if (e.dpiX == dpiX && e.dpiY == dpiY && e.font == font) return e.measures;
    if (kept.size() == kKept) kept.erase(kept.begin());
    const QFontMetrics fm(font, device);
    kept.push_back({font, dpiX, dpiY,
                    {fm, fm.height(), fm.ascent(), qRound(QFontMetricsF(font, device).ascent()),
                     std::make_shared<std::unordered_map<QString, Canvas::PreparedText>>()}});
    return kept.back().measures;
}
}  // namespace

const Canvas::FontMeasures& Canvas::Measures() const {
    if (!measures_) measures_.emplace(CachedMeasures(font_, painter_->device()));
    return *measures_;
}

const QFontMetrics& Canvas::Metrics() const { return Measures().metrics; }

void Canvas::ApplyPen() {
    if (heldPen_ == Held::Pen) return;
    if (!pen_.Visible()) {
        ApplyNoPen();
        return;
    }
    QPen qp(ToQColor(pen_.color));
    qp.setStyle(QtPenStyle(pen_.style));
    qp.setWidth(std::max(1, pen_.width));
    qp.setCapStyle(Qt::FlatCap);
    qp.setJoinStyle(Qt::MiterJoin);
    painter_->setPen(qp);
    heldPen_ = Held::Pen;
}

void Canvas::ApplyNoPen() {
    if (heldPen_ == Held::NoPen) return;
    painter_->setPen(Qt::NoPen);
    heldPen_ = Held::NoPen;
}

void Canvas::ApplyBrush() {
    if (heldBrush_ == HeldB::Brush) return;
    if (!brush_.Visible()) {
        ApplyNoBrush();
        return;
    }
    painter_->setBrush(QBrush(ToQColor(brush_.color), QtBrushStyle(brush_.style)));
    heldBrush_ = HeldB::Brush;
}

void Canvas::ApplyNoBrush() {
    if (heldBrush_ == HeldB::NoBrush) return;
    painter_->setBrush(Qt::NoBrush);
    heldBrush_ = HeldB::NoBrush;
}

void Canvas::FillRect(const TRect& r0, TColor c) {
    TRect r = Normalized(r0);
    if (r.IsEmpty() || c == clNone) return;
    painter_->fillRect(r.ToQRect(), ToQColor(c));
}

void Canvas::FillRect(const TRect& r0) {
    TRect r = Normalized(r0);
    if (r.IsEmpty() || !brush_.Visible()) return;
    if (IsHatch(brush_.style)) {
        if (backMode_ == TBackgroundMode::Opaque) painter_->fillRect(r.ToQRect(), ToQColor(backColor_));
        painter_->fillRect(r.ToQRect(), QBrush(ToQColor(brush_.color), QtBrushStyle(brush_.style)));
    } else {
        painter_->fillRect(r.ToQRect(), ToQColor(brush_.color));
    }
}

void Canvas::FrameRect(const TRect& r0) {
    TRect r = Normalized(r0);
    if (r.IsEmpty() || !brush_.Visible()) return;
    const QColor c = ToQColor(brush_.color);
    painter_->fillRect(QRect(r.left, r.top, r.Width(), 1), c);
    painter_->fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), c);
    painter_->fillRect(QRect(r.left, r.top, 1, r.Height()), c);
    painter_->fillRect(QRect(r.right - 1, r.top, 1, r.Height()), c);
}

void Canvas::Rectangle(const TRect& r0) {
    TRect r = Normalized(r0);
    if (r.IsEmpty()) return;
    FillRect(r);
    if (!pen_.Visible()) return;
    const bool solid = pen_.style == TPenStyle::psSolid || pen_.style == TPenStyle::psInsideFrame || pen_.width > 1;
    if (solid) {
        // Strips are exact and much cheaper than a stroked path.
        const int w = std::clamp(pen_.width, 1, std::max(1, std::min(r.Width(), r.Height()) / 2 + 1));
        const QColor c = ToQColor(pen_.color);
        painter_->fillRect(QRect(r.left, r.top, r.Width(), std::min(w, r.Height())), c);
        painter_->fillRect(QRect(r.left, std::max(r.top, r.bottom - w), r.Width(), std::min(w, r.Height())), c);
        painter_->fillRect(QRect(r.left, r.top, std::min(w, r.Width()), r.Height()), c);
        painter_->fillRect(QRect(std::max(r.left, r.right - w), r.top, std::min(w, r.Width()), r.Height()), c);
        return;
    }
    ApplyPen();
    ApplyNoBrush();
    painter_->drawRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
}

void Canvas::LineTo(int x, int y) {
    const QPoint from = penPos_;
    penPos_ = {x, y};
    if (!pen_.Visible() || from == penPos_ || UprightLine(from, penPos_)) return;
    ApplyPen();
    painter_->drawLine(from, penPos_);
}

// Ticks, edges and outlines are mostly upright solid lines: the stroker
// paints the pixels from the lower end up to, not including, the upper one,
// which one strip paints at a fraction of its cost.
bool Canvas::UprightLine(QPoint from, QPoint to) {
    if (from.x() != to.x() && from.y() != to.y()) return false;
    if (pen_.width > 1 || (pen_.style != TPenStyle::psSolid && pen_.style != TPenStyle::psInsideFrame)) return false;
    if (painter_->transform().type() > QTransform::TxTranslate || painter_->testRenderHint(QPainter::Antialiasing)) return false;
    const int x0 = std::min(from.x(), to.x()), y0 = std::min(from.y(), to.y());
    const QRect strip = from.y() == to.y() ? QRect(x0, y0, std::abs(to.x() - from.x()), 1)
                                           : QRect(x0, y0, 1, std::abs(to.y() - from.y()));
    painter_->fillRect(strip, ToQColor(pen_.color));
    return true;
}

void Canvas::SetPixel(int x, int y, TColor c) { painter_->fillRect(QRect(x, y, 1, 1), ToQColor(c)); }

// An upright rectangle is the common face of a chart: filled strips paint
// exactly the pixels of the polygon rasteriser, at a fraction of its cost.
bool Canvas::UprightRectangle(const QPoint* p, int count) {
    if (count != 4 || painter_->transform().type() > QTransform::TxTranslate) return false;
    const bool across = p[0].y() == p[1].y() && p[1].x() == p[2].x() && p[2].y() == p[3].y() && p[3].x() == p[0].x();
    const bool down = p[0].x() == p[1].x() && p[1].y() == p[2].y() && p[2].x() == p[3].x() && p[3].y() == p[0].y();
    if (!across && !down) return false;
    const int x0 = std::min(p[0].x(), p[2].x()), x1 = std::max(p[0].x(), p[2].x());
    const int y0 = std::min(p[0].y(), p[2].y()), y1 = std::max(p[0].y(), p[2].y());
    if (x0 == x1 && y0 == y1) return false;
    const bool pen = pen_.Visible(), brush = brush_.Visible();
    if (pen && (pen_.width > 1 || (pen_.style != TPenStyle::psSolid && pen_.style != TPenStyle::psInsideFrame))) return false;
    if (brush && brush_.style != TBrushStyle::bsSolid) return false;
    if (brush) painter_->fillRect(QRect(x0, y0, x1 - x0, y1 - y0), ToQColor(brush_.color));
    if (pen) {
        // The outline covers both end rows and columns.
        const QColor c = ToQColor(pen_.color);
        painter_->fillRect(QRect(x0, y0, x1 - x0 + 1, 1), c);
        painter_->fillRect(QRect(x0, y1, x1 - x0 + 1, 1), c);
        painter_->fillRect(QRect(x0, y0, 1, y1 - y0 + 1), c);
        painter_->fillRect(QRect(x1, y0, 1, y1 - y0 + 1), c);
    }
    return true;
}

void Canvas::Polygon(const QPoint* points, int count) {
    if (count < 2) return;
    if (!pen_.Visible() && !brush_.Visible()) return;
    if (UprightRectangle(points, count)) return;
    ApplyPen();
    if (IsHatch(brush_.style) && backMode_ == TBackgroundMode::Opaque) {
        painter_->setBrush(ToQColor(backColor_));
        heldBrush_ = HeldB::None;
        painter_->drawPolygon(points, count, Qt::OddEvenFill);
    }
    ApplyBrush();
    painter_->drawPolygon(points, count, Qt::OddEvenFill);
}

void Canvas::Polyline(const QPoint* points, int count) {
    if (count < 2 || !pen_.Visible()) return;
    ApplyPen();
    painter_->drawPolyline(points, count);
    penPos_ = points[count - 1];
}

void Canvas::TextOut(int x, int y, const QString& text) {
    if (text.isEmpty()) return;
    const FontMeasures& fm = Measures();
    if (backMode_ == TBackgroundMode::Opaque)
        painter_->fillRect(QRect(x, y, Prepared(text, fm).width, fm.height), ToQColor(backColor_));
    if (!fontHeld_) {
        painter_->setFont(font_);
        fontHeld_ = true;
    }
    if (heldPen_ != Held::Text || textColor_ != fontColor_) {
        painter_->setPen(ToQColor(fontColor_));
        heldPen_ = Held::Text;
        textColor_ = fontColor_;
    }
    if (painter_->transform().type() <= QTransform::TxTranslate)
        painter_->drawStaticText(x, y + fm.ascent - fm.staticAscent, Prepared(text, fm).layout);
    else
        painter_->drawText(x, y + fm.ascent, text);
}

// Laying a text out again on every paint is most of the cost of drawing or
// measuring it; labels, legends and marks repeat the same few texts.
const Canvas::PreparedText& Canvas::Prepared(const QString& text, const FontMeasures& fm) const {
    auto it = fm.prepared->find(text);
    if (it == fm.prepared->end()) {
        if (fm.prepared->size() > 512) fm.prepared->clear();
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        st.setPerformanceHint(QStaticText::AggressiveCaching);
        st.prepare(QTransform(), font_);
        it = fm.prepared->emplace(text, PreparedText{std::move(st), fm.metrics.horizontalAdvance(text)}).first;
    }
    return it->second;
}

int Canvas::TextWidth(const QString& text) const { return text.isEmpty() ? 0 : Prepared(text, Measures()).width; }

int Canvas::TextHeight(const QString&) const { return Measures().height; }

int Canvas::DrawText(const QString& text, TRect& r, unsigned flags) {
    int qt = 0;
    qt |= (flags & dtCenter) ? Qt::AlignHCenter : (flags & dtRight) ? Qt::AlignRight : Qt::AlignLeft;
    if (flags & dtSingleLine)
        qt |= (flags & dtVCenter) ? Qt::AlignVCenter : (flags & dtBottom) ? Qt::AlignBottom : Qt::AlignTop;
    else
        qt |= Qt::AlignTop;
    if (flags & dtWordBreak) qt |= Qt::TextWordWrap;
    if (flags & dtExpandTabs) qt |= Qt::TextExpandTabs;
    if (flags & dtSingleLine) qt |= Qt::TextSingleLine;
    QString shown = text;
    if (!(flags & dtNoPrefix)) {
        // "&x" underlines x on the platform; "&&" is a literal ampersand.
        shown.replace(QLatin1String("&&"), QStringLiteral("\x01"));
        shown.remove(QLatin1Char('&'));
        shown.replace(QChar(1), QLatin1Char('&'));
    }
    const QFontMetrics& fm = Metrics();
    if (flags & dtEndEllipsis) shown = fm.elidedText(shown, Qt::ElideRight, r.Width());
    const QRect box = r.ToQRect();
    const QRect extent = fm.boundingRect(flags & dtCalcRect ? QRect(box.left(), box.top(), (flags & dtWordBreak) ? box.width() : 1 << 20, 1 << 20) : box, qt, shown);
    if (flags & dtCalcRect) {
        // One line measures by its advance, as TextWidth does.
        const bool oneLine = (flags & dtSingleLine) || !shown.contains(QLatin1Char('\n'));
        r.right = r.left + (oneLine && !(flags & dtWordBreak) ? fm.horizontalAdvance(shown) : extent.width());
        r.bottom = r.top + (oneLine ? Measures().height : extent.height());
        return r.Height();
    }
    const bool clip = !(flags & dtNoClip);
    if (clip) {
        painter_->save();
        painter_->setClipRect(box, painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    if (backMode_ == TBackgroundMode::Opaque) painter_->fillRect(extent, ToQColor(backColor_));
    painter_->setFont(font_);
    painter_->setPen(ToQColor(fontColor_));
    fontHeld_ = true;
    heldPen_ = Held::Text;
    textColor_ = fontColor_;
    painter_->drawText(box, qt, shown);
    if (clip) {
        painter_->restore();
        heldPen_ = Held::None;
        heldBrush_ = HeldB::None;
        fontHeld_ = false;
    }
    return extent.height();
}

void Canvas::BitBlt(int x, int y, int w, int h, const QImage& src, int sx, int sy) {
    if (w <= 0 || h <= 0) return;
    const auto mode = painter_->compositionMode();
    painter_->setCompositionMode(QPainter::CompositionMode_Source);
    painter_->drawImage(QPoint(x, y), src, QRect(sx, sy, w, h));
    painter_->setCompositionMode(mode);
}

void Canvas::Draw(int x, int y, const QImage& src) { painter_->drawImage(QPoint(x, y), src); }

void Canvas::SetClipRect(const TRect& r) { painter_->setClipRect(Normalized(r).ToQRect()); }

void Canvas::SetClipRegion(const QRegion& r) { painter_->setClipRegion(r); }

void Canvas::IntersectClipRect(const TRect& r) {
    painter_->setClipRect(Normalized(r).ToQRect(), painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void Canvas::ClearClip() { painter_->setClipping(false); }

Canvas::StateSaver::StateSaver(Canvas& c)
    : c_(c), pen_(c.pen_), brush_(c.brush_), font_(c.font_), fontColor_(c.fontColor_), backColor_(c.backColor_),
      backMode_(c.backMode_), clipping_(c.painter_->hasClipping()), clip_(clipping_ ? c.painter_->clipRegion() : QRegion()) {}

Canvas::StateSaver::~StateSaver() {
    c_.SetPen(pen_);
    c_.SetBrush(brush_);
    c_.SetFont(font_);
    c_.fontColor_ = fontColor_;
    c_.backColor_ = backColor_;
    c_.backMode_ = backMode_;
    if (clipping_) c_.painter_->setClipRegion(clip_);
    else c_.painter_->setClipping(false);
}
