#include "qt_charts_histogram.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QPainter>
#include <QValueAxis>

struct QtChartsHistogram::Scene {
    QGraphicsScene scene;
};

QtChartsHistogram::QtChartsHistogram() : scene_(std::make_unique<Scene>()) {
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(QStringLiteral("成绩直方图"));
    auto* set = new QBarSet(QStringLiteral("人数"));
    *set << 3 << 0 << 1 << 1 << 1;
    set->setColor(Qt::red);
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    chart->addSeries(series);
    auto* bands = new QBarCategoryAxis;
    bands->append({QStringLiteral("优"), QStringLiteral("良"), QStringLiteral("中"), QStringLiteral("及格"),
                   QStringLiteral("不及格")});
    auto* counts = new QValueAxis;
    counts->setRange(0, 4);
    counts->setTickCount(5);
    counts->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(bands, Qt::AlignBottom);
    chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(bands);
    series->attachAxis(counts);
    chart->legend()->setAlignment(Qt::AlignRight);
    scene_->scene.addItem(chart);
    chart->setGeometry(0, 0, 400, 250);
}

QtChartsHistogram::~QtChartsHistogram() = default;

void QtChartsHistogram::Paint(QPainter& p) {
    scene_->scene.render(&p, QRectF(0, 0, 400, 250), QRectF(0, 0, 400, 250));
}
