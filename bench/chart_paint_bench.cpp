// Painting the histogram chart against drawing the same primitives straight
// with QPainter into an image of the same size, and against the same chart in
// Qt Charts, in the same process.
//
// The baseline takes its geometry (plot rectangle, walls, bars, marks,
// legend, label positions) from one paint of the chart, so both sides draw
// the same shapes and texts; the difference is the chart's own work: layout,
// label steps, the projection and the buffered copy to the target.
#include "bar_series.h"
#include "chart.h"
#include "median_reporter.h"
#include "qt_charts_histogram.h"
#include "shuffled_runs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

class Holder : public TComponent {
public:
    Holder() : TComponent(nullptr) {}
    QString ClassName() const override { return QStringLiteral("THolder"); }
};

struct Chart1 {
    Holder owner;
    TChart chart{nullptr};
    TBarSeries* series = new TBarSeries(&owner);

    Chart1() {
        chart.resize(400, 250);
        chart.Title.SetText({QStringLiteral("成绩直方图")});
        chart.BackWall.Brush.SetColor(clWhite);
        chart.BackWall.Brush.SetStyle(TBrushStyle::bsClear);
        series->SetSeriesColor(clRed);
        series->Marks.SetVisible(true);
        series->Marks.SetArrowLength(20);
        series->SetParentChart(&chart);
        // The worked example: counts 3, 0, 1, 1, 1.
        static const char* const kLabels[] = {"优", "良", "中", "及格", "不及格"};
        static const double kCounts[] = {3, 0, 1, 1, 1};
        chart.LeftAxis.SetIncrement(1);
        chart.LeftAxis.SetRange(0, 4);
        chart.BottomAxis.SetIncrement(10);
        chart.BottomAxis.SetRange(0, 70);
        series->SetCustomBarWidth(20);
        for (int k = 0; k < 5; ++k) series->AddPoint(5.0 + 10.0 * k, kCounts[k], QString::fromUtf8(kLabels[k]));
    }
};

// Each side runs as several short repetitions, shuffled among the other
// sides' (see main), and is judged by its median: a machine that slows down
// for a second then slows every side alike instead of the one running.
void Repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(9)->ReportAggregatesOnly(true)->MeasureProcessCPUTime();
}

QImage Target() {
    QImage im(400, 250, QImage::Format_ARGB32_Premultiplied);  // what a backing store is
    im.fill(Qt::black);
    return im;
}

