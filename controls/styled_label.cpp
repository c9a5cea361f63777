#include "styled_label.h"

#include <QPainter>
#include <QRegularExpression>

namespace {
const EnumNames<TAlignment> kAlignmentNames{{"taLeftJustify", "taRightJustify", "taCenter"}};
}

TFrLabel::TFrLabel(TComponent* owner, QWidget* parent) : QWidget(parent), TControl(owner, this) {
    SetColor(clBtnFace);
    resize(65, 17);
}

void TFrLabel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    update();
}

void TFrLabel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    update();
}

QStringList TFrLabel::Lines() const {
    return Caption().split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
}

void TFrLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!transparent_) p.fillRect(rect(), ToQColor(Color()));
    p.setFont(font());
    p.setPen(ToQColor(Font().color));
    const int align = alignment_ == TAlignment::taCenter ? Qt::AlignHCenter
                      : alignment_ == TAlignment::taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
    const int lineHeight = p.fontMetrics().height();
    int y = 0;
    for (const QString& line : Lines()) {
        p.drawText(QRect(0, y, width(), lineHeight), align | Qt::AlignTop | Qt::TextSingleLine, line);
        y += lineHeight;
    }
}

const PropertyTable& TFrLabel::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<TFrLabel>(t)
            .Enum<TAlignment>("Alignment", kAlignmentNames, [](const TFrLabel& l) { return l.Alignment(); },
                              [](TFrLabel& l, TAlignment a) { l.SetAlignment(a); }, TAlignment::taLeftJustify)
            .Bool("Transparent", [](const TFrLabel& l) { return l.Transparent(); },
                  [](TFrLabel& l, bool v) { l.SetTransparent(v); }, false)
            .Ignored("TextStyle")
            .Ignored("AutoSize")
            .Ignored("WordWrap");
        return t;
    }();
    return table;
}
