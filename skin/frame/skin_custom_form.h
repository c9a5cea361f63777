#pragma once
// A window frame the program draws itself. The form becomes a frameless
// top-level window; its caption, borders and system buttons are drawn from a
// tree of skin objects (a skin's form object, or a plain frame of our own),
// which also says what each point of the window is for. Moving and sizing go
// through the window manager; the window states are kept here.
#include "skin_form_types.h"
#include "skin_frame_geometry.h"
#include "skin_frame_view.h"
#include "skin_hook.h"
#include "skin_object.h"
#include "skin_popup_window.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <optional>

class QMouseEvent;
class QPainter;
class TSkCustomItem;
class TSkCustomMenuBar;
class TSkPlainFrame;
class TSkSkinEngine;
class TSkSkinPopupMenu;
class TSkTrayIcon;

class TSkCustomForm : public TSkHook, public TSkSkinHost, public TSkFormActions, public TSkFrameSurface {
public:
    explicit TSkCustomForm(TComponent* owner);
    ~TSkCustomForm() override;
    QString ClassName() const override { return QStringLiteral("TSkCustomForm"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    // False hands the window back to the platform's own frame.
    bool Active() const { return active_; }
    void SetActive(bool v);
    unsigned BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(unsigned icons);
    TSkBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TSkBorderStyle s);
    // The form's caption, shown in the title object.
    QString Caption() const;
    void SetCaption(const QString& c);
    TSkDragging& Dragging() { return dragging_; }
    const TSkDragging& Dragging() const { return dragging_; }
    TSkGravitation& Gravitation() { return gravitation_; }
    const TSkBlending& Blending() const { return blending_; }
    void SetBlending(const TSkBlending& b);
    TSkShadow& Shadow() { return shadow_; }
    bool MinimizeApplication() const { return minimizeApplication_; }
    void SetMinimizeApplication(bool v) { minimizeApplication_ = v; }
    TSkFormPerformance Performance() const { return performance_; }
    void SetPerformance(TSkFormPerformance p) { performance_ = p; }
    bool StayOnTop() const { return stayOnTop_; }
    void SetStayOnTop(bool v);
    bool StretchBackground() const { return stretchBackground_; }
    void SetStretchBackground(bool v) { stretchBackground_ = v; }
    TSkWindowState WindowState() const { return state_; }
    void SetWindowState(TSkWindowState s);
    // How the window and its two menus appear; the program leaves animation off.
    TSkAnimation& Animation() { return animation_; }
    TSkPopupMenuOptions& SystemMenuOptions() { return systemMenuOptions_; }
    TSkPopupMenuOptions& TrayMenuOptions() { return trayMenuOptions_; }
    TSkCustomMenuBar* MenuBar() const { return menuBar_; }
    void SetMenuBar(TSkCustomMenuBar* bar) { menuBar_ = bar; }
    TSkCustomItem* WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TSkCustomItem* item) { windowMenu_ = item; }

    TNotifyEvent OnCreate, OnPaint, OnClose, OnResize;
    TSkPermitEvent OnMinimize, OnMaximize, OnRollup, OnMinToTray;

    // ---- run time ----
    // The widget that holds the form's controls, at the client rectangle.
    QWidget* ClientArea() const;
    // In window coordinates.
    QRect ClientRect() const;
    // What the point (window coordinates) is for, as the window manager is told.
    TSkFrameArea AreaAt(QPoint p);
    // The tree the frame is drawn from: the plain frame here.
    virtual TSkSkinObject* FormObject() const;
    TSkSkinObject* TitleObject() const { return title_; }
    TSkSkinObject* HoveredObject() const { return hovered_; }
    TSkSkinObject* PressedObject() const { return pressed_; }
    bool WindowActive() const { return windowActive_; }
    // The window's place in the normal state.
    QRect NormalBounds() const { return normalBounds_; }
    bool InTray() const;
    QString TrayTip() const;
    // What the hover timer does every 100 ms.
    void TrackHover() override;
    void ShowSystemMenu(QPoint globalPos);
    // The system menu while it is open (null before it first opened).
    TSkSkinPopupMenu* SystemMenu() const { return systemMenu_.get(); }
    // The window as it looks, cut to its shape (outside it is transparent).
    QImage GrabWindow() const;

    // What system buttons and the system menu do.
    void SkClose() override;
    void SkShowHelp() override;
    void SkMinimize() override;
    void SkMaximize() override;
    void SkRestore() override;
    void SkRollUp() override;
    void SkMinimizeToTray() override;
    void SkShowSystemMenu() override;
    void SkCustomAction(TSkSkinObject* button) override;
    unsigned SkBorderIcons() const override { return borderIcons_; }
    QIcon SkFormIcon() const override;

