#pragma once
// Vertical bars: width, position and drawing of one bar per point.
#include "chart_series.h"

enum class TBarStyle { bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient };
enum class TMultiBar { mbNone, mbSide, mbStacked, mbStacked100 };

class TCustomBarSeries : public TChartSeries {
public:
    explicit TCustomBarSeries(TComponent* owner);

    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    int BarWidthPercent() const { return barWidthPercent_; }
    void SetBarWidthPercent(int v);
    int OffsetPercent() const { return offsetPercent_; }
    void SetOffsetPercent(int v);
    TBarStyle BarStyle() const { return barStyle_; }
    void SetBarStyle(TBarStyle s) { Store(barStyle_, s); }
    TMultiBar MultiBar() const { return multiBar_; }
    void SetMultiBar(TMultiBar m) { Store(multiBar_, m); }
    bool SideMargins() const { return sideMargins_; }
    void SetSideMargins(bool v) { Store(sideMargins_, v); }
    bool UseYOrigin() const { return useYOrigin_; }
    void SetUseYOrigin(bool v) { Store(useYOrigin_, v); }
    double YOrigin() const { return yOrigin_; }
    void SetYOrigin(double v) { Store(yOrigin_, v); }
    bool AutoBarSize() const { return autoBarSize_; }
    void SetAutoBarSize(bool v) { Store(autoBarSize_, v); }
    bool AutoMarkPosition() const { return autoMarkPosition_; }
    void SetAutoMarkPosition(bool v) { Store(autoMarkPosition_, v); }
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool v) { Store(dark3D_, v); }

    TChartPen BarPen;
    TChartBrush BarBrush;

    // Per paint.
    int BarWidth() const { return barWidth_; }
    TRect BarBounds() const { return bar_; }
    // The bar width in pixels for the current layout.
    int CalcBarWidth();
    // The bar rectangle of point i (left, top of value, right, origin).
    TRect CalcBarBounds(int i);

    // Where point i's bar stands: its rectangle, and the pixels of its
    // value and of its origin along the value axis.
    struct TBarGeometry {
        TRect rect;
        int valuePixel = 0;
        int originPixel = 0;
    };
    TBarGeometry BarGeometry(int i) const;

    double MaxYValue() const override;
    double MinYValue() const override;
    void CalcHorizMargins(int& low, int& high) override;
    void CalcVerticalMargins(int& low, int& high) override;
    void PrepareForDraw() override { barWidth_ = CalcBarWidth(); }
    void DrawValue(TChartCanvas3D& c, int i) override;
    void DrawLegendShape(TChartCanvas3D& c, const TRect& r, TColor color) override;

protected:
    virtual int CustomWidth() const { return 0; }
    TSeriesMarkPosition MarkPosition(int i, int width, int height) override;
    TRect PointBounds(int i) override { return CalcBarBounds(i); }

private:
    // This series among the chart's active bar series of its type.
    struct TSideSlot {
        int position = 1;  // 1-based
        int count = 1;
        int mostPoints = 0;  // the most points any of them has
    };
    TSideSlot SideSlot() const;

    int barWidthPercent_ = 70;
    int offsetPercent_ = 0;
    TBarStyle barStyle_ = TBarStyle::bsRectangle;
    TMultiBar multiBar_ = TMultiBar::mbSide;
    bool sideMargins_ = true;
    bool useYOrigin_ = true;
    double yOrigin_ = 0.0;
    bool autoBarSize_ = false;
    bool autoMarkPosition_ = true;
    bool dark3D_ = true;
    int barWidth_ = 0;
    TRect bar_;
};

class TBarSeries : public TCustomBarSeries {
public:
    explicit TBarSeries(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TBarSeries"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    // Bar width in pixels; 0 computes it from the axis length.
    int CustomBarWidth() const { return customBarWidth_; }
    void SetCustomBarWidth(int v) { Store(customBarWidth_, v); }

protected:
    int CustomWidth() const override { return customBarWidth_; }

private:
    int customBarWidth_ = 0;
};
