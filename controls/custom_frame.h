#pragma once
// What the framed windowed controls (score grid, date/time picker, memo) share:
// the custom frame over their 2-pixel border band, hot tracking, and colour
// switching between the normal, focus and disabled colours.
#include "control.h"
#include "frame_draw.h"

#include <vector>

class QEvent;

class TFrFrameController;

struct TFrameSettings {
    TColor frameColor = clBtnShadow;
    TColor frameHotColor = clBtnShadow;
    TFrameStyle frameHotStyle = TFrameStyle::fsFlatBold;
    bool frameHotTrack = false;
    TSides frameSides = sdAll;
    TFrameStyle frameStyle = TFrameStyle::fsFlat;
    bool frameVisible = false;
    TFramingPreference framingPreference = TFramingPreference::fpXPThemes;
    bool operator==(const TFrameSettings&) const = default;
};

// The control side of the custom frame.
class TFrameHost {
public:
    virtual ~TFrameHost() = default;
    // Invalidates the whole window, border band included, and paints it now.
    virtual void RepaintFrame() = 0;
    // The frame became visible or hidden: the border band may change.
    virtual void FrameVisibilityChanged() = 0;
    virtual bool HostFocused() const = 0;
};

// Frame settings and colour state of one windowed control.
class TCustomFrame {
public:
    TCustomFrame(TControl& control, TFrameHost& host);
    ~TCustomFrame();

    const TFrameSettings& Settings() const { return s_; }
    // Takes all settings at once (from a frame controller).
    void Assign(const TFrameSettings& s);

    void SetFrameColor(TColor c);
    void SetFrameHotColor(TColor c);
    void SetFrameHotStyle(TFrameStyle s);
    void SetFrameHotTrack(bool v);
    void SetFrameSides(TSides s);
    void SetFrameStyle(TFrameStyle s);
    void SetFrameVisible(bool v);
    void SetFramingPreference(TFramingPreference p);

    TColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(TColor c);
    TColor FocusColor() const { return focusColor_; }
    void SetFocusColor(TColor c);
    TColor NormalColor() const { return normalColor_; }

    TFrFrameController* Controller() const { return controller_; }
    void SetController(TFrFrameController* c);

    // The custom frame shows when asked for and no desktop theme draws the
    // border instead; this platform offers no such themes to the controls.
    bool InUse() const { return s_.frameVisible && !ThemesInUse(); }
    bool ThemesInUse() const { return false; }
    bool MouseOver() const { return mouseOver_; }
    // The style and colour the frame shows now (hot while focused or hovered).
    TFrameStyle CurrentStyle() const;
    TColor CurrentColor() const;

    // Paints the frame over the control's border band when it is in use.
    void Paint(Canvas& c, int width, int height, TColor bandUpperLeft, TFrameColoring coloring) const;

    // The control's Color changed: unless the switching itself did it, the new
    // colour becomes the normal one (and the focus colour follows it when the
    // two were the same).
    void ColorChanged();
    // Picks the normal, focus or disabled colour for the control's state.
    void UpdateColors();
    void FocusChanged();
    void MouseEntered();
    void MouseLeft();
    void Loaded();
    // Follows focus, hover and enabled changes; the control passes every
    // event it has handled itself.
    void Observe(const QEvent* e);
    // The widget or a child of it (an editor, a spin field) has the focus.
    static bool FocusWithin(const QWidget* w);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

private:
    void Changed();

    TControl& control_;
    TFrameHost& host_;
    TFrameSettings s_;
    TColor disabledColor_ = clBtnFace;
    TColor focusColor_ = clWindow;
    TColor normalColor_ = clWindow;
    bool updatingColors_ = false;
    bool mouseOver_ = false;
    TFrFrameController* controller_ = nullptr;
};

