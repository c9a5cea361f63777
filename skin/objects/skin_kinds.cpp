#include "skin_kinds.h"

const EnumNames<TSkAlign> kSkAlignNames{{"saNone", "saLeft", "saMostLeft", "saTop", "saMostTop", "saRight",
                                         "saMostRight", "saBottom", "saMostBottom", "saClient", "saTopLeft",
                                         "saTopRight", "saBottomLeft", "saBottomRight", "saCenter", "saText"}};
const EnumNames<TSkKind> kSkKindNames{{"skNone", "skForm", "skCaption", "skTitle", "skTop", "skLeft", "skRight",
                                       "skBottom", "skTopLeft", "skTopRight", "skBottomLeft", "skBottomRight",
                                       "skSysButton", "skClient", "skMenuBar", "skMenuBarItem", "skMenuBarItemText",
                                       "skPopupMenu", "skPopupMenuItem", "skPopupMenuItemText", "skItemText",
                                       "skTranparent"}};
const EnumNames<TSkTextAlign> kSkTextAlignNames{{"taTopLeft", "taTopCenter", "taTopRight", "taLeft", "taCenter",
                                                 "taRight", "taBottomLeft", "taBottomCenter", "taBottomRight"}};
const EnumNames<TSkTextEffect> kSkTextEffectNames{{"teNone", "teShadow"}};
const EnumNames<TskTileStyle> kSkTileStyleNames{{"tsTile", "tsStretch", "tsCenter"}};
const EnumNames<TSkAction> kSkActionNames{{"sbaNone", "sbaClose", "sbaHelp", "sbaMinimize", "sbaMaximize",
                                           "sbaRestore", "sbaRollUp", "sbaRollDown", "sbaTray", "sbaSysMenu",
                                           "sbaRollPanel", "sbaCustom"}};
const EnumNames<TSkRollKind> kSkRollKindNames{{"rkLeft", "rkTop", "rkRight", "rkBottom"}};
