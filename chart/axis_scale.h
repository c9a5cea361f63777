#pragma once
// The scale of an axis: its value range laid over its pixel extent, maybe
// inverted, maybe logarithmic; maps values to pixels and back.

struct TAxisScale {
    double min = 0, max = 0;
    int startPixel = 0, endPixel = 0;
    bool horizontal = true;
    // Horizontal axes grow rightwards and vertical ones upwards unless inverted.
    bool inverted = false;
    // Logarithmic only over a range of positive values.
    bool logarithmic = false;

    int Pixels() const { return endPixel - startPixel; }
    int CenterPixel() const { return (startPixel + endPixel) / 2; }
    // The nearest pixel of a value; an empty range or a value too far off
    // maps to the centre, a value <= 0 on a logarithmic scale to its low end.
    int Pixel(double value) const;
    // The value at a pixel: Pixel's inverse, but for Pixel's rounding.
    double Value(int pixel) const;

private:
    bool IsLog() const { return logarithmic && min > 0 && max > min; }
};
