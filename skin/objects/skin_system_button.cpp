#include "skin_system_button.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {

// Which actions each window state hides, and which border icon an action needs.
bool HiddenInWindowState(TSkAction a, int state) {
    using A = TSkAction;
    switch (state) {
    case skstate::Normal: return a == A::sbaRestore || a == A::sbaRollDown;
    case skstate::Maximized: return a == A::sbaMaximize || a == A::sbaRollDown;
    case skstate::Minimized: return a == A::sbaMinimize || a == A::sbaMaximize || a == A::sbaRollUp || a == A::sbaRollDown;
    case skstate::RolledUp: return a == A::sbaRestore || a == A::sbaRollUp;
    default: return false;
    }
}

unsigned IconFor(TSkAction a) {
    using A = TSkAction;
    switch (a) {
    case A::sbaClose: return kbiClose;
    case A::sbaHelp: return kbiHelp;
    case A::sbaMinimize: return kbiMinimize;
    case A::sbaMaximize: case A::sbaRestore: return kbiMaximize;
    case A::sbaRollUp: case A::sbaRollDown: return kbiRollup;
    case A::sbaTray: return kbiTray;
    case A::sbaSysMenu: return kbiSystemMenu;
    default: return 0;
    }
}

}  // namespace

// ---- behaviour --------------------------------------------------------------------

void SkSystemButtonBehaviour::SetLook(TSkButtonLook l) {
    look_ = l;
    button_.RequestRepaint();
}

void SkSystemButtonBehaviour::Enter() { SetLook(lastShift_ & ssLeft ? TSkButtonLook::Pressed : TSkButtonLook::Hot); }
void SkSystemButtonBehaviour::Leave() { SetLook(TSkButtonLook::Normal); }

void SkSystemButtonBehaviour::Down(TMouseButton b) {
    if (b == TMouseButton::mbLeft) SetLook(TSkButtonLook::Pressed);
}

void SkSystemButtonBehaviour::Move(TShiftState s) {
    lastShift_ = s;
    if (look_ == TSkButtonLook::Pressed && (s & ssLeft)) SetLook(TSkButtonLook::Pressed);
}

void SkSystemButtonBehaviour::Up(TMouseButton b, TSkAction action) {
    if (b != TMouseButton::mbLeft || look_ != TSkButtonLook::Pressed) return;
    SetLook(TSkButtonLook::Hot);
    Perform(action);
}

void SkSystemButtonBehaviour::DblClick(TMouseButton b, TSkAction action) {
    if (b == TMouseButton::mbLeft && action == TSkAction::sbaSysMenu) Perform(TSkAction::sbaClose);
}

void SkSystemButtonBehaviour::UpdateVisibility(TSkAction action, int state) {
    if (state != skstate::Normal && state != skstate::Maximized && state != skstate::Minimized && state != skstate::RolledUp)
        return;
    TSkFormActions* form = button_.Host() ? button_.Host()->SkinFormOwner() : nullptr;
    const unsigned icons = form ? form->SkBorderIcons() : (kbiClose | kbiSystemMenu | kbiMinimize | kbiMaximize);
    const unsigned need = IconFor(action);
    button_.SetVisible(!HiddenInWindowState(action, state) && (need == 0 || (icons & need)));
}

void SkSystemButtonBehaviour::Perform(TSkAction action) {
    TSkFormActions* form = button_.Host() ? button_.Host()->SkinFormOwner() : nullptr;
    if (!form) return;
    using A = TSkAction;
    switch (action) {
    case A::sbaClose: form->SkClose(); break;
    case A::sbaHelp: form->SkShowHelp(); break;
    case A::sbaMinimize: form->SkMinimize(); break;
    case A::sbaMaximize: form->SkMaximize(); break;
    case A::sbaRestore: case A::sbaRollDown: form->SkRestore(); break;
    case A::sbaRollUp: form->SkRollUp(); break;
    case A::sbaTray: form->SkMinimizeToTray(); break;
    case A::sbaSysMenu: form->SkShowSystemMenu(); break;
    case A::sbaCustom: form->SkCustomAction(&button_); break;
    default: break;
    }
}

// ---- TSkSystemButton ---------------------------------------------------------------------

const SkinClassTable& TSkSystemButton::StaticTable() {
    using T = TSkSystemButton;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkActiveBitmap::StaticTable(), [](SkinFields<T>& f) {
        f.Enum("Action", kSkActionNames, &T::action_, TSkAction::sbaNone)
            .Link("BitmapHot", &T::bitmapHot_)
            .Link("BitmapPressed", &T::bitmapPressed_);
    });
    return table;
}

void TSkSystemButton::DrawContent(QPainter& p) {
    if (action_ == TSkAction::sbaSysMenu) {
        QIcon icon;
        if (host_ && host_->SkinFormOwner()) icon = host_->SkinFormOwner()->SkFormIcon();
        if (icon.isNull()) icon = QGuiApplication::windowIcon();
        // The style exists only in a widgets application.
        QStyle* style = qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::style() : nullptr;
        if (icon.isNull() && style) icon = style->standardIcon(QStyle::SP_TitleBarMenuButton);
        int size = style ? style->pixelMetric(QStyle::PM_SmallIconSize) : 16;
        if (size < 1) size = 16;
        if (!icon.isNull()) icon.paint(&p, QRect(left_, top_, size, size));
        return;
    }
    auto pick = [](const TskBitmapLink& want, const TskBitmapLink& normal) -> const TskBitmapLink& {
        return want.Usable() ? want : normal;
    };
    auto childrenIn = [this](int state) {
        for (int k = 0; k < ChildCount(); ++k) Child(k)->SetState(state);
    };
    if (!active_) {
        childrenIn(skstate::Disabled);
        DrawBitmapObject(p, bitmap_, tileStyle_, borderTileStyle_);
        return;
    }
    switch (behaviour_.Look()) {
    case TSkButtonLook::Hot:
        childrenIn(skstate::Hot);
        DrawBitmapObject(p, pick(bitmapHot_, bitmap_), tileStyle_, borderTileStyle_);
        break;
    case TSkButtonLook::Pressed:
        childrenIn(skstate::Pressed);
        DrawBitmapObject(p, pick(bitmapPressed_, bitmap_), tileStyle_, borderTileStyle_);
        break;
    default:
        DrawBitmapObject(p, pick(activeBitmap_, bitmap_), tileStyle_, borderTileStyle_);
        break;
    }
}
