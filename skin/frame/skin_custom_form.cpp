#include "skin_custom_form.h"

#include "application.h"
#include "form.h"
#include "skin_plain_frame.h"
#include "skin_menu_bar.h"
#include "skin_popup_menu.h"
#include "skin_tray.h"

#include <QApplication>
#include <QPainter>
#include <QWhatsThis>

const EnumNames<TSkBorderStyle> kSkBorderStyleNames{{"kbsNone", "kbsStandard", "kbsToolWindow"}};
const EnumNames<TSkWindowState> kSkWindowStateNames{{"kwsNormal", "kwsMaximized", "kwsMinimized", "kwsRollup", "kwsTray"}};
const EnumNames<TSkFormPerformance> kSkFormPerformanceNames{
    {"ksfpNoBuffer", "ksfpSharedBuffer", "ksfpPersistentBuffer", "ksfpDoubleBuffer"}};
const EnumNames<TSkFormDragMode> kSkFormDragModeNames{{"kfdmBorder", "kfdmFullDrag"}};
const EnumNames<unsigned> kSkBorderIconNames{
    {"kbiClose", "kbiSystemMenu", "kbiMinimize", "kbiMaximize", "kbiHelp", "kbiRollup", "kbiTray"}};

TSkCustomForm::TSkCustomForm(TComponent* owner) : TSkHook(owner), plain_(std::make_unique<TSkPlainFrame>()) {
    plain_->Form()->SetHost(this);
    tray_ = std::make_unique<TSkTrayIcon>([this] { ComeBackFromTray(); }, [this](QPoint at) { OpenSystemMenu(at, trayMenuOptions_, {}); });
    hoverTimer_.setInterval(100);
    QObject::connect(&hoverTimer_, &QTimer::timeout, this, [this] { TrackHover(); });
    TForm* form = HookedForm();
    if (!form) return;
    frameView_ = new TSkFrameView(this, form);
    clientArea_ = new TSkClientArea(this, form);
    ApplyWindowFlags();
    // Created on a finished form (not from its description): take it over now.
    if (!form->IsLoading()) {
        AdoptControls();
        FrameChanged();
    }
}

TSkCustomForm::~TSkCustomForm() {
    // Going before the form: its controls go back to it. (When the form itself
    // is going, its widgets are gone already.)
    TForm* form = HookedForm();
    if (!form || !clientArea_) return;
    for (QWidget* w : clientArea_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool hidden = w->isHidden();
        w->setParent(form);
        if (!hidden) w->show();
    }
    delete clientArea_.data();
    delete frameView_.data();
    form->setContentsMargins(0, 0, 0, 0);
    form->clearMask();
    form->setMinimumSize(0, 0);
}

