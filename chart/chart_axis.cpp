#include "chart_axis.h"

#include "chart_exceptions.h"
#include "chart_host.h"
#include "chart_math.h"
#include "chart_series.h"
#include "value_format.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

using chart::Nearest;

namespace {
constexpr double kMaxInt = 2147483647.0;
}

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

int TCustomChartAxis::CalcPosValue(double value) const {
    double d;
    if (logarithmic_ && rangeMin_ > 0 && rangeMax_ > rangeMin_) {
        if (value <= 0) return inverted_ == IsHorizontal() ? endPixel_ : startPixel_;
        d = AxisPixels() * (std::log(value) - std::log(rangeMin_)) / (std::log(rangeMax_) - std::log(rangeMin_));
    } else {
        const double span = rangeMax_ - rangeMin_;
        if (span == 0) return CenterPixel();
        d = AxisPixels() * (value - rangeMin_) / span;
    }
    if (!(std::fabs(d) < kMaxInt)) return CenterPixel();
    const int n = Nearest(d);
    if (IsHorizontal()) return inverted_ ? endPixel_ - n : startPixel_ + n;
    return inverted_ ? startPixel_ + n : endPixel_ - n;
}

double TCustomChartAxis::NextStep(double x) {
    if (!(x > 0) || !std::isfinite(x)) return 1.0;
    if (x >= 10) return 10 * NextStep(x * 0.1);
    if (x < 1) return 0.1 * NextStep(x * 10);
    if (x < 2) return 2;
    if (x < 5) return 5;
    return 10;
}

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
    int s = std::max(size(ValueLabel(rangeMax_)), size(ValueLabel(rangeMin_)));
    int n = 1;
    if (s >= 1) {
        if (labelsSeparation_ > 0) s += Nearest(labelsSeparation_ * 0.01 * s);
        n = Nearest(AxisPixels() * 1.0 / s);
    }
    const double span = RangeSpan();
    double step = increment_ > 0 ? increment_ : (std::fabs(span) >= 1 ? 1.0 : 1e-12);
    if (labelsSeparation_ > 0) {
        for (int guard = 0; guard < 400; ++guard) {
            const double q = span / step;
            if (std::fabs(q) > kMaxInt || Nearest(q) > n) step = NextStep(step);
            else break;
        }
    }
    return std::max(step, 1e-12);
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

namespace {
// Walks the value labels from the top of the range down, as they are drawn.
template <class F>
void ForEachValue(double rangeMin, double rangeMax, double step, bool roundFirst, F f) {
    if (std::fabs((rangeMax - rangeMin) / step) >= 10000) return;
    double v = (rangeMin == rangeMax || !roundFirst) ? rangeMax : std::trunc(rangeMax / step) * step;
    while (v > rangeMax) v -= step;
    const double limit = (rangeMin - 1e-12) / 1.000000000001;
    for (int guard = 0; v >= limit && guard < 10000; ++guard) {
        f(v);
        v -= step;
    }
}
}  // namespace

int TCustomChartAxis::WidestLabel(TChartCanvas3D& c) const {
    int widest = 0;
    const auto style = LabelStyleInForce();
    if (style == TAxisLabelStyle::talValue) {
        ForEachValue(rangeMin_, rangeMax_, CalcIncrement(), roundFirstLabel_,
                     [&](double v) { widest = std::max(widest, c.TextWidth(ValueLabel(std::fabs(v) < 1e-12 ? 0.0 : v))); });
    } else if (style == TAxisLabelStyle::talText || style == TAxisLabelStyle::talMark) {
        if (TChartSeries* s = LabelSource())
            for (int i = 0; i < s->Count(); ++i) widest = std::max(widest, c.TextWidth(s->Label(i)));
    }
    return widest;
}

namespace {
int Inward(TAxisKind k) { return (k == TAxisKind::Left || k == TAxisKind::Top) ? 1 : -1; }
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

void TCustomChartAxis::DrawLabel(TChartCanvas3D& c, int pixel, const QString& text) {
    const int w = c.TextWidth(text), h = c.FontHeight();
    switch (kind_) {
    case TAxisKind::Left: c.TextOut(labelsPos_ - w, pixel - h / 2, text); break;
    case TAxisKind::Right: c.TextOut(labelsPos_, pixel - h / 2, text); break;
    case TAxisKind::Top: c.TextOut(pixel - w / 2, labelsPos_ - h, text); break;
    case TAxisKind::Bottom: c.TextOut(pixel - w / 2, labelsPos_, text); break;
    case TAxisKind::Depth: break;
    }
}

void TCustomChartAxis::DrawValueLabels(TChartCanvas3D& c, double step) {
    ForEachValue(rangeMin_, rangeMax_, step, roundFirstLabel_, [&](double v) {
        const int px = CalcPosValue(v);
        if (!labelsOnAxis_ && (px <= startPixel_ || px >= endPixel_)) return;
        if (!tickOnLabelsOnly_) ticks_.push_back(px);
        if (labels_) {
            DrawLabel(c, px, ValueLabel(std::fabs(v) < 1e-12 * step ? 0.0 : v));
            if (tickOnLabelsOnly_) ticks_.push_back(px);
        }
    });
}

void TCustomChartAxis::DrawTextLabels(TChartCanvas3D& c) {
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
            DrawLabel(c, px, label);
            any = true;
            lastPx = px;
            lastHalf = half;
            if (tickOnLabelsOnly_) ticks_.push_back(px);
        }
    }
}

