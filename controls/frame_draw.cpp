#include "frame_draw.h"

#include <algorithm>
#include <cmath>

const EnumNames<TFrameStyle> kFrameStyleNames{{"fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown",
                                               "fsRaised", "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold",
                                               "fsFlatRounded"}};
const EnumNames<TSideIndex> kSideNames{{"sdLeft", "sdTop", "sdRight", "sdBottom"}};
const EnumNames<TFramingPreference> kFramingPreferenceNames{{"fpCustomFraming", "fpXPThemes"}};

// ---- colours ------------------------------------------------------------------------

THLS ColorToHLS(TColor c) {
    const TColor rgb = ColorToRGB(c);
    const double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    double h = 0, s = 0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (r == mx) h = (g - b) / d;
        else if (g == mx) h = 2 + (b - r) / d;
        else h = 4 + (r - g) / d;
        h /= 6;
        if (h < 0) h += 1;
    }
    return {int(std::lround(h * 240)), int(std::lround(l * 240)), int(std::lround(s * 240))};
}

namespace {
double HueToChannel(double m1, double m2, double h) {
    if (h < 0) h += 1;
    if (h > 1) h -= 1;
    if (h < 1.0 / 6) return m1 + (m2 - m1) * h * 6;
    if (h < 0.5) return m2;
    if (h < 2.0 / 3) return m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
    return m1;
}
int ToByte(double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }
}  // namespace

TColor HLSToColor(const THLS& hls) {
    // The hue goes back over 239, as the colour dialogs of the desktop do.
    const double h = hls.hue / 239.0, l = hls.lightness / 240.0, s = hls.saturation / 240.0;
    if (s == 0) return RGBColor(ToByte(l), ToByte(l), ToByte(l));
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    return RGBColor(ToByte(HueToChannel(m1, m2, h + 1.0 / 3)), ToByte(HueToChannel(m1, m2, h)),
                    ToByte(HueToChannel(m1, m2, h - 1.0 / 3)));
}

TColor DarkerColor(TColor c, int amount) {
    THLS hls = ColorToHLS(c);
    hls.lightness = std::max(hls.lightness - amount, 0);
    return HLSToColor(hls);
}

TColor LighterColor(TColor c, int amount) {
    THLS hls = ColorToHLS(c);
    hls.lightness = std::min(hls.lightness + amount, 255);
    return HLSToColor(hls);
}

TColor AdjustColor(TColor c, int amount) {
    if (amount < 0) return DarkerColor(c, -amount);
    if (amount > 0) return LighterColor(c, amount);
    return c;
}

// ---- primitives -----------------------------------------------------------------------