const PropertyTable& TSkCustomForm::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkCustomForm;
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<T>(t)
            .Bool("Active", [](const T& f) { return f.Active(); }, [](T& f, bool v) { f.SetActive(v); }, true)
            .SetOf<unsigned>("BorderIcons", kSkBorderIconNames, [](const T& f) { return f.BorderIcons(); },
                             [](T& f, unsigned v) { f.SetBorderIcons(v); }, kbiClose | kbiSystemMenu | kbiMinimize | kbiMaximize)
            .Enum<TSkBorderStyle>("BorderStyle", kSkBorderStyleNames, [](const T& f) { return f.BorderStyle(); },
                                  [](T& f, TSkBorderStyle v) { f.SetBorderStyle(v); }, TSkBorderStyle::kbsStandard)
            .Str("Caption", [](const T& f) { return f.Caption(); }, [](T& f, const QString& v) { f.SetCaption(v); })
            .Bool("Dragging.Moveable", [](const T& f) { return f.Dragging().moveable; },
                  [](T& f, bool v) { f.Dragging().moveable = v; }, true)
            .Bool("Dragging.Sizeable", [](const T& f) { return f.Dragging().sizeable; },
                  [](T& f, bool v) { f.Dragging().sizeable = v; }, true)
            .Enum<TSkFormDragMode>("Dragging.DragMode", kSkFormDragModeNames, [](const T& f) { return f.Dragging().dragMode; },
                                   [](T& f, TSkFormDragMode v) { f.Dragging().dragMode = v; }, TSkFormDragMode::kfdmFullDrag)
            .Bool("Gravitation.Enabled", [](const T& f) { return f.gravitation_.enabled; },
                  [](T& f, bool v) { f.gravitation_.enabled = v; }, true)
            .Int("Gravitation.Size", [](const T& f) { return f.gravitation_.size; },
                 [](T& f, int v) { f.gravitation_.size = std::clamp(v, 0, 200); }, 20)
            .Bool("Blending.Enabled", [](const T& f) { return f.Blending().enabled; },
                  [](T& f, bool v) { TSkBlending b = f.Blending(); b.enabled = v; f.SetBlending(b); }, false)
            .Int("Blending.Value", [](const T& f) { return f.Blending().value; },
                 [](T& f, int v) { TSkBlending b = f.Blending(); b.value = std::clamp(v, 0, 255); f.SetBlending(b); }, 150)
            .Bool("Shadow.Enabled", [](const T& f) { return f.shadow_.enabled; }, [](T& f, bool v) { f.shadow_.enabled = v; }, false)
            .Int("Shadow.Size", [](const T& f) { return f.shadow_.size; }, [](T& f, int v) { f.shadow_.size = v; }, 4)
            .Bool("MinimizeApplication", [](const T& f) { return f.MinimizeApplication(); },
                  [](T& f, bool v) { f.SetMinimizeApplication(v); }, true)
            .Enum<TSkFormPerformance>("Performance", kSkFormPerformanceNames, [](const T& f) { return f.Performance(); },
                                      [](T& f, TSkFormPerformance v) { f.SetPerformance(v); }, TSkFormPerformance::ksfpNoBuffer)
            .Bool("StayOnTop", [](const T& f) { return f.StayOnTop(); }, [](T& f, bool v) { f.SetStayOnTop(v); }, false)
            .Bool("StretchBackground", [](const T& f) { return f.StretchBackground(); },
                  [](T& f, bool v) { f.SetStretchBackground(v); }, false)
            .Enum<TSkWindowState>("WindowState", kSkWindowStateNames, [](const T& f) { return f.WindowState(); },
                                  [](T& f, TSkWindowState v) { f.SetWindowState(v); }, TSkWindowState::kwsNormal)
            .Event<TNotifyEvent>("OnCreate", [](T& f, const TNotifyEvent& h) { f.OnCreate = h; })
            .Event<TNotifyEvent>("OnPaint", [](T& f, const TNotifyEvent& h) { f.OnPaint = h; })
            .Event<TNotifyEvent>("OnClose", [](T& f, const TNotifyEvent& h) { f.OnClose = h; })
            .Event<TNotifyEvent>("OnResize", [](T& f, const TNotifyEvent& h) { f.OnResize = h; })
            .Event<TSkPermitEvent>("OnMinimize", [](T& f, const TSkPermitEvent& h) { f.OnMinimize = h; })
            .Event<TSkPermitEvent>("OnMaximize", [](T& f, const TSkPermitEvent& h) { f.OnMaximize = h; })
            .Event<TSkPermitEvent>("OnRollup", [](T& f, const TSkPermitEvent& h) { f.OnRollup = h; })
            .Event<TSkPermitEvent>("OnMinToTray", [](T& f, const TSkPermitEvent& h) { f.OnMinToTray = h; })
            .Reference<TSkCustomMenuBar>("MenuBar", [](T& f, TSkCustomMenuBar* m) { f.SetMenuBar(m); })
            .Reference<TSkCustomItem>("WindowMenu", [](T& f, TSkCustomItem* i) { f.SetWindowMenu(i); });
        PropertyBuilder<T> b(t);
        AddAnimationProperties<T>(b, QStringLiteral("Animation"), [](T& f) -> TSkAnimation& { return f.Animation(); });
        AddPopupMenuOptionsProperties<T>(b, QStringLiteral("SystemMenuOptions"),
                                         [](T& f) -> TSkPopupMenuOptions& { return f.SystemMenuOptions(); });
        AddPopupMenuOptionsProperties<T>(b, QStringLiteral("TrayMenuOptions"),
                                         [](T& f) -> TSkPopupMenuOptions& { return f.TrayMenuOptions(); });
        return t;
    }();
    return table;
}