// Holds frame settings for several controls and pushes every change to them.
class TFrFrameController : public TComponent {
public:
    explicit TFrFrameController(TComponent* owner);
    ~TFrFrameController() override;
    QString ClassName() const override { return QStringLiteral("TFrFrameController"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    const TFrameSettings& Settings() const { return s_; }
    void SetSettings(const TFrameSettings& s);
    void Attach(TCustomFrame* f);
    void Detach(TCustomFrame* f);

private:
    TFrameSettings s_;
    std::vector<TCustomFrame*> attached_;
};

// The frame's published properties, for any class T with a TCustomFrame& Frame().
template <class T>
void AddCustomFrameProperties(PropertyBuilder<T>& b) {
    b.Color("DisabledColor", [](const T& o) { return o.Frame().DisabledColor(); },
            [](T& o, TColor v) { o.Frame().SetDisabledColor(v); }, clBtnFace)
        .Color("FocusColor", [](const T& o) { return o.Frame().FocusColor(); },
               [](T& o, TColor v) { o.Frame().SetFocusColor(v); }, clWindow)
        .Color("FrameColor", [](const T& o) { return o.Frame().Settings().frameColor; },
               [](T& o, TColor v) { o.Frame().SetFrameColor(v); }, clBtnShadow)
        .template Reference<TFrFrameController>("FrameController",
               [](T& o, TFrFrameController* c) { o.Frame().SetController(c); })
        .Color("FrameHotColor", [](const T& o) { return o.Frame().Settings().frameHotColor; },
               [](T& o, TColor v) { o.Frame().SetFrameHotColor(v); }, clBtnShadow)
        .template Enum<TFrameStyle>("FrameHotStyle", kFrameStyleNames, [](const T& o) { return o.Frame().Settings().frameHotStyle; },
               [](T& o, TFrameStyle v) { o.Frame().SetFrameHotStyle(v); }, TFrameStyle::fsFlatBold)
        .Bool("FrameHotTrack", [](const T& o) { return o.Frame().Settings().frameHotTrack; },
              [](T& o, bool v) { o.Frame().SetFrameHotTrack(v); }, false)
        .template SetOf<TSideIndex>("FrameSides", kSideNames, [](const T& o) { return o.Frame().Settings().frameSides; },
               [](T& o, unsigned v) { o.Frame().SetFrameSides(v); }, sdAll)
        .template Enum<TFrameStyle>("FrameStyle", kFrameStyleNames, [](const T& o) { return o.Frame().Settings().frameStyle; },
               [](T& o, TFrameStyle v) { o.Frame().SetFrameStyle(v); }, TFrameStyle::fsFlat)
        .Bool("FrameVisible", [](const T& o) { return o.Frame().Settings().frameVisible; },
              [](T& o, bool v) { o.Frame().SetFrameVisible(v); }, false)
        .template Enum<TFramingPreference>("FramingPreference", kFramingPreferenceNames,
               [](const T& o) { return o.Frame().Settings().framingPreference; },
               [](T& o, TFramingPreference v) { o.Frame().SetFramingPreference(v); }, TFramingPreference::fpXPThemes)
        .template Event<TNotifyEvent>("OnMouseEnter", [](T& o, const TNotifyEvent& h) { o.Frame().OnMouseEnter = h; })
        .template Event<TNotifyEvent>("OnMouseLeave", [](T& o, const TNotifyEvent& h) { o.Frame().OnMouseLeave = h; });
}

// Old form streams wrote the frame through these; they map onto today's settings.
template <class T>
void AddLegacyFrameProperties(PropertyBuilder<T>& b) {
    b.Add("FrameFlat", nullptr,
          [](T& o, const PropValue& v) {
              if (!prop::ToBool(v, QStringLiteral("FrameFlat"))) return;
              o.Frame().SetFrameHotTrack(true);
              o.Frame().SetFrameStyle(TFrameStyle::fsStatus);
              o.Frame().SetFrameHotStyle(TFrameStyle::fsLowered);
          }, std::nullopt)
        .Add("FrameFocusStyle", nullptr,
             [](T& o, const PropValue& v) {
                 const QString name = QStringLiteral("FrameFocusStyle");
                 o.Frame().SetFrameHotStyle(kFrameStyleNames.FromName(prop::ToIdent(v, name), name));
             }, std::nullopt)
        .Ignored("FrameFlatStyle");
}
