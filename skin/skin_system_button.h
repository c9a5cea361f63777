#pragma once
// The caption's buttons: close, minimise, maximise, restore, roll, tray and
// the system menu. They show per window state and border icons, and act on
// the skinned frame of their control.
#include "skin_bitmap_object.h"

// Visual state of a system button, apart from the state byte.
enum class TSkButtonLook { Normal = 0, Hot = 1, Pressed = 2 };

// The press-and-release behaviour and the visibility rules every kind of
// system button shares.
class SkSystemButtonBehaviour {
public:
    explicit SkSystemButtonBehaviour(TSkSkinObject& button) : button_(button) {}
    TSkButtonLook Look() const { return look_; }
    void Enter();
    void Leave();
    void Down(TMouseButton b);
    void Move(TShiftState s);
    // A release after a press performs the action.
    void Up(TMouseButton b, TSkAction action);
    // A double-click on the system-menu button closes the form.
    void DblClick(TMouseButton b, TSkAction action);
    // Shown per window state (0, 2, 3, 4) and the form's border icons.
    void UpdateVisibility(TSkAction action, int state);
private:
    void SetLook(TSkButtonLook l);
    void Perform(TSkAction action);
    TSkSkinObject& button_;
    TSkButtonLook look_ = TSkButtonLook::Normal;
    TShiftState lastShift_ = 0;
};

class TSkSystemButton : public TSkActiveBitmap {
    TSK_SKIN_CLASS(TSkSystemButton)
public:
    using TSkActiveBitmap::TSkActiveBitmap;
    TSkAction Action() const { return action_; }
    void SetAction(TSkAction a) { action_ = a; }
    TskBitmapLink& BitmapHot() { return bitmapHot_; }
    TskBitmapLink& BitmapPressed() { return bitmapPressed_; }
    TSkButtonLook Look() const { return behaviour_.Look(); }
    void SetState(int state) override;
    void MouseEnter() override { behaviour_.Enter(); }
    void MouseLeave() override { behaviour_.Leave(); }
    void MouseDown(TMouseButton b, QPoint) override { behaviour_.Down(b); }
    void MouseMove(TShiftState s, QPoint) override { behaviour_.Move(s); }
    void MouseUp(TMouseButton b, QPoint) override { behaviour_.Up(b, action_); }
    void DblClick(TMouseButton b, QPoint) override { behaviour_.DblClick(b, action_); }
protected:
    void DrawContent(QPainter& p) override;
    TSkAction action_ = TSkAction::sbaNone;
    TskBitmapLink bitmapHot_, bitmapPressed_;
    SkSystemButtonBehaviour behaviour_{*this};
};
