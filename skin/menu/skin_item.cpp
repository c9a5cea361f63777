#include "skin_item.h"

#include "application.h"
#include "image_list.h"
#include "skin_engine.h"

#include <QKeySequence>
#include <algorithm>

bool TSkItemSkin::Skinned() const {
    return source && !source->Locked() && !source->Empty() && menuBar && popupMenu;
}

TSkItemSkin TSkItemSkin::From(TSkSkinEngine* engine) {
    TSkItemSkin s;
    if (!engine || engine->Source().Locked() || engine->Source().Empty()) return s;
    s.source = &engine->Source();
    s.menuBar = s.source->GetObjectByName(QStringLiteral("MenuBar"));
    s.popupMenu = s.source->GetObjectByName(QStringLiteral("PopupMenu"));
    if (s.menuBar) {
        s.barItem = s.menuBar->FindByName(QStringLiteral("Item"));
        s.toolbarItem = s.menuBar->FindByName(QStringLiteral("ToolbarItem"));
    }
    if (s.popupMenu) {
        s.popupItem = s.popupMenu->FindByName(QStringLiteral("Item"));
        s.separator = s.popupMenu->FindByName(QStringLiteral("Separator"));
    }
    return s;
}

void TSkItemAction::Execute() { Fire(OnExecute, static_cast<TComponent*>(this)); }

TSkCustomItem::TSkCustomItem(TComponent* owner) : TComponent(owner) {}

TSkCustomItem::~TSkCustomItem() {
    if (TSkItemOwner* o = ItemOwner()) o->ItemRemoved(this);
    if (parent_) {
        auto& siblings = parent_->items_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    // Sub-items owned elsewhere outlive this one; they just lose their parent.
    for (TSkCustomItem* c : items_) c->parent_ = nullptr;
}

void TSkCustomItem::AdoptChild(TComponent* child) {
    if (auto* item = dynamic_cast<TSkCustomItem*>(child)) Add(item);
}

int TSkCustomItem::IndexOf(const TSkCustomItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

void TSkCustomItem::Insert(int index, TSkCustomItem* item) {
    if (!item || item == this) return;
    for (const TSkCustomItem* a = this; a; a = a->parent_)  // no item may hold its own ancestor
        if (a == item) return;
    if (item->parent_) item->parent_->Remove(item);
    items_.insert(items_.begin() + std::clamp(index, 0, Count()), item);
    item->parent_ = this;
    item->BindSkin(skin_);
    Changed();
}

void TSkCustomItem::Remove(TSkCustomItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    TSkItemOwner* o = ItemOwner();
    items_.erase(it);
    item->parent_ = nullptr;
    if (o) o->ItemRemoved(item);
    Changed();
}

TSkCustomItem* TSkCustomItem::AddItem(const QString& caption, TNotifyEvent onClick) {
    auto* item = new TSkSkinItem(this);
    item->caption_ = caption;
    item->OnClick = std::move(onClick);
    Add(item);
    return item;
}

bool TSkCustomItem::HasVisibleItems() const {
    return std::any_of(items_.begin(), items_.end(), [](const TSkCustomItem* i) { return i->visible_; });
}

TSkCustomItem* TSkCustomItem::ItemForShortCut(int shortCut) {
    if (shortCut == 0) return nullptr;
    for (TSkCustomItem* i : items_) {
        if (!i->visible_ || !i->enabled_ || i->IsSeparator()) continue;
        if (!i->items_.empty()) {
            if (TSkCustomItem* found = i->ItemForShortCut(shortCut)) return found;
        } else if (i->shortCut_ == shortCut) {
            return i;
        }
    }
    return nullptr;
}

TComponent* TSkCustomItem::ParentComponent() const {
    const TSkCustomItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->parentComponent_;
}

TSkItemOwner* TSkCustomItem::ItemOwner() const {
    const TSkCustomItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->itemOwner_;
}

void TSkCustomItem::SetItemOwner(TComponent* component, TSkItemOwner* owner) {
    parentComponent_ = component;
    itemOwner_ = owner;
}

void TSkCustomItem::Changed() {
    if (TSkItemOwner* o = ItemOwner()) o->ItemChanged(this);
}

void TSkCustomItem::SetCaption(const QString& c) {
    if (c == caption_) return;
    caption_ = c;
    Changed();
}
void TSkCustomItem::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    Changed();
}
void TSkCustomItem::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Changed();
}
void TSkCustomItem::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Changed();
}
void TSkCustomItem::SetImageIndex(int i) {
    if (i == imageIndex_) return;
    imageIndex_ = i;
    Changed();
}
void TSkCustomItem::SetImages(TImageList* l) {
    if (l == images_) return;
    images_ = l;
    Changed();
}
void TSkCustomItem::SetShortCut(int s) {
    if (s == shortCut_) return;
    shortCut_ = s;
    Changed();
}

