#include "skin_controls.h"

#include "application.h"
#include "image_list.h"
#include "skin_engine.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>

template <class T>
void TSkSkinnable::AddSkinProperties(PropertyTable& t) {
    PropertyBuilder<T>(t)
        .template Reference<TSkSkinEngine>("SkinEngine", [](T& c, TSkSkinEngine* e) { c.SetSkinEngine(e); })
        .Str("SkinObject", [](const T& c) { return c.SkinObject(); }, [](T& c, const QString& v) { c.SetSkinObject(v); },
             QString());
}

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

// ---- edit -------------------------------------------------------------------------------

TSkSkinEdit::TSkSkinEdit(TComponent* owner, QWidget* parent) : QLineEdit(parent), TControl(owner, this) {
    SetColor(clWindow);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    connect(this, &QLineEdit::textChanged, this, [this] { Fire(OnChange, static_cast<TComponent*>(this)); });
    resize(121, 21);
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

void TSkSkinEdit::ColorChanged() {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(Color()));
    setPalette(pal);
}

const PropertyTable& TSkSkinEdit::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinEdit>(t);
        PropertyBuilder<TSkSkinEdit>(t)
            .Str("Text", [](const TSkSkinEdit& e) { return e.Text(); }, [](TSkSkinEdit& e, const QString& v) { e.SetText(v); }, QString())
            .Int("MaxLength", [](const TSkSkinEdit& e) { return e.maxLength() == 32767 ? 0 : e.maxLength(); },
                 [](TSkSkinEdit& e, int v) { e.setMaxLength(v > 0 ? v : 32767); }, 0)
            .Event<TKeyPressEvent>("OnKeyPress", [](TSkSkinEdit& e, const TKeyPressEvent& h) { e.OnKeyPress = h; })
            .Event<TNotifyEvent>("OnChange", [](TSkSkinEdit& e, const TNotifyEvent& h) { e.OnChange = h; });
        return t;
    }();
    return table;
}

// ---- button and radio button ---------------------------------------------------------------

TSkSkinButton::TSkSkinButton(TComponent* owner, QWidget* parent) : QPushButton(parent), TControl(owner, this) {
    connect(this, &QPushButton::clicked, this, [this] { Fire(OnClick, static_cast<TComponent*>(this)); });
    resize(75, 25);
}

const PropertyTable& TSkSkinButton::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinButton>(t);
        PropertyBuilder<TSkSkinButton>(t)
            .Event<TNotifyEvent>("OnClick", [](TSkSkinButton& b, const TNotifyEvent& h) { b.OnClick = h; });
        return t;
    }();
    return table;
}

TSkSkinRadioButton::TSkSkinRadioButton(TComponent* owner, QWidget* parent) : QRadioButton(parent), TControl(owner, this) {
    connect(this, &QRadioButton::clicked, this, [this] { Fire(OnClick, static_cast<TComponent*>(this)); });
    resize(113, 17);
}

const PropertyTable& TSkSkinRadioButton::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinRadioButton>(t);
        PropertyBuilder<TSkSkinRadioButton>(t)
            .Bool("Checked", [](const TSkSkinRadioButton& b) { return b.Checked(); },
                  [](TSkSkinRadioButton& b, bool v) { b.SetChecked(v); }, false)
            .Event<TNotifyEvent>("OnClick", [](TSkSkinRadioButton& b, const TNotifyEvent& h) { b.OnClick = h; });
        return t;
    }();
    return table;
}

// ---- label and panel --------------------------------------------------------------------

TSkSkinLabel::TSkSkinLabel(TComponent* owner, QWidget* parent) : QLabel(parent), TControl(owner, this) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    resize(65, 17);
}

void TSkSkinLabel::FontChanged() {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, ToQColor(Font().color));
    setPalette(pal);
}

const PropertyTable& TSkSkinLabel::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinLabel>(t);
        PropertyBuilder<TSkSkinLabel>(t).Ignored("Transparent").Ignored("AutoSize");
        return t;
    }();
    return table;
}

TSkSkinPanel::TSkSkinPanel(TComponent* owner, QWidget* parent) : QFrame(parent), TControl(owner, this) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    resize(185, 41);
}

void TSkSkinPanel::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    if (showCaption_ && !Caption().isEmpty()) {
        QPainter p(this);
        p.drawText(rect(), Qt::AlignCenter, Caption());
    }
}

