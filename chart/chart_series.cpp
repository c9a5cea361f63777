#include "chart_series.h"

#include "chart.h"
#include "chart_props.h"
#include "value_format.h"

#include <algorithm>
#include <cmath>
#include <numeric>

const EnumNames<TChartListOrder> kChartListOrderNames{{"loNone", "loAscending", "loDescending"}};
const EnumNames<TSeriesMarksStyle> kMarksStyleNames{{"smsValue", "smsPercent", "smsLabel", "smsLabelPercent",
                                                     "smsLabelValue", "smsLegend", "smsPercentTotal",
                                                     "smsLabelPercentTotal", "smsXValue"}};
namespace {
const EnumNames<THorizAxis> kHorizAxisNames{{"aTopAxis", "aBottomAxis", "aBothHorizAxis"}};
const EnumNames<TVertAxis> kVertAxisNames{{"aLeftAxis", "aRightAxis", "aBothVertAxis"}};
}

double TChartValueList::MaxValue() const {
    if (values_.empty()) return 0;
    return *std::max_element(values_.begin(), values_.end()) * multiplier_;
}

double TChartValueList::MinValue() const {
    if (values_.empty()) return 0;
    return *std::min_element(values_.begin(), values_.end()) * multiplier_;
}

double TChartValueList::Total() const { return std::accumulate(values_.begin(), values_.end(), 0.0) * multiplier_; }

int TChartValueList::InsertionIndex(double v) const {
    int j = Count() - 1;
    switch (order_) {
    case TChartListOrder::loAscending:
        while (j >= 0 && values_[size_t(j)] > v) --j;
        return j + 1;
    case TChartListOrder::loDescending:
        while (j >= 0 && values_[size_t(j)] < v) --j;
        return j + 1;
    default: return Count();
    }
}

TSeriesMarks::TSeriesMarks(TChartPart* up)
    : TChartPart(up), Arrow(this, clWhite), Frame(this, clBlack), Font(this) {}

TChartSeries::TChartSeries(TComponent* owner)
    : TComponent(owner), XValues(this, QStringLiteral("X"), TChartListOrder::loAscending),
      YValues(this, QStringLiteral("Y"), TChartListOrder::loNone), Marks(this) {}

TChartSeries::~TChartSeries() { SetParentChart(nullptr); }

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
    if (chart_ == chart) return;
    if (TCustomAxisPanel* old = chart_) {
        chart_ = nullptr;
        old->RemoveSeries(this);
    }
    chart_ = chart;
    if (chart) chart->AddSeries(this);
}

void TChartSeries::Invalidate() {
    if (chart_ && !chart_->Destroying()) chart_->Changed();
}

void TChartSeries::Changed() { Invalidate(); }

void TChartSeries::SetActive(bool v) {
    if (active_ == v) return;
    active_ = v;
    Invalidate();
}

int TChartSeries::AddPoint(double x, double y, const QString& label, TColor color) {
    if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
    const int i = XValues.InsertionIndex(x);
    XValues.InsertAt(i, x);
    YValues.InsertAt(i, y);
    colors_.insert(colors_.begin() + i, color);
    labels_.insert(labels_.begin() + i, label);
    if (OnAfterAdd) OnAfterAdd(this, i);
    if (active_) Invalidate();
    return i;
}

void TChartSeries::ClearPoints() {
    XValues.Clear();
    YValues.Clear();
    colors_.clear();
    labels_.clear();
    Marks.Positions.clear();
    if (OnClearValues) OnClearValues(this);
    if (active_) Invalidate();
}

TColor TChartSeries::ValueColor(int i) const {
    const TColor c = i >= 0 && size_t(i) < colors_.size() ? colors_[size_t(i)] : DefaultColor;
    if (c != DefaultColor) return c;
    if (colorEachPoint_) {
        static constexpr TColor kPalette[] = {clRed, clGreen, clYellow, clBlue, clWhite, clGray, clFuchsia, clTeal,
                                              clNavy, clMaroon, clLime, clOlive, clPurple, clSilver, clAqua, clBlack};
        return kPalette[size_t(i) % std::size(kPalette)];
    }
    return seriesColor_;
}

bool TChartSeries::HasLabels() const {
    return std::any_of(labels_.begin(), labels_.end(), [](const QString& s) { return !s.isEmpty(); });
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* axis) const {
    if (!chart_) return false;
    if (axis == &chart_->BottomAxis) return horizAxis_ != THorizAxis::aTopAxis;
    if (axis == &chart_->TopAxis) return horizAxis_ != THorizAxis::aBottomAxis;
    if (axis == &chart_->LeftAxis) return vertAxis_ != TVertAxis::aRightAxis;
    if (axis == &chart_->RightAxis) return vertAxis_ != TVertAxis::aLeftAxis;
    return false;
}

