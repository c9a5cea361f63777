// The pointer on a skinned frame: what each point is for, hover, presses and
// double-clicks delivered to the objects, moving and sizing the window, and
// the system menu.
#include "form.h"
#include "skin_custom_form.h"
#include "skin_popup_menu.h"
#include "skin_system_menu.h"
#include "skin_x11_move.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWindow>

TSkHitRules TSkCustomForm::HitRules() const {
    const bool fixedSize = state_ == TSkWindowState::kwsMaximized || state_ == TSkWindowState::kwsRollup;
    return {dragging_.moveable, dragging_.sizeable && !fixedSize};
}

TSkFrameArea TSkCustomForm::AreaAt(QPoint p) { return FrameAreaAt(DrawnFrame(), p, HitRules()); }

void TSkCustomForm::UpdateCursor(TSkFrameArea area) {
    if (frameView_ && drag_.kind == Drag::Kind::None) frameView_->setCursor(CursorOf(area));
}

void TSkCustomForm::TrackHover() {
    TForm* form = HookedForm();
    TSkSkinObject* tree = DrawnFrame();
    if (!form || !tree) return;
    TSkSkinObject* hit = tree->HitTest(form->mapFromGlobal(QCursor::pos()));
    if (!hit) {
        if (TSkSkinObject* old = std::exchange(hovered_, nullptr)) old->MouseLeave();
        return;
    }
    if (hit == hovered_ || !hit->Visible()) return;
    if (hovered_) hovered_->MouseLeave();
    hovered_ = hit;
    if (!pressed_ || hit == pressed_) hit->MouseEnter();
}

void TSkCustomForm::RestartHover() {
    if (windowActive_ && HookedForm() && HookedForm()->isVisible()) hoverTimer_.start();
}

void TSkCustomForm::SetWindowActive(bool active) {
    if (windowActive_ == active) return;
    windowActive_ = active;
    if (active) RestartHover();
    else hoverTimer_.stop();
    if (frameView_) frameView_->update();
}

void TSkCustomForm::FrameMousePress(QMouseEvent* e) {
    TSkSkinObject* tree = DrawnFrame();
    const QPoint p = e->position().toPoint();
    TSkSkinObject* hit = tree ? tree->HitTest(p) : nullptr;
    pressed_ = hit;
    if (hit) hit->MouseDown(MouseButtonOf(e), p - hit->BoundsRect().topLeft());
    if (e->button() != Qt::LeftButton) return;
    const TSkFrameArea area = AreaAt(p);
    const QPoint global = e->globalPosition().toPoint();
    if (IsSizingArea(area)) {
        StartResize(EdgesOf(area), global);
    } else if (area == TSkFrameArea::Caption) {
        // Moving waits for the pointer to travel, so clicks and double-clicks stay clicks.
        drag_ = {Drag::Kind::Armed, global, HookedForm()->geometry(), {}};
    }
}

void TSkCustomForm::FrameMouseDoubleClick(QMouseEvent* e) {
    TSkSkinObject* tree = DrawnFrame();
    const QPoint p = e->position().toPoint();
    TSkSkinObject* hit = tree ? tree->HitTest(p) : nullptr;
    pressed_ = hit;
    drag_ = Drag();
    if (hit) hit->DblClick(MouseButtonOf(e), p - hit->BoundsRect().topLeft());
    if (e->button() == Qt::LeftButton && AreaAt(p) == TSkFrameArea::Caption) ToggleMaximized();
}

void TSkCustomForm::FrameMouseMove(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    const QPoint global = e->globalPosition().toPoint();
    if (drag_.kind == Drag::Kind::Armed && (e->buttons() & Qt::LeftButton)) {
        if ((global - drag_.pressGlobal).manhattanLength() >= QApplication::startDragDistance()) {
            StartMove(global);
            return;
        }
        // Until the travel makes it a move, the window follows by hand: the
        // pointer keeps its grip on the caption from the first pixel.
        if (state_ == TSkWindowState::kwsNormal) HookedForm()->move(drag_.startGeometry.topLeft() + global - drag_.pressGlobal);
    }
    if (drag_.kind == Drag::Kind::Moving || drag_.kind == Drag::Kind::Sizing) {
        ContinueManualDrag(global);
        return;
    }
    TSkSkinObject* tree = DrawnFrame();
    TSkSkinObject* target = e->buttons() != Qt::NoButton ? pressed_ : (tree ? tree->HitTest(p) : nullptr);
    if (target) target->MouseMove(ShiftStateOf(e), p - target->BoundsRect().topLeft());
    UpdateCursor(AreaAt(p));
    TrackHover();
}

void TSkCustomForm::FrameMouseRelease(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    drag_ = Drag();
    TSkSkinObject* tree = DrawnFrame();
    TSkSkinObject* target = std::exchange(pressed_, nullptr);
    // The object may close the window or change the skin: nothing of it is used after.
    if (target && tree && tree->HitTest(p) == target) target->MouseUp(MouseButtonOf(e), p - target->BoundsRect().topLeft());
    if (e->button() == Qt::RightButton && AreaAt(p) == TSkFrameArea::Caption) ShowSystemMenu(e->globalPosition().toPoint());
}

