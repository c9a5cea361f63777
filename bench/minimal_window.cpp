// The baseline for start-up: a minimal widgets program that shows one window
// and ends after its first paint.
#include "application.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w;
    auto* layout = new QVBoxLayout(&w);
    layout->addWidget(new QLabel(QStringLiteral("成绩分析")));
    w.resize(370, 287);
    QuitAfterFirstPaint(&w);
    w.show();
    return app.exec();
}
