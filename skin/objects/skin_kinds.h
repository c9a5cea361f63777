#pragma once
// What skin objects are and how they sit: the enumerations the stream names
// (their order is part of the stream format), the state byte and the
// border icons of a skinned form.
#include "component.h"
#include "skin_bitmap.h"

enum class TSkAlign {
    saNone, saLeft, saMostLeft, saTop, saMostTop, saRight, saMostRight, saBottom, saMostBottom,
    saClient, saTopLeft, saTopRight, saBottomLeft, saBottomRight, saCenter, saText
};
enum class TSkKind {
    skNone, skForm, skCaption, skTitle, skTop, skLeft, skRight, skBottom, skTopLeft, skTopRight,
    skBottomLeft, skBottomRight, skSysButton, skClient, skMenuBar, skMenuBarItem, skMenuBarItemText,
    skPopupMenu, skPopupMenuItem, skPopupMenuItemText, skItemText, skTranparent
};
enum class TSkTextAlign { taTopLeft, taTopCenter, taTopRight, taLeft, taCenter, taRight, taBottomLeft, taBottomCenter, taBottomRight };
enum class TSkTextEffect { teNone, teShadow };
enum class TSkAction {
    sbaNone, sbaClose, sbaHelp, sbaMinimize, sbaMaximize, sbaRestore, sbaRollUp, sbaRollDown, sbaTray,
    sbaSysMenu, sbaRollPanel, sbaCustom
};
enum class TSkRollKind { rkLeft, rkTop, rkRight, rkBottom };

extern const EnumNames<TSkAlign> kSkAlignNames;
extern const EnumNames<TSkKind> kSkKindNames;
extern const EnumNames<TSkTextAlign> kSkTextAlignNames;
extern const EnumNames<TSkTextEffect> kSkTextEffectNames;
extern const EnumNames<TskTileStyle> kSkTileStyleNames;
extern const EnumNames<TSkAction> kSkActionNames;
extern const EnumNames<TSkRollKind> kSkRollKindNames;

// The state byte: how a control looks right now. The window frame also passes
// its window state (0, 2, 3, 4) through it.
namespace skstate {
constexpr int Normal = 0, Maximized = 2, Minimized = 3, RolledUp = 4;
constexpr int Hot = 5, Pressed = 6, Focused = 7, Disabled = 8;
}

// BorderIcons of a skinned form, as bits.
enum TSkBorderIcon : unsigned {
    kbiClose = 1, kbiSystemMenu = 2, kbiMinimize = 4, kbiMaximize = 8, kbiHelp = 16, kbiRollup = 32, kbiTray = 64
};

// The value a state picks: hot, pressed, focused or disabled, else normal.
template <class V>
const V& ForState(int state, const V& normal, const V& hot, const V& pressed, const V& focused, const V& disabled) {
    switch (state) {
    case skstate::Hot: return hot;
    case skstate::Pressed: return pressed;
    case skstate::Focused: return focused;
    case skstate::Disabled: return disabled;
    default: return normal;
    }
}
