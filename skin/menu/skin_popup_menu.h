#pragma once
// A menu that opens where the program asks, such as the window's system
// menu, drawn from the skin's "PopupMenu".
#include "component.h"
#include "events.h"
#include "skin_engine.h"
#include "skin_item.h"
#include "skin_popup_window.h"

#include <memory>

class TImageList;

// The button that chooses items besides the left one.
enum class TSkTrackButton { ktbRightButton, ktbLeftButton };
extern const EnumNames<TSkTrackButton> kSkTrackButtonNames;

class TSkSkinPopupMenu : public TComponent, public TSkItemOwner, public TSkSkinClient {
public:
    explicit TSkSkinPopupMenu(TComponent* owner = nullptr);
    ~TSkSkinPopupMenu() override;
    QString ClassName() const override { return QStringLiteral("TSkSkinPopupMenu"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    void AdoptChild(TComponent* child) override;
    static QString Version() { return QStringLiteral("3.4.0"); }

    TSkCustomItem* Items() const { return root_.get(); }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* l) { images_ = l; }
    TSkSkinEngine* SkinEngine() const { return skinEngine_; }
    void SetSkinEngine(TSkSkinEngine* e);
    TSkPopupMenuOptions& PopupMenuOptions() { return options_; }
    TSkPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TSkPopupAlignment a) { alignment_ = a; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool v) { autoPopup_ = v; }
    TSkTrackButton TrackButton() const { return trackButton_; }
    void SetTrackButton(TSkTrackButton b) { trackButton_ = b; }
    TNotifyEvent OnPopup;
    // The menu has closed, whether an item was chosen or not; a chosen
    // item's OnClick comes after.
    TNotifyEvent OnClose;

    // Opens the menu at a global position in logical pixels and returns at
    // once; a chosen item's OnClick runs after the menu has closed.
    void Popup(int x, int y);
    bool IsOpen() const;
    void Close();

    // TSkItemOwner
    TImageList* OwnerImages() const override { return images_; }
    const TSkPopupMenuOptions& OwnerPopupOptions() const override { return options_; }
    void ItemChanged(TSkCustomItem* item) override;
    void ItemRemoved(TSkCustomItem* item) override;
    void MenuClosed() override;

    // TSkSkinClient
    void SkinChanging(TSkSkinEngine* engine) override;
    void SkinChanged(TSkSkinEngine* engine) override;

private:
    std::unique_ptr<TSkCustomItem> root_;
    TImageList* images_ = nullptr;
    TSkSkinEngine* skinEngine_ = nullptr;
    TSkPopupMenuOptions options_;
    TSkPopupAlignment alignment_ = TSkPopupAlignment::kpaLeft;
    bool autoPopup_ = true;
    TSkTrackButton trackButton_ = TSkTrackButton::ktbRightButton;
};
