// A series' marks: their text, where they go, and how they are drawn.
#include "chart_axis.h"
#include "chart_host.h"
#include "chart_series.h"
#include "value_format.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

QString TChartSeries::MarkText(int i) const {
    const QString label = Label(i);
    const QString labelOrValue = label.isEmpty() ? ValueText(i) : label;
    auto withTotal = [&] { return PercentText(i) + QStringLiteral(" of ") + FormatFloat(valueFormat_, YValues.Total()); };
    switch (Marks.Style()) {
    case TSeriesMarksStyle::smsValue: return ValueText(i);
    case TSeriesMarksStyle::smsPercent: return PercentText(i);
    case TSeriesMarksStyle::smsLabel: return labelOrValue;
    case TSeriesMarksStyle::smsLabelPercent: return labelOrValue + QLatin1Char(' ') + PercentText(i);
    case TSeriesMarksStyle::smsLabelValue: return labelOrValue + QLatin1Char(' ') + ValueText(i);
    case TSeriesMarksStyle::smsLegend:
        return LegendText(i, chart_ ? chart_->LegendTextStyle() : TLegendTextStyle::ltsLeftValue);
    case TSeriesMarksStyle::smsPercentTotal: return withTotal();
    case TSeriesMarksStyle::smsLabelPercentTotal: return labelOrValue + QLatin1Char(' ') + withTotal();
    case TSeriesMarksStyle::smsXValue: {
        const QString fmt = chart_ ? GetHorizAxis()->AxisValuesFormat() : valueFormat_;
        return FormatFloat(fmt, XValues.Value(i));
    }
    }
    return labelOrValue;
}

namespace {
// Pixels of the chart's own coordinates for n pixels on screen.
int Unzoomed(int n, double zoom) { return zoom > 0 ? int(std::ceil(n / zoom)) : n; }
}

bool TChartSeries::KeepInside(TSeriesMarkPosition& p, const TChartCanvas3D& c, int z) const {
    const TRect room = chart_->MarksRoom();
    const double zoom = c.Is3D() ? chart_->View3DOptions().zoom * 0.01 : 1.0;
    const QPoint topLeft = c.Project(p.leftTop.x(), p.leftTop.y(), z);
    const QPoint bottomRight = c.Project(p.leftTop.x() + p.width, p.leftTop.y() + p.height, z);
    int dy = 0, dx = 0;
    if (topLeft.y() < room.top) dy = Unzoomed(room.top - topLeft.y(), zoom);
    else if (bottomRight.y() > room.bottom) dy = -Unzoomed(bottomRight.y() - room.bottom, zoom);
    if (topLeft.x() < room.left) dx = Unzoomed(room.left - topLeft.x(), zoom);
    else if (bottomRight.x() > room.right) dx = -Unzoomed(bottomRight.x() - room.right, zoom);
    if (dy == 0 && dx == 0) return false;
    // The box moves towards its bar: the arrow shortens, and once it is gone
    // the box covers the bar's end instead.
    const bool up = p.arrowTo.y() <= p.arrowFrom.y();
    p.leftTop += QPoint(dx, dy);
    p.arrowTo.ry() += dy;
    if (up ? p.arrowTo.y() > p.arrowFrom.y() : p.arrowTo.y() < p.arrowFrom.y()) p.arrowTo = p.arrowFrom;
    return dy > 0;
}

