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

// ---- menu bar ----------------------------------------------------------------------------------

TSkSkinItem::TSkSkinItem(TComponent* owner) : TComponent(owner) {}

void TSkSkinItem::Changed() {
    if (menuBar_) menuBar_->update();
}
void TSkSkinItem::SetCaption(const QString& c) { if (c != caption_) { caption_ = c; Changed(); } }
void TSkSkinItem::SetEnabled(bool v) { if (v != enabled_) { enabled_ = v; Changed(); } }
void TSkSkinItem::SetChecked(bool v) { if (v != checked_) { checked_ = v; Changed(); } }
void TSkSkinItem::SetVisible(bool v) { if (v != visible_) { visible_ = v; Changed(); } }
void TSkSkinItem::SetImageIndex(int i) { if (i != imageIndex_) { imageIndex_ = i; Changed(); } }

void TSkSkinItem::Click() {
    if (enabled_ && visible_) Fire(OnClick, static_cast<TComponent*>(this));
}

const PropertyTable& TSkSkinItem::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<TSkSkinItem>(t)
            .Str("Caption", [](const TSkSkinItem& i) { return i.Caption(); }, [](TSkSkinItem& i, const QString& v) { i.SetCaption(v); }, QString())
            .Bool("Enabled", [](const TSkSkinItem& i) { return i.Enabled(); }, [](TSkSkinItem& i, bool v) { i.SetEnabled(v); }, true)
            .Bool("Checked", [](const TSkSkinItem& i) { return i.Checked(); }, [](TSkSkinItem& i, bool v) { i.SetChecked(v); }, false)
            .Bool("Visible", [](const TSkSkinItem& i) { return i.Visible(); }, [](TSkSkinItem& i, bool v) { i.SetVisible(v); }, true)
            .Int("ImageIndex", [](const TSkSkinItem& i) { return i.ImageIndex(); }, [](TSkSkinItem& i, int v) { i.SetImageIndex(v); }, -1)
            .Event<TNotifyEvent>("OnClick", [](TSkSkinItem& i, const TNotifyEvent& h) { i.OnClick = h; });
        return t;
    }();
    return table;
}

TSkSkinMenuBar::TSkSkinMenuBar(TComponent* owner, QWidget* parent) : QWidget(parent), TControl(owner, this) {
    setMouseTracking(true);
    resize(200, 19);
}

void TSkSkinMenuBar::AdoptChild(TComponent* child) {
    if (auto* item = dynamic_cast<TSkSkinItem*>(child)) {
        item->SetMenuBar(this);
        items_.push_back(item);
        update();
        return;
    }
    TControl::AdoptChild(child);
}

QRect TSkSkinMenuBar::ItemRect(const TSkSkinItem* item) const {
    const QFontMetrics fm(font());
    int x = 2;
    for (const TSkSkinItem* i : items_) {
        if (!i->Visible()) {
            if (i == item) return {};
            continue;
        }
        int w = fm.horizontalAdvance(i->Caption()) + 12;
        if (images_ && i->ImageIndex() >= 0 && i->ImageIndex() < images_->Count()) w += images_->Width() + 3;
        if (i == item) return QRect(x, 0, w, height());
        x += w;
    }
    return {};
}

TSkSkinItem* TSkSkinMenuBar::ItemAt(const QPoint& p) const {
    for (TSkSkinItem* i : items_)
        if (ItemRect(i).contains(p)) return i;
    return nullptr;
}

void TSkSkinMenuBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ToQColor(clMenuBar));
    p.setFont(font());
    for (TSkSkinItem* i : items_) {
        const QRect r = ItemRect(i);
        if (r.isEmpty()) continue;
        const bool hot = i == hot_ && i->Enabled();
        if (hot || i->Checked()) {
            p.fillRect(r.adjusted(0, 1, -1, -1), hot ? ToQColor(clMenuHighlight).lighter(170) : ToQColor(clBtnFace).darker(104));
            p.setPen(ToQColor(hot ? clMenuHighlight : clBtnShadow));
            p.drawRect(r.adjusted(0, 1, -1, -2));
        }
        int x = r.left() + 6;
        if (images_ && i->ImageIndex() >= 0 && i->ImageIndex() < images_->Count()) {
            QPixmap img = images_->Image(i->ImageIndex());
            const int y = r.top() + (r.height() - img.height()) / 2;
            if (i->Enabled()) p.drawPixmap(x, y, img);
            else {
                p.setOpacity(0.35);
                p.drawPixmap(x, y, img);
                p.setOpacity(1.0);
            }
            x += images_->Width() + 3;
        }
        p.setPen(ToQColor(i->Enabled() ? clMenuText : clGrayText));
        p.drawText(QRect(x, r.top(), r.right() - x, r.height()), Qt::AlignLeft | Qt::AlignVCenter, i->Caption());
    }
}

void TSkSkinMenuBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (TSkSkinItem* item = ItemAt(e->position().toPoint())) item->Click();
}

void TSkSkinMenuBar::mouseMoveEvent(QMouseEvent* e) {
    TSkSkinItem* item = ItemAt(e->position().toPoint());
    if (item != hot_) {
        hot_ = item;
        update();
    }
}

void TSkSkinMenuBar::leaveEvent(QEvent*) {
    hot_ = nullptr;
    update();
}

const PropertyTable& TSkSkinMenuBar::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<TSkSkinMenuBar>(t);
        PropertyBuilder<TSkSkinMenuBar>(t)
            .Reference<TImageList>("Images", [](TSkSkinMenuBar& m, TImageList* l) { m.SetImages(l); })
            .Ignored("Animation");
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
    RegisterComponent<TSkSkinItem>(QStringLiteral("TSkSkinItem"));
    RegisterComponent<TSkSkinMenuBar>(QStringLiteral("TSkSkinMenuBar"));
}
