#include "chart_parts.h"

#include <algorithm>

TFontSpec DefaultChartFont(TColor color) {
    TFontSpec f;
    f.name = QStringLiteral("Arial");
    f.height = -11;  // 8 points on a 96 dpi screen
    f.color = color;
    return f;
}

TChartFont::TChartFont(TChartPart* up, TColor color) : TChartPart(up), spec_(DefaultChartFont(color)) {}

void TChartFont::SetSpec(const TFontSpec& f) {
    if (spec_ == f) return;
    spec_ = f;
    font_.reset();
    Changed();
}

const QFont& TChartFont::QtFont() const {
    if (!font_) font_ = spec_.ToQFont();
    return *font_;
}

QFont TChartFont::Scaled(int percent) const {
    if (percent == 100) return QtFont();
    QFont f = QtFont();
    f.setPixelSize(std::max(1, f.pixelSize() * percent / 100));
    return f;
}

TChartTitle::TChartTitle(TChartPart* up)
    : TChartPart(up), Font(this, clBlue), Frame(this, clBlack, 1, false), Brush(this) {}

TChartLegend::TChartLegend(TChartPart* up)
    : TChartPart(up), Font(this), Frame(this), DividingLines(this, clBlack, 1, false), Brush(this) {}

std::optional<TBrushSpec> TChartWall::Fill() const {
    if (Brush.Style() == TBrushStyle::bsClear) return std::nullopt;
    if (color_ == DefaultColor) {
        if (Brush.Style() == TBrushStyle::bsSolid) return std::nullopt;
        return TBrushSpec{Brush.Color(), Brush.Style()};
    }
    return TBrushSpec{color_, Brush.Style()};
}
