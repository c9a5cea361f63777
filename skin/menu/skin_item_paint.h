#pragma once
// Measuring and drawing one menu item, on the bar or in a popup, from the
// item's skin objects or, without a skin, in the plain way.
#include <QFont>
#include <QRect>
#include <QSize>

class QPainter;
class TSkCustomItem;
class TSkSkinObject;

// The highlighted item is hot while the mouse only passes over the bar and
// focused while the menu is open.
enum class TSkItemLook { Normal, Hot, Focused };

// Gap between an item's image and its caption on the bar.
constexpr int kBarImageGap = 4;

QSize MeasureBarItem(const TSkCustomItem& item, const QFont& plainFont, int plainHeight);
void DrawBarItem(QPainter& p, const TSkCustomItem& item, const QRect& r, TSkItemLook look, const QFont& plainFont);

QSize MeasurePopupItem(const TSkCustomItem& item, const QFont& plainFont);
void DrawPopupItem(QPainter& p, const TSkCustomItem& item, const QRect& r, TSkItemLook look, const QFont& plainFont);

// The "Frame" part of a bar's or popup's skin object copy, or null.
TSkSkinObject* MenuFrame(TSkSkinObject* copy);
// That frame over r; a copy without one fills r with its colour.
void DrawMenuFrame(QPainter& p, TSkSkinObject& copy, const QRect& r);