const PropertyTable& TSkSkinPanel::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinPanel>(t);
        PropertyBuilder<TSkSkinPanel>(t)
            .Bool("ShowCaption", [](const TSkSkinPanel& p) { return p.ShowCaption(); },
                  [](TSkSkinPanel& p, bool v) { p.SetShowCaption(v); }, true)
            .Bool("ShowButton", [](const TSkSkinPanel& p) { return p.ShowButton(); },
                  [](TSkSkinPanel& p, bool v) { p.SetShowButton(v); }, true);
        return t;
    }();
    return table;
}

// ---- page control -------------------------------------------------------------------------

TSkCustomTabSheet::TSkCustomTabSheet(TComponent* owner, QWidget* parent) : QWidget(parent), TControl(owner, this) {
    setAutoFillBackground(true);
}

int TSkCustomTabSheet::PageIndex() const { return pageControl_ ? pageControl_->indexOf(const_cast<TSkCustomTabSheet*>(this)) : -1; }

void TSkCustomTabSheet::CaptionChanged() {
    if (pageControl_) pageControl_->UpdateTabText(this);
}

const PropertyTable& TSkCustomTabSheet::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<TSkCustomTabSheet>(t).Ignored("PageIndex").Ignored("ImageIndex");
        return t;
    }();
    return table;
}

TSkSkinPageControl::TSkSkinPageControl(TComponent* owner, QWidget* parent) : QTabWidget(parent), TControl(owner, this) {
    connect(this, &QTabWidget::currentChanged, this, [this] { Fire(OnChange, static_cast<TComponent*>(this)); });
    resize(289, 193);
}

void TSkSkinPageControl::AdoptChild(TComponent* child) {
    if (auto* sheet = dynamic_cast<TSkCustomTabSheet*>(child)) {
        sheet->SetPageControl(this);
        addTab(sheet, sheet->Caption());
        return;
    }
    TControl::AdoptChild(child);
}

TSkCustomTabSheet* TSkSkinPageControl::ActivePage() const { return dynamic_cast<TSkCustomTabSheet*>(currentWidget()); }
void TSkSkinPageControl::SetActivePage(TSkCustomTabSheet* sheet) { if (sheet) setCurrentWidget(sheet); }
TSkCustomTabSheet* TSkSkinPageControl::Pages(int i) const { return dynamic_cast<TSkCustomTabSheet*>(widget(i)); }

void TSkSkinPageControl::UpdateTabText(TSkCustomTabSheet* sheet) {
    const int i = indexOf(sheet);
    if (i >= 0) setTabText(i, sheet->Caption());
}

const PropertyTable& TSkSkinPageControl::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinPageControl>(t);
        PropertyBuilder<TSkSkinPageControl>(t)
            .Reference<TSkCustomTabSheet>("ActivePage", [](TSkSkinPageControl& p, TSkCustomTabSheet* s) { p.SetActivePage(s); })
            .Event<TNotifyEvent>("OnChange", [](TSkSkinPageControl& p, const TNotifyEvent& h) { p.OnChange = h; });
        return t;
    }();
    return table;
}

// ---- result grid -----------------------------------------------------------------------------

TSkSkinStringGrid::TSkSkinStringGrid(TComponent* owner, QWidget* parent) : TStringGrid(owner, parent) {}

const PropertyTable& TSkSkinStringGrid::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TStringGrid::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinStringGrid>(t);
        return t;
    }();
    return table;
}

void RegisterSkinControls() {
    RegisterComponent<TSkSkinEdit>(QStringLiteral("TSkSkinEdit"));
    RegisterComponent<TSkSkinButton>(QStringLiteral("TSkSkinButton"));
    RegisterComponent<TSkSkinRadioButton>(QStringLiteral("TSkSkinRadioButton"));
    RegisterComponent<TSkSkinLabel>(QStringLiteral("TSkSkinLabel"));
    RegisterComponent<TSkSkinPanel>(QStringLiteral("TSkSkinPanel"));
    RegisterComponent<TSkCustomTabSheet>(QStringLiteral("TSkCustomTabSheet"));
    RegisterComponent<TSkSkinPageControl>(QStringLiteral("TSkSkinPageControl"));
    RegisterComponent<TSkSkinStringGrid>(QStringLiteral("TSkSkinStringGrid"));
}