namespace {
void HLine(Canvas& c, int x0, int x1, int y, TColor color) { c.FillRect(TRect{x0, y, x1, y + 1}, color); }
void VLine(Canvas& c, int x, int y0, int y1, TColor color) { c.FillRect(TRect{x, y0, x + 1, y1}, color); }

// The colour roles of the 3D styles: system colours, or shades of one colour.
struct Shades {
    TColor shadow, highlight, dkShadow, light, text, flat, upLight;
};
constexpr Shades kSystemShades{clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnText, cl3DDkShadow, cl3DLight};

Shades ShadesOf(TColor base) {
    const TColor d50 = DarkerColor(base, 50), d100 = DarkerColor(base, 100);
    return {d50, LighterColor(base, 100), d100, LighterColor(base, 50), d100, d50, LighterColor(base, 40)};
}

// Dark line outside, light line inside, on every listed side: a groove or a bump.
TRect Etched(Canvas& c, const TRect& r, TColor dark, TColor light, TSides sides) {
    // The light ring's right and bottom lines would stop one pixel short of
    // the dark ring's corners; fill those two corner pixels first.
    if ((sides & sdTop) && (sides & sdRight)) c.SetPixel(r.right - 1, r.top, ColorToRGB(light));
    if ((sides & sdLeft) && (sides & sdBottom)) c.SetPixel(r.left, r.bottom - 1, ColorToRGB(light));
    const TRect lightRing{r.left + ((sides & sdLeft) ? 1 : 0), r.top + ((sides & sdTop) ? 1 : 0), r.right, r.bottom};
    DrawSides(c, lightRing, light, light, sides);
    const TRect darkRing{r.left, r.top, r.right - ((sides & sdRight) ? 1 : 0), r.bottom - ((sides & sdBottom) ? 1 : 0)};
    DrawSides(c, darkRing, dark, dark, sides);
    return {r.left + ((sides & sdLeft) ? 2 : 0), r.top + ((sides & sdTop) ? 2 : 0),
            r.right - ((sides & sdRight) ? 2 : 0), r.bottom - ((sides & sdBottom) ? 2 : 0)};
}

TRect DrawStyle(Canvas& c, TRect r, TFrameStyle style, TSides sides, const Shades& s) {
    switch (style) {
    case TFrameStyle::fsNone: return r;
    case TFrameStyle::fsFlat: return DrawSides(c, r, s.flat, s.flat, sides);
    case TFrameStyle::fsStatus: return DrawSides(c, r, s.shadow, s.highlight, sides);
    case TFrameStyle::fsPopup: return DrawSides(c, r, s.highlight, s.shadow, sides);
    case TFrameStyle::fsFlatBold:
    case TFrameStyle::fsFlatRounded: return DrawBevel(c, r, s.shadow, s.shadow, 2, sides);
    case TFrameStyle::fsLowered:
        r = DrawSides(c, r, s.shadow, s.highlight, sides);
        return DrawSides(c, r, s.dkShadow, s.light, sides);
    case TFrameStyle::fsRaised:
        r = DrawSides(c, r, s.light, s.dkShadow, sides);
        return DrawSides(c, r, s.highlight, s.shadow, sides);
    case TFrameStyle::fsButtonDown:
        r = DrawSides(c, r, s.text, s.text, sides);
        return DrawSides(c, r, s.shadow, s.shadow, sides);
    case TFrameStyle::fsButtonUp:
        r = DrawSides(c, r, s.highlight, s.dkShadow, sides);
        return DrawSides(c, r, s.upLight, s.shadow, sides);
    case TFrameStyle::fsGroove: return Etched(c, r, s.shadow, s.highlight, sides);
    case TFrameStyle::fsBump: return Etched(c, r, s.highlight, s.shadow, sides);
    }
    return r;
}

// A one-pixel ring with its four corner pixels left out, so it reads as rounded.
void CutCornerRing(Canvas& c, const TRect& r, TColor color) {
    if (r.Width() < 3 || r.Height() < 3) return;
    HLine(c, r.left + 1, r.right - 1, r.top, color);
    HLine(c, r.left + 1, r.right - 1, r.bottom - 1, color);
    VLine(c, r.left, r.top + 1, r.bottom - 1, color);
    VLine(c, r.right - 1, r.top + 1, r.bottom - 1, color);
}

TRect Shrink(const TRect& r, TSides sides, int by) {
    return {r.left + ((sides & sdLeft) ? by : 0), r.top + ((sides & sdTop) ? by : 0),
            r.right - ((sides & sdRight) ? by : 0), r.bottom - ((sides & sdBottom) ? by : 0)};
}
}  // namespace

TRect DrawSides(Canvas& c, const TRect& r, TColor upperLeft, TColor lowerRight, TSides sides) {
    if (upperLeft != clNone) {
        if (sides & sdLeft) VLine(c, r.left, r.top, r.bottom, upperLeft);
        if (sides & sdTop) HLine(c, r.left, r.right, r.top, upperLeft);
    }
    if (lowerRight != clNone) {
        if (sides & sdRight) VLine(c, r.right - 1, r.top, r.bottom, lowerRight);
        if (sides & sdBottom) HLine(c, r.left, r.right, r.bottom - 1, lowerRight);
    }
    return Shrink(r, sides, 1);
}

TRect DrawBevel(Canvas& c, const TRect& r, TColor upperLeft, TColor lowerRight, int width, TSides sides) {
    c.SetPenWidth(1);
    TRect inside = r;
    for (int k = 0; k < width; ++k) inside = DrawSides(c, inside, upperLeft, lowerRight, sides);
    return inside;
}

TRect DrawBorder(Canvas& c, const TRect& r, TFrameStyle style, TSides sides) {
    return DrawStyle(c, r, style, sides, kSystemShades);
}

TRect DrawColorBorder(Canvas& c, const TRect& r, TColor base, TSides sides, TFrameStyle style) {
    if (style == TFrameStyle::fsNone) return r;
    return DrawStyle(c, r, style, sides, ShadesOf(base));
}

