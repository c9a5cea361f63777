#include "led_display.h"

#include <QPainter>

TFrLEDDisplay::TFrLEDDisplay(TComponent* owner, QWidget* parent) : QWidget(parent), TControl(owner, this) {
    SetColor(clBlack);
    resize(100, 30);
}

void TFrLEDDisplay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ToQColor(Color()));
    p.setPen(QColor(0, 255, 0));
    p.drawText(rect(), Qt::AlignCenter, Caption());
}

const PropertyTable& TFrLEDDisplay::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        return t;
    }();
    return table;
}
