#include "bar_series.h"

#include "chart_axis.h"
#include "chart_exceptions.h"
#include "chart_host.h"
#include "chart_math.h"
#include "chart_props.h"

#include <QFontMetrics>
#include <algorithm>

using chart::Nearest;

namespace {
const EnumNames<TBarStyle> kBarStyleNames{{"bsRectangle", "bsPyramid", "bsInvPyramid", "bsCilinder", "bsEllipse",
                                           "bsArrow", "bsRectGradient"}};
const EnumNames<TMultiBar> kMultiBarNames{{"mbNone", "mbSide", "mbStacked", "mbStacked100"}};
}

TCustomBarSeries::TCustomBarSeries(TComponent* owner) : TChartSeries(owner), BarPen(this), BarBrush(this) {
    YValues.SetName(QStringLiteral("Bar"));
    Marks.SetVisible(true);
    Marks.SetArrowLength(20);
}

void TCustomBarSeries::SetBarWidthPercent(int v) {
    if (v < 1 || v > 100) throw BarException(QStringLiteral("Bar Width Percent must be between 1 and 100"));
    Store(barWidthPercent_, v);
}

void TCustomBarSeries::SetOffsetPercent(int v) {
    if (v < -100 || v > 100) throw BarException(QStringLiteral("Bar Offset Percent must be between -100% and 100%"));
    Store(offsetPercent_, v);
}

TCustomBarSeries::TSideSlot TCustomBarSeries::SideSlot() const {
    TSideSlot slot;
    if (!ParentChart()) return slot;
    int count = 0;
    for (TChartSeries* s : ParentChart()->ActiveSeries()) {
        if (typeid(*s) != typeid(*this)) continue;
        ++count;
        if (s == this) slot.position = count;
        slot.mostPoints = std::max(slot.mostPoints, s->Count());
    }
    slot.count = std::max(1, count);
    return slot;
}

int TCustomBarSeries::CalcBarWidth() {
    if (const int custom = CustomWidth(); custom != 0) return custom;
    if (!ParentChart()) return 0;
    int p = Count(), k = 1;
    if (multiBar_ == TMultiBar::mbSide) {
        const TSideSlot slot = SideSlot();
        k = slot.count;
        p = std::max(p, slot.mostPoints);
    }
    if (ParentChart()->MaxPointsPerPage() > 0) p = ParentChart()->MaxPointsPerPage();
    if (p < 1) return 0;
    if (sideMargins_) ++p;
    const TChartAxis* axis = GetHorizAxis();
    const int w = autoBarSize_ ? Nearest(axis->AxisPixels() / (2.0 + axis->RangeSpan())) : axis->AxisPixels() / p;
    int width = Nearest(barWidthPercent_ * 0.01 * w) / k;
    if (width % 2 != 0) ++width;
    return width;
}

TCustomBarSeries::TBarGeometry TCustomBarSeries::BarGeometry(int i) const {
    const int x = GetHorizAxis()->CalcPosValue(XValues.Value(i));
    int left;
    if (multiBar_ == TMultiBar::mbSide) {
        const TSideSlot slot = SideSlot();
        left = x + Nearest((slot.position - slot.count * 0.5 - 1.0) * barWidth_);
    } else {
        left = x - barWidth_ / 2;
    }
    if (offsetPercent_ != 0) left += Nearest(offsetPercent_ * barWidth_ * 0.01);
    const TChartAxis* vert = GetVertAxis();
    TBarGeometry g;
    g.valuePixel = vert->CalcPosValue(YValues.Value(i));
    g.originPixel = useYOrigin_ ? vert->CalcPosValue(yOrigin_) : vert->EndPixel();
    g.rect = {left, std::min(g.valuePixel, g.originPixel), left + barWidth_, std::max(g.valuePixel, g.originPixel)};
    return g;
}

TRect TCustomBarSeries::CalcBarBounds(int i) {
    bar_ = BarGeometry(i).rect;
    return bar_;
}

double TCustomBarSeries::MaxYValue() const {
    const double m = YValues.MaxValue();
    return useYOrigin_ && m < yOrigin_ ? yOrigin_ : m;
}

double TCustomBarSeries::MinYValue() const {
    const double m = YValues.MinValue();
    return useYOrigin_ && yOrigin_ < m ? yOrigin_ : m;
}

void TCustomBarSeries::CalcHorizMargins(int& low, int& high) {
    barWidth_ = CalcBarWidth();
    const int k = SideSlot().count;
    const int m = sideMargins_ ? k * barWidth_ : k * barWidth_ / 2;
    low = high = m;
}

void TCustomBarSeries::CalcVerticalMargins(int& low, int& high) {
    low = high = 0;
    if (!Marks.Visible() || Count() == 0) return;
    const int m = QFontMetrics(Marks.Font.QtFont()).height() + Marks.ArrowLength() +
                  (Marks.Frame.Shows() ? 2 * Marks.Frame.Width() : 0) + 1;
    if (YValues.MaxValue() > yOrigin_) high = m;
    if (YValues.MinValue() < yOrigin_) low = m;
}