void TCustomChartAxis::DrawLines(TChartCanvas3D& c) {
    const TRect plot = chart_->ChartRect();
    const int depth = chart_->View3D() ? chart_->DepthWidth() : 0;
    const int w = Axis.Shows() ? Axis.Width() : 0;
    const int in = Inward(kind_);
    // Axis line, just outside the plot.
    if (Axis.Shows()) {
        const TColor col = Axis.Color();
        if (IsHorizontal()) {
            const int y = kind_ == TAxisKind::Bottom ? axisLinePos_ : axisLinePos_ - w;
            c.FillRect({startPixel_ - w, y, endPixel_ + 1, y + w}, col);
        } else {
            const int x = kind_ == TAxisKind::Left ? axisLinePos_ - w : axisLinePos_ + 1;
            c.FillRect({x, startPixel_, x + w, endPixel_ + w}, col);
        }
    }
    auto tick = [&](int px, int from, int length, const TChartPen& pen) {
        if (length <= 0 || !pen.Shows()) return;
        c.SetPen(pen.Settings());
        // from: distance outside the axis line where the tick starts; outwards is -in.
        if (IsHorizontal()) {
            const int base = kind_ == TAxisKind::Bottom ? axisLinePos_ + w - 1 : axisLinePos_ - w;
            c.Line(px, base - in * from, px, base - in * (from + length));
        } else {
            const int base = kind_ == TAxisKind::Left ? axisLinePos_ - w - 1 : axisLinePos_ + w + 1;
            c.Line(base - in * from, px, base - in * (from + length), px);
        }
    };
    for (int px : ticks_) tick(px, 1, tickLength_, Ticks);
    // Grid across the plot (on the back wall and over the floor or side wall in 3D).
    if (Grid.Shows()) {
        c.SetPen(Grid.Settings());
        for (int px : ticks_) {
            if (px <= startPixel_ || px >= endPixel_) continue;  // the edges carry the walls' own lines
            if (IsHorizontal()) {
                if (depth > 0) {
                    c.LineAtDepth(px, plot.top, px, plot.bottom, depth);
                    const QPoint a = c.Project(px, plot.bottom, 0), b = c.Project(px, plot.bottom, depth);
                    c.Line(a.x(), a.y(), b.x(), b.y());
                } else {
                    c.Line(px, plot.top, px, plot.bottom);
                }
            } else {
                if (depth > 0) {
                    c.LineAtDepth(plot.left, px, plot.right, px, depth);
                    const QPoint a = c.Project(plot.left, px, 0), b = c.Project(plot.left, px, depth);
                    c.Line(a.x(), a.y(), b.x(), b.y());
                } else {
                    c.Line(plot.left + 1, px, plot.right, px);
                }
            }
        }
    }
    for (int px : ticks_) {
        if (tickInnerLength_ <= 0 || !TicksInner.Shows()) break;
        c.SetPen(TicksInner.Settings());
        if (IsHorizontal()) c.Line(px, axisLinePos_ - (kind_ == TAxisKind::Bottom ? 1 : 0), px, axisLinePos_ - in * tickInnerLength_);
        else c.Line(axisLinePos_, px, axisLinePos_ + in * tickInnerLength_, px);
    }
    if (minorTickCount_ > 0 && MinorTicks.Shows() && ticks_.size() > 1) {
        std::vector<int> sorted = ticks_;
        std::sort(sorted.begin(), sorted.end());
        for (size_t k = 1; k < sorted.size(); ++k)
            for (int m = 1; m <= minorTickCount_; ++m)
                tick(sorted[k - 1] + (sorted[k] - sorted[k - 1]) * m / (minorTickCount_ + 1), 1, minorTickLength_, MinorTicks);
    }
}

void TCustomChartAxis::Draw(TChartCanvas3D& c) {
    ticks_.clear();
    Canvas& s = c.Surface();
    s.SetBackMode(TBackgroundMode::Transparent);
    if (!Title.Caption().isEmpty()) {
        c.SetFont(Title.Font.QtFont());
        c.SetFontColor(Title.Font.Color());
        const int tw = c.TextWidth(Title.Caption()), th = c.FontHeight();
        if (IsHorizontal()) {
            const int y = kind_ == TAxisKind::Bottom ? titlePos_ : titlePos_ - th;
            c.TextOut(CenterPixel() - tw / 2, y, Title.Caption());
        } else {
            QPainter& p = s.Painter();
            p.save();
            const int x = kind_ == TAxisKind::Left ? titlePos_ - th : titlePos_;
            p.translate(kind_ == TAxisKind::Left ? x : x + th, kind_ == TAxisKind::Left ? CenterPixel() + tw / 2 : CenterPixel() - tw / 2);
            p.rotate(kind_ == TAxisKind::Left ? -90 : 90);
            p.setFont(Title.Font.QtFont());
            p.setPen(ToQColor(Title.Font.Color()));
            p.drawText(0, QFontMetrics(Title.Font.QtFont()).ascent(), Title.Caption());
            p.restore();
        }
    }
    c.SetFont(LabelsFont.QtFont());
    c.SetFontColor(LabelsFont.Color());
    switch (LabelStyleInForce()) {
    case TAxisLabelStyle::talValue: DrawValueLabels(c, CalcIncrement()); break;
    case TAxisLabelStyle::talText:
    case TAxisLabelStyle::talMark: DrawTextLabels(c); break;
    default: break;
    }
    DrawLines(c);
}
