#pragma once
// Where things are on a window drawn from a frame object tree: the areas a
// point falls in, the client rectangle, and the rectangles of the window
// states. Everything is in logical pixels, window coordinates.
#include "skin_object.h"

#include <QMargins>
#include <QRect>

class QScreen;

// What a point of the window is for.
enum class TSkFrameArea {
    Client, Caption, Left, Top, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight, SysButton
};

// The area an object of this kind stands for.
TSkFrameArea AreaOfKind(TSkKind kind);

struct TSkHitRules {
    bool moveable = true;
    // False while maximized or rolled up: the borders act as client then.
    bool sizeable = true;
};

// The area at p: the deepest object's kind, with the dragging rules applied.
TSkFrameArea FrameAreaAt(TSkSkinObject* form, QPoint p, const TSkHitRules& rules);

bool IsSizingArea(TSkFrameArea a);
// The window edges a sizing area moves; none for the others.
Qt::Edges EdgesOf(TSkFrameArea a);
Qt::CursorShape CursorOf(TSkFrameArea a);

// The client object's bounds when it exists with a non-zero left and top,
// else the whole window. The tree must be laid out at the window's size.
QRect FrameClientRect(TSkSkinObject* form, QSize window);
QMargins FrameInsets(TSkSkinObject* form, QSize window);

// A window with this frame as small as it may get: the insets, and room for
// the caption's buttons and a few letters of the title.
QSize FrameMinimumSize(TSkSkinObject* form, QSize window);

// Whether a window with this frame can be shown at all: at the size it is
// laid out in (a fresh copy: its design size) every part lies inside it and
// the client keeps some room, and its smallest size (or, without a client
// object, its only size) fits on the screens together. A frame that does
// not is damage, not a look.
bool FrameFitsScreens(TSkSkinObject* form);

// A corner that sizes the window and draws a picture of its own is a size
// grip: it shows only while the window can be sized.
void ShowSizeGrips(TSkSkinObject* form, bool sizeable);

// The work area of the screen that holds most of the window.
QRect WorkAreaFor(const QRect& window, QScreen* fallback);
// The window moved onto the work area, and shrunk where it is larger (never
// below `minimum`), so that its caption and its buttons can be reached. A
// window that fits stays where it is.
QRect KeptOnWorkArea(const QRect& window, const QRect& workArea, QSize minimum = QSize());
// A rolled-up window keeps its caption and bottom edge only.
QRect RolledRect(const QRect& normal, const QMargins& insets);

// A window moved by hand to `want` sticks to the work area's edges when it
// comes within `reach` pixels of them.
QPoint SnapToEdges(const QRect& want, const QRect& workArea, int reach);
// The geometry of a window sized by hand: the pressed edges follow the
// pointer's travel; the opposite edges stay, and the size keeps its minimum.
QRect ResizedRect(const QRect& start, Qt::Edges edges, QPoint travel, QSize minimum);