void TChartSeries::KeepOffPoint(TSeriesMarkPosition& p, int i, const TChartCanvas3D& c, int z) {
    const TRect bar = PointBounds(i);
    if (bar.Width() <= 0) return;
    const auto box = [&](const TSeriesMarkPosition& m) {
        const QPoint a = c.Project(m.leftTop.x(), m.leftTop.y(), z);
        const QPoint b = c.Project(m.leftTop.x() + m.width, m.leftTop.y() + m.height, z);
        return QRect(a, b - QPoint(1, 1));
    };
    // The bar as drawn, front face and back together.
    QRect drawn(c.Project(bar.left, bar.top, StartZ()), c.Project(bar.right, bar.bottom, StartZ()) - QPoint(1, 1));
    drawn |= QRect(c.Project(bar.left, bar.top, EndZ()), c.Project(bar.right, bar.bottom, EndZ()) - QPoint(1, 1));
    const QRect placed = box(p);
    if (!placed.intersects(drawn)) return;
    const TRect room = chart_->MarksRoom();
    const double zoom = c.Is3D() ? chart_->View3DOptions().zoom * 0.01 : 1.0;
    constexpr int kGap = 3;
    const int right = Unzoomed(drawn.right() + 1 + kGap - placed.left(), zoom);
    const int left = -Unzoomed(placed.right() + 1 + kGap - drawn.left(), zoom);
    TSeriesMarkPosition moved = p;
    moved.leftTop.rx() += right;
    if (box(moved).right() >= room.right) {
        moved = p;
        moved.leftTop.rx() += left;
        if (box(moved).left() < room.left) return;  // no room either side: left as it was
    }
    // Beside its bar the mark needs no arrow.
    moved.arrowTo = moved.arrowFrom;
    p = moved;
}

void TChartSeries::DrawMarks(TChartCanvas3D& c) {
    Marks.Positions.assign(size_t(Count()), TSeriesMarkPosition{});
    Canvas& s = c.Surface();
    const bool in3D = c.Is3D();
    const int zoom = in3D && c.ZoomText() ? chart_->View3DOptions().zoom : 100;
    c.SetFont(Marks.Font.Scaled(zoom));
    c.SetFontColor(Marks.Font.Color());
    s.SetBackMode(TBackgroundMode::Transparent);
    const int fh = c.FontHeight(), wW = c.TextWidth(QStringLiteral("W"));
    const int fw = Marks.Frame.Shows() ? Marks.Frame.Width() : 0;
    const TColor panel = ColorToRGB(chart_->Color());
    const int z = MiddleZ();
    for (int i = first_; i <= last_ && i < Count(); ++i) {
        QString text = MarkText(i);
        if (OnGetMarkText) OnGetMarkText(this, i, text);
        if (text.isEmpty()) continue;
        const QStringList lines = text.split(QLatin1Char('\n'));
        int widest = 0;
        for (const QString& l : lines) widest = std::max(widest, c.TextWidth(l));
        const int w = widest + wW + 2 * fw, h = int(lines.size()) * fh + 2 * fw;
        TSeriesMarkPosition p = MarkPosition(i, w, h);
        if (KeepInside(p, c, z)) KeepOffPoint(p, i, c, z);
        Marks.Positions[size_t(i)] = p;

        if (Marks.Arrow.Shows() && p.arrowTo != p.arrowFrom) {
            TPenSpec pen = Marks.Arrow.Settings();
            const TColor arrow = ColorToRGB(pen.color);
            if (arrow == ColorToRGB(ValueColor(i)) || arrow == panel) pen.color = panel == clBlack ? clWhite : clBlack;
            c.SetPen(pen);
            c.LineAtDepth(p.arrowFrom.x(), p.arrowFrom.y(), p.arrowTo.x(), p.arrowTo.y(), z);
        }
        const TRect box{p.leftTop.x(), p.leftTop.y(), p.leftTop.x() + w, p.leftTop.y() + h};
        if (!(Marks.Transparent() && !Marks.Frame.Shows())) {
            c.SetPen(Marks.Frame.Settings());
            c.SetBrush(Marks.Transparent() ? TBrushSpec{clWhite, TBrushStyle::bsClear} : TBrushSpec{Marks.BackColor()});
            c.RectangleAtDepth(box, z);
        }
        const QPoint origin = c.Project(box.left, box.top + fw, z);
        for (int k = 0; k < lines.size(); ++k)
            c.TextOut(origin.x() + (w - c.TextWidth(lines[k])) / 2, origin.y() + k * fh, lines[k]);
    }
}
