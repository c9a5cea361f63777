#include "skin_controls.h"

#include "application.h"
#include "image_list.h"
#include "skin_engine.h"

#include <QMouseEvent>
#include <QPainter>

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
