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

// The mouse and state handling of a system button, over the skin class it
// draws as; ButtonAction() names what a click does.
template <class Base>
class SkSystemButtonOf : public Base {
public:
    using Base::Base;
    TSkButtonLook Look() const { return behaviour_.Look(); }
    void SetState(int state) override {
        Base::SetState(state);
        behaviour_.UpdateVisibility(ButtonAction(), state);
    }
    void MouseEnter() override { behaviour_.Enter(); }
    void MouseLeave() override { behaviour_.Leave(); }
    void MouseDown(TMouseButton b, QPoint) override { behaviour_.Down(b); }
    void MouseMove(TShiftState s, QPoint) override { behaviour_.Move(s); }
    void MouseUp(TMouseButton b, QPoint) override { behaviour_.Up(b, ButtonAction()); }
    void DblClick(TMouseButton b, QPoint) override { behaviour_.DblClick(b, ButtonAction()); }
protected:
    virtual TSkAction ButtonAction() const = 0;
    SkSystemButtonBehaviour behaviour_{*this};
};

class TSkSystemButton : public SkSystemButtonOf<TSkActiveBitmap> {
    TSK_SKIN_CLASS(TSkSystemButton)
public:
    using SkSystemButtonOf::SkSystemButtonOf;
    TSkAction Action() const { return action_; }
    void SetAction(TSkAction a) { action_ = a; }
    TskBitmapLink& BitmapHot() { return bitmapHot_; }
    TskBitmapLink& BitmapPressed() { return bitmapPressed_; }
protected:
    TSkAction ButtonAction() const override { return action_; }
    void DrawContent(QPainter& p) override;
    TSkAction action_ = TSkAction::sbaNone;
    TskBitmapLink bitmapHot_, bitmapPressed_;
};
