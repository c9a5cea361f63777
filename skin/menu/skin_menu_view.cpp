#include "skin_menu_view.h"

#include "skin_item.h"

#include <QWidget>

TSkCustomItem* TSkMenuView::ItemAt(QPoint local) const {
    const TSkCustomItem* items = ShownItems();
    if (!items) return nullptr;
    for (int k = 0; k < items->Count(); ++k) {
        TSkCustomItem* i = items->Items(k);
        if (i->Visible() && ItemRect(i).contains(local)) return i;
    }
    return nullptr;
}

void TSkMenuView::Highlight(TSkCustomItem* item, TSkItemLook look) {
    if (item == highlighted_ && look == look_) return;
    highlighted_ = item;
    look_ = look;
    ViewWidget()->update();
}

TSkCustomItem* TSkMenuView::Neighbour(int step) const {
    const TSkCustomItem* items = ShownItems();
    if (!items || items->Count() == 0) return nullptr;
    const int n = items->Count();
    const int from = highlighted_ ? items->IndexOf(highlighted_) : (step > 0 ? -1 : n);
    for (int k = 1; k <= n; ++k) {
        TSkCustomItem* i = items->Items(((from + step * k) % n + n) % n);
        if (i->Visible() && (IsBar() || !i->IsSeparator())) return i;
    }
    return nullptr;
}

TSkCustomItem* TSkMenuView::First() const {
    const TSkCustomItem* items = ShownItems();
    if (!items) return nullptr;
    for (int k = 0; k < items->Count(); ++k) {
        TSkCustomItem* i = items->Items(k);
        if (i->Visible() && (IsBar() || !i->IsSeparator())) return i;
    }
    return nullptr;
}

TSkCustomItem* TSkMenuView::ItemForAccelerator(QChar c) const {
    const TSkCustomItem* items = ShownItems();
    if (!items || c.isNull()) return nullptr;
    const QChar want = c.toLower();
    for (int k = 0; k < items->Count(); ++k) {
        TSkCustomItem* i = items->Items(k);
        if (i->Visible() && i->Accelerator() == want) return i;
    }
    return nullptr;
}