TChartAxis* TChartSeries::GetHorizAxis() const {
    return horizAxis_ == THorizAxis::aTopAxis ? &chart_->TopAxis : &chart_->BottomAxis;
}

TChartAxis* TChartSeries::GetVertAxis() const {
    return vertAxis_ == TVertAxis::aRightAxis ? &chart_->RightAxis : &chart_->LeftAxis;
}

QString TChartSeries::ValueText(int i) const { return FormatFloat(valueFormat_, YValues.Value(i)); }

QString TChartSeries::PercentText(int i) const {
    const double total = YValues.Total();
    return FormatFloat(percentFormat_, total == 0 ? 0.0 : YValues.Value(i) * 100.0 / total);
}

QString TChartSeries::LegendText(int i, TLegendTextStyle style) const {
    const QString label = Label(i);
    QString text;
    switch (style) {
    case TLegendTextStyle::ltsPlain: text = label; break;
    case TLegendTextStyle::ltsLeftValue: text = ValueText(i) + QLatin1Char(' ') + label; break;
    case TLegendTextStyle::ltsRightValue: text = label + QLatin1Char(' ') + ValueText(i); break;
    case TLegendTextStyle::ltsLeftPercent: text = PercentText(i) + QLatin1Char(' ') + label; break;
    case TLegendTextStyle::ltsRightPercent: text = label + QLatin1Char(' ') + PercentText(i); break;
    case TLegendTextStyle::ltsXValue: text = FormatFloat(valueFormat_, XValues.Value(i)); break;
    }
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

QString TChartSeries::MarkText(int i) const {
    const QString label = Label(i);
    const QString labelOrValue = label.isEmpty() ? ValueText(i) : label;
    auto withTotal = [&] { return PercentText(i) + QStringLiteral(" of ") + FormatFloat(valueFormat_, YValues.Total()); };
    switch (Marks.Style()) {
    case TSeriesMarksStyle::smsValue: return ValueText(i);
    case TSeriesMarksStyle::smsPercent: return PercentText(i);
    case TSeriesMarksStyle::smsLabel: return labelOrValue;
    case TSeriesMarksStyle::smsLabelPercent: return labelOrValue + QLatin1Char(' ') + PercentText(i);
    case TSeriesMarksStyle::smsLabelValue: return labelOrValue + QLatin1Char(' ') + ValueText(i);
    case TSeriesMarksStyle::smsLegend:
        return LegendText(i, chart_ ? static_cast<TCustomChart*>(chart_)->Legend.TextStyle() : TLegendTextStyle::ltsLeftValue);
    case TSeriesMarksStyle::smsPercentTotal: return withTotal();
    case TSeriesMarksStyle::smsLabelPercentTotal: return labelOrValue + QLatin1Char(' ') + withTotal();
    case TSeriesMarksStyle::smsXValue: {
        const QString fmt = chart_ ? GetHorizAxis()->AxisValuesFormat() : valueFormat_;
        return FormatFloat(fmt, XValues.Value(i));
    }
    }
    return labelOrValue;
}

void TChartSeries::DrawLegendShape(TChartCanvas3D& c, const TRect& r, TColor color) {
    c.SetPen(TPenSpec{clBlack});
    c.SetBrush(TBrushSpec{color});
    c.Rectangle(r);
}

void TChartSeries::CalcFirstLastVisible() {
    first_ = 0;
    last_ = Count() - 1;
}

namespace {
// Pixels of the chart's own coordinates for n pixels on screen.
int Unzoomed(int n, double zoom) { return zoom > 0 ? int(std::ceil(n / zoom)) : n; }
}

bool TChartSeries::KeepInside(TSeriesMarkPosition& p, const TChartCanvas3D& c, int z) const {
    const TRect room = chart_->MarksRoom();
    const double zoom = c.Is3D() ? chart_->View3DOptions().zoom * 0.01 : 1.0;
    const QPoint topLeft = c.Project(p.leftTop.x(), p.leftTop.y(), z);
    const QPoint bottomRight = c.Project(p.leftTop.x() + p.width, p.leftTop.y() + p.height, z);
    int dy = 0, dx = 0;
    if (topLeft.y() < room.top) dy = Unzoomed(room.top - topLeft.y(), zoom);
    else if (bottomRight.y() > room.bottom) dy = -Unzoomed(bottomRight.y() - room.bottom, zoom);
    if (topLeft.x() < room.left) dx = Unzoomed(room.left - topLeft.x(), zoom);
    else if (bottomRight.x() > room.right) dx = -Unzoomed(bottomRight.x() - room.right, zoom);
    if (dy == 0 && dx == 0) return false;
    // The box moves towards its bar: the arrow shortens, and once it is gone
    // the box covers the bar's end instead.
    const bool up = p.arrowTo.y() <= p.arrowFrom.y();
    p.leftTop += QPoint(dx, dy);
    p.arrowTo.ry() += dy;
    if (up ? p.arrowTo.y() > p.arrowFrom.y() : p.arrowTo.y() < p.arrowFrom.y()) p.arrowTo = p.arrowFrom;
    return dy > 0;
}

void TChartSeries::KeepOffPoint(TSeriesMarkPosition& p, int i, const TChartCanvas3D& c, int z) {
    const TRect bar = PointBounds(i);
    if (bar.Width() <= 0) return;
    const auto box = [&](const TSeriesMarkPosition& m) {
        const QPoint a = c.Project(m.leftTop.x(), m.leftTop.y(), z);
        const QPoint b = c.Project(m.leftTop.x() + m.width, m.leftTop.y() + m.height, z);
        return QRect(a, b - QPoint(1, 1));
    };
    // The bar as drawn, front face and back together.
    QRect drawn(c.Project(bar.left, bar.top, StartZ()), c.Project(bar.right, bar.bottom, StartZ()) - QPoint(1, 1));
    drawn |= QRect(c.Project(bar.left, bar.top, EndZ()), c.Project(bar.right, bar.bottom, EndZ()) - QPoint(1, 1));
    const QRect placed = box(p);
    if (!placed.intersects(drawn)) return;
    const TRect room = chart_->MarksRoom();
    const double zoom = c.Is3D() ? chart_->View3DOptions().zoom * 0.01 : 1.0;
    constexpr int kGap = 3;
    const int right = Unzoomed(drawn.right() + 1 + kGap - placed.left(), zoom);
    const int left = -Unzoomed(placed.right() + 1 + kGap - drawn.left(), zoom);
    TSeriesMarkPosition moved = p;
    moved.leftTop.rx() += right;
    if (box(moved).right() >= room.right) {
        moved = p;
        moved.leftTop.rx() += left;
        if (box(moved).left() < room.left) return;  // no room either side: left as it was
    }
    // Beside its bar the mark needs no arrow.
    moved.arrowTo = moved.arrowFrom;
    p = moved;
}

void TChartSeries::DrawMarks(TChartCanvas3D& c) {
    Marks.Positions.assign(size_t(Count()), TSeriesMarkPosition{});
    Canvas& s = c.Surface();
    const bool in3D = c.Is3D();
    const int zoom = in3D && c.ZoomText() ? chart_->View3DOptions().zoom : 100;
    c.SetFont(Marks.Font.Scaled(zoom));
    c.SetFontColor(Marks.Font.Color());
    s.SetBackMode(TBackgroundMode::Transparent);
    const int fh = c.FontHeight(), wW = c.TextWidth(QStringLiteral("W"));
    const int fw = Marks.Frame.Shows() ? Marks.Frame.Width() : 0;
    const TColor panel = ColorToRGB(chart_->Color());
    const int z = MiddleZ();
    for (int i = first_; i <= last_ && i < Count(); ++i) {
        QString text = MarkText(i);
        if (OnGetMarkText) OnGetMarkText(this, i, text);
        if (text.isEmpty()) continue;
        const QStringList lines = text.split(QLatin1Char('\n'));
        int widest = 0;
        for (const QString& l : lines) widest = std::max(widest, c.TextWidth(l));
        const int w = widest + wW + 2 * fw, h = int(lines.size()) * fh + 2 * fw;
        TSeriesMarkPosition p = MarkPosition(i, w, h);
        if (KeepInside(p, c, z)) KeepOffPoint(p, i, c, z);
        Marks.Positions[size_t(i)] = p;

        if (Marks.Arrow.Shows() && p.arrowTo != p.arrowFrom) {
            TPenSpec pen = Marks.Arrow.Settings();
            const TColor arrow = ColorToRGB(pen.color);
            if (arrow == ColorToRGB(ValueColor(i)) || arrow == panel) pen.color = panel == clBlack ? clWhite : clBlack;
            c.SetPen(pen);
            c.LineAtDepth(p.arrowFrom.x(), p.arrowFrom.y(), p.arrowTo.x(), p.arrowTo.y(), z);
        }
        const TRect box{p.leftTop.x(), p.leftTop.y(), p.leftTop.x() + w, p.leftTop.y() + h};
        if (!(Marks.Transparent() && !Marks.Frame.Shows())) {
            c.SetPen(Marks.Frame.Settings());
            c.SetBrush(Marks.Transparent() ? TBrushSpec{clWhite, TBrushStyle::bsClear} : TBrushSpec{Marks.BackColor()});
            c.RectangleAtDepth(box, z);
        }
        const QPoint origin = c.Project(box.left, box.top + fw, z);
        for (int k = 0; k < lines.size(); ++k)
            c.TextOut(origin.x() + (w - c.TextWidth(lines[k])) / 2, origin.y() + k * fh, lines[k]);
    }
}

const PropertyTable& TChartSeries::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TComponent::StaticProperties());
        using S = TChartSeries;
        PropertyBuilder<S> b(t);
        b.Bool("Active", [](const S& s) { return s.Active(); }, [](S& s, bool v) { s.SetActive(v); }, true)
            .Color("SeriesColor", [](const S& s) { return s.SeriesColor(); }, [](S& s, TColor v) { s.SetSeriesColor(v); })
            .Bool("ColorEachPoint", [](const S& s) { return s.ColorEachPoint(); },
                  [](S& s, bool v) { s.SetColorEachPoint(v); }, false)
            .Bool("ShowInLegend", [](const S& s) { return s.ShowInLegend(); }, [](S& s, bool v) { s.SetShowInLegend(v); }, true)
            .Str("Title", [](const S& s) { return s.Title(); }, [](S& s, const QString& v) { s.SetTitle(v); }, QString())
            .Str("ValueFormat", [](const S& s) { return s.ValueFormat(); },
                 [](S& s, const QString& v) { s.SetValueFormat(v); }, QStringLiteral("#,##0.###"))
            .Str("PercentFormat", [](const S& s) { return s.PercentFormat(); },
                 [](S& s, const QString& v) { s.SetPercentFormat(v); }, QStringLiteral("##0.## %"))
            .Enum<THorizAxis>("HorizAxis", kHorizAxisNames, [](const S& s) { return s.HorizAxis(); },
                              [](S& s, THorizAxis v) { s.SetHorizAxis(v); }, THorizAxis::aBottomAxis)
            .Enum<TVertAxis>("VertAxis", kVertAxisNames, [](const S& s) { return s.VertAxis(); },
                             [](S& s, TVertAxis v) { s.SetVertAxis(v); }, TVertAxis::aLeftAxis)
            .Reference<TCustomAxisPanel>("ParentChart", [](S& s, TCustomAxisPanel* c) { s.SetParentChart(c); })
            .Bool("Marks.Visible", [](const S& s) { return s.Marks.Visible(); }, [](S& s, bool v) { s.Marks.SetVisible(v); })
            .Enum<TSeriesMarksStyle>("Marks.Style", kMarksStyleNames, [](const S& s) { return s.Marks.Style(); },
                                     [](S& s, TSeriesMarksStyle v) { s.Marks.SetStyle(v); }, TSeriesMarksStyle::smsLabel)
            .Int("Marks.ArrowLength", [](const S& s) { return s.Marks.ArrowLength(); },
                 [](S& s, int v) { s.Marks.SetArrowLength(v); })
            .Color("Marks.BackColor", [](const S& s) { return s.Marks.BackColor(); },
                   [](S& s, TColor v) { s.Marks.SetBackColor(v); }, 0x80FFFF)
            .Bool("Marks.Transparent", [](const S& s) { return s.Marks.Transparent(); },
                  [](S& s, bool v) { s.Marks.SetTransparent(v); }, false)
            .Bool("Marks.Clip", [](const S& s) { return s.Marks.Clip(); }, [](S& s, bool v) { s.Marks.SetClip(v); }, false);
        chart_props::Pen(b, "Marks.Arrow", CHART_PART(S, Marks.Arrow));
        chart_props::Pen(b, "Marks.Frame", CHART_PART(S, Marks.Frame));
        chart_props::Font(b, "Marks.Font", CHART_PART(S, Marks.Font));
        chart_props::ValueList(b, "XValues", CHART_PART(S, XValues));
        chart_props::ValueList(b, "YValues", CHART_PART(S, YValues));
        return t;
    }();
    return table;
}
