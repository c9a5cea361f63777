#include "skin_system_menu.h"

#include "skin_popup_menu.h"

std::vector<TSkSystemMenuEntry> SystemMenuEntries(TSkWindowState state, unsigned icons) {
    using S = TSkWindowState;
    using A = TSkAction;
    std::vector<TSkSystemMenuEntry> e;
    e.push_back({QStringLiteral("还原(&R)"), 0, A::sbaRestore, state != S::kwsNormal});
    e.push_back({QStringLiteral("最小化(&N)"), 0, A::sbaMinimize,
                 (icons & kbiMinimize) && state != S::kwsMinimized && state != S::kwsTray});
    e.push_back({QStringLiteral("最大化(&X)"), 0, A::sbaMaximize, (icons & kbiMaximize) && state != S::kwsMaximized});
    if (icons & kbiRollup) {
        if (state == S::kwsRollup) e.push_back({QStringLiteral("展开(&D)"), 0, A::sbaRollDown, true});
        else e.push_back({QStringLiteral("卷起(&U)"), 0, A::sbaRollUp, state == S::kwsNormal || state == S::kwsMaximized});
    }
    e.push_back({QStringLiteral("-"), 0, A::sbaNone, true});
    e.push_back({QStringLiteral("关闭(&C)"), int(Qt::ALT | Qt::Key_F4), A::sbaClose, (icons & kbiClose) != 0});
    return e;
}

void FillSystemMenu(TSkSkinPopupMenu& menu, const std::vector<TSkSystemMenuEntry>& entries,
                    const std::function<void(TSkAction)>& perform) {
    TSkCustomItem* root = menu.Items();
    while (root->Count() > 0) delete root->Items(0);
    for (const TSkSystemMenuEntry& entry : entries) {
        const TSkAction action = entry.action;
        TSkCustomItem* item = root->AddItem(entry.caption, [perform, action](TComponent*) { perform(action); });
        item->SetEnabled(entry.enabled);
        item->SetShortCut(entry.shortCut);
    }
}
