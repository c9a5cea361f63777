#pragma once
// The counter beside the score grid.
#include "control.h"

#include <QWidget>

class TFrLEDDisplay : public QWidget, public TControl {
    Q_OBJECT
public:
    TFrLEDDisplay(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TFrLEDDisplay"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

protected:
    void paintEvent(QPaintEvent* e) override;
};
