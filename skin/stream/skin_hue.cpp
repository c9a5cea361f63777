#include "skin_hue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

int ShiftHueValue(int hue, int delta) {
    // A change from one shift to another can be more than once round; the
    // wheel has 255 steps, and a full turn above it lands on 1, not 0.
    std::int64_t h = std::int64_t(hue) + delta;
    if (h >= 256) h = (h - 1) % 255 + 1;
    else if (h < 0) h = (h % 255 + 255) % 255;
    return int(h);
}

namespace {

void RgbToHsl(int r8, int g8, int b8, double& h, double& s, double& l) {
    const double r = r8 / 255.0, g = g8 / 255.0, b = b8 / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    l = (mx + mn) / 2;
    if (mx == mn) {
        h = s = 0;
        return;
    }
    const double d = mx - mn;
    s = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
    if (mx == r) h = (g - b) / d + (g < b ? 6 : 0);
    else if (mx == g) h = (b - r) / d + 2;
    else h = (r - g) / d + 4;
    h /= 6;
    if (h >= 1) h -= 1;
}

double HueToRgb(double p, double q, double t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

void HslToRgb(double h, double s, double l, int& r, int& g, int& b) {
    if (s == 0) {
        r = g = b = int(std::lround(l * 255));
        return;
    }
    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    const double p = 2 * l - q;
    // Kept within a byte: a stray bit above it would land in the alpha.
    auto channel = [&](double t) { return std::clamp(int(std::lround(HueToRgb(p, q, t) * 255)), 0, 255); };
    r = channel(h + 1.0 / 3);
    g = channel(h);
    b = channel(h - 1.0 / 3);
}

}  // namespace

std::uint32_t ShiftPixelHue(std::uint32_t argb, int delta) {
    double h, s, l;
    RgbToHsl(int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF), h, s, l);
    const int hv = ShiftHueValue(int(std::lround(h * 255)), delta);
    int r, g, b;
    HslToRgb(hv / 255.0, s, l, r, g, b);
    return (argb & 0xFF000000u) | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

TColor ShiftColorHue(TColor c, int delta) {
    if (delta == 0 || c == clNone || c == clDefault) return c;
    if ((c & 0xFF000000) != 0 && !IsSystemColor(c)) return c;
    const TColor rgb = ColorToRGB(c);
    const std::uint32_t px = (std::uint32_t(GetRValue(rgb)) << 16) | (std::uint32_t(GetGValue(rgb)) << 8) | std::uint32_t(GetBValue(rgb));
    const std::uint32_t out = ShiftPixelHue(px, delta);
    return RGBColor(int((out >> 16) & 0xFF), int((out >> 8) & 0xFF), int(out & 0xFF));
}