// ---- published properties -----------------------------------------------------------

void TSkCustomForm::SetActive(bool v) {
    if (active_ == v) return;
    // New window flags resize the window on their own: note the client first.
    const QSize client = ClientSize();
    active_ = v;
    ForgetObjects();
    ApplyWindowFlags();
    FrameChanged(client);
}

void TSkCustomForm::SetBorderIcons(unsigned icons) {
    icons &= kbiClose | kbiSystemMenu | kbiMinimize | kbiMaximize | kbiHelp | kbiRollup | kbiTray;
    if (borderIcons_ == icons) return;
    borderIcons_ = icons;
    PassWindowState();
    if (frameView_) frameView_->update();
}

void TSkCustomForm::SetBorderStyle(TSkBorderStyle s) {
    if (borderStyle_ == s) return;
    const QSize client = ClientSize();
    borderStyle_ = s;
    ForgetObjects();
    plain_->SetToolWindow(s == TSkBorderStyle::kbsToolWindow);
    plain_->Form()->SetHost(this);
    FrameChanged(client);
}

QString TSkCustomForm::Caption() const { return HookedForm() ? HookedForm()->Caption() : QString(); }

void TSkCustomForm::SetCaption(const QString& c) {
    if (TForm* form = HookedForm()) form->SetCaption(c);
}

void TSkCustomForm::SetBlending(const TSkBlending& b) {
    blending_ = b;
    if (TForm* form = HookedForm()) form->setWindowOpacity(b.enabled ? b.value / 255.0 : 1.0);
}

void TSkCustomForm::SetStayOnTop(bool v) {
    if (stayOnTop_ == v) return;
    stayOnTop_ = v;
    ApplyWindowFlags();
}

void TSkCustomForm::ApplyWindowFlags() {
    TForm* form = HookedForm();
    if (!form) return;
    Qt::WindowFlags flags = form->windowFlags();
    flags.setFlag(Qt::FramelessWindowHint, active_);
    flags.setFlag(Qt::WindowStaysOnTopHint, stayOnTop_);
    if (flags == form->windowFlags()) return;
    // New flags re-create the window, hidden: show it again where it was,
    // without taking the focus.
    const bool visible = form->isVisible();
    const QRect at = form->geometry();
    form->setWindowFlags(flags);
    if (!visible) return;
    form->setAttribute(Qt::WA_ShowWithoutActivating, true);
    form->setGeometry(at);
    form->show();
    form->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

// ---- the frame tree and the window's layout ----------------------------------------------

TSkSkinObject* TSkCustomForm::FormObject() const { return plain_->Form(); }

TSkSkinObject* TSkCustomForm::DrawnFrame() const {
    if (!active_ || borderStyle_ == TSkBorderStyle::kbsNone) return nullptr;
    return FormObject();
}

QWidget* TSkCustomForm::ClientArea() const { return clientArea_; }

QRect TSkCustomForm::ClientRect() const { return clientArea_ ? clientArea_->geometry() : QRect(); }

void TSkCustomForm::AdoptControls() {
    TForm* form = HookedForm();
    if (!form || !clientArea_) return;
    for (QObject* o : form->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w == frameView_ || w == clientArea_ || w->isWindow()) continue;
        const bool hidden = w->isHidden();
        w->setParent(clientArea_);
        if (!hidden) w->show();
    }
    clientArea_->raise();
    TControl::Realign(clientArea_);
}

void TSkCustomForm::ForgetObjects() {
    hovered_ = pressed_ = nullptr;
    title_ = client_ = nullptr;
    drag_ = Drag();
}

