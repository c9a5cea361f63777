#include "skin_system_menu.h"

#include <QMenu>
#include <QPointer>

std::vector<TSkSystemMenuEntry> SystemMenuEntries(TSkWindowState state, unsigned icons) {
    using S = TSkWindowState;
    using A = TSkAction;
    std::vector<TSkSystemMenuEntry> e;
    e.push_back({QStringLiteral("还原(&R)"), QString(), A::sbaRestore, state != S::kwsNormal});
    e.push_back({QStringLiteral("最小化(&N)"), QString(), A::sbaMinimize,
                 (icons & kbiMinimize) && state != S::kwsMinimized && state != S::kwsTray});
    e.push_back({QStringLiteral("最大化(&X)"), QString(), A::sbaMaximize, (icons & kbiMaximize) && state != S::kwsMaximized});
    if (icons & kbiRollup) {
        if (state == S::kwsRollup) e.push_back({QStringLiteral("展开(&D)"), QString(), A::sbaRollDown, true});
        else e.push_back({QStringLiteral("卷起(&U)"), QString(), A::sbaRollUp, state == S::kwsNormal || state == S::kwsMaximized});
    }
    e.push_back({QStringLiteral("-"), QString(), A::sbaNone, true});
    e.push_back({QStringLiteral("关闭(&C)"), QStringLiteral("Alt+F4"), A::sbaClose, (icons & kbiClose) != 0});
    return e;
}

TSkAction PopupSystemMenu(QWidget* owner, QPoint globalPos, const std::vector<TSkSystemMenuEntry>& entries) {
    QMenu menu(owner);
    for (const TSkSystemMenuEntry& entry : entries) {
        if (entry.caption == QLatin1String("-")) {
            menu.addSeparator();
            continue;
        }
        QAction* a = menu.addAction(entry.shortcut.isEmpty() ? entry.caption : entry.caption + QLatin1Char('\t') + entry.shortcut);
        a->setEnabled(entry.enabled);
        a->setData(int(entry.action));
    }
    QPointer<QAction> chosen = menu.exec(globalPos);
    return chosen ? TSkAction(chosen->data().toInt()) : TSkAction::sbaNone;
}
