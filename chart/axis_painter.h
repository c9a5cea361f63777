#pragma once
// Draws an axis' parts where its layout put them: the title, one label at a
// time, and the lines (axis line, ticks, grid, inner and minor ticks).
#include "axis_kind.h"
#include "chart_parts.h"

#include <vector>

class TChartCanvas3D;

// Where an axis stands: its pixel extent along the plot edge, and across it
// the axis line, the labels' edge and the title's edge.
struct TAxisPlace {
    TAxisKind kind = TAxisKind::Left;
    int startPixel = 0, endPixel = 0;
    int axisLinePos = 0, labelsPos = 0, titlePos = 0;
};

// The pens and lengths of the lines an axis draws.
struct TAxisLines {
    const TChartPen& axis;
    const TChartPen& ticks;
    const TChartPen& ticksInner;
    const TChartPen& minorTicks;
    const TChartPen& grid;
    int tickLength, tickInnerLength, minorTickCount, minorTickLength;
};

class TAxisPainter {
public:
    TAxisPainter(TChartCanvas3D& canvas, const TAxisPlace& place) : c_(canvas), place_(place) {}

    // The title centred along the axis, turned on vertical axes.
    void Title(const QString& caption, const TChartFont& font);
    // A label at pixel along the axis, in the canvas' current font.
    void Label(int pixel, const QString& text);
    // Lines at the tick pixels: ticks, the grid over the plot (and over the
    // floor or side wall when depth > 0), inner ticks and minor ticks.
    void Lines(const TAxisLines& look, const std::vector<int>& ticks, const TRect& plot, int depth);

private:
    bool Horizontal() const { return IsHorizontalKind(place_.kind); }
    int CenterPixel() const { return (place_.startPixel + place_.endPixel) / 2; }

    TChartCanvas3D& c_;
    TAxisPlace place_;
};
