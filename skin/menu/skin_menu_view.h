#pragma once
// What the menu bar and a popup window share: a row or column of items,
// one of them highlighted.
#include "skin_item_paint.h"

#include <QPoint>
#include <QRect>

class QWidget;
class TSkCustomItem;

class TSkMenuView {
public:
    virtual ~TSkMenuView() = default;
    virtual QWidget* ViewWidget() = 0;
    // The item whose sub-items this view shows.
    virtual TSkCustomItem* ShownItems() const = 0;
    virtual bool IsBar() const = 0;
    // In the view's own coordinates; empty for an item it does not show.
    virtual QRect ItemRect(const TSkCustomItem* item) const = 0;

    TSkCustomItem* ItemAt(QPoint local) const;
    TSkCustomItem* Highlighted() const { return highlighted_; }
    TSkItemLook HighlightLook() const { return look_; }
    void Highlight(TSkCustomItem* item, TSkItemLook look);
    TSkItemLook LookOf(const TSkCustomItem* item) const {
        return item && item == highlighted_ ? look_ : TSkItemLook::Normal;
    }
    // The next visible item after the highlighted one (step -1: before),
    // wrapping round; popups pass over separators.
    TSkCustomItem* Neighbour(int step) const;
    TSkCustomItem* First() const;
    // The visible item whose accelerator is c, if any.
    TSkCustomItem* ItemForAccelerator(QChar c) const;

private:
    TSkCustomItem* highlighted_ = nullptr;
    TSkItemLook look_ = TSkItemLook::Normal;
};
