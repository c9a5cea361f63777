#include "framed_grid.h"

#include "application.h"

#include <QApplication>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>

TFrStringGrid::TFrStringGrid(TComponent* owner, QWidget* parent) : TStringGrid(owner, parent), frame_(*this, *this) {
    SetDefaultColWidth(60);
    SetDefaultRowHeight(18);
    resize(325, 125);
}

TFrStringGrid::~TFrStringGrid() { frame_.SetController(nullptr); }

void TFrStringGrid::SetFixedLineColor(TColor c) {
    if (c == fixedLineColor_) return;
    fixedLineColor_ = c;
    viewport()->update();
}

void TFrStringGrid::SetLineColor(TColor c) {
    if (c == lineColor_) return;
    lineColor_ = c;
    viewport()->update();
}

TColor TFrStringGrid::BodyLineColor() const {
    if (ColorToRGB(lineColor_) == ColorToRGB(Color())) return DarkerColor(lineColor_, 50);
    return lineColor_;
}

QColor TFrStringGrid::GridLineColor(bool fixed) const { return ToQColor(fixed ? fixedLineColor_ : BodyLineColor()); }

void TFrStringGrid::DrawCell(QPainter& p, int col, int row, const QRect& rect) {
    // The editor covers the current cell while it shows.
    if (InplaceEditor() && col == Col() && row == Row()) return;
    const unsigned opts = Options();
    const bool fixed = col < FixedCols() || row < FixedRows();
    const bool focused = IsFocusedCell(col, row);
    const bool keepFocusedFill = focused && !(opts & (goDrawFocusSelected | goRowSelect));
    const bool highlighted = !fixed && IsSelected(col, row) && !keepFocusedFill;

    Canvas c(p);
    const TRect r = TRect::FromQRect(rect);
    c.SetFont(font());
    c.FillRect(r, fixed ? FixedColor() : highlighted ? clHighlight : Color());
    c.SetBackMode(TBackgroundMode::Transparent);
    c.SetFontColor(highlighted ? clHighlightText : Font().color);
    {
        Canvas::StateSaver keep(c);
        c.IntersectClipRect(r);
        c.TextOut(r.left + 2, r.top + 2, Cells(col, row));
    }
    if (fixed) {
        // Fixed cells are flat: an outline in their own colour hides any edge.
        c.SetBrushColor(FixedColor());
        c.FrameRect(r);
    }
    const bool focusRect = !(opts & goRowSelect) && !((opts & goEditing) && (opts & goAlwaysShowEditor));
    if (focused && focusRect) {
        // The desktop's dotted focus rectangle: every other pixel of the outline.
        const TColor ink = ColorToRGB(Color()) == ColorToRGB(clBlack) ? clWhite : clBlack;
        for (int x = r.left; x < r.right; x += 2) {
            c.SetPixel(x, r.top, ink);
            c.SetPixel(x, r.bottom - 1, ink);
        }
        for (int y = r.top; y < r.bottom; y += 2) {
            c.SetPixel(r.left, y, ink);
            c.SetPixel(r.right - 1, y, ink);
        }
    }
}

bool TFrStringGrid::HostFocused() const { return TCustomFrame::FocusWithin(this); }

void TFrStringGrid::RepaintFrame() {
    viewport()->update();
    repaint();
}

void TFrStringGrid::FrameVisibilityChanged() {
    // The custom frame covers the sunken 2-pixel client edge, so that edge is
    // turned on with it.
    if (FrameVisible() && BorderStyle() == TBorderStyle::bsSingle) {
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        setLineWidth(2);
    }
}

bool TFrStringGrid::event(QEvent* e) {
    const bool handled = TStringGrid::event(e);
    frame_.Observe(e);
    if (e->type() == QEvent::Paint && frame_.InUse()) {
        // The band around the viewport is this widget's own paint.
        Canvas c(this);
        frame_.Paint(c, width(), height(), FixedColor(), TFrameColoring::System);
    }
    return handled;
}

void TFrStringGrid::ColorChanged() {
    TStringGrid::ColorChanged();
    frame_.ColorChanged();
}

void TFrStringGrid::Loaded() {
    TStringGrid::Loaded();
    frame_.Loaded();
}

void TFrStringGrid::changeEvent(QEvent* e) {
    TStringGrid::changeEvent(e);
    if ((e->type() == QEvent::ParentChange || e->type() == QEvent::PaletteChange) && frame_.InUse()) update();
}

void TFrStringGrid::resizeEvent(QResizeEvent* e) {
    TStringGrid::resizeEvent(e);
    if (frame_.InUse()) update();
    Fire(OnResize, static_cast<TComponent*>(this));
}

const PropertyTable& TFrStringGrid::StaticProperties() {
    static PropertyTable table = [] {
        using G = TFrStringGrid;
        PropertyTable t(&TStringGrid::StaticProperties());
        PropertyBuilder<G> b(t);
        b.Color("Color", [](const G& g) { return g.Color(); }, [](G& g, TColor v) { g.SetColor(v); }, clWindow);
        AddCustomFrameProperties(b);
        AddLegacyFrameProperties(b);
        b.Color("FixedLineColor", [](const G& g) { return g.FixedLineColor(); },
                [](G& g, TColor v) { g.SetFixedLineColor(v); }, clBtnShadow)
            .Color("LineColor", [](const G& g) { return g.LineColor(); }, [](G& g, TColor v) { g.SetLineColor(v); }, clBtnFace)
            .Int("DefaultColWidth", [](const G& g) { return g.DefaultColWidth(); },
                 [](G& g, int v) { g.SetDefaultColWidth(v); }, 60)
            .Int("DefaultRowHeight", [](const G& g) { return g.DefaultRowHeight(); },
                 [](G& g, int v) { g.SetDefaultRowHeight(v); }, 18)
            .Event<TNotifyEvent>("OnResize", [](G& g, const TNotifyEvent& h) { g.OnResize = h; });
        return t;
    }();
    return table;
}
