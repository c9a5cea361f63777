#include "chart_series.h"

#include "chart_host.h"
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

template <class T, class F>
void ValueList(PropertyBuilder<T>& b, const QString& prefix, F part) {
    b.Str(prefix + ".Name", [part](const T& o) { return part(o).Name(); }, [part](T& o, const QString& v) { part(o).SetName(v); })
        .template Enum<TChartListOrder>(prefix + ".Order", kChartListOrderNames, [part](const T& o) { return part(o).Order(); },
                                        [part](T& o, TChartListOrder v) { part(o).SetOrder(v); })
        .Float(prefix + ".Multiplier", [part](const T& o) { return part(o).Multiplier(); },
               [part](T& o, double v) { part(o).SetMultiplier(v); })
        .Bool(prefix + ".DateTime", [part](const T& o) { return part(o).DateTime(); },
              [part](T& o, bool v) { part(o).SetDateTime(v); });
}
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

void TChartSeries::SetParentChart(TChartHost* chart) {
    if (chart_ == chart) return;
    if (TChartHost* old = chart_) {
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
    if (axis == &chart_->ChartAxis(TAxisKind::Bottom)) return horizAxis_ != THorizAxis::aTopAxis;
    if (axis == &chart_->ChartAxis(TAxisKind::Top)) return horizAxis_ != THorizAxis::aBottomAxis;
    if (axis == &chart_->ChartAxis(TAxisKind::Left)) return vertAxis_ != TVertAxis::aRightAxis;
    if (axis == &chart_->ChartAxis(TAxisKind::Right)) return vertAxis_ != TVertAxis::aLeftAxis;
    return false;
}

TChartAxis* TChartSeries::GetHorizAxis() const {
    return &chart_->ChartAxis(horizAxis_ == THorizAxis::aTopAxis ? TAxisKind::Top : TAxisKind::Bottom);
}

TChartAxis* TChartSeries::GetVertAxis() const {
    return &chart_->ChartAxis(vertAxis_ == TVertAxis::aRightAxis ? TAxisKind::Right : TAxisKind::Left);
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

void TChartSeries::DrawLegendShape(TChartCanvas3D& c, const TRect& r, TColor color) {
    c.SetPen(TPenSpec{clBlack});
    c.SetBrush(TBrushSpec{color});
    c.Rectangle(r);
}

void TChartSeries::CalcFirstLastVisible() {
    first_ = 0;
    last_ = Count() - 1;
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
            .Reference<TChartHost>("ParentChart", [](S& s, TChartHost* c) { s.SetParentChart(c); })
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
        ValueList(b, "XValues", CHART_PART(S, XValues));
        ValueList(b, "YValues", CHART_PART(S, YValues));
        return t;
    }();
    return table;
}
