#include "custom_frame.h"

#include "application.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

TCustomFrame::TCustomFrame(TControl& control, TFrameHost& host) : control_(control), host_(host) {}

TCustomFrame::~TCustomFrame() { SetController(nullptr); }

void TCustomFrame::Changed() { host_.RepaintFrame(); }

void TCustomFrame::Assign(const TFrameSettings& s) {
    if (s == s_) return;
    const bool visibility = s.frameVisible != s_.frameVisible;
    s_ = s;
    if (visibility) host_.FrameVisibilityChanged();
    Changed();
}

#define CF_SETTER(Name, Type, field)      \
    void TCustomFrame::Set##Name(Type v) { \
        if (s_.field == v) return;         \
        s_.field = v;                      \
        Changed();                         \
    }
CF_SETTER(FrameColor, TColor, frameColor)
CF_SETTER(FrameHotColor, TColor, frameHotColor)
CF_SETTER(FrameHotStyle, TFrameStyle, frameHotStyle)
CF_SETTER(FrameSides, TSides, frameSides)
CF_SETTER(FrameStyle, TFrameStyle, frameStyle)
#undef CF_SETTER

void TCustomFrame::SetFrameHotTrack(bool v) {
    if (s_.frameHotTrack == v) return;
    s_.frameHotTrack = v;
    if (v) {
        SetFrameVisible(true);
        if (!control_.IsLoading()) s_.frameSides = sdAll;
    }
    Changed();
    if (QWidget* w = control_.AsWidget()) w->update();
}

void TCustomFrame::SetFrameVisible(bool v) {
    if (s_.frameVisible == v) return;
    s_.frameVisible = v;
    host_.FrameVisibilityChanged();
    Changed();
}

void TCustomFrame::SetFramingPreference(TFramingPreference p) {
    if (s_.framingPreference == p) return;
    s_.framingPreference = p;
    if (p == TFramingPreference::fpCustomFraming) Changed();
}

void TCustomFrame::SetDisabledColor(TColor c) {
    if (disabledColor_ == c) return;
    disabledColor_ = c;
    if (!control_.Enabled()) UpdateColors();
}

void TCustomFrame::SetFocusColor(TColor c) {
    if (focusColor_ == c) return;
    focusColor_ = c;
    if (host_.HostFocused()) UpdateColors();
}

void TCustomFrame::SetController(TFrFrameController* c) {
    if (c == controller_) return;
    if (controller_) controller_->Detach(this);
    controller_ = c;
    if (controller_) controller_->Attach(this);
}

TFrameStyle TCustomFrame::CurrentStyle() const {
    return s_.frameHotTrack && (host_.HostFocused() || mouseOver_) ? s_.frameHotStyle : s_.frameStyle;
}

TColor TCustomFrame::CurrentColor() const {
    return s_.frameHotTrack && (host_.HostFocused() || mouseOver_) ? s_.frameHotColor : s_.frameColor;
}

void TCustomFrame::Paint(Canvas& c, int width, int height, TColor bandUpperLeft, TFrameColoring coloring) const {
    if (!InUse()) return;
    TNonClientFrame f;
    f.style = CurrentStyle();
    f.frameColor = CurrentColor();
    f.sides = s_.frameSides;
    f.controlColor = control_.Color();
    f.bandUpperLeft = bandUpperLeft;
    f.coloring = coloring;
    DrawNonClientFrame(c, width, height, f);
}

void TCustomFrame::ColorChanged() {
    if (!updatingColors_) {
        if (focusColor_ == normalColor_) focusColor_ = control_.Color();
        normalColor_ = control_.Color();
    }
    if (InUse()) Changed();
}

void TCustomFrame::UpdateColors() {
    if (control_.IsLoading() || updatingColors_) return;
    updatingColors_ = true;
    const TColor want = !control_.Enabled() ? disabledColor_ : host_.HostFocused() ? focusColor_ : normalColor_;
    control_.SetColor(want);
    updatingColors_ = false;
}

