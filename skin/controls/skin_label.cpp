#include "skin_label.h"

#include <QPainter>

TSkSkinLabel::TSkSkinLabel(TComponent* owner, QWidget* parent) : QLabel(parent), TControl(owner, this) {
    SetSkinObject(QStringLiteral("Label"));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    resize(65, 17);
}

void TSkSkinLabel::Loaded() {
    TControl::Loaded();
    SkinLoaded();
}

void TSkSkinLabel::FontChanged() {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, ToQColor(Font().color));
    setPalette(pal);
}

bool TSkSkinLabel::event(QEvent* e) {
    ObserveHover(e);
    return QLabel::event(e);
}

void TSkSkinLabel::paintEvent(QPaintEvent* e) {
    TSkSkinObject* skin = Skin();
    if (!skin) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    DrawPart(p, *skin, rect(), StateFor(isEnabled(), false, Hot(), false), text(), isEnabled());
}

const PropertyTable& TSkSkinLabel::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinLabel>(t, QStringLiteral("Label"));
        PropertyBuilder<TSkSkinLabel>(t).Ignored("Transparent").Ignored("AutoSize");
        return t;
    }();
    return table;
}
