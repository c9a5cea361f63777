#include "chart_axis.h"

#include "axis_painter.h"
#include "axis_steps.h"
#include "chart_exceptions.h"
#include "chart_host.h"
#include "chart_math.h"
#include "chart_series.h"
#include "value_format.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

using chart::Nearest;

TCustomChartAxis::TCustomChartAxis(TChartHost* chart, TAxisKind kind)
    : TChartPart(nullptr), LabelsFont(this), Axis(this, clBlack, 2), Grid(this, clGray, 1, true, TPenStyle::psDot),
      Ticks(this, clGray), TicksInner(this, clGray), MinorTicks(this, clGray), MinorGrid(this, clBlack, 1, false),
      Title(this, kind == TAxisKind::Left ? 90 : kind == TAxisKind::Right ? 270 : 0), chart_(chart), kind_(kind),
      visible_(kind != TAxisKind::Depth) {}

TCustomChartAxis::~TCustomChartAxis() = default;

void TCustomChartAxis::Changed() {
    if (chart_) chart_->Changed();
}

void TCustomChartAxis::SetMinimum(double v) {
    if (!chart_->IsLoading() && v > maximum_) throw AxisException(QStringLiteral("Axis Minimum Value must be <= Maximum"));
    Store(minimum_, v);
}

void TCustomChartAxis::SetMaximum(double v) {
    if (!chart_->IsLoading() && v < minimum_) throw AxisException(QStringLiteral("Axis Maximum Value must be >= Minimum"));
    Store(maximum_, v);
}

void TCustomChartAxis::SetIncrement(double v) {
    if (v < 0) throw AxisException(QStringLiteral("Axis increment must be >= 0"));
    Store(increment_, v);
}

void TCustomChartAxis::SetLogarithmic(bool v) {
    if (v == logarithmic_) return;
    if (v) {
        for (TChartSeries* s : ActiveSeries()) {
            const TChartValueList& list = IsHorizontal() ? s->XValues : s->YValues;
            if (list.DateTime()) throw AxisException(QStringLiteral("DateTime Axis cannot be Logarithmic"));
        }
        AdjustRange();
        if (rangeMin_ < 0 || rangeMax_ < 0)
            throw AxisException(QStringLiteral("Logarithmic Axis Min and Max values should be >= 0"));
    }
    Store(logarithmic_, v);
}

void TCustomChartAxis::SetLogarithmicBase(double v) {
    if (v < 2) throw AxisException(QStringLiteral("Axis Logarithmic Base should be >= 2"));
    Store(logBase_, v);
}

void TCustomChartAxis::SetLabelsAngle(int v) {
    if (v < 0 || v > 359)
        throw ChartException(QStringLiteral("%1 Angle must be between 0 and 359 degrees").arg(QStringLiteral("Axis Labels")));
    Store(labelsAngle_, v);
}

void TCustomChartAxis::SetLabelsSeparation(int v) {
    if (v < 0) throw AxisException(QStringLiteral("Labels Separation % must be greater than 0"));
    Store(labelsSeparation_, v);
}

void TCustomChartAxis::SetRange(double min, double max) {
    automatic_ = automaticMaximum_ = automaticMinimum_ = false;
    if (min > max) std::swap(min, max);
    Store(minimum_, min);
    Store(maximum_, max);
    if (maximum_ - minimum_ < 1e-10) Store(maximum_, minimum_ + 1e-10);
    Changed();
}

std::vector<TChartSeries*> TCustomChartAxis::ActiveSeries() const {
    std::vector<TChartSeries*> out;
    for (TChartSeries* s : chart_->ActiveSeries())
        if (s->AssociatedToAxis(static_cast<const TChartAxis*>(this))) out.push_back(s);
    return out;
}

bool TCustomChartAxis::IsUsed() const { return !ActiveSeries().empty(); }

bool TCustomChartAxis::Shows() const {
    if (!visible_ || IsDepthAxis()) return false;
    if (IsUsed()) return true;
    // A chart without series still shows its usual frame of axes.
    return chart_->ActiveSeries().empty() && (kind_ == TAxisKind::Left || kind_ == TAxisKind::Bottom);
}

void TCustomChartAxis::SetPixelExtent(const TRect& plot) {
    const int from = IsHorizontal() ? plot.left : plot.top;
    const int len = IsHorizontal() ? plot.Width() : plot.Height();
    startPixel_ = from + Nearest(len * startPosition_ * 0.01);
    endPixel_ = from + Nearest(len * endPosition_ * 0.01);
}