QSize TSkCustomForm::ClientSize() const { return HookedForm() ? HookedForm()->contentsRect().size() : QSize(); }

void TSkCustomForm::FrameChanged(QSize clientSize) {
    TForm* form = HookedForm();
    if (!form || !frameView_) return;
    TSkSkinObject* tree = DrawnFrame();
    title_ = tree ? tree->FindByKind(TSkKind::skTitle) : nullptr;
    client_ = tree ? tree->FindByKind(TSkKind::skClient) : nullptr;
    PassWindowState();
    QSize window = clientSize;
    if (tree && !client_) {
        window = QSize(tree->Width(), tree->Height());
    } else if (tree) {
        tree->SetBounds(0, 0, form->width(), form->height());
        const QMargins m = FrameInsets(tree, form->size());
        window = clientSize.grownBy(m);
        if (state_ == TSkWindowState::kwsRollup) window = RolledRect(form->geometry(), m).size();
    }
    if (state_ != TSkWindowState::kwsMaximized && window.isValid()) form->resize(window);
    if (state_ == TSkWindowState::kwsNormal) normalBounds_ = form->geometry();
    RefreshFrame();
}

void TSkCustomForm::RefreshFrame() {
    TForm* form = HookedForm();
    if (!form || !frameView_ || !clientArea_ || refreshing_) return;
    refreshing_ = true;
    TSkSkinObject* tree = DrawnFrame();
    if (tree) {
        // The minimum comes first: raising it may resize the window.
        tree->SetBounds(0, 0, form->width(), form->height());
        form->setMinimumSize(FrameMinimumSize(tree, form->size()));
    } else {
        form->setMinimumSize(0, 0);
    }
    const QRect whole = form->rect();
    frameView_->setGeometry(whole);
    frameView_->lower();
    if (!tree) {
        form->setContentsMargins(0, 0, 0, 0);
        clientArea_->setGeometry(whole);
        clientArea_->show();
        if (!form->mask().isEmpty()) form->clearMask();
    } else {
        tree->SetBounds(0, 0, whole.width(), whole.height());
        const QRect client = FrameClientRect(tree, whole.size());
        form->setContentsMargins(FrameInsets(tree, whole.size()));
        clientArea_->setGeometry(client);
        clientArea_->setVisible(state_ != TSkWindowState::kwsRollup && !client.isEmpty());
        PlaceLinkedControls(tree);
        // Only a new shape goes to the platform; some have no shapes and say so each time.
        QRegion shape = tree->Mask();
        if (shape == QRegion(whole)) shape = QRegion();
        if (shape != form->mask()) {
            if (shape.isEmpty()) form->clearMask();
            else form->setMask(shape);
        }
    }
    frameView_->update();
    refreshing_ = false;
}

void TSkCustomForm::PlaceLinkedControls(TSkSkinObject* tree) {
    TForm* form = HookedForm();
    const QPoint origin = ClientRect().topLeft();
    std::function<void(TSkSkinObject*)> visit = [&](TSkSkinObject* o) {
        for (int k = 0; k < o->ChildCount(); ++k) {
            TSkSkinObject* c = o->Child(k);
            if (auto* link = dynamic_cast<TSkLinkSkinObject*>(c); link && !link->linkControl_.isEmpty()) {
                TComponent* target = form->FindDeep(link->linkControl_);
                if (QWidget* w = target ? target->AsWidget() : nullptr) {
                    const QRect r = c->BoundsRect() & o->BoundsRect();
                    w->setGeometry(r.isEmpty() ? QRect() : r.translated(-origin));
                }
            }
            visit(c);
        }
    };
    visit(tree);
}

void TSkCustomForm::PassWindowState() {
    TSkSkinObject* tree = DrawnFrame();
    if (!tree) return;
    int value = skstate::Normal;
    switch (state_) {
    case TSkWindowState::kwsMaximized: value = skstate::Maximized; break;
    case TSkWindowState::kwsMinimized: case TSkWindowState::kwsTray: value = skstate::Minimized; break;
    case TSkWindowState::kwsRollup: value = skstate::RolledUp; break;
    default: break;
    }
    tree->SetState(value);
    ShowSizeGrips(tree, HitRules().sizeable);
}

