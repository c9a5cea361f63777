// The window states of a skinned frame: normal, maximized (the work area),
// minimized, rolled up to its caption, and hidden in the notification area.
#include "application.h"
#include "form.h"
#include "skin_custom_form.h"
#include "skin_tray.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

namespace {
struct Applying {
    explicit Applying(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Applying() { flag_ = was_; }
    bool& flag_;
    bool was_;
};
}

void TSkCustomForm::SetWindowState(TSkWindowState s) {
    TForm* form = HookedForm();
    if (!form || IsLoading() || form->IsLoading() || !form->isVisible()) {
        // Minimizing or hiding a window nobody has seen yet would lose it:
        // the state waits for the first show.
        pendingState_ = s;
        return;
    }
    switch (s) {
    case TSkWindowState::kwsNormal: SkRestore(); break;
    case TSkWindowState::kwsMaximized: if (state_ != s) SkMaximize(); break;
    case TSkWindowState::kwsMinimized: if (state_ != s) SkMinimize(); break;
    case TSkWindowState::kwsRollup: if (state_ != s) SkRollUp(); break;
    case TSkWindowState::kwsTray: if (state_ != s) SkMinimizeToTray(); break;
    }
}

bool TSkCustomForm::Permit(const TSkPermitEvent& e) {
    bool can = true;
    Fire(e, this, can);
    return can;
}

void TSkCustomForm::EnterState(TSkWindowState s) {
    TForm* form = HookedForm();
    if (state_ == TSkWindowState::kwsNormal && form->windowState() == Qt::WindowNoState) normalBounds_ = form->geometry();
    previous_ = state_;
    state_ = s;
    PassWindowState();
}

// Out of the minimized window or the notification area, before any other state.
void TSkCustomForm::LeaveHiddenStates() {
    TForm* form = HookedForm();
    Applying guard(applying_);
    if (form->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) form->setWindowState(Qt::WindowNoState);
    if (state_ == TSkWindowState::kwsTray) {
        tray_->Hide();
        form->show();
    }
}

void TSkCustomForm::ApplyGeometry(const QRect& r) {
    TForm* form = HookedForm();
    {
        Applying guard(applying_);
        if (r.isValid()) form->setGeometry(r);
    }
    RefreshFrame();
}

// Asks the handler first; asking for the state the window is in restores it.
bool TSkCustomForm::GoesOn(TSkWindowState s, const TSkPermitEvent& e) {
    if (!Permit(e)) return false;
    if (state_ != s) return true;
    SkRestore();
    return false;
}

void TSkCustomForm::SkMaximize() {
    TForm* form = HookedForm();
    if (!form || !GoesOn(TSkWindowState::kwsMaximized, OnMaximize)) return;
    LeaveHiddenStates();
    EnterState(TSkWindowState::kwsMaximized);
    ApplyGeometry(WorkAreaFor(form->geometry(), form->screen()));
}

void TSkCustomForm::SkRestore() {
    TForm* form = HookedForm();
    if (!form || state_ == TSkWindowState::kwsNormal) return;
    LeaveHiddenStates();
    previous_ = state_;
    state_ = TSkWindowState::kwsNormal;
    PassWindowState();
    // The screen may have changed, or grown smaller, while it was away.
    ApplyGeometry(KeptOnWorkArea(normalBounds_, WorkAreaFor(normalBounds_, form->screen()), form->minimumSize()));
    form->activateWindow();
}

void TSkCustomForm::SkRollUp() {
    TForm* form = HookedForm();
    if (!form || !GoesOn(TSkWindowState::kwsRollup, OnRollup)) return;
    LeaveHiddenStates();
    EnterState(TSkWindowState::kwsRollup);
    ApplyGeometry(RolledRect(form->geometry(), form->contentsMargins()));
}

void TSkCustomForm::MinimizeWindow() {
    TForm* form = HookedForm();
    Applying guard(applying_);
    if (form->parentWidget() && minimizeApplication_) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !w->isMinimized()) w->showMinimized();
        return;
    }
    // Other windows keep theirs; the platform's minimized window stands in for a minimized rectangle.
    form->showMinimized();
}

void TSkCustomForm::SkMinimize() {
    TForm* form = HookedForm();
    if (!form || form->isModal() || !GoesOn(TSkWindowState::kwsMinimized, OnMinimize)) return;
    if (state_ == TSkWindowState::kwsTray) LeaveHiddenStates();
    EnterState(TSkWindowState::kwsMinimized);
    MinimizeWindow();
}

