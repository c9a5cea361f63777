#pragma once
// The base of every chart series: points (X, Y, colour, label) kept in X
// order, marks above the points, and what a series tells its axes and the
// legend. The marks' text, placement and drawing are in series_marks.cpp.
#include "chart_parts.h"
#include "component.h"

#include <QPoint>
#include <functional>
#include <vector>

class TChartHost;
class TChartAxis;
class TChartCanvas3D;

enum class TChartListOrder { loNone, loAscending, loDescending };
enum class TSeriesMarksStyle {
    smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend,
    smsPercentTotal, smsLabelPercentTotal, smsXValue
};
enum class THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis };
enum class TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis };

class TChartValueList : public TChartPart {
public:
    TChartValueList(TChartPart* up, QString name, TChartListOrder order)
        : TChartPart(up), name_(std::move(name)), order_(order) {}
    const QString& Name() const { return name_; }
    void SetName(const QString& n) { Store(name_, n); }
    TChartListOrder Order() const { return order_; }
    void SetOrder(TChartListOrder o) { Store(order_, o); }
    double Multiplier() const { return multiplier_; }
    void SetMultiplier(double m) { Store(multiplier_, m); }
    bool DateTime() const { return dateTime_; }
    void SetDateTime(bool v) { Store(dateTime_, v); }

    int Count() const { return int(values_.size()); }
    double Value(int i) const { return values_.at(size_t(i)) * multiplier_; }
    double operator[](int i) const { return Value(i); }
    double MaxValue() const;
    double MinValue() const;
    double Total() const;

    // Where a value goes by Order (equal values keep their order of arrival).
    int InsertionIndex(double v) const;
    void InsertAt(int i, double v) { values_.insert(values_.begin() + i, v); }
    void Clear() { values_.clear(); }

private:
    QString name_;
    TChartListOrder order_;
    double multiplier_ = 1.0;
    bool dateTime_ = false;
    std::vector<double> values_;
};

struct TSeriesMarkPosition {
    QPoint arrowFrom, arrowTo, leftTop;
    int width = 0, height = 0;
};

class TSeriesMarks : public TChartPart {
public:
    explicit TSeriesMarks(TChartPart* up);
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Store(visible_, v); }
    TSeriesMarksStyle Style() const { return style_; }
    void SetStyle(TSeriesMarksStyle s) { Store(style_, s); }
    int ArrowLength() const { return arrowLength_; }
    void SetArrowLength(int v) { Store(arrowLength_, v); }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor c) { Store(backColor_, c); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { Store(transparent_, v); }
    bool Clip() const { return clip_; }
    void SetClip(bool v) { Store(clip_, v); }

    TChartPen Arrow;
    TChartPen Frame;
    TChartFont Font;

    // The marks drawn by the last paint, by point.
    std::vector<TSeriesMarkPosition> Positions;

private:
    bool visible_ = false;
    TSeriesMarksStyle style_ = TSeriesMarksStyle::smsLabel;
    int arrowLength_ = 8;
    TColor backColor_ = 0x80FFFF;
    bool transparent_ = false;
    bool clip_ = false;
};

class TChartSeries : public TComponent, public TChartPart {
public:
    explicit TChartSeries(TComponent* owner);
    ~TChartSeries() override;

    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    TChartHost* ParentChart() const { return chart_; }
    // Moves the series into chart's series list (null: out of any chart).
    void SetParentChart(TChartHost* chart);
    void Changed() override;

    TChartValueList XValues;
    TChartValueList YValues;
    TSeriesMarks Marks;

    bool Active() const { return active_; }
    void SetActive(bool v);
    TColor SeriesColor() const { return seriesColor_; }
    void SetSeriesColor(TColor c) { Store(seriesColor_, c); }
    bool ColorEachPoint() const { return colorEachPoint_; }
    void SetColorEachPoint(bool v) { Store(colorEachPoint_, v); }
    bool ShowInLegend() const { return showInLegend_; }
    void SetShowInLegend(bool v) { Store(showInLegend_, v); }
    const QString& Title() const { return title_; }
    void SetTitle(const QString& t) { Store(title_, t); }
    const QString& ValueFormat() const { return valueFormat_; }
    void SetValueFormat(const QString& f) { Store(valueFormat_, f); }
    const QString& PercentFormat() const { return percentFormat_; }
    void SetPercentFormat(const QString& f) { Store(percentFormat_, f); }
    THorizAxis HorizAxis() const { return horizAxis_; }
    void SetHorizAxis(THorizAxis a) { Store(horizAxis_, a); }
    TVertAxis VertAxis() const { return vertAxis_; }
    void SetVertAxis(TVertAxis a) { Store(vertAxis_, a); }

