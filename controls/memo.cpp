#include "memo.h"

#include "application.h"

#include <QRegularExpression>

TFrMemo::TFrMemo(TComponent* owner, QWidget* parent) : QPlainTextEdit(parent), TControl(owner, this) {
    SetColor(clWindow);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { Fire(OnChange, static_cast<TComponent*>(this)); });
    resize(185, 89);
}

QString TFrMemo::Text() const { return toPlainText().replace('\n', QStringLiteral("\r\n")); }

void TFrMemo::SetText(const QString& text) {
    setPlainText(QString(text).replace(QRegularExpression(QStringLiteral("\r\n|\r")), QStringLiteral("\n")));
}

QStringList TFrMemo::Lines() const { return toPlainText().split('\n'); }

void TFrMemo::SetLines(const QStringList& lines) { setPlainText(lines.join('\n')); }

void TFrMemo::ColorChanged() {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(Color()));
    setPalette(pal);
}

void TFrMemo::FontChanged() {
    QPalette pal = palette();
    pal.setColor(QPalette::Text, ToQColor(Font().color));
    setPalette(pal);
}

const PropertyTable& TFrMemo::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<TFrMemo>(t)
            .Strings("Lines.Strings", [](const TFrMemo& m) { return m.Lines(); },
                     [](TFrMemo& m, const QStringList& l) { m.SetLines(l); })
            .Ignored("ScrollBars")
            .Event<TNotifyEvent>("OnChange", [](TFrMemo& m, const TNotifyEvent& h) { m.OnChange = h; });
        return t;
    }();
    return table;
}
