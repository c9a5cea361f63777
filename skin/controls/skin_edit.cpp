#include "skin_edit.h"

#include "application.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>

namespace {
// Runs typed text through a key-press filter; returns what it lets through.
QString FilterText(const QString& text, const TKeyPressEvent& filter, TComponent* sender) {
    QString accepted;
    for (QChar c : text) {
        QChar key = c;
        Fire(filter, sender, key);
        if (!key.isNull()) accepted += key;
    }
    return accepted;
}
}

TSkSkinEdit::TSkSkinEdit(TComponent* owner, QWidget* parent) : QLineEdit(parent), TControl(owner, this) {
    SetSkinObject(QStringLiteral("Edit"));
    SetPerformance(TSkPerformance::kspDoubleBuffer);
    SetColor(clWindow);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    connect(this, &QLineEdit::textChanged, this, [this] { Fire(OnChange, static_cast<TComponent*>(this)); });
    resize(121, 21);
}

int TSkSkinEdit::SkinState() const { return StateFor(isEnabled(), false, Hot(), hasFocus()); }

void TSkSkinEdit::Loaded() {
    TControl::Loaded();
    SkinLoaded();
}

void TSkSkinEdit::keyPressEvent(QKeyEvent* e) {
    const QChar typed = KeyEventChar(e);
    if (typed.isNull() || !OnKeyPress || e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    QChar key = typed;
    Fire(OnKeyPress, static_cast<TComponent*>(this), key);
    if (key.isNull()) return;
    if (key != typed) {
        QKeyEvent replaced(e->type(), 0, Qt::NoModifier, QString(key));
        QLineEdit::keyPressEvent(&replaced);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TSkSkinEdit::inputMethodEvent(QInputMethodEvent* e) {
    if (!OnKeyPress || e->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    QInputMethodEvent filtered(e->preeditString(), e->attributes());
    filtered.setCommitString(FilterText(e->commitString(), OnKeyPress, this), e->replacementStart(),
                             e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

bool TSkSkinEdit::event(QEvent* e) {
    ObserveHover(e);
    return QLineEdit::event(e);
}

void TSkSkinEdit::paintEvent(QPaintEvent* e) {
    if (TSkSkinObject* skin = Skin()) {
        QPainter p(this);
        skin->SetBoundsRect(rect());
        DrawPart(p, *PartOrSkin(QStringLiteral("Frame")), rect(), SkinState());
    }
    // The editor draws its text, selection and caret over the frame.
    QLineEdit::paintEvent(e);
}

void TSkSkinEdit::SkinReplaced() { ApplyLook(); }
void TSkSkinEdit::ColorChanged() { ApplyLook(); }
void TSkSkinEdit::FontChanged() { ApplyLook(); }

void TSkSkinEdit::ApplyLook() {
    QPalette pal = palette();
    if (Skin()) {
        // The frame is the background; the editor only draws the text.
        const TSkSkinObject* frame = PartOrSkin(QStringLiteral("Frame"));
        setFrame(false);
        setTextMargins(frame->MarginLeft(), 0, frame->MarginRight(), 0);
        const TFontSpec normal = PartFont(QStringLiteral("Text"), skstate::Normal, Font());
        const TFontSpec disabled = PartFont(QStringLiteral("Text"), skstate::Disabled, Font());
        setFont(normal.ToQFont());
        pal.setBrush(QPalette::Base, Qt::transparent);
        pal.setColor(QPalette::Active, QPalette::Text, ToQColor(normal.color));
        pal.setColor(QPalette::Inactive, QPalette::Text, ToQColor(normal.color));
        pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(disabled.color));
    } else {
        setFrame(true);
        setTextMargins(0, 0, 0, 0);
        setFont(Font().ToQFont());
        pal.setColor(QPalette::Base, ToQColor(Color()));
        pal.setColor(QPalette::Text, ToQColor(Font().color));
        pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(clGrayText));
    }
    pal.setColor(QPalette::Highlight, ToQColor(clHighlight));
    pal.setColor(QPalette::HighlightedText, ToQColor(clHighlightText));
    setPalette(pal);
}

const PropertyTable& TSkSkinEdit::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinEdit>(t, QStringLiteral("Edit"), TSkPerformance::kspDoubleBuffer);
        PropertyBuilder<TSkSkinEdit>(t)
            .Str("Text", [](const TSkSkinEdit& e) { return e.Text(); }, [](TSkSkinEdit& e, const QString& v) { e.SetText(v); }, QString())
            .Int("MaxLength", [](const TSkSkinEdit& e) { return e.maxLength() == 32767 ? 0 : e.maxLength(); },
                 [](TSkSkinEdit& e, int v) { e.setMaxLength(v > 0 ? v : 32767); }, 0)
            .Bool("ReadOnly", [](const TSkSkinEdit& e) { return e.isReadOnly(); }, [](TSkSkinEdit& e, bool v) { e.setReadOnly(v); }, false)
            .Event<TKeyPressEvent>("OnKeyPress", [](TSkSkinEdit& e, const TKeyPressEvent& h) { e.OnKeyPress = h; })
            .Event<TNotifyEvent>("OnChange", [](TSkSkinEdit& e, const TNotifyEvent& h) { e.OnChange = h; });
        return t;
    }();
    return table;
}
