#pragma once
// Frame drawing shared by the framed controls. Every routine draws on a Canvas
// inside a rectangle and returns the rectangle inside what it drew, so frames
// stack: outer style, border band, inner style, content.
#include "canvas.h"
#include "colors.h"
#include "component.h"

enum class TFrameStyle {
    fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp,
    fsStatus, fsPopup, fsFlatBold, fsFlatRounded
};
// The graphic controls name the same styles under their own type name.
using TFrameStyleEx = TFrameStyle;

enum TSide : unsigned { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
using TSides = unsigned;
constexpr TSides sdAll = sdLeft | sdTop | sdRight | sdBottom;

enum class TFramingPreference { fpCustomFraming, fpXPThemes };

extern const EnumNames<TFrameStyle> kFrameStyleNames;
// Member k of this list is bit k of a TSides mask, as forms store sets.
enum class TSideIndex { sdLeft, sdTop, sdRight, sdBottom };
extern const EnumNames<TSideIndex> kSideNames;
extern const EnumNames<TFramingPreference> kFramingPreferenceNames;

// ---- colours on the 0-240 hue / lightness / saturation scale -------------------

struct THLS { int hue = 0, lightness = 0, saturation = 0; };
THLS ColorToHLS(TColor c);
TColor HLSToColor(const THLS& hls);
TColor DarkerColor(TColor c, int amount);
TColor LighterColor(TColor c, int amount);
// Darker for a negative amount, lighter for a positive one.
TColor AdjustColor(TColor c, int amount);

// ---- line primitives and single styles -----------------------------------------

// One line per listed side: left and top in upperLeft, right and bottom in
// lowerRight; clNone skips those lines but the sides still count as drawn.
TRect DrawSides(Canvas& c, const TRect& r, TColor upperLeft, TColor lowerRight, TSides sides);
TRect DrawBevel(Canvas& c, const TRect& r, TColor upperLeft, TColor lowerRight, int width, TSides sides);
// The style in system colours.
TRect DrawBorder(Canvas& c, const TRect& r, TFrameStyle style, TSides sides);
// The style in shades derived from one base colour.
TRect DrawColorBorder(Canvas& c, const TRect& r, TColor base, TSides sides, TFrameStyle style);
// How many pixels the style takes on each listed side (as DrawBorder draws it).
int BorderWidthOf(TFrameStyle style);

// ---- the frame of the graphic controls ---------------------------------------

enum class TFrameFill { Opaque, Transparent };
enum class TInnerFlat { Standard, Outline };  // Outline: inner fsFlat as a corner-cut ring

struct TBorderSpec {
    TFrameStyle outer = TFrameStyle::fsNone;
    TFrameStyle inner = TFrameStyle::fsNone;
    int borderWidth = 0;
    TSides sides = sdAll;
    int bevelWidth = 1;
    TColor borderColor = clBtnFace;
    TColor highlight = clBtnHighlight;
    TColor shadow = clBtnShadow;
    TColor flatColor = clBtnShadow;
    int flatColorAdjustment = 30;
};

TRect DrawInnerOuterBorders(Canvas& c, const TRect& bounds, const TBorderSpec& border, TColor controlColor,
                            TColor parentColor, TFrameFill fill = TFrameFill::Opaque,
                            TInnerFlat innerFlat = TInnerFlat::Standard);

// The client rectangle of a framed graphic control of the given size.
TRect BorderClientRect(int width, int height, const TBorderSpec& border);

// ---- the frame of the windowed controls (their 2-pixel non-client band) ------

enum class TFrameBand { Paint, Skip };
// Which palette a 3D style takes: derived from the control colour unless that
// colour is clWindow, or always the system colours (the grid).
enum class TFrameColoring { FromControlColor, System };

struct TNonClientFrame {
    TFrameStyle style = TFrameStyle::fsFlat;
    TSides sides = sdAll;
    TColor frameColor = clBtnShadow;
    TColor controlColor = clWindow;
    TColor bandUpperLeft = clWindow;  // the grid shows its FixedColor there
    TFrameBand band = TFrameBand::Paint;
    TFrameColoring coloring = TFrameColoring::FromControlColor;
};

void DrawNonClientFrame(Canvas& c, int width, int height, const TNonClientFrame& f);
