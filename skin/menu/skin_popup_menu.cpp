#include "skin_popup_menu.h"

#include "application.h"
#include "image_list.h"
#include "skin_menu_mode.h"

#include <QCoreApplication>

const EnumNames<TSkTrackButton> kSkTrackButtonNames{{"ktbRightButton", "ktbLeftButton"}};

TSkSkinPopupMenu::TSkSkinPopupMenu(TComponent* owner) : TComponent(owner), root_(std::make_unique<TSkCustomItem>()) {
    root_->SetItemOwner(this, this);
}

TSkSkinPopupMenu::~TSkSkinPopupMenu() {
    if (QCoreApplication::instance()) TSkMenuMode::Instance().ItemRemoved(this);
    root_->SetItemOwner(nullptr, nullptr);
    root_.reset();
}

void TSkSkinPopupMenu::AdoptChild(TComponent* child) {
    if (auto* item = dynamic_cast<TSkCustomItem*>(child)) root_->Add(item);
}

void TSkSkinPopupMenu::SetSkinEngine(TSkSkinEngine* e) {
    skinEngine_ = e;
    root_->BindSkin(TSkItemSkin::From(e));
}

void TSkSkinPopupMenu::Popup(int x, int y) {
    Fire(OnPopup, static_cast<TComponent*>(this));
    if (!root_->HasVisibleItems()) return;
    TSkMenuMode::Instance().StartPopup(this, root_.get(), QPoint(x, y), alignment_,
                                       trackButton_ == TSkTrackButton::ktbRightButton);
}

bool TSkSkinPopupMenu::IsOpen() const { return TSkMenuMode::Instance().Shows(this); }

void TSkSkinPopupMenu::Close() {
    if (IsOpen()) TSkMenuMode::Instance().End();
}

void TSkSkinPopupMenu::ItemChanged(TSkCustomItem*) { TSkMenuMode::Instance().ItemChanged(this); }
void TSkSkinPopupMenu::ItemRemoved(TSkCustomItem*) { TSkMenuMode::Instance().ItemRemoved(this); }
void TSkSkinPopupMenu::MenuClosed() { Fire(OnClose, static_cast<TComponent*>(this)); }

void TSkSkinPopupMenu::SkinChanging(TSkSkinEngine* engine) {
    if (engine != skinEngine_) return;
    Close();
    root_->BindSkin(TSkItemSkin::From(engine));
}

void TSkSkinPopupMenu::SkinChanged(TSkSkinEngine* engine) {
    if (engine == skinEngine_) root_->BindSkin(TSkItemSkin::From(engine));
}

const PropertyTable& TSkSkinPopupMenu::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkSkinPopupMenu;
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<T> b(t);
        b.Reference<TImageList>("Images", [](T& m, TImageList* l) { m.SetImages(l); })
            .Reference<TSkSkinEngine>("SkinEngine", [](T& m, TSkSkinEngine* e) { m.SetSkinEngine(e); })
            .Str("Version", [](const T&) { return T::Version(); }, [](T&, const QString&) {}, T::Version())
            .Enum<TSkPopupAlignment>("Alignment", kSkPopupAlignmentNames, [](const T& m) { return m.Alignment(); },
                                     [](T& m, TSkPopupAlignment a) { m.SetAlignment(a); }, TSkPopupAlignment::kpaLeft)
            .Bool("AutoPopup", [](const T& m) { return m.AutoPopup(); }, [](T& m, bool v) { m.SetAutoPopup(v); }, true)
            .Enum<TSkTrackButton>("TrackButton", kSkTrackButtonNames, [](const T& m) { return m.TrackButton(); },
                                  [](T& m, TSkTrackButton v) { m.SetTrackButton(v); }, TSkTrackButton::ktbRightButton)
            .Event<TNotifyEvent>("OnPopup", [](T& m, const TNotifyEvent& h) { m.OnPopup = h; });
        AddPopupMenuOptionsProperties<T>(b, QStringLiteral("PopupMenuOptions"),
                                         [](T& m) -> TSkPopupMenuOptions& { return m.PopupMenuOptions(); });
        return t;
    }();
    return table;
}