void TCustomBarSeries::DrawValue(TChartCanvas3D& c, int i) {
    const TColor color = ValueColor(i);
    if (color == clNone) return;
    const TRect r = CalcBarBounds(i);
    TPenSpec pen = BarPen.Settings();
    c.SetBrush(TBrushSpec{color, BarBrush.Style()});
    if (BarBrush.Style() != TBrushStyle::bsSolid && BarBrush.Style() != TBrushStyle::bsClear) {
        Canvas& s = c.Surface();
        s.SetBackMode(TBackgroundMode::Opaque);
        s.SetBackColor(BarBrush.Color() == DefaultColor ? ParentChart()->Color() : BarBrush.Color());
    }
    if (!c.Is3D()) {
        // Too thin for an outline: the outline would hide the fill.
        if (r.Width() <= pen.width || r.Height() <= pen.width) pen = TPenSpec{color, 1, TPenStyle::psSolid};
        c.SetPen(pen);
        c.Rectangle(r);
        return;
    }
    c.SetPen(pen);
    c.Box(r.left, r.right, r.top, r.bottom, StartZ(), EndZ(), dark3D_ ? TDarkSides::Darken : TDarkSides::None);
}

void TCustomBarSeries::DrawLegendShape(TChartCanvas3D& c, const TRect& r, TColor color) {
    c.SetPen(BarPen.Settings());
    c.SetBrush(TBrushSpec{color, BarBrush.Style()});
    c.Rectangle(r);
}

TSeriesMarkPosition TCustomBarSeries::MarkPosition(int i, int width, int height) {
    const TBarGeometry g = BarGeometry(i);
    bar_ = g.rect;
    const TRect& bar = g.rect;
    const int top = g.valuePixel, origin = g.originPixel;
    TSeriesMarkPosition p;
    p.width = width;
    p.height = height;
    const int d = barWidth_ / 2;
    p.arrowFrom = p.arrowTo = QPoint(bar.left + d, top);
    p.leftTop = QPoint(bar.left - width / 2 + d, top - height + 1);
    int a = Marks.ArrowLength();
    if (origin < top) a = -(height + a);  // the bar grows downwards: the mark goes below it
    p.arrowTo.ry() -= a;
    p.leftTop.ry() -= a;
    return p;
}

const PropertyTable& TCustomBarSeries::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TChartSeries::StaticProperties());
        using S = TCustomBarSeries;
        PropertyBuilder<S> b(t);
        b.Int("BarWidthPercent", [](const S& s) { return s.BarWidthPercent(); }, [](S& s, int v) { s.SetBarWidthPercent(v); }, 70)
            .Int("OffsetPercent", [](const S& s) { return s.OffsetPercent(); }, [](S& s, int v) { s.SetOffsetPercent(v); }, 0)
            .Enum<TBarStyle>("BarStyle", kBarStyleNames, [](const S& s) { return s.BarStyle(); },
                             [](S& s, TBarStyle v) { s.SetBarStyle(v); }, TBarStyle::bsRectangle)
            .Enum<TMultiBar>("MultiBar", kMultiBarNames, [](const S& s) { return s.MultiBar(); },
                             [](S& s, TMultiBar v) { s.SetMultiBar(v); }, TMultiBar::mbSide)
            .Bool("SideMargins", [](const S& s) { return s.SideMargins(); }, [](S& s, bool v) { s.SetSideMargins(v); }, true)
            .Bool("UseYOrigin", [](const S& s) { return s.UseYOrigin(); }, [](S& s, bool v) { s.SetUseYOrigin(v); }, true)
            .Float("YOrigin", [](const S& s) { return s.YOrigin(); }, [](S& s, double v) { s.SetYOrigin(v); }, 0.0)
            .Bool("AutoBarSize", [](const S& s) { return s.AutoBarSize(); }, [](S& s, bool v) { s.SetAutoBarSize(v); }, false)
            .Bool("AutoMarkPosition", [](const S& s) { return s.AutoMarkPosition(); },
                  [](S& s, bool v) { s.SetAutoMarkPosition(v); }, true)
            .Bool("Dark3D", [](const S& s) { return s.Dark3D(); }, [](S& s, bool v) { s.SetDark3D(v); }, true);
        chart_props::Pen(b, "BarPen", CHART_PART(S, BarPen));
        chart_props::Brush(b, "BarBrush", CHART_PART(S, BarBrush));
        return t;
    }();
    return table;
}

TBarSeries::TBarSeries(TComponent* owner) : TCustomBarSeries(owner) {}

const PropertyTable& TBarSeries::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TCustomBarSeries::StaticProperties());
        PropertyBuilder<TBarSeries>(t).Int("CustomBarWidth", [](const TBarSeries& s) { return s.CustomBarWidth(); },
                                           [](TBarSeries& s, int v) { s.SetCustomBarWidth(v); }, 0);
        return t;
    }();
    return table;
}