void TSkCustomForm::SkMinimizeToTray() {
    TForm* form = HookedForm();
    if (!form || form->isModal() || !GoesOn(TSkWindowState::kwsTray, OnMinToTray)) return;
    if (!TSkTrayIcon::Available()) {
        // A window hidden where no notification area can bring it back would be lost.
        EnterState(TSkWindowState::kwsMinimized);
        MinimizeWindow();
        return;
    }
    LeaveHiddenStates();
    EnterState(TSkWindowState::kwsTray);
    QString tip = minimizeApplication_ ? Application().Title() : Caption();
    if (tip.isEmpty()) tip = Caption();
    tray_->Show(SkFormIcon(), tip);
    Applying guard(applying_);
    form->hide();
}

void TSkCustomForm::ComeBackFromTray() {
    TForm* form = HookedForm();
    if (!form || state_ != TSkWindowState::kwsTray) return;
    tray_->Hide();
    state_ = previous_ == TSkWindowState::kwsMinimized || previous_ == TSkWindowState::kwsTray ? TSkWindowState::kwsNormal : previous_;
    previous_ = TSkWindowState::kwsTray;
    PassWindowState();
    form->show();
    form->raise();
    form->activateWindow();
    RefreshFrame();
}

bool TSkCustomForm::InTray() const { return tray_->Visible(); }
QString TSkCustomForm::TrayTip() const { return tray_->Tip(); }

// The window manager or the taskbar changed the window: follow it.
void TSkCustomForm::SyncWithPlatformState() {
    TForm* form = HookedForm();
    const Qt::WindowStates now = form->windowState();
    if (now & Qt::WindowMinimized) {
        if (state_ != TSkWindowState::kwsMinimized && state_ != TSkWindowState::kwsTray) EnterState(TSkWindowState::kwsMinimized);
    } else if (state_ == TSkWindowState::kwsMinimized) {
        // Back from the taskbar in the state it left.
        state_ = previous_ == TSkWindowState::kwsMinimized || previous_ == TSkWindowState::kwsTray ? TSkWindowState::kwsNormal : previous_;
        previous_ = TSkWindowState::kwsMinimized;
        PassWindowState();
        RefreshFrame();
    } else if ((now & Qt::WindowMaximized) && state_ == TSkWindowState::kwsNormal) {
        EnterState(TSkWindowState::kwsMaximized);
        RefreshFrame();
    } else if (now == Qt::WindowNoState && state_ == TSkWindowState::kwsMaximized) {
        previous_ = state_;
        state_ = TSkWindowState::kwsNormal;
        PassWindowState();
        RefreshFrame();
    }
}

void TSkCustomForm::KeepOnScreen() {
    TForm* form = HookedForm();
    if (!form || !form->isVisible()) return;
    if (state_ == TSkWindowState::kwsMaximized) {
        ApplyGeometry(WorkAreaFor(form->geometry(), form->screen()));
    } else if (state_ == TSkWindowState::kwsNormal || state_ == TSkWindowState::kwsRollup) {
        const QRect kept = KeptOnWorkArea(form->geometry(), WorkAreaFor(form->geometry(), form->screen()), form->minimumSize());
        if (kept == form->geometry()) return;
        form->setGeometry(kept);
        if (state_ == TSkWindowState::kwsRollup) normalBounds_.moveTopLeft(kept.topLeft());
    }
}

// A window moved to another screen, or whose screen changed its size, is
// kept on it.
void TSkCustomForm::WatchScreen() {
    TForm* form = HookedForm();
    QWindow* window = form ? form->windowHandle() : nullptr;
    if (!window) return;
    if (!screenMoved_)
        screenMoved_ = QObject::connect(window, &QWindow::screenChanged, this, [this] {
            WatchScreen();
            KeepOnScreen();
        });
    QObject::disconnect(screenResized_);
    if (QScreen* screen = window->screen())
        screenResized_ = QObject::connect(screen, &QScreen::availableGeometryChanged, this, [this] { KeepOnScreen(); });
}

void TSkCustomForm::Perform(TSkAction a) {
    using A = TSkAction;
    switch (a) {
    case A::sbaRestore: case A::sbaRollDown: SkRestore(); break;
    case A::sbaMinimize: SkMinimize(); break;
    case A::sbaMaximize: SkMaximize(); break;
    case A::sbaRollUp: SkRollUp(); break;
    case A::sbaClose: SkClose(); break;
    default: break;
    }
}

void TSkCustomForm::ToggleMaximized() {
    if (state_ == TSkWindowState::kwsMaximized || state_ == TSkWindowState::kwsRollup) SkRestore();
    else if (state_ == TSkWindowState::kwsNormal && (borderIcons_ & kbiMaximize)) SkMaximize();
}
