#pragma once
// The chart control: a panel that paints a complete chart picture
// (background, bevels, titles, legend, walls, axes, series and marks) through
// its drawing layer, on screen or into a bitmap for the clipboard.
#include "chart_axis.h"
#include "chart_canvas.h"
#include "chart_exceptions.h"
#include "chart_host.h"
#include "chart_parts.h"
#include "chart_series.h"
#include "control.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
enum class TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum class TBackImageMode { pbmStretch, pbmTile, pbmCenter };

using TChartSeriesList = std::vector<TChartSeries*>;

// The drawing surface, 3D options, margins and bevels.
class TCustomChartPanel : public QWidget, public TControl, public TChartPart, public TChartHost {
public:
    TCustomChartPanel(TComponent* owner, QWidget* parent);
    ~TCustomChartPanel() override;

    bool IsLoading() const override { return TControl::IsLoading(); }
    TColor Color() const override { return TControl::Color(); }
    bool View3D() const override { return view3D_; }
    void SetView3D(bool v) { Store(view3D_, v); }
    const TView3DOptions& View3DOptions() const override { return view3DOptions_; }
    void SetView3DOptions(const TView3DOptions& o) { Store(view3DOptions_, o); }
    int Chart3DPercent() const { return chart3DPercent_; }
    void SetChart3DPercent(int v) { Store(chart3DPercent_, v); }
    int MarginLeft() const { return marginLeft_; }
    void SetMarginLeft(int v) { Store(marginLeft_, v); }
    int MarginTop() const { return marginTop_; }
    void SetMarginTop(int v) { Store(marginTop_, v); }
    int MarginRight() const { return marginRight_; }
    void SetMarginRight(int v) { Store(marginRight_, v); }
    int MarginBottom() const { return marginBottom_; }
    void SetMarginBottom(int v) { Store(marginBottom_, v); }
    bool Monochrome() const { return monochrome_; }
    void SetMonochrome(bool v) { Store(monochrome_, v); }
    bool PrintProportional() const { return printProportional_; }
    void SetPrintProportional(bool v) { Store(printProportional_, v); }
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel b) { Store(bevelOuter_, b); }
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel b) { Store(bevelInner_, b); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v) { Store(bevelWidth_, v); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v) { Store(borderWidth_, v); }

    TChartCanvas3D& ChartCanvas() override { return *canvas_; }

    // Geometry of the last paint.
    TRect PanelRect() const { return panelRect_; }
    TRect ChartRect() const override { return plotRect_; }
    // Where marks may be drawn: inside the bevels, below the title and the
    // legend when they stand above the plot, above the foot.
    TRect MarksRoom() const override { return marksRoom_; }
    int PlotWidth() const { return plotRect_.Width(); }
    int PlotHeight() const { return plotRect_.Height(); }
    int PlotXCenter() const { return (plotRect_.left + plotRect_.right) / 2; }
    int PlotYCenter() const { return (plotRect_.top + plotRect_.bottom) / 2; }
    int DepthWidth() const override { return depthWidth_; }
    int DepthHeight() const { return depthHeight_; }
    int SeriesDepth() const { return seriesDepth_; }

    // Repaints in the next paint cycle.
    void Changed() override;
    bool Destroying() const override { return destroying_; }
    void Invalidate() { Changed(); }

    // Paints the whole picture through the drawing layer onto target in rect.
    void PaintPicture(QPainter& target, const TRect& rect);

protected:
    void paintEvent(QPaintEvent* e) override;
    void ColorChanged() override { Changed(); }
    // Everything between the background and the end of the picture.
    virtual void DrawParts() = 0;
    void NormalizePlotRect();
    void DrawBevel(TPanelBevel bevel, TRect& r);

    bool destroying_ = false;
    TRect panelRect_, plotRect_, marksRoom_;
    int depthWidth_ = 0, depthHeight_ = 0, seriesDepth_ = 0;

private:
    std::unique_ptr<TChartCanvas3D> canvas_;
    bool view3D_ = true;
    TView3DOptions view3DOptions_;
    int chart3DPercent_ = 15;
    int marginLeft_ = 3, marginTop_ = 4, marginRight_ = 3, marginBottom_ = 4;
    bool monochrome_ = false, printProportional_ = true;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised, bevelInner_ = TPanelBevel::bvNone;
    int bevelWidth_ = 1, borderWidth_ = 0;
};

// Background gradient and image, zoom and scroll settings, after-draw event.
class TCustomChartPanelExtended : public TCustomChartPanel {
public:
    using TCustomChartPanel::TCustomChartPanel;
    TChartGradient Gradient{this};
    const QImage& BackImage() const { return backImage_; }
    void SetBackImage(const QImage& i) { backImage_ = i; Changed(); }
    TBackImageMode BackImageMode() const { return backImageMode_; }
    void SetBackImageMode(TBackImageMode m) { Store(backImageMode_, m); }
    bool AllowZoom() const { return allowZoom_; }
    void SetAllowZoom(bool v) { allowZoom_ = v; }
    TPanningMode AllowPanning() const { return allowPanning_; }
    void SetAllowPanning(TPanningMode m) { allowPanning_ = m; }
    bool AnimatedZoom() const { return animatedZoom_; }
    void SetAnimatedZoom(bool v) { animatedZoom_ = v; }
    int AnimatedZoomSteps() const { return animatedZoomSteps_; }
    void SetAnimatedZoomSteps(int v) { animatedZoomSteps_ = v; }
    std::function<void(TComponent*)> OnAfterDraw;

private:
    QImage backImage_;
    TBackImageMode backImageMode_ = TBackImageMode::pbmStretch;
    bool allowZoom_ = true;
    TPanningMode allowPanning_ = TPanningMode::pmBoth;
    bool animatedZoom_ = false;
    int animatedZoomSteps_ = 8;
};

