#include "skin_grid.h"

#include <QEvent>
#include <QPainter>

TSkSkinStringGrid::TSkSkinStringGrid(TComponent* owner, QWidget* parent) : TStringGrid(owner, parent) {
    SetSkinObject(QStringLiteral("Grid"));
}

void TSkSkinStringGrid::SetDefaultDrawing(bool v) {
    if (v == defaultDrawing_) return;
    defaultDrawing_ = v;
    viewport()->update();
}

void TSkSkinStringGrid::Loaded() {
    TStringGrid::Loaded();
    SkinLoaded();
}

int TSkSkinStringGrid::CellState(int col, int row) const {
    if (!isEnabled()) return skstate::Disabled;
    if (IsFocusedCell(col, row)) return skstate::Focused;
    if (IsSelected(col, row)) return Options() & (goRowSelect | goDrawFocusSelected) ? skstate::Focused : skstate::Hot;
    return skstate::Normal;
}

void TSkSkinStringGrid::DrawCell(QPainter& p, int col, int row, const QRect& rect) {
    if (Skin()) {
        const bool fixed = col < FixedCols() || row < FixedRows();
        TSkSkinObject* part = PartOrSkin(fixed ? QStringLiteral("Fixed") : QStringLiteral("Cell"));
        DrawPart(p, *part, rect, CellState(col, row), Cells(col, row), isEnabled());
        if (!defaultDrawing_) return;
    }
    TStringGrid::DrawCell(p, col, row, rect);
}

QColor TSkSkinStringGrid::GridLineColor(bool fixed) const {
    if (!Skin()) return TStringGrid::GridLineColor(fixed);
    // The skin's two line weights: firmer around the fixed cells.
    return ToQColor(fixed ? clActiveBorder : clInactiveBorder);
}

bool TSkSkinStringGrid::event(QEvent* e) {
    ObserveHover(e);
    const bool handled = TStringGrid::event(e);
    TSkSkinObject* frame = Part(QStringLiteral("Frame"));
    if (e->type() == QEvent::Paint && frame) {
        // The band around the cells is the grid's own paint.
        QPainter p(this);
        Skin()->SetBoundsRect(rect());
        DrawPart(p, *frame, rect(), isEnabled() ? skstate::Normal : skstate::Disabled);
    }
    return handled;
}

void TSkSkinStringGrid::SkinReplaced() {
    if (const TSkSkinObject* frame = Part(QStringLiteral("Frame"))) {
        setFrameStyle(QFrame::NoFrame);
        setViewportMargins(frame->MarginLeft(), frame->MarginTop(), frame->MarginRight(), frame->MarginBottom());
    } else {
        SetBorderStyle(BorderStyle());
        setViewportMargins(0, 0, 0, 0);
    }
    viewport()->update();
}

const PropertyTable& TSkSkinStringGrid::StaticProperties() {
    static PropertyTable table = [] {
        using G = TSkSkinStringGrid;
        PropertyTable t(&TStringGrid::StaticProperties());
        TSkSkinnable::AddSkinProperties<G>(t, QStringLiteral("Grid"));
        PropertyBuilder<G>(t).Bool("DefaultDrawing", [](const G& g) { return g.DefaultDrawing(); },
                                   [](G& g, bool v) { g.SetDefaultDrawing(v); }, true);
        return t;
    }();
    return table;
}