void TCustomChartAxis::AdjustRange() {
    const auto series = ActiveSeries();
    const bool autoMax = automatic_ || automaticMaximum_, autoMin = automatic_ || automaticMinimum_;
    if (autoMax || autoMin) {
        bool any = false;
        double hi = 0, lo = 0;
        for (TChartSeries* s : series) {
            if (s->Count() == 0) continue;
            const double sh = IsHorizontal() ? s->MaxXValue() : s->MaxYValue();
            const double sl = IsHorizontal() ? s->MinXValue() : s->MinYValue();
            hi = any ? std::max(hi, sh) : sh;
            lo = any ? std::min(lo, sl) : sl;
            any = true;
        }
        if (autoMax) maximum_ = any ? hi : 0;
        if (autoMin) minimum_ = any ? lo : 0;
    }
    rangeMax_ = maximum_;
    rangeMin_ = minimum_;
    if (!(autoMax || autoMin) || series.empty()) return;

    int low = 0, high = 0;
    for (TChartSeries* s : series) {
        int l = 0, h = 0;
        if (IsHorizontal()) s->CalcHorizMargins(l, h);
        else s->CalcVerticalMargins(l, h);
        low = std::max(low, l);
        high = std::max(high, h);
    }
    if (inverted_) std::swap(low, high);
    const int lowPx = autoMin ? low : 0, highPx = autoMax ? high : 0;
    const int inner = AxisPixels() - lowPx - highPx;
    const double span = rangeMax_ - rangeMin_;
    if ((lowPx || highPx) && inner > 0 && span > 0) {
        const double perPixel = span / inner;
        rangeMin_ -= lowPx * perPixel;
        rangeMax_ += highPx * perPixel;
    }
    if (rangeMin_ > rangeMax_) std::swap(rangeMin_, rangeMax_);
}

TAxisScale TCustomChartAxis::Scale() const {
    return {rangeMin_, rangeMax_, startPixel_, endPixel_, IsHorizontal(), inverted_, logarithmic_};
}

int TCustomChartAxis::CalcPosValue(double value) const { return Scale().Pixel(value); }

double TCustomChartAxis::CalcPosPoint(int pixel) const { return Scale().Value(pixel); }

double TCustomChartAxis::NextStep(double x) { return chart::NextStep(x); }

QString TCustomChartAxis::ValueLabel(double v) const { return FormatFloat(valuesFormat_, v); }

namespace {
bool Turned(int angle) { return angle == 90 || angle == 270; }
}

double TCustomChartAxis::CalcIncrement() const {
    const QFontMetrics fm(LabelsFont.QtFont());
    auto size = [&](const QString& text) {
        const bool byHeight = IsHorizontal() == Turned(labelsAngle_);
        return byHeight ? fm.height() : fm.horizontalAdvance(text);
    };
    const int s = std::max(size(ValueLabel(rangeMax_)), size(ValueLabel(rangeMin_)));
    const int fit = chart::LabelsThatFit(AxisPixels(), s, labelsSeparation_);
    return chart::LabelStep(RangeSpan(), increment_, fit, labelsSeparation_ > 0);
}

TAxisLabelStyle TCustomChartAxis::LabelStyleInForce() const {
    if (labelStyle_ != TAxisLabelStyle::talAuto) return labelStyle_;
    if (IsDepthAxis()) return TAxisLabelStyle::talNone;
    const auto series = ActiveSeries();
    if (series.empty()) return TAxisLabelStyle::talNone;
    return LabelSource() ? TAxisLabelStyle::talText : TAxisLabelStyle::talValue;
}

TChartSeries* TCustomChartAxis::LabelSource() const {
    for (TChartSeries* s : ActiveSeries())
        if (s->LabelsOnHorizAxis() == IsHorizontal() && s->HasLabels()) return s;
    return nullptr;
}

int TCustomChartAxis::WidestLabel(TChartCanvas3D& c) const {
    int widest = 0;
    const auto style = LabelStyleInForce();
    if (style == TAxisLabelStyle::talValue) {
        chart::ForEachLabelValue(rangeMin_, rangeMax_, CalcIncrement(), roundFirstLabel_,
                     [&](double v) { widest = std::max(widest, c.TextWidth(ValueLabel(std::fabs(v) < 1e-12 ? 0.0 : v))); });
    } else if (style == TAxisLabelStyle::talText || style == TAxisLabelStyle::talMark) {
        if (TChartSeries* s = LabelSource())
            for (int i = 0; i < s->Count(); ++i) widest = std::max(widest, c.TextWidth(s->Label(i)));
    }
    return widest;
}

