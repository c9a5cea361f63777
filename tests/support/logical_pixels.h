#pragma once
// Reading a grabbed window at a point given in logical pixels, whatever the
// screen's pixel ratio: the grab holds ratio x ratio pixels per logical one.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <cmath>

inline QColor PixelAt(const QImage& img, QPoint logical) {
    const double r = img.devicePixelRatio();
    return img.pixelColor(int(std::floor((logical.x() + 0.5) * r)), int(std::floor((logical.y() + 0.5) * r)));
}

// Colours within a few steps per channel: scaling and blending may round.
inline bool Near(const QColor& a, const QColor& b, int tolerance = 6) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}
