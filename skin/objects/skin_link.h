#pragma once
// A source rectangle in one of the skin's bitmaps.
#include "skin_bitmap.h"

#include <QRect>
#include <QString>

// A source rectangle in one of the skin's bitmaps, by name (right and bottom
// exclusive), with the bitmap it resolved to and where it has transparency.
struct TskBitmapLink {
    QString name;
    int left = 0, top = 0, right = 0, bottom = 0;
    TskBitmap* bitmap = nullptr;
    bool centerTransparent = false, bordersTransparent = false, cornersTransparent = false;

    bool Usable() const { return bitmap && right - left >= 1 && bottom - top >= 1; }
    QRect Rect() const { return QRect(left, top, right - left, bottom - top); }
    // Finds the bitmap by name and notes which nine-slice groups hold
    // transparent pixels for margins (ml, mt, mr, mb).
    void Resolve(const TskBitmapList* list, int ml, int mt, int mr, int mb);
    void CopyFrom(const TskBitmapLink& o) { *this = o; }
};
