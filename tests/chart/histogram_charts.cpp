#include "histogram_charts.h"

#include <QPainter>

namespace {
class Holder : public TComponent {
public:
    Holder() : TComponent(nullptr) {}
    QString ClassName() const override { return QStringLiteral("THolder"); }
};
}

HistogramChart MakeChart1(int width, int height) {
    HistogramChart h;
    h.owner = std::make_unique<Holder>();
    h.chart = std::make_unique<TChart>(nullptr);
    h.chart->resize(width, height);
    h.chart->Title.SetText({QStringLiteral("成绩直方图")});
    h.chart->BackWall.Brush.SetColor(clWhite);
    h.chart->BackWall.Brush.SetStyle(TBrushStyle::bsClear);
    h.series = new TBarSeries(h.owner.get());
    h.series->SetSeriesColor(clRed);
    h.series->Marks.SetVisible(true);
    h.series->Marks.SetArrowLength(20);
    h.series->SetParentChart(h.chart.get());
    return h;
}

HistogramChart MakeChart2() {
    HistogramChart h;
    h.owner = std::make_unique<Holder>();
    h.chart = std::make_unique<TChart>(nullptr);
    TChart& c = *h.chart;
    c.resize(393, 313);
    c.SetAllowPanning(TPanningMode::pmNone);
    c.BackWall.Brush.SetColor(clWhite);
    c.BackWall.Brush.SetStyle(TBrushStyle::bsClear);
    c.BackWall.SetColor(clWhite);
    c.BottomWall.Brush.SetColor(clWhite);
    c.Gradient.SetEndColor(clWhite);
    c.Gradient.SetVisible(true);
    c.LeftWall.SetColor(clWhite);
    c.Legend.SetVisible(false);
    c.Title.SetVisible(false);
    c.SetBackColor(clWhite);
    c.SetView3D(false);
    h.series = new TBarSeries(h.owner.get());
    h.series->SetSeriesColor(clSilver);
    h.series->Marks.SetVisible(false);
    h.series->SetShowInLegend(false);
    h.series->SetDark3D(false);
    h.series->SetSideMargins(false);
    h.series->SetParentChart(&c);
    return h;
}

void FillWorkedExample(HistogramChart& h, bool second) {
    static const char* const kLabels[] = {"优", "良", "中", "及格", "不及格"};
    static const double kCounts[] = {3, 0, 1, 1, 1};
    TBarSeries& s = *h.series;
    s.ClearPoints();
    h.chart->LeftAxis.SetIncrement(1);
    h.chart->LeftAxis.SetRange(0, 4);
    h.chart->BottomAxis.SetIncrement(second ? 12 : 10);
    h.chart->BottomAxis.SetRange(0, 70);
    h.chart->BottomAxis.SetLogarithmic(false);
    s.SetCustomBarWidth(second ? 30 : 20);
    for (int k = 0; k < 5; ++k)
        s.AddPoint(second ? 12.0 * (k + 1) : 5.0 + 10.0 * k, kCounts[k], QString::fromUtf8(kLabels[k]), DefaultColor);
}

QImage PaintOnScreen(TChart& chart) {
    QImage image(chart.width(), chart.height(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    chart.PaintPicture(p, {0, 0, chart.width(), chart.height()});
    p.end();
    return image;
}