int BorderWidthOf(TFrameStyle style) {
    switch (style) {
    case TFrameStyle::fsNone: return 0;
    case TFrameStyle::fsFlat: case TFrameStyle::fsStatus: case TFrameStyle::fsPopup: return 1;
    default: return 2;
    }
}

// ---- graphic controls ---------------------------------------------------------------

namespace {
enum class Layer { Outer, Inner };

TRect DrawLayer(Canvas& c, TRect r, TFrameStyle style, Layer layer, const TBorderSpec& border, TColor controlColor,
                TColor parentColor, TFrameFill fill, TInnerFlat innerFlat) {
    const TColor flat = AdjustColor(border.flatColor, border.flatColorAdjustment);
    switch (style) {
    case TFrameStyle::fsFlat:
        if (layer == Layer::Inner && innerFlat == TInnerFlat::Outline) {
            CutCornerRing(c, r, flat);
            return r.Inflate(-1, -1);
        }
        return DrawSides(c, r, flat, flat, border.sides);
    case TFrameStyle::fsFlatBold: return DrawBevel(c, r, flat, flat, 2, border.sides);
    case TFrameStyle::fsStatus: return DrawBevel(c, r, border.shadow, border.highlight, border.bevelWidth, border.sides);
    case TFrameStyle::fsPopup: return DrawBevel(c, r, border.highlight, border.shadow, border.bevelWidth, border.sides);
    case TFrameStyle::fsFlatRounded: {
        const TRect outermost = r;
        TColor first = clNone, second = clNone;
        if (layer == Layer::Outer) {
            const bool followed = border.borderWidth > 0 || border.inner != TFrameStyle::fsNone;
            if (fill == TFrameFill::Opaque) {
                first = parentColor;
                second = followed ? border.borderColor : controlColor;
            } else if (followed) {
                second = border.borderColor;
            }
        } else {
            first = border.borderColor;
            if (fill == TFrameFill::Opaque) second = controlColor;
        }
        r = DrawSides(c, r, first, first, border.sides);
        r = DrawSides(c, r, second, second, border.sides);
        CutCornerRing(c, outermost, flat);
        return r;
    }
    default: return DrawBorder(c, r, style, border.sides);
    }
}
}  // namespace

TRect DrawInnerOuterBorders(Canvas& c, const TRect& bounds, const TBorderSpec& border, TColor controlColor,
                            TColor parentColor, TFrameFill fill, TInnerFlat innerFlat) {
    TRect r = DrawLayer(c, bounds, border.outer, Layer::Outer, border, controlColor, parentColor, fill, innerFlat);
    if (border.borderWidth > 0) r = DrawBevel(c, r, border.borderColor, border.borderColor, border.borderWidth, sdAll);
    return DrawLayer(c, r, border.inner, Layer::Inner, border, controlColor, parentColor, fill, innerFlat);
}

TRect BorderClientRect(int width, int height, const TBorderSpec& border) {
    TRect r = TRect{0, 0, width, height}.Inflate(-border.borderWidth, -border.borderWidth);
    for (TFrameStyle style : {border.outer, border.inner}) {
        const bool bevel = style == TFrameStyle::fsStatus || style == TFrameStyle::fsPopup;
        r = Shrink(r, border.sides, bevel ? border.bevelWidth : BorderWidthOf(style));
    }
    if (r.bottom < r.top || r.right < r.left) return {};
    return r;
}

// ---- windowed controls --------------------------------------------------------------

void DrawNonClientFrame(Canvas& c, int width, int height, const TNonClientFrame& f) {
    const TRect outer{0, 0, width, height};
    if (f.band == TFrameBand::Paint) DrawBevel(c, outer, f.bandUpperLeft, f.controlColor, 2, sdAll);
    switch (f.style) {
    case TFrameStyle::fsFlat: DrawSides(c, outer, f.frameColor, f.frameColor, f.sides); break;
    case TFrameStyle::fsFlatBold: DrawBevel(c, outer, f.frameColor, f.frameColor, 2, f.sides); break;
    default:
        if (f.coloring == TFrameColoring::FromControlColor && f.controlColor != clWindow)
            DrawColorBorder(c, outer, f.controlColor, f.sides, f.style);
        else
            DrawBorder(c, outer, f.style, f.sides);
        break;
    }
}