void BM_ChartPaint(benchmark::State& state) {
    Chart1 c;
    QImage target = Target();
    for (auto _ : state) {
        QPainter p(&target);
        c.chart.PaintPicture(p, {0, 0, 400, 250});
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ChartPaint)->Apply(Repeated);

// What one paint of the chart drew, to be drawn again by hand.
struct Scene {
    TRect panel, plot, legend;
    int depth = 0;
    std::vector<TRect> bars;
    std::vector<TSeriesMarkPosition> marks;
    std::vector<int> leftTicks, bottomTicks;
    QStringList legendTexts, names;
    QFont titleFont, font;
};

Scene Capture() {
    Chart1 c;
    QImage target = Target();
    QPainter p(&target);
    c.chart.PaintPicture(p, {0, 0, 400, 250});
    p.end();
    Scene s;
    s.panel = c.chart.PanelRect();
    s.plot = c.chart.ChartRect();
    s.legend = c.chart.Legend.Rect();
    s.depth = c.chart.DepthWidth();
    for (int i = 0; i < 5; ++i) {
        s.bars.push_back(c.series->CalcBarBounds(i));
        s.legendTexts << c.series->LegendText(i, TLegendTextStyle::ltsLeftValue);
        s.names << c.series->Label(i);
    }
    s.marks = c.series->Marks.Positions;
    s.leftTicks = c.chart.LeftAxis.TickPixels();
    s.bottomTicks = c.chart.BottomAxis.TickPixels();
    s.titleFont = c.chart.Title.Font.QtFont();
    s.font = c.chart.LeftAxis.LabelsFont.QtFont();
    return s;
}

void BM_QPainterBaseline(benchmark::State& state) {
    const Scene s = Capture();
    QImage target = Target();
    const int d = s.depth;
    auto face = [](QPainter& p, QPoint a, QPoint b, QPoint c, QPoint e) {
        const QPoint pts[4] = {a, b, c, e};
        p.drawPolygon(pts, 4);
    };
    const QPen black(Qt::black, 1, Qt::SolidLine, Qt::FlatCap);
    QPen dotted(QColor(128, 128, 128), 1, Qt::DotLine, Qt::FlatCap);
    for (auto _ : state) {
        QPainter p(&target);
        p.setRenderHint(QPainter::Antialiasing, false);
        const TRect& r = s.plot;
        p.fillRect(s.panel.ToQRect(), QColor(0xEC, 0xE9, 0xD8));
        p.fillRect(0, 0, 400, 1, Qt::white);
        p.fillRect(0, 0, 1, 250, Qt::white);
        p.fillRect(0, 249, 400, 1, Qt::gray);
        p.fillRect(399, 0, 1, 250, Qt::gray);
        // Legend.
        const QFontMetrics fm(s.font);
        p.fillRect(s.legend.ToQRect().translated(3, 3), Qt::black);
        p.setPen(black);
        p.setBrush(Qt::white);
        p.drawRect(s.legend.ToQRect().adjusted(0, 0, -1, -1));
        for (int i = 0; i < 5; ++i) {
            const int y = s.legend.top + 1 + i * fm.height();
            p.setPen(black);
            p.setBrush(Qt::red);
            p.drawRect(s.legend.left + 4, y + 2, 6, fm.height() - 5);
            p.setFont(s.font);
            p.drawText(s.legend.left + 14, y + fm.ascent(), s.legendTexts[i]);
        }
        // Title.
        p.setFont(s.titleFont);
        p.setPen(Qt::blue);
        p.drawText(160, 10 + QFontMetrics(s.titleFont).ascent(), QStringLiteral("成绩直方图"));
        // Walls.
        p.setPen(black);
        p.setBrush(Qt::NoBrush);
        face(p, {r.left + d, r.top - d}, {r.right + d, r.top - d}, {r.right + d, r.bottom - d}, {r.left + d, r.bottom - d});
        p.setBrush(QColor(255, 255, 128));
        face(p, {r.left, r.top}, {r.left + d + 1, r.top - d - 1}, {r.left + d + 1, r.bottom - d - 1}, {r.left, r.bottom});
        p.setBrush(Qt::white);
        face(p, {r.left, r.bottom}, {r.left + d + 1, r.bottom - d - 1}, {r.right + d + 1, r.bottom - d - 1}, {r.right, r.bottom});
        // Axes: labels, lines, ticks, grid.
        p.setFont(s.font);
        for (int t : s.leftTicks) {
            const QString label = QString::number((r.bottom - t) * 4 / std::max(1, r.Height()));
            p.setPen(Qt::black);
            p.drawText(r.left - 6 - fm.horizontalAdvance(label), t - fm.height() / 2 + fm.ascent(), label);
        }
        for (int k = 0; k < int(s.bottomTicks.size()); ++k)
            p.drawText(s.bottomTicks[size_t(k)] - fm.horizontalAdvance(s.names[k]) / 2, r.bottom + 6 + fm.ascent(), s.names[k]);
        p.fillRect(r.left - 2, r.top, 2, r.Height() + 2, Qt::black);
        p.fillRect(r.left - 2, r.bottom, r.Width() + 3, 2, Qt::black);
        p.setPen(QPen(QColor(128, 128, 128), 1, Qt::SolidLine, Qt::FlatCap));
        for (int t : s.leftTicks) p.drawLine(r.left - 3, t, r.left - 7, t);
        for (int t : s.bottomTicks) p.drawLine(t, r.bottom + 2, t, r.bottom + 6);
        p.setPen(dotted);
        for (int t : s.leftTicks) {
            p.drawLine(r.left + d, t - d, r.right + d, t - d);
            p.drawLine(r.left, t, r.left + d, t - d);
        }
        for (int t : s.bottomTicks) {
            p.drawLine(t + d, r.top - d, t + d, r.bottom - d);
            p.drawLine(t, r.bottom, t + d, r.bottom - d);
        }
        // Bars: front, side, top.
        p.setPen(black);
        for (const TRect& b : s.bars) {
            p.setBrush(Qt::red);
            face(p, {b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom});
            p.setBrush(QColor(127, 0, 0));
            face(p, {b.right, b.top}, {b.right + d, b.top - d}, {b.right + d, b.bottom - d}, {b.right, b.bottom});
            p.setBrush(QColor(191, 0, 0));
            face(p, {b.left, b.top}, {b.right, b.top}, {b.right + d, b.top - d}, {b.left + d, b.top - d});
        }
        // Marks: arrow, box, text.
        const int m = d / 2;
        for (int i = 0; i < int(s.marks.size()); ++i) {
            const TSeriesMarkPosition& k = s.marks[size_t(i)];
            p.setPen(QPen(Qt::white, 1, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(k.arrowFrom + QPoint(m, -m), k.arrowTo + QPoint(m, -m));
            p.setPen(black);
            p.setBrush(QColor(255, 255, 128));
            p.drawRect(k.leftTop.x() + m, k.leftTop.y() - m, k.width - 1, k.height - 1);
            p.drawText(k.leftTop.x() + m + 4, k.leftTop.y() - m + 1 + fm.ascent(), s.names[i]);
        }
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_QPainterBaseline)->Apply(Repeated);

void BM_QtChartsBaseline(benchmark::State& state) {
    QtChartsHistogram chart;
    QImage target = Target();
    for (auto _ : state) {
        QPainter p(&target);
        chart.Paint(p);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_QtChartsBaseline)->Apply(Repeated);

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("DISPLAY").isEmpty() && qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitializeShuffled(argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto chart = reporter.perIteration.find("BM_ChartPaint");
    // Wall time is what the teacher waits for; the CPU time beside it is the
    // whole process's, since Qt Charts hands part of its drawing to worker
    // threads that a per-thread clock would not see.
    auto line = [&](const char* path, const char* baseline) {
        const auto base = reporter.perIteration.find(baseline);
        if (chart == reporter.perIteration.end() || base == reporter.perIteration.end() || base->second.real <= 0 ||
            base->second.cpu <= 0)
            return;
        const auto& ours = chart->second;
        const auto& theirs = base->second;
        std::printf("%s: ours %.1f us, baseline %.1f us, ratio %.2f (CPU time: %.1f us, %.1f us, ratio %.2f)\n", path,
                    ours.real, theirs.real, ours.real / theirs.real, ours.cpu, theirs.cpu, ours.cpu / theirs.cpu);
    };
    line("chart paint vs QPainter", "BM_QPainterBaseline");
    line("chart paint vs Qt Charts", "BM_QtChartsBaseline");
    benchmark::Shutdown();
    return 0;
}
