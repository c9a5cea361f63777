#pragma once
// A chart axis along one edge of the plot rectangle: its properties, and the
// layout steps that choose its range, take room for its title, labels and
// ticks, and place them. The scale, the step choice and the drawing are
// their own pieces.
#include "axis_kind.h"
#include "axis_scale.h"
#include "chart_parts.h"

#include <vector>

class TAxisPainter;
class TChartHost;
class TChartSeries;
class TChartCanvas3D;

enum class TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

class TChartAxisTitle : public TChartPart {
public:
    TChartAxisTitle(TChartPart* up, int angle) : TChartPart(up), Font(this), angle_(angle) {}
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& c) { Store(caption_, c); }
    int Angle() const { return angle_; }
    void SetAngle(int a) { Store(angle_, a); }
    TChartFont Font;

private:
    QString caption_;
    int angle_;
};

class TCustomChartAxis : public TChartPart {
public:
    TCustomChartAxis(TChartHost* chart, TAxisKind kind);
    ~TCustomChartAxis() override;

    TChartHost* ParentChart() const { return chart_; }
    // A change to the axis or its parts repaints its chart.
    void Changed() override;
    TAxisKind Kind() const { return kind_; }
    bool IsHorizontal() const { return IsHorizontalKind(kind_); }
    bool IsOtherSide() const { return kind_ == TAxisKind::Top || kind_ == TAxisKind::Right; }
    bool IsDepthAxis() const { return kind_ == TAxisKind::Depth; }

    // Published properties.
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool v) { Store(automatic_, v); }
    bool AutomaticMaximum() const { return automaticMaximum_; }
    void SetAutomaticMaximum(bool v) { Store(automaticMaximum_, v); }
    bool AutomaticMinimum() const { return automaticMinimum_; }
    void SetAutomaticMinimum(bool v) { Store(automaticMinimum_, v); }
    double Minimum() const { return minimum_; }
    void SetMinimum(double v);
    double Maximum() const { return maximum_; }
    void SetMaximum(double v);
    double Increment() const { return increment_; }
    void SetIncrement(double v);
    bool Logarithmic() const { return logarithmic_; }
    void SetLogarithmic(bool v);
    double LogarithmicBase() const { return logBase_; }
    void SetLogarithmicBase(double v);
    bool Inverted() const { return inverted_; }
    void SetInverted(bool v) { Store(inverted_, v); }
    bool Labels() const { return labels_; }
    void SetLabels(bool v) { Store(labels_, v); }
    TAxisLabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TAxisLabelStyle s) { Store(labelStyle_, s); }
    int LabelsAngle() const { return labelsAngle_; }
    void SetLabelsAngle(int v);
    int LabelsSeparation() const { return labelsSeparation_; }
    void SetLabelsSeparation(int v);
    int LabelsSize() const { return labelsSize_; }
    void SetLabelsSize(int v) { Store(labelsSize_, v); }
    bool LabelsOnAxis() const { return labelsOnAxis_; }
    void SetLabelsOnAxis(bool v) { Store(labelsOnAxis_, v); }
    bool LabelsMultiLine() const { return labelsMultiLine_; }
    void SetLabelsMultiLine(bool v) { Store(labelsMultiLine_, v); }
    const QString& AxisValuesFormat() const { return valuesFormat_; }
    void SetAxisValuesFormat(const QString& f) { Store(valuesFormat_, f); }
    const QString& DateTimeFormat() const { return dateTimeFormat_; }
    void SetDateTimeFormat(const QString& f) { Store(dateTimeFormat_, f); }
    bool ExactDateTime() const { return exactDateTime_; }
    void SetExactDateTime(bool v) { Store(exactDateTime_, v); }
    bool RoundFirstLabel() const { return roundFirstLabel_; }
    void SetRoundFirstLabel(bool v) { Store(roundFirstLabel_, v); }
    int TickLength() const { return tickLength_; }
    void SetTickLength(int v) { Store(tickLength_, v); }
    int TickInnerLength() const { return tickInnerLength_; }
    void SetTickInnerLength(int v) { Store(tickInnerLength_, v); }
    int MinorTickCount() const { return minorTickCount_; }
    void SetMinorTickCount(int v) { Store(minorTickCount_, v); }
    int MinorTickLength() const { return minorTickLength_; }
    void SetMinorTickLength(int v) { Store(minorTickLength_, v); }
    bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
    void SetTickOnLabelsOnly(bool v) { Store(tickOnLabelsOnly_, v); }
    bool GridCentered() const { return gridCentered_; }
    void SetGridCentered(bool v) { Store(gridCentered_, v); }
    int TitleSize() const { return titleSize_; }
    void SetTitleSize(int v) { Store(titleSize_, v); }
    int StartPosition() const { return startPosition_; }
    void SetStartPosition(int v) { Store(startPosition_, v); }
    int EndPosition() const { return endPosition_; }
    void SetEndPosition(int v) { Store(endPosition_, v); }
    int PositionPercent() const { return positionPercent_; }
    void SetPositionPercent(int v) { Store(positionPercent_, v); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Store(visible_, v); }

    TChartFont LabelsFont;
    TChartPen Axis;
    TChartPen Grid;
    TChartPen Ticks;
    TChartPen TicksInner;
    TChartPen MinorTicks;
    TChartPen MinorGrid;
    TChartAxisTitle Title;

    // Fixes both ends (automatic off), min and max in either order; an
    // empty range grows to 1e-10.
    void SetRange(double min, double max);

    // Working state of the last layout.
    double RangeMin() const { return rangeMin_; }
    double RangeMax() const { return rangeMax_; }
    double RangeSpan() const { return rangeMax_ - rangeMin_; }
    int StartPixel() const { return startPixel_; }
    int EndPixel() const { return endPixel_; }
    int AxisPixels() const { return endPixel_ - startPixel_; }
    int CenterPixel() const { return (startPixel_ + endPixel_) / 2; }
    int AxisLinePos() const { return axisLinePos_; }
    int LabelsPos() const { return labelsPos_; }
    int TitlePos() const { return titlePos_; }

    // The range of the last layout over the pixel extent.
    TAxisScale Scale() const;
    // The pixel of a value along the axis.
    int CalcPosValue(double value) const;
    // The value at a pixel along the axis.
    double CalcPosPoint(int pixel) const;
    // The label step for the current range and extent.
    double CalcIncrement() const;
    // The next nice step: 1 -> 2 -> 5 -> 10 -> 20 ...
    static double NextStep(double x);
    TAxisLabelStyle LabelStyleInForce() const;
    // Whether any active series draws against this axis.
    bool IsUsed() const;
    // Drawn and taking room.
    bool Shows() const;

    // Layout steps, called by the chart in order.
    void SetPixelExtent(const TRect& plot);
    void AdjustRange();
    TRect CalcRoom(const TRect& plot);
    void SetPositions(const TRect& plot);
    void Draw(TChartCanvas3D& canvas);

    // The pixels where the last drawing put ticks.
    const std::vector<int>& TickPixels() const { return ticks_; }