    // Points.
    int AddPoint(double x, double y, const QString& label = QString(), TColor color = DefaultColor);
    void ClearPoints();
    int Count() const { return XValues.Count(); }
    QString Label(int i) const { return labels_.at(size_t(i)); }
    TColor StoredColor(int i) const { return colors_.at(size_t(i)); }
    // The colour a point is drawn in.
    TColor ValueColor(int i) const;
    bool HasLabels() const;

    std::function<bool(TChartSeries*)> OnBeforeAdd;
    std::function<void(TChartSeries*, int index)> OnAfterAdd;
    std::function<void(TChartSeries*)> OnClearValues;
    std::function<void(TChartSeries*, int index, QString& text)> OnGetMarkText;

    // What the axes ask.
    virtual double MaxXValue() const { return XValues.MaxValue(); }
    virtual double MinXValue() const { return XValues.MinValue(); }
    virtual double MaxYValue() const { return YValues.MaxValue(); }
    virtual double MinYValue() const { return YValues.MinValue(); }
    // Pixels the series needs beyond its values, low and high end.
    virtual void CalcHorizMargins(int& low, int& high) { low = high = 0; }
    virtual void CalcVerticalMargins(int& low, int& high) { low = high = 0; }
    bool AssociatedToAxis(const TChartAxis* axis) const;
    // Whose labels go on the horizontal axis (vertical-bar-like series).
    virtual bool LabelsOnHorizAxis() const { return true; }

    // What the legend asks.
    QString ValueText(int i) const;          // Y by ValueFormat
    QString PercentText(int i) const;        // Y's share of the total by PercentFormat
    QString LegendText(int i, TLegendTextStyle style) const;
    virtual void DrawLegendShape(TChartCanvas3D& c, const TRect& r, TColor color);

    QString MarkText(int i) const;

    // Painting, called by the chart.
    virtual void PrepareForDraw() {}
    int FirstVisible() const { return first_; }
    int LastVisible() const { return last_; }
    void CalcFirstLastVisible();
    virtual void DrawValue(TChartCanvas3D& c, int i) = 0;
    void DrawMarks(TChartCanvas3D& c);
    void SetDepthRange(int start, int end) {
        startZ_ = start;
        endZ_ = end;
        middleZ_ = (start + end) / 2;
    }
    int StartZ() const { return startZ_; }
    int MiddleZ() const { return middleZ_; }
    int EndZ() const { return endZ_; }

    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;

protected:
    // Where the mark of point i sits: arrow start, and the point's pixel.
    virtual TSeriesMarkPosition MarkPosition(int i, int width, int height) = 0;
    // Moves a mark that would leave the chart's room for marks back into it;
    // true when it had to move down, towards its point.
    bool KeepInside(TSeriesMarkPosition& p, const TChartCanvas3D& c, int z) const;
    // What point i draws, which its mark must leave in view; empty for none.
    virtual TRect PointBounds(int) { return {}; }
    // A mark pushed onto its own point (no room above it) moves beside it
    // instead, within the room for marks.
    void KeepOffPoint(TSeriesMarkPosition& p, int i, const TChartCanvas3D& c, int z);
    void Invalidate();

private:
    TChartHost* chart_ = nullptr;
    bool active_ = true;
    TColor seriesColor_ = clRed;
    bool colorEachPoint_ = false;
    bool showInLegend_ = true;
    QString title_;
    QString valueFormat_ = QStringLiteral("#,##0.###");
    QString percentFormat_ = QStringLiteral("##0.## %");
    THorizAxis horizAxis_ = THorizAxis::aBottomAxis;
    TVertAxis vertAxis_ = TVertAxis::aLeftAxis;
    std::vector<TColor> colors_;
    std::vector<QString> labels_;
    int first_ = 0, last_ = -1;
    int startZ_ = 0, middleZ_ = 0, endZ_ = 0;
};

extern const EnumNames<TChartListOrder> kChartListOrderNames;
extern const EnumNames<TSeriesMarksStyle> kMarksStyleNames;
