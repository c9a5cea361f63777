#pragma once
// What an axis and a series ask of the chart they belong to. The chart's
// classes implement it, so neither needs the chart's own header.
#include "axis_kind.h"
#include "chart_canvas.h"
#include "chart_parts.h"

#include <vector>

class TChartAxis;
class TChartSeries;

class TChartHost {
public:
    virtual ~TChartHost() = default;

    // Repaints in the next paint cycle.
    virtual void Changed() = 0;
    virtual bool Destroying() const = 0;
    // Read from a window description: range checks wait for the whole of it.
    virtual bool IsLoading() const = 0;
    // The panel's colour.
    virtual TColor Color() const = 0;

    virtual TChartCanvas3D& ChartCanvas() = 0;
    virtual bool View3D() const = 0;
    virtual const TView3DOptions& View3DOptions() const = 0;
    // Geometry of the last paint.
    virtual TRect ChartRect() const = 0;
    virtual TRect MarksRoom() const = 0;
    virtual int DepthWidth() const = 0;
    // Thickness of the wall along an axis' side (0 for flat walls or in 2D).
    virtual int SideWallSize(TAxisKind kind) const = 0;

    virtual TChartAxis& ChartAxis(TAxisKind kind) = 0;
    virtual std::vector<TChartSeries*> ActiveSeries() const = 0;
    virtual void AddSeries(TChartSeries* s) = 0;
    virtual void RemoveSeries(TChartSeries* s) = 0;
    // Points one page shows (0: all).
    virtual int MaxPointsPerPage() const = 0;
    // How a mark in legend style words its point.
    virtual TLegendTextStyle LegendTextStyle() const = 0;
};
