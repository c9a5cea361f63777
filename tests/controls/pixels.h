#pragma once
// Reading what a control painted: its image, and pixels as 0xRRGGBB-free
// TColor values (red in the low byte) so they compare with the palette.
#include "canvas.h"
#include "colors.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

inline QImage Snapshot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline TColor PixelAt(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

// A blank off-screen surface to draw frames on.
inline QImage Blank(int w, int h, TColor fill = 0xFF00FF) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(ToQColor(fill));
    return img;
}

// Shows a widget as an active top-level window so focus rules apply.
inline void ShowActive(QWidget& w) {
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
}
