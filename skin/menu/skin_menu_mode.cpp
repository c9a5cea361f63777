#include "skin_menu_mode.h"

#include "application.h"
#include "skin_item.h"
#include "skin_menu_bar.h"
#include "skin_popup_window.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <memory>

namespace {

// A click posted to the mode; the item may be gone by the time it arrives.
class ItemClickEvent : public QEvent {
public:
    explicit ItemClickEvent(TSkCustomItem* item) : QEvent(Type()), item_(item), life_(item->Life()) {}
    static QEvent::Type Type() {
        static const auto t = QEvent::Type(QEvent::registerEventType(QEvent::User + SKM_ITEMCLICK));
        return t;
    }
    TSkCustomItem* Item() const { return life_.expired() ? nullptr : item_; }
private:
    TSkCustomItem* item_;
    std::weak_ptr<char> life_;
};

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

QChar TSkMenuMode::AcceleratorKey(const QKeyEvent* e) {
    const QString text = e->text();
    if (!text.isEmpty() && text[0].isPrint()) return text[0];
    // With Alt held some platforms send no text.
    const int key = e->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return QChar(key).toLower();
    return QChar();
}

TSkMenuMode& TSkMenuMode::Instance() {
    static QPointer<TSkMenuMode> mode;
    if (!mode) mode = new TSkMenuMode(QCoreApplication::instance());
    return *mode;
}

void TSkMenuMode::Begin(TSkItemOwner* owner, QWidget* window) {
    End();
    owner_ = owner;
    window_ = window;
    pressClosedPopup_ = false;
    qApp->installEventFilter(this);
}

void TSkMenuMode::StartOnBar(TSkCustomMenuBar* bar, TSkCustomItem* item) {
    Begin(bar, bar->window());
    bar_ = bar;
    rightButtonSelects_ = false;
    pressSeen_ = true;
    views_.push_back(bar);
    bar->Highlight(item ? item : bar->First(), TSkItemLook::Focused);
}

void TSkMenuMode::StartPopup(TSkItemOwner* owner, TSkCustomItem* root, QPoint at, TSkPopupAlignment alignment,
                             bool rightButtonSelects) {
    QWidget* window = QApplication::activeWindow();
    Begin(owner, window);
    rightButtonSelects_ = rightButtonSelects;
    pressSeen_ = false;
    openedAt_ = QCursor::pos();
    auto* popup = new TSkPopupWindow(root, owner->OwnerPopupOptions(), window);
    popups_.push_back(popup);
    views_.push_back(popup);
    popup->Open(at, TSkPopupWindow::Place::At, QRect(), alignment);
}

void TSkMenuMode::End() {
    if (!Active() && !owner_) return;
    qApp->removeEventFilter(this);
    CloseAfter(-1);
    if (bar_) bar_->Highlight(nullptr, TSkItemLook::Normal);
    views_.clear();
    bar_ = nullptr;
    TSkItemOwner* closed = owner_;
    owner_ = nullptr;
    window_ = nullptr;
    if (closed) closed->MenuClosed();
}

void TSkMenuMode::CloseAfter(int k) {
    // Views after k close, innermost first; the bar stays.
    while (int(views_.size()) > k + 1) {
        TSkMenuView* v = views_.back();
        views_.pop_back();
        if (v->IsBar()) continue;
        for (auto it = popups_.begin(); it != popups_.end(); ++it) {
            if (it->data() != v->ViewWidget()) continue;
            TSkPopupWindow* w = it->data();
            popups_.erase(it);
            w->hide();
            w->deleteLater();
            break;
        }
    }
    if (k >= 0 && k < int(views_.size())) views_[std::size_t(k)]->ViewWidget()->update();
}

TSkPopupWindow* TSkMenuMode::OpenPopup(int k, TSkCustomItem* item, bool selectFirst) {
    CloseAfter(k);
    TSkMenuView* from = views_[std::size_t(k)];
    from->Highlight(item, TSkItemLook::Focused);
    Fire(item->OnBeforeDropDown, static_cast<TComponent*>(item));
    if (!Active() || !item->HasVisibleItems()) return nullptr;
    QWidget* fromWidget = from->ViewWidget();
    const QRect r = from->ItemRect(item);
    const QRect global(fromWidget->mapToGlobal(r.topLeft()), r.size());
    auto* popup = new TSkPopupWindow(item, owner_->OwnerPopupOptions(), window_);
    popups_.push_back(popup);
    views_.push_back(popup);
    popup->Open(global.topLeft(), from->IsBar() ? TSkPopupWindow::Place::Below : TSkPopupWindow::Place::Right, global);
    if (selectFirst) popup->Highlight(popup->First(), TSkItemLook::Focused);
    return popup;
}

bool TSkMenuMode::Perform(int k, TSkCustomItem* item, bool byKeyboard) {
    if (!item || k < 0 || k >= int(views_.size())) return false;
    if (item->HasVisibleItems()) return OpenPopup(k, item, byKeyboard) != nullptr;
    if (item->IsSeparator() || !item->Enabled()) return false;
    const bool popupOpen = PopupOpen();
    End();
    if (popupOpen) QCoreApplication::postEvent(this, new ItemClickEvent(item));
    else item->Click();
    return true;
}

bool TSkMenuMode::PopupOpen() const { return !popups_.empty(); }

void TSkMenuMode::MoveOnBar(int step, bool open) {
    CloseAfter(0);
    TSkMenuView* bar = views_.front();
    TSkCustomItem* next = bar->Neighbour(step);
    bar->Highlight(next, TSkItemLook::Focused);
    if (open && next && next->HasVisibleItems()) OpenPopup(0, next, true);
}

void TSkMenuMode::ItemChanged(TSkItemOwner* owner) {
    if (owner != owner_) return;
    for (const QPointer<TSkPopupWindow>& p : popups_)
        if (p) p->Relayout();
}

void TSkMenuMode::ItemRemoved(TSkItemOwner* owner) {
    if (owner == owner_) End();
}

int TSkMenuMode::ViewAt(QPoint global) const {
    for (int k = int(views_.size()) - 1; k >= 0; --k) {
        QWidget* w = views_[std::size_t(k)]->ViewWidget();
        if (w->isVisible() && w->rect().contains(w->mapFromGlobal(global))) return k;
    }
    return -1;
}

bool TSkMenuMode::Mouse(QEvent* e) {
    auto* me = static_cast<QMouseEvent*>(e);
    const QPoint global = me->globalPosition().toPoint();
    const int k = ViewAt(global);
    TSkMenuView* view = k >= 0 ? views_[std::size_t(k)] : nullptr;
    TSkCustomItem* item = view ? view->ItemAt(view->ViewWidget()->mapFromGlobal(global)) : nullptr;
    const bool selectButton = me->button() == Qt::LeftButton || (rightButtonSelects_ && me->button() == Qt::RightButton);

    switch (e->type()) {
    case QEvent::MouseMove:
        if (!view) return true;
        if (view->IsBar()) {
            if (item && item != view->Highlighted()) {
                const bool dropped = PopupOpen();
                CloseAfter(k);
                view->Highlight(item, TSkItemLook::Focused);
                if (dropped && item->HasVisibleItems()) OpenPopup(k, item, false);
            }
        } else if (item != view->Highlighted()) {
            CloseAfter(k);
            view->Highlight(item && !item->IsSeparator() ? item : nullptr, TSkItemLook::Focused);
            if (item && item->HasVisibleItems()) {
                // Sub-menus open after a moment, so passing over an item on the way does not open it.
                QPointer<TSkPopupWindow> from = static_cast<TSkPopupWindow*>(view->ViewWidget());
                QTimer::singleShot(250, this, [this, from, k, item] {
                    if (from && k < int(views_.size()) && views_[std::size_t(k)] == from.data() &&
                        int(views_.size()) == k + 1 && from->Highlighted() == item)
                        OpenPopup(k, item, false);
                });
            }
        }
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        pressSeen_ = true;
        if (!view) {
            End();
            return true;
        }
        if (view->IsBar() && item && me->button() == Qt::LeftButton) {
            // A second press on the open item folds its menu up again.
            pressClosedPopup_ = item == view->Highlighted() && PopupOpen();
            CloseAfter(k);
            view->Highlight(item, TSkItemLook::Focused);
        } else if (!view->IsBar() && item && !item->IsSeparator() && item != view->Highlighted()) {
            // As a move there would have done.
            CloseAfter(k);
            view->Highlight(item, TSkItemLook::Focused);
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (!view) {
            End();
            return true;
        }
        if (!selectButton) return true;
        if (!pressSeen_ && (global - openedAt_).manhattanLength() <= 2) return true;
        if (item && item == view->Highlighted()) {
            if (view->IsBar() && pressClosedPopup_) {
                pressClosedPopup_ = false;
                return true;
            }
            // On the bar a press and release that can do nothing leaves the menu,
            // so the keys go back to where the teacher was typing.
            if (!Perform(k, item, false) && view->IsBar() && !PopupOpen()) End();
        } else if (view->IsBar() && !PopupOpen()) {
            End();
        }
        return true;
    default:
        return false;
    }
}

bool TSkMenuMode::Key(QKeyEvent* e) {
    const int key = e->key();
    const int k = int(views_.size()) - 1;
    TSkMenuView* view = views_.back();
    TSkCustomItem* item = view->Highlighted();
    if (key == Qt::Key_Alt || (key == Qt::Key_F10 && e->modifiers() == Qt::NoModifier)) {
        End();
        return true;
    }
    if (key == Qt::Key_Escape) {
        if (view->IsBar() || k == 0) End();
        else CloseAfter(k - 1);
        return true;
    }
    if (IsEnter(key)) {
        Perform(k, item, true);
        return true;
    }
    if (view->IsBar()) {
        switch (key) {
        case Qt::Key_Left: MoveOnBar(-1, false); return true;
        case Qt::Key_Right: MoveOnBar(1, false); return true;
        case Qt::Key_Down:
            if (item && item->HasVisibleItems()) OpenPopup(k, item, true);
            return true;
        case Qt::Key_Up: return true;
        default: break;
        }
    } else {
        const bool underBar = k == 1 && views_.front()->IsBar();
        switch (key) {
        case Qt::Key_Up: view->Highlight(view->Neighbour(-1), TSkItemLook::Focused); return true;
        case Qt::Key_Down: view->Highlight(view->Neighbour(1), TSkItemLook::Focused); return true;
        case Qt::Key_Right:
            if (item && item->HasVisibleItems()) OpenPopup(k, item, true);
            else if (underBar) MoveOnBar(1, true);
            return true;
        case Qt::Key_Left:
            if (underBar) MoveOnBar(-1, true);
            else if (k > 0) CloseAfter(k - 1);
            return true;
        default: break;
        }
    }
    if (const QChar c = AcceleratorKey(e); !c.isNull()) {
        if (TSkCustomItem* target = view->ItemForAccelerator(c)) {
            view->Highlight(target, TSkItemLook::Focused);
            Perform(k, target, true);
            return true;
        }
    }
    return false;  // everything else goes where it would have gone
}

bool TSkMenuMode::eventFilter(QObject* watched, QEvent* e) {
    for (const QPointer<TSkPopupWindow>& p : popups_)
        if (!p) {  // a popup went away behind our back
            End();
            return false;
        }
    switch (e->type()) {
    case QEvent::ShortcutOverride: {
        // Keys the menu handles must not fire the window's shortcuts first.
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Escape || IsEnter(key) || (key >= Qt::Key_Left && key <= Qt::Key_Down)) {
            e->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyPress:
        return watched->isWidgetType() && Key(static_cast<QKeyEvent*>(e));
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return watched->isWidgetType() && Mouse(e);
    case QEvent::Hide:
        for (const QPointer<TSkPopupWindow>& p : popups_)
            if (p.data() == watched) {  // closed by the system, not by us
                End();
                return false;
            }
        [[fallthrough]];
    case QEvent::Move:
    case QEvent::Resize:
        if (watched == window_.data()) End();
        return false;
    case QEvent::WindowDeactivate:
        if (watched == window_.data())
            QTimer::singleShot(0, this, [this] {
                QWidget* now = QApplication::activeWindow();
                if (!Active() || now == window_.data()) return;
                for (const QPointer<TSkPopupWindow>& p : popups_)
                    if (p.data() == now) return;
                End();
            });
        return false;
    default:
        return false;
    }
}

bool TSkMenuMode::event(QEvent* e) {
    if (e->type() == ItemClickEvent::Type()) {
        if (TSkCustomItem* item = static_cast<ItemClickEvent*>(e)->Item()) item->Click();
        return true;
    }
    return QObject::event(e);
}
