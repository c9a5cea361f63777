#include "axis_painter.h"

#include "chart_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

void TAxisPainter::Title(const QString& caption, const TChartFont& font) {
    const TAxisKind kind = place_.kind;
    const int titlePos = place_.titlePos;
    c_.SetFont(font.QtFont());
    c_.SetFontColor(font.Color());
    const int tw = c_.TextWidth(caption), th = c_.FontHeight();
    if (Horizontal()) {
        const int y = kind == TAxisKind::Bottom ? titlePos : titlePos - th;
        c_.TextOut(CenterPixel() - tw / 2, y, caption);
        return;
    }
    QPainter& p = c_.Surface().Painter();
    p.save();
    const int x = kind == TAxisKind::Left ? titlePos - th : titlePos;
    p.translate(kind == TAxisKind::Left ? x : x + th, kind == TAxisKind::Left ? CenterPixel() + tw / 2 : CenterPixel() - tw / 2);
    p.rotate(kind == TAxisKind::Left ? -90 : 90);
    p.setFont(font.QtFont());
    p.setPen(ToQColor(font.Color()));
    p.drawText(0, QFontMetrics(font.QtFont()).ascent(), caption);
    p.restore();
}

void TAxisPainter::Label(int pixel, const QString& text) {
    const int w = c_.TextWidth(text), h = c_.FontHeight();
    const int at = place_.labelsPos;
    switch (place_.kind) {
    case TAxisKind::Left: c_.TextOut(at - w, pixel - h / 2, text); break;
    case TAxisKind::Right: c_.TextOut(at, pixel - h / 2, text); break;
    case TAxisKind::Top: c_.TextOut(pixel - w / 2, at - h, text); break;
    case TAxisKind::Bottom: c_.TextOut(pixel - w / 2, at, text); break;
    case TAxisKind::Depth: break;
    }
}

void TAxisPainter::Lines(const TAxisLines& look, const std::vector<int>& ticks, const TRect& plot, int depth) {
    const TAxisKind kind = place_.kind;
    const int line = place_.axisLinePos, start = place_.startPixel, end = place_.endPixel;
    const int w = look.axis.Shows() ? look.axis.Width() : 0;
    const int in = Inward(kind);
    // Axis line, just outside the plot.
    if (look.axis.Shows()) {
        const TColor col = look.axis.Color();
        if (Horizontal()) {
            const int y = kind == TAxisKind::Bottom ? line : line - w;
            c_.FillRect({start - w, y, end + 1, y + w}, col);
        } else {
            const int x = kind == TAxisKind::Left ? line - w : line + 1;
            c_.FillRect({x, start, x + w, end + w}, col);
        }
    }
    auto tick = [&](int px, int from, int length, const TChartPen& pen) {
        if (length <= 0 || !pen.Shows()) return;
        c_.SetPen(pen.Settings());
        // from: distance outside the axis line where the tick starts; outwards is -in.
        if (Horizontal()) {
            const int base = kind == TAxisKind::Bottom ? line + w - 1 : line - w;
            c_.Line(px, base - in * from, px, base - in * (from + length));
        } else {
            const int base = kind == TAxisKind::Left ? line - w - 1 : line + w + 1;
            c_.Line(base - in * from, px, base - in * (from + length), px);
        }
    };
    for (int px : ticks) tick(px, 1, look.tickLength, look.ticks);
    // Grid across the plot (on the back wall and over the floor or side wall in 3D).
    if (look.grid.Shows()) {
        c_.SetPen(look.grid.Settings());
        for (int px : ticks) {
            if (px <= start || px >= end) continue;  // the edges carry the walls' own lines
            if (Horizontal()) {
                if (depth > 0) {
                    c_.LineAtDepth(px, plot.top, px, plot.bottom, depth);
                    const QPoint a = c_.Project(px, plot.bottom, 0), b = c_.Project(px, plot.bottom, depth);
                    c_.Line(a.x(), a.y(), b.x(), b.y());
                } else {
                    c_.Line(px, plot.top, px, plot.bottom);
                }
            } else {
                if (depth > 0) {
                    c_.LineAtDepth(plot.left, px, plot.right, px, depth);
                    const QPoint a = c_.Project(plot.left, px, 0), b = c_.Project(plot.left, px, depth);
                    c_.Line(a.x(), a.y(), b.x(), b.y());
                } else {
                    c_.Line(plot.left + 1, px, plot.right, px);
                }
            }
        }
    }
    for (int px : ticks) {
        if (look.tickInnerLength <= 0 || !look.ticksInner.Shows()) break;
        c_.SetPen(look.ticksInner.Settings());
        if (Horizontal()) c_.Line(px, line - (kind == TAxisKind::Bottom ? 1 : 0), px, line - in * look.tickInnerLength);
        else c_.Line(line, px, line + in * look.tickInnerLength, px);
    }
    if (look.minorTickCount > 0 && look.minorTicks.Shows() && ticks.size() > 1) {
        std::vector<int> sorted = ticks;
        std::sort(sorted.begin(), sorted.end());
        const int parts = look.minorTickCount + 1;
        for (size_t k = 1; k < sorted.size(); ++k)
            for (int m = 1; m <= look.minorTickCount; ++m)
                tick(sorted[k - 1] + (sorted[k] - sorted[k - 1]) * m / parts, 1, look.minorTickLength, look.minorTicks);
    }
}