    void SkinObjectChanged(TSkSkinObject* object) override;
    TSkFormActions* SkinFormOwner() override { return this; }

    // The frame's widgets hand their painting and mouse here.
    void PaintFrame(QPainter& p) override;
    void PaintClientBackground(QPainter& p) override;
    void FrameMousePress(QMouseEvent* e) override;
    void FrameMouseDoubleClick(QMouseEvent* e) override;
    void FrameMouseMove(QMouseEvent* e) override;
    void FrameMouseRelease(QMouseEvent* e) override;

    void Loaded() override;

protected:
    bool HookEvent(QEvent* e) override;
    // The tree changed: lay the new one out, keeping the client's size (as
    // it was before the change began).
    void FrameChanged() { FrameChanged(ClientSize()); }
    void FrameChanged(QSize clientSize);
    QSize ClientSize() const;
    // Drops every pointer into the current tree (before it goes).
    void ForgetObjects();
    // Lays the tree out at the window's size, places the client area and
    // shapes the window.
    void RefreshFrame();
    void StopHover() { hoverTimer_.stop(); }
    void RestartHover();
    // The tree when the frame is drawn at all.
    TSkSkinObject* DrawnFrame() const;
    // The engine the system menu is drawn from; none draws it plain.
    virtual TSkSkinEngine* MenuSkinEngine() const { return nullptr; }

private:
    struct Drag {
        enum class Kind { None, Armed, Moving, Sizing } kind = Kind::None;
        QPoint pressGlobal;
        QRect startGeometry;
        Qt::Edges edges;
    };

    void AdoptControls();
    void ApplyWindowFlags();
    void PlaceLinkedControls(TSkSkinObject* tree);
    // Tells the tree the window state: system buttons show and hide by it.
    void PassWindowState();
    TSkHitRules HitRules() const;
    void SetWindowActive(bool active);
    void UpdateCursor(TSkFrameArea area);
    void StartMove(QPoint global);
    void StartResize(Qt::Edges edges, QPoint global);
    void ContinueManualDrag(QPoint global);
    void OpenSystemMenu(QPoint globalPos, const TSkPopupMenuOptions& options, TNotifyEvent onClose);

    // Window states (skin_form_states.cpp).
    bool Permit(const TSkPermitEvent& e);
    bool GoesOn(TSkWindowState s, const TSkPermitEvent& e);
    void EnterState(TSkWindowState s);
    void LeaveHiddenStates();
    void ApplyGeometry(const QRect& r);
    void MinimizeWindow();
    void ComeBackFromTray();
    void SyncWithPlatformState();
    // The whole window on the work area of its screen, whatever the scale.
    void KeepOnScreen();
    void WatchScreen();
    void Perform(TSkAction a);
    void ToggleMaximized();

    bool active_ = true;
    unsigned borderIcons_ = kbiClose | kbiSystemMenu | kbiMinimize | kbiMaximize;
    TSkBorderStyle borderStyle_ = TSkBorderStyle::kbsStandard;
    TSkDragging dragging_;
    TSkGravitation gravitation_;
    TSkBlending blending_;
    TSkShadow shadow_;
    bool minimizeApplication_ = true;
    TSkFormPerformance performance_ = TSkFormPerformance::ksfpNoBuffer;
    bool stayOnTop_ = false;
    bool stretchBackground_ = false;
    TSkWindowState state_ = TSkWindowState::kwsNormal;
    TSkWindowState previous_ = TSkWindowState::kwsNormal;
    std::optional<TSkWindowState> pendingState_;

    std::unique_ptr<TSkPlainFrame> plain_;
    std::unique_ptr<TSkTrayIcon> tray_;
    std::unique_ptr<TSkSkinPopupMenu> systemMenu_;
    TSkAnimation animation_;
    TSkPopupMenuOptions systemMenuOptions_, trayMenuOptions_;
    TSkCustomMenuBar* menuBar_ = nullptr;
    TSkCustomItem* windowMenu_ = nullptr;
    QPointer<TSkFrameView> frameView_;
    QPointer<TSkClientArea> clientArea_;
    TSkSkinObject* title_ = nullptr;
    TSkSkinObject* client_ = nullptr;
    TSkSkinObject* hovered_ = nullptr;
    TSkSkinObject* pressed_ = nullptr;
    bool windowActive_ = false;
    QRect normalBounds_;
    QImage frameImage_;
    QTimer hoverTimer_;
    Drag drag_;
    bool refreshing_ = false;
    bool applying_ = false;
    QMetaObject::Connection screenMoved_, screenResized_;
};