void TCustomFrame::FocusChanged() {
    UpdateColors();
    if (s_.frameHotTrack) Changed();
}

void TCustomFrame::MouseEntered() {
    mouseOver_ = true;
    UpdateColors();
    if (s_.frameHotTrack) Changed();
    Fire(OnMouseEnter, static_cast<TComponent*>(&control_));
}

void TCustomFrame::MouseLeft() {
    mouseOver_ = false;
    UpdateColors();
    if (s_.frameHotTrack) Changed();
    Fire(OnMouseLeave, static_cast<TComponent*>(&control_));
}

void TCustomFrame::Loaded() {
    UpdateColors();
    // As for a control neither focused nor under the mouse.
    mouseOver_ = false;
    Changed();
}

void TCustomFrame::Observe(const QEvent* e) {
    switch (e->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: FocusChanged(); break;
    case QEvent::Enter: MouseEntered(); break;
    case QEvent::Leave: MouseLeft(); break;
    case QEvent::EnabledChange: UpdateColors(); break;
    default: break;
    }
}

bool TCustomFrame::FocusWithin(const QWidget* w) {
    const QWidget* f = QApplication::focusWidget();
    return f && (f == w || w->isAncestorOf(f));
}

// ---- controller -----------------------------------------------------------------------

TFrFrameController::TFrFrameController(TComponent* owner) : TComponent(owner) {}

TFrFrameController::~TFrFrameController() {
    for (TCustomFrame* f : std::vector<TCustomFrame*>(attached_)) f->SetController(nullptr);
}

void TFrFrameController::SetSettings(const TFrameSettings& s) {
    s_ = s;
    for (TCustomFrame* f : attached_) f->Assign(s_);
}

void TFrFrameController::Attach(TCustomFrame* f) {
    if (std::find(attached_.begin(), attached_.end(), f) == attached_.end()) attached_.push_back(f);
    f->Assign(s_);
}

void TFrFrameController::Detach(TCustomFrame* f) { attached_.erase(std::remove(attached_.begin(), attached_.end(), f), attached_.end()); }

const PropertyTable& TFrFrameController::StaticProperties() {
    static PropertyTable table = [] {
        using C = TFrFrameController;
        auto with = [](auto field) {
            return [field](C& c, auto v) {
                TFrameSettings s = c.Settings();
                s.*field = v;
                c.SetSettings(s);
            };
        };
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<C>(t)
            .Color("FrameColor", [](const C& c) { return c.Settings().frameColor; }, with(&TFrameSettings::frameColor), clBtnShadow)
            .Color("FrameHotColor", [](const C& c) { return c.Settings().frameHotColor; }, with(&TFrameSettings::frameHotColor),
                   clBtnShadow)
            .Enum<TFrameStyle>("FrameHotStyle", kFrameStyleNames, [](const C& c) { return c.Settings().frameHotStyle; },
                               with(&TFrameSettings::frameHotStyle), TFrameStyle::fsFlatBold)
            .Bool("FrameHotTrack", [](const C& c) { return c.Settings().frameHotTrack; }, with(&TFrameSettings::frameHotTrack), false)
            .SetOf<TSideIndex>("FrameSides", kSideNames, [](const C& c) { return c.Settings().frameSides; },
                               with(&TFrameSettings::frameSides), sdAll)
            .Enum<TFrameStyle>("FrameStyle", kFrameStyleNames, [](const C& c) { return c.Settings().frameStyle; },
                               with(&TFrameSettings::frameStyle), TFrameStyle::fsFlat)
            .Bool("FrameVisible", [](const C& c) { return c.Settings().frameVisible; }, with(&TFrameSettings::frameVisible), false)
            .Enum<TFramingPreference>("FramingPreference", kFramingPreferenceNames,
                                      [](const C& c) { return c.Settings().framingPreference; },
                                      with(&TFrameSettings::framingPreference), TFramingPreference::fpXPThemes);
        return t;
    }();
    return table;
}
