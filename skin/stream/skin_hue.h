#pragma once
// Hue shifting of skin pixels and colours, in steps of 1/255 of the circle.
#include "colors.h"

#include <cstdint>

// h + delta wrapped into 0..255.
int ShiftHueValue(int hue, int delta);
// A 0xAARRGGBB pixel with its hue shifted; the alpha byte is kept.
std::uint32_t ShiftPixelHue(std::uint32_t argb, int delta);
// A colour (0x00BBGGRR or a system colour) with its hue shifted, as RGB;
// clNone and other special values unchanged.
TColor ShiftColorHue(TColor c, int delta);
