#include "framed_grid.h"

TFrStringGrid::TFrStringGrid(TComponent* owner, QWidget* parent) : TStringGrid(owner, parent) {
    SetDefaultColWidth(60);
    SetDefaultRowHeight(18);
    resize(325, 125);
}

void TFrStringGrid::SetFrameVisible(bool v) {
    if (v == frameVisible_) return;
    frameVisible_ = v;
    update();
}

void TFrStringGrid::SetFrameColor(TColor c) {
    if (c == frameColor_) return;
    frameColor_ = c;
    update();
}

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

QColor TFrStringGrid::GridLineColor(bool fixed) const { return ToQColor(fixed ? fixedLineColor_ : lineColor_); }

const PropertyTable& TFrStringGrid::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TStringGrid::StaticProperties());
        PropertyBuilder<TFrStringGrid>(t)
            .Bool("FrameVisible", [](const TFrStringGrid& g) { return g.FrameVisible(); },
                  [](TFrStringGrid& g, bool v) { g.SetFrameVisible(v); }, false)
            .Color("FrameColor", [](const TFrStringGrid& g) { return g.FrameColor(); },
                   [](TFrStringGrid& g, TColor v) { g.SetFrameColor(v); }, clBtnShadow)
            .Color("FixedLineColor", [](const TFrStringGrid& g) { return g.FixedLineColor(); },
                   [](TFrStringGrid& g, TColor v) { g.SetFixedLineColor(v); }, clBtnShadow)
            .Color("LineColor", [](const TFrStringGrid& g) { return g.LineColor(); },
                   [](TFrStringGrid& g, TColor v) { g.SetLineColor(v); }, clBtnFace);
        return t;
    }();
    return table;
}