void TSkCustomForm::StartMove(QPoint global) {
    TForm* form = HookedForm();
    QPoint pressed = drag_.pressGlobal;
    QRect start = drag_.startGeometry;
    pressed_ = nullptr;
    drag_ = Drag();
    if (state_ == TSkWindowState::kwsMaximized) {
        // Dragging a maximized window takes it back to its normal size under the pointer.
        const double along = start.width() > 0 ? double(pressed.x() - start.left()) / start.width() : 0.5;
        SkRestore();
        form->move(global.x() - int(along * form->width()), start.top());
        pressed = global;
        start = form->geometry();
    }
    // The window goes where the pointer has taken it, and the window manager
    // carries it on from that grip.
    const QPoint grip = pressed - start.topLeft();
    form->move(global - grip);
    if (StartX11Move(form, global)) return;
    if (form->windowHandle() && form->windowHandle()->startSystemMove()) return;
    // By hand, from where the button went down: the pointer keeps its grip on the caption.
    drag_ = {Drag::Kind::Moving, pressed, start, {}};
    ContinueManualDrag(global);
}

void TSkCustomForm::StartResize(Qt::Edges edges, QPoint global) {
    TForm* form = HookedForm();
    pressed_ = nullptr;
    drag_ = Drag();
    if (form->windowHandle() && form->windowHandle()->startSystemResize(edges)) return;
    drag_ = {Drag::Kind::Sizing, global, form->geometry(), edges};
}

// Where the platform will not move or size the window, we do.
void TSkCustomForm::ContinueManualDrag(QPoint global) {
    TForm* form = HookedForm();
    const QPoint travel = global - drag_.pressGlobal;
    if (drag_.kind == Drag::Kind::Moving) {
        QRect want = drag_.startGeometry.translated(travel);
        if (gravitation_.enabled) want.moveTopLeft(SnapToEdges(want, WorkAreaFor(want, form->screen()), gravitation_.size));
        form->move(want.topLeft());
    } else {
        form->setGeometry(ResizedRect(drag_.startGeometry, drag_.edges, travel, form->minimumSize()));
    }
}

void TSkCustomForm::ShowSystemMenu(QPoint globalPos) { OpenSystemMenu(globalPos, systemMenuOptions_, {}); }

void TSkCustomForm::OpenSystemMenu(QPoint globalPos, const TSkPopupMenuOptions& options, TNotifyEvent onClose) {
    TForm* form = HookedForm();
    if (!form) return;
    pressed_ = nullptr;
    drag_ = Drag();
    if (!systemMenu_) systemMenu_ = std::make_unique<TSkSkinPopupMenu>();
    systemMenu_->Close();
    FillSystemMenu(*systemMenu_, SystemMenuEntries(state_, borderIcons_), [this](TSkAction a) { Perform(a); });
    systemMenu_->SetSkinEngine(MenuSkinEngine());
    systemMenu_->PopupMenuOptions().Assign(options);
    systemMenu_->OnClose = std::move(onClose);
    systemMenu_->Popup(globalPos.x(), globalPos.y());
}

namespace {
TSkSkinObject* VisibleMenuButton(TSkSkinObject* o) {
    if (auto* b = dynamic_cast<TSkSystemButton*>(o); b && b->Action() == TSkAction::sbaSysMenu && b->Visible()) return b;
    for (int k = 0; k < o->ChildCount(); ++k)
        if (TSkSkinObject* found = VisibleMenuButton(o->Child(k))) return found;
    return nullptr;
}
}

void TSkCustomForm::SkShowSystemMenu() {
    TForm* form = HookedForm();
    TSkSkinObject* tree = DrawnFrame();
    if (!form || !tree) return;
    // Below the caption, at the button that asks for it (else at the caption's left end).
    TSkSkinObject* button = VisibleMenuButton(tree);
    const QRect under = button ? button->BoundsRect() : QRect();
    const QPoint at(under.left(), std::max(under.top() + under.height(), ClientRect().top()));
    auto opened = std::make_shared<QElapsedTimer>();
    opened->start();
    // The open menu takes the second click of a double-click on the button,
    // and closes on it: that double-click is the button's.
    OpenSystemMenu(form->mapToGlobal(at), systemMenuOptions_, [this, opened, under](TComponent*) {
        TForm* f = HookedForm();
        TSkSkinObject* tree = DrawnFrame();
        TSkSkinObject* button = tree ? VisibleMenuButton(tree) : nullptr;
        if (!f || !button || button->BoundsRect() != under || opened->elapsed() >= QApplication::doubleClickInterval() ||
            !(QGuiApplication::mouseButtons() & Qt::LeftButton))
            return;
        const QPoint p = f->mapFromGlobal(QCursor::pos());
        if (under.contains(p)) button->DblClick(TMouseButton::mbLeft, p - under.topLeft());
    });
}