// ---- painting ------------------------------------------------------------------------------

void TSkCustomForm::PaintFrame(QPainter& p) {
    TSkSkinObject* tree = DrawnFrame();
    if (!tree) return;
    tree->SetActive(windowActive_);
    PassWindowState();
    if (title_) title_->SetText(Caption());
    // The client area paints its own background.
    const bool clientShown = client_ && client_->Visible();
    if (client_) client_->SetVisible(false);
    // Skin pieces are written straight into the pixels of an image of our
    // own, far faster than through the window's painter piece by piece.
    const QSize size = frameView_->size();
    const qreal ratio = frameView_->devicePixelRatioF();
    if (frameImage_.size() != size * ratio || frameImage_.devicePixelRatio() != ratio) {
        frameImage_ = QImage(size * ratio, QImage::Format_ARGB32);
        frameImage_.setDevicePixelRatio(ratio);
    }
    frameImage_.fill(Qt::transparent);
    {
        QPainter image(&frameImage_);
        tree->Draw(image);
    }
    p.drawImage(0, 0, frameImage_);
    if (client_) client_->SetVisible(clientShown);
    Fire(OnPaint, this);
}

void TSkCustomForm::PaintClientBackground(QPainter& p) {
    if (!client_ || !DrawnFrame()) return;
    p.translate(-client_->Left(), -client_->Top());
    client_->SetActive(windowActive_);
    client_->Draw(p);
}

void TSkCustomForm::SkinObjectChanged(TSkSkinObject* object) {
    if (!frameView_ || !object || object == client_) return;
    frameView_->update(object->BoundsRect());
}

QImage TSkCustomForm::GrabWindow() const {
    TForm* form = HookedForm();
    if (!form) return QImage();
    QImage shot = form->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRegion shape = form->mask();
    if (!shape.isEmpty()) {
        QPainter p(&shot);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.setClipRegion(QRegion(form->rect()) - shape);
        p.fillRect(form->rect(), Qt::transparent);
    }
    return shot;
}

QIcon TSkCustomForm::SkFormIcon() const { return HookedForm() ? HookedForm()->windowIcon() : QGuiApplication::windowIcon(); }

void TSkCustomForm::SkClose() {
    if (TForm* form = HookedForm()) form->close();
}

void TSkCustomForm::SkShowHelp() { QWhatsThis::enterWhatsThisMode(); }

void TSkCustomForm::SkCustomAction(TSkSkinObject*) {}

// ---- the form's events ---------------------------------------------------------------------

void TSkCustomForm::Loaded() {
    TSkHook::Loaded();
    AdoptControls();
    FrameChanged();
    Fire(OnCreate, this);
}

bool TSkCustomForm::HookEvent(QEvent* e) {
    TForm* form = HookedForm();
    switch (e->type()) {
    case QEvent::Resize:
        RefreshFrame();
        if (state_ == TSkWindowState::kwsNormal && !applying_ && form->windowState() == Qt::WindowNoState)
            normalBounds_ = form->geometry();
        Fire(OnResize, this);
        break;
    case QEvent::Move:
        if (state_ == TSkWindowState::kwsNormal && !applying_ && form->windowState() == Qt::WindowNoState)
            normalBounds_ = form->geometry();
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ActivationChange:
        SetWindowActive(form->isActiveWindow());
        break;
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
        if (frameView_) frameView_->update();
        break;
    case QEvent::WindowStateChange:
        if (!applying_) SyncWithPlatformState();
        break;
    case QEvent::Show:
        WatchScreen();
        KeepOnScreen();
        if (pendingState_) SetWindowState(*std::exchange(pendingState_, std::nullopt));
        RestartHover();
        break;
    case QEvent::Hide:
        hoverTimer_.stop();
        break;
    case QEvent::Close:
        Fire(OnClose, this);
        break;
    default:
        break;
    }
    return false;
}