TRect TCustomChartAxis::CalcRoom(const TRect& plot) {
    TChartCanvas3D& c = chart_->ChartCanvas();
    TRect r = plot;
    const int in = Inward(kind_);
    int edge = IsHorizontal() ? (kind_ == TAxisKind::Top ? r.top : r.bottom) : (kind_ == TAxisKind::Left ? r.left : r.right);

    titleBand_ = 0;
    if (!Title.Caption().isEmpty()) {
        if (titleSize_ != 0) {
            titleBand_ = titleSize_;
        } else {
            const QFontMetrics fm(Title.Font.QtFont());
            const bool along = IsHorizontal() ? (Title.Angle() == 0 || Title.Angle() == 180) : Turned(Title.Angle());
            titleBand_ = along ? fm.height() : fm.horizontalAdvance(Title.Caption());
        }
    }
    labelsBand_ = 0;
    if (labels_ && LabelStyleInForce() != TAxisLabelStyle::talNone) {
        if (labelsSize_ != 0) {
            labelsBand_ = labelsSize_;
        } else {
            c.SetFont(LabelsFont.QtFont());
            const bool byWidth = IsHorizontal() == Turned(labelsAngle_);
            labelsBand_ = byWidth ? WidestLabel(c) : c.FontHeight();
        }
    }
    tickBand_ = (Axis.Shows() ? Axis.Width() : 0) + (Ticks.Shows() ? tickLength_ : 0);
    if (MinorTicks.Shows()) tickBand_ = std::max(tickBand_, minorTickLength_);
    tickBand_ += chart_->SideWallSize(kind_);

    edge += in * (titleBand_ + labelsBand_ + tickBand_);
    switch (kind_) {
    case TAxisKind::Left: r.left = edge; break;
    case TAxisKind::Right: r.right = edge; break;
    case TAxisKind::Top: r.top = edge; break;
    case TAxisKind::Bottom: r.bottom = edge; break;
    case TAxisKind::Depth: break;
    }
    return r;
}

void TCustomChartAxis::SetPositions(const TRect& plot) {
    SetPixelExtent(plot);
    const int in = Inward(kind_);
    int line = 0, across = 0;
    switch (kind_) {
    case TAxisKind::Left: line = plot.left; across = plot.Width(); break;
    case TAxisKind::Right: line = plot.right; across = plot.Width(); break;
    case TAxisKind::Top: line = plot.top; across = plot.Height(); break;
    case TAxisKind::Bottom: line = plot.bottom; across = plot.Height(); break;
    case TAxisKind::Depth: break;
    }
    axisLinePos_ = line + in * Nearest(across * positionPercent_ * 0.01);
    labelsPos_ = axisLinePos_ - in * tickBand_;
    titlePos_ = labelsPos_ - in * labelsBand_;
}

void TCustomChartAxis::DrawValueLabels(TAxisPainter& painter, double step) {
    chart::ForEachLabelValue(rangeMin_, rangeMax_, step, roundFirstLabel_, [&](double v) {
        const int px = CalcPosValue(v);
        if (!labelsOnAxis_ && (px <= startPixel_ || px >= endPixel_)) return;
        if (!tickOnLabelsOnly_) ticks_.push_back(px);
        if (labels_) {
            painter.Label(px, ValueLabel(std::fabs(v) < 1e-12 * step ? 0.0 : v));
            if (tickOnLabelsOnly_) ticks_.push_back(px);
        }
    });
}

void TCustomChartAxis::DrawTextLabels(TChartCanvas3D& c, TAxisPainter& painter) {
    TChartSeries* s = LabelSource();
    if (!s) return;
    bool any = false;
    int lastPx = 0, lastHalf = 0;
    const TChartValueList& values = IsHorizontal() ? s->XValues : s->YValues;
    for (int i = 0; i < s->Count(); ++i) {
        const QString label = s->Label(i);
        if (label.isEmpty()) continue;
        const double x = values.Value(i);
        if (x < rangeMin_ || x > rangeMax_) continue;
        const int px = CalcPosValue(x);
        if (!tickOnLabelsOnly_) ticks_.push_back(px);
        if (!labels_) continue;
        const int size = IsHorizontal() == Turned(labelsAngle_) ? c.FontHeight() : c.TextWidth(label);
        const int half = (size + int(std::trunc(size * labelsSeparation_ * 0.01))) / 2;
        if (!any || px + half <= lastPx - lastHalf || lastPx + lastHalf <= px - half) {
            painter.Label(px, label);
            any = true;
            lastPx = px;
            lastHalf = half;
            if (tickOnLabelsOnly_) ticks_.push_back(px);
        }
    }
}

void TCustomChartAxis::Draw(TChartCanvas3D& c) {
    ticks_.clear();
    c.Surface().SetBackMode(TBackgroundMode::Transparent);
    TAxisPainter painter(c, {kind_, startPixel_, endPixel_, axisLinePos_, labelsPos_, titlePos_});
    if (!Title.Caption().isEmpty()) painter.Title(Title.Caption(), Title.Font);
    c.SetFont(LabelsFont.QtFont());
    c.SetFontColor(LabelsFont.Color());
    switch (LabelStyleInForce()) {
    case TAxisLabelStyle::talValue: DrawValueLabels(painter, CalcIncrement()); break;
    case TAxisLabelStyle::talText:
    case TAxisLabelStyle::talMark: DrawTextLabels(c, painter); break;
    default: break;
    }
    const TAxisLines lines{Axis, Ticks, TicksInner, MinorTicks, Grid,
                           tickLength_, tickInnerLength_, minorTickCount_, minorTickLength_};
    painter.Lines(lines, ticks_, chart_->ChartRect(), chart_->View3D() ? chart_->DepthWidth() : 0);
}
