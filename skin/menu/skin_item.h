#pragma once
// Menu items: a tree of captions with images, check marks and shortcuts,
// shown by a menu bar or a popup menu and drawn from their skin objects.
#include "component.h"
#include "events.h"

#include <QString>
#include <memory>
#include <vector>

class TImageList;
class TSkCustomItem;
class TSkSkinEngine;
class TSkSkinObject;
class TSkSkinSource;
struct TSkPopupMenuOptions;

// What an item can do instead of its own click handler.
class TSkItemAction : public TComponent {
public:
    explicit TSkItemAction(TComponent* owner = nullptr) : TComponent(owner) {}
    QString ClassName() const override { return QStringLiteral("TSkItemAction"); }
    void Execute();
    TNotifyEvent OnExecute;
};

// The component a tree of items belongs to: a menu bar or a popup menu.
class TSkItemOwner {
public:
    virtual ~TSkItemOwner() = default;
    virtual TImageList* OwnerImages() const = 0;
    virtual const TSkPopupMenuOptions& OwnerPopupOptions() const = 0;
    // An item's look or size changed: repaint what shows it.
    virtual void ItemChanged(TSkCustomItem* item) = 0;
    // An item is going: forget it.
    virtual void ItemRemoved(TSkCustomItem* item) = 0;
    // The menu mode that showed this owner's items has ended.
    virtual void MenuClosed() {}
};

// The skin objects items draw with. They point into the engine's source.
struct TSkItemSkin {
    const TSkSkinSource* source = nullptr;
    TSkSkinObject* menuBar = nullptr;
    TSkSkinObject* popupMenu = nullptr;
    TSkSkinObject* barItem = nullptr;      // "Item" of "MenuBar"
    TSkSkinObject* toolbarItem = nullptr;  // "ToolbarItem" of "MenuBar"
    TSkSkinObject* popupItem = nullptr;    // "Item" of "PopupMenu"
    TSkSkinObject* separator = nullptr;    // "Separator" of "PopupMenu"
    // Drawn from the skin only while the skin is there and not being swapped.
    bool Skinned() const;
    static TSkItemSkin From(TSkSkinEngine* engine);
};

class TSkCustomItem : public TComponent {
public:
    explicit TSkCustomItem(TComponent* owner = nullptr);
    ~TSkCustomItem() override;
    QString ClassName() const override { return QStringLiteral("TSkCustomItem"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    void AdoptChild(TComponent* child) override;

    // The tree.
    int Count() const { return int(items_.size()); }
    TSkCustomItem* Items(int index) const { return items_.at(std::size_t(index)); }
    int IndexOf(const TSkCustomItem* item) const;
    TSkCustomItem* Parent() const { return parent_; }
    void Add(TSkCustomItem* item) { Insert(Count(), item); }
    void Insert(int index, TSkCustomItem* item);
    void Remove(TSkCustomItem* item);
    // A new item owned by this one, at the end.
    TSkCustomItem* AddItem(const QString& caption, TNotifyEvent onClick = {});
    bool HasVisibleItems() const;
    // The item below this one whose ShortCut is shortCut and that a click
    // would perform: it and every item above it visible and enabled.
    TSkCustomItem* ItemForShortCut(int shortCut);
    // The bar or popup menu the tree belongs to.
    TComponent* ParentComponent() const;
    TSkItemOwner* ItemOwner() const;
    // Only for the root item of a bar or popup menu.
    void SetItemOwner(TComponent* component, TSkItemOwner* owner);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& c);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* l);
    // A Qt key combination; 0 for none.
    int ShortCut() const { return shortCut_; }
    void SetShortCut(int s);
    TSkItemAction* Action() const { return action_; }
    void SetAction(TSkItemAction* a) { action_ = a; }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int v) { helpContext_ = v; }
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& h) { hint_ = h; }
    bool Scrolled() const { return scrolled_; }
    void SetScrolled(bool v) { scrolled_ = v; }
    int ScrollCount() const { return scrollCount_; }
    void SetScrollCount(int v) { scrollCount_ = v; }

    TNotifyEvent OnClick;
    TNotifyEvent OnBeforeDropDown;

    bool IsSeparator() const { return caption_ == QLatin1String("-"); }
    // The caption without its accelerator marks ("&&" stays one "&").
    QString DisplayCaption() const;
    // The character after a single "&", lower case; null when there is none.
    QChar Accelerator() const;
    QString ShortCutText() const;
    // The item's own images, else its owner's; null when it shows none.
    TImageList* ShownImages() const;
    bool HasImage() const;

    // Nothing for a separator, an item with sub-items, a disabled or an
    // invisible item; otherwise its OnClick, else its action.
    void Click();

    const TSkItemSkin& Skin() const { return skin_; }
    // Takes the skin objects for this item and all below it.
    void BindSkin(const TSkItemSkin& skin);

    // Lets a posted click find out whether the item still exists.
    std::weak_ptr<char> Life() const { return life_; }

protected:
    void Changed();

private:
    std::vector<TSkCustomItem*> items_;
    TSkCustomItem* parent_ = nullptr;
    TComponent* parentComponent_ = nullptr;
    TSkItemOwner* itemOwner_ = nullptr;
    QString caption_;
    bool checked_ = false, enabled_ = true, visible_ = true;
    int imageIndex_ = -1;
    TImageList* images_ = nullptr;
    int shortCut_ = 0;
    TSkItemAction* action_ = nullptr;
    int helpContext_ = 0;
    QString hint_;
    bool scrolled_ = false;
    int scrollCount_ = 0;
    TSkItemSkin skin_;
    std::shared_ptr<char> life_ = std::make_shared<char>(0);
};

// The item class of window descriptions.
class TSkSkinItem : public TSkCustomItem {
public:
    using TSkCustomItem::TSkCustomItem;
    QString ClassName() const override { return QStringLiteral("TSkSkinItem"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
};