private:
    std::vector<TChartSeries*> ActiveSeries() const;
    TChartSeries* LabelSource() const;
    QString ValueLabel(double v) const;
    int WidestLabel(TChartCanvas3D& c) const;
    // Labels (and the ticks at them) where they fit.
    void DrawValueLabels(TAxisPainter& painter, double step);
    void DrawTextLabels(TChartCanvas3D& c, TAxisPainter& painter);

    TChartHost* chart_;
    TAxisKind kind_;

    bool automatic_ = true, automaticMaximum_ = true, automaticMinimum_ = true;
    double minimum_ = 0, maximum_ = 0, increment_ = 0;
    bool logarithmic_ = false;
    double logBase_ = 10;
    bool inverted_ = false;
    bool labels_ = true;
    TAxisLabelStyle labelStyle_ = TAxisLabelStyle::talAuto;
    int labelsAngle_ = 0, labelsSeparation_ = 10, labelsSize_ = 0;
    bool labelsOnAxis_ = true, labelsMultiLine_ = false;
    QString valuesFormat_ = QStringLiteral("#,##0.###");
    QString dateTimeFormat_;
    bool exactDateTime_ = true, roundFirstLabel_ = true;
    int tickLength_ = 4, tickInnerLength_ = 0, minorTickCount_ = 3, minorTickLength_ = 2;
    bool tickOnLabelsOnly_ = true, gridCentered_ = false;
    int titleSize_ = 0, startPosition_ = 0, endPosition_ = 100, positionPercent_ = 0;
    bool visible_;

    double rangeMin_ = 0, rangeMax_ = 0;
    int startPixel_ = 0, endPixel_ = 0;
    int axisLinePos_ = 0, labelsPos_ = 0, titlePos_ = 0;
    int titleBand_ = 0, labelsBand_ = 0, tickBand_ = 0;
    std::vector<int> ticks_;
};

class TChartAxis : public TCustomChartAxis {
public:
    using TCustomChartAxis::TCustomChartAxis;
};