// Series and axes.
class TCustomAxisPanel : public TCustomChartPanelExtended {
public:
    TCustomAxisPanel(TComponent* owner, QWidget* parent);
    ~TCustomAxisPanel() override;

    const TChartSeriesList& SeriesList() const { return series_; }
    int SeriesCount() const { return int(series_.size()); }
    // The series at position index (0 = first); out of range raises ChartException.
    TChartSeries* SeriesAt(int index) const;
    void AddSeries(TChartSeries* s) override;
    void RemoveSeries(TChartSeries* s) override;
    std::vector<TChartSeries*> ActiveSeries() const override;

    TChartAxis LeftAxis{this, TAxisKind::Left};
    TChartAxis TopAxis{this, TAxisKind::Top};
    TChartAxis RightAxis{this, TAxisKind::Right};
    TChartAxis BottomAxis{this, TAxisKind::Bottom};
    TChartAxis DepthAxis{this, TAxisKind::Depth};
    std::vector<TChartAxis*> Axes() { return {&LeftAxis, &TopAxis, &RightAxis, &BottomAxis, &DepthAxis}; }
    TChartAxis& ChartAxis(TAxisKind kind) override;

    bool AxisVisible() const { return axisVisible_; }
    void SetAxisVisible(bool v) { Store(axisVisible_, v); }
    bool View3DWalls() const { return view3DWalls_; }
    void SetView3DWalls(bool v) { Store(view3DWalls_, v); }
    bool ClipPoints() const { return clipPoints_; }
    void SetClipPoints(bool v) { Store(clipPoints_, v); }
    int MaxPointsPerPage() const override { return maxPointsPerPage_; }
    void SetMaxPointsPerPage(int v) { Store(maxPointsPerPage_, v); }
    int Page() const { return page_; }
    void SetPage(int v) { Store(page_, v); }
    bool ScaleLastPage() const { return scaleLastPage_; }
    void SetScaleLastPage(bool v) { Store(scaleLastPage_, v); }

    std::function<void(TComponent*)> OnBeforeDrawAxes;
    std::function<void(TComponent*)> OnBeforeDrawSeries;

    // The hidden chart as a child in a description, or a series nested in it.
    void AdoptChild(TComponent* child) override;
    int SideWallSize(TAxisKind) const override { return 0; }

protected:
    // Steps 9 to 15 of a picture: depth slots, axes, walls, series.
    void DrawAxesAndSeries();
    virtual void DrawWalls() = 0;
    virtual int BackWallSize() const = 0;

private:
    TChartSeriesList series_;
    bool axisVisible_ = true, view3DWalls_ = true, clipPoints_ = true;
    int maxPointsPerPage_ = 0, page_ = 1;
    bool scaleLastPage_ = true;
};

// Titles, legend, walls.
class TCustomChart : public TCustomAxisPanel {
public:
    TCustomChart(TComponent* owner, QWidget* parent);

    TChartTitle Title{this};
    TChartTitle Foot{this};
    TChartLegend Legend{this};
    TChartWall BackWall{this};
    TChartWall LeftWall{this};
    TChartWall BottomWall{this};

    // The back wall's colour and pen under their older names.
    TColor BackColor() const { return BackWall.Color(); }
    void SetBackColor(TColor c) { BackWall.SetColor(c); }
    TChartPen& Frame() { return BackWall.Pen; }
    bool BackImageInside() const { return backImageInside_; }
    void SetBackImageInside(bool v) { Store(backImageInside_, v); }

    std::function<void(TComponent*)> OnClickLegend;
    TLegendTextStyle LegendTextStyle() const override { return Legend.TextStyle(); }

    // A new bitmap of the chart painted into rect (in the chart's own
    // coordinates), over background; painted directly, not buffered.
    QImage RenderToBitmap(TColor background, const TRect& rect);
    // Puts a picture of the whole chart on the clipboard.
    void CopyBitmapToClipboard();

protected:
    void DrawParts() override;
    void DrawWalls() override;
    int BackWallSize() const override { return BackWall.Size(); }
public:
    int SideWallSize(TAxisKind kind) const override;
protected:

private:
    void DrawTitle(TChartTitle& title, bool foot);
    void DrawLegend();
    void DrawWall(TChartWall& wall, const std::function<void()>& face);

    bool backImageInside_ = false;
};

class TChart : public TCustomChart {
public:
    TChart(TComponent* owner, QWidget* parent = nullptr);
    QString ClassName() const override { return QStringLiteral("TChart"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
};
