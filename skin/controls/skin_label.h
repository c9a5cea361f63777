#pragma once
// The skinned label: the skin object itself, with the caption as its text.
// Without the object (our skin has no "Label") it is a plain label.
#include "control.h"
#include "skin_skinnable.h"

#include <QLabel>

class TSkSkinLabel : public QLabel, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinLabel(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinLabel"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    QString Caption() const override { return text(); }
    void SetCaption(const QString& c) override { setText(QString(c).replace('\r', '\n')); }
    void Loaded() override;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
    void FontChanged() override;
};
