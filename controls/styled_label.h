#pragma once
// A label whose caption may span several lines (#13 breaks them).
#include "control.h"

#include <QWidget>

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TFrLabel : public QWidget, public TControl {
    Q_OBJECT
public:
    TFrLabel(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TFrLabel"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    // The caption with its CR / CR LF breaks as lines.
    QStringList Lines() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool transparent_ = false;
};