QString TSkCustomItem::DisplayCaption() const {
    QString out;
    for (int k = 0; k < caption_.size(); ++k) {
        if (caption_[k] == QLatin1Char('&')) {
            if (k + 1 < caption_.size() && caption_[k + 1] == QLatin1Char('&')) out += caption_[++k];
            continue;
        }
        out += caption_[k];
    }
    return out;
}

QChar TSkCustomItem::Accelerator() const {
    for (int k = 0; k + 1 < caption_.size(); ++k) {
        if (caption_[k] != QLatin1Char('&')) continue;
        if (caption_[k + 1] == QLatin1Char('&')) {
            ++k;
            continue;
        }
        return caption_[k + 1].toLower();
    }
    return QChar();
}

QString TSkCustomItem::ShortCutText() const {
    return shortCut_ ? QKeySequence(shortCut_).toString(QKeySequence::NativeText) : QString();
}

TImageList* TSkCustomItem::ShownImages() const {
    if (images_) return images_;
    const TSkItemOwner* o = ItemOwner();
    return o ? o->OwnerImages() : nullptr;
}

bool TSkCustomItem::HasImage() const {
    const TImageList* l = ShownImages();
    return l && imageIndex_ >= 0 && imageIndex_ < l->Count();
}

void TSkCustomItem::Click() {
    if (IsSeparator() || !items_.empty() || !enabled_ || !visible_) return;
    // An action whose handler is this OnClick would run the same code, so
    // an assigned OnClick always wins.
    if (OnClick) Fire(OnClick, static_cast<TComponent*>(this));
    else if (action_) action_->Execute();
}

void TSkCustomItem::BindSkin(const TSkItemSkin& skin) {
    skin_ = skin;
    for (TSkCustomItem* c : items_) c->BindSkin(skin);
}

const PropertyTable& TSkCustomItem::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkCustomItem;
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<T>(t)
            .Reference<TSkItemAction>("Action", [](T& i, TSkItemAction* a) { i.SetAction(a); })
            .Int("HelpContext", [](const T& i) { return i.HelpContext(); }, [](T& i, int v) { i.SetHelpContext(v); }, 0)
            .Str("Hint", [](const T& i) { return i.Hint(); }, [](T& i, const QString& v) { i.SetHint(v); }, QString())
            .Bool("Scrolled", [](const T& i) { return i.Scrolled(); }, [](T& i, bool v) { i.SetScrolled(v); }, false)
            .Int("ScrollCount", [](const T& i) { return i.ScrollCount(); }, [](T& i, int v) { i.SetScrollCount(v); }, 0);
        return t;
    }();
    return table;
}

const PropertyTable& TSkSkinItem::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkSkinItem;
        PropertyTable t(&TSkCustomItem::StaticProperties());
        PropertyBuilder<T>(t)
            .Str("Caption", [](const T& i) { return i.Caption(); }, [](T& i, const QString& v) { i.SetCaption(v); }, QString())
            .Bool("Checked", [](const T& i) { return i.Checked(); }, [](T& i, bool v) { i.SetChecked(v); }, false)
            .Bool("Enabled", [](const T& i) { return i.Enabled(); }, [](T& i, bool v) { i.SetEnabled(v); }, true)
            .Int("ImageIndex", [](const T& i) { return i.ImageIndex(); }, [](T& i, int v) { i.SetImageIndex(v); }, -1)
            .Reference<TImageList>("Images", [](T& i, TImageList* l) { i.SetImages(l); })
            .Int("ShortCut", [](const T& i) { return i.ShortCut(); }, [](T& i, int v) { i.SetShortCut(v); }, 0)
            .Bool("Visible", [](const T& i) { return i.Visible(); }, [](T& i, bool v) { i.SetVisible(v); }, true)
            .Event<TNotifyEvent>("OnClick", [](T& i, const TNotifyEvent& h) { i.OnClick = h; })
            .Event<TNotifyEvent>("OnBeforeDropDown", [](T& i, const TNotifyEvent& h) { i.OnBeforeDropDown = h; });
        return t;
    }();
    return table;
}
