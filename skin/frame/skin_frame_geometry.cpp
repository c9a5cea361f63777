#include "skin_frame_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

TSkFrameArea AreaOfKind(TSkKind kind) {
    using K = TSkKind;
    using A = TSkFrameArea;
    switch (kind) {
    case K::skCaption: case K::skTitle: return A::Caption;
    case K::skLeft: return A::Left;
    case K::skTop: return A::Top;
    case K::skRight: return A::Right;
    case K::skBottom: return A::Bottom;
    case K::skTopLeft: return A::TopLeft;
    case K::skTopRight: return A::TopRight;
    case K::skBottomLeft: return A::BottomLeft;
    case K::skBottomRight: return A::BottomRight;
    case K::skSysButton: return A::SysButton;
    default: return A::Client;
    }
}

bool IsSizingArea(TSkFrameArea a) {
    return a != TSkFrameArea::Client && a != TSkFrameArea::Caption && a != TSkFrameArea::SysButton;
}

TSkFrameArea FrameAreaAt(TSkSkinObject* form, QPoint p, const TSkHitRules& rules) {
    TSkSkinObject* hit = form ? form->HitTest(p) : nullptr;
    const TSkFrameArea area = hit ? AreaOfKind(hit->Kind()) : TSkFrameArea::Client;
    if (area == TSkFrameArea::Caption && !rules.moveable) return TSkFrameArea::Client;
    if (IsSizingArea(area) && !rules.sizeable) return TSkFrameArea::Client;
    return area;
}

Qt::Edges EdgesOf(TSkFrameArea a) {
    using A = TSkFrameArea;
    switch (a) {
    case A::Left: return Qt::LeftEdge;
    case A::Top: return Qt::TopEdge;
    case A::Right: return Qt::RightEdge;
    case A::Bottom: return Qt::BottomEdge;
    case A::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case A::TopRight: return Qt::TopEdge | Qt::RightEdge;
    case A::BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case A::BottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
    }
}

Qt::CursorShape CursorOf(TSkFrameArea a) {
    using A = TSkFrameArea;
    switch (a) {
    case A::Left: case A::Right: return Qt::SizeHorCursor;
    case A::Top: case A::Bottom: return Qt::SizeVerCursor;
    case A::TopLeft: case A::BottomRight: return Qt::SizeFDiagCursor;
    case A::TopRight: case A::BottomLeft: return Qt::SizeBDiagCursor;
    default: return Qt::ArrowCursor;
    }
}

QRect FrameClientRect(TSkSkinObject* form, QSize window) {
    const QRect whole(QPoint(0, 0), window);
    TSkSkinObject* client = form ? form->FindByKind(TSkKind::skClient) : nullptr;
    if (!client || client->Left() == 0 || client->Top() == 0) return whole;
    return client->BoundsRect();
}

QMargins FrameInsets(TSkSkinObject* form, QSize window) {
    const QRect c = FrameClientRect(form, window);
    return QMargins(c.left(), c.top(), window.width() - c.left() - c.width(), window.height() - c.top() - c.height());
}

QSize FrameMinimumSize(TSkSkinObject* form, QSize window) {
    const QMargins m = FrameInsets(form, window);
    int width = m.left() + m.right();
    if (TSkSkinObject* title = form ? form->FindByKind(TSkKind::skTitle) : nullptr)
        width = std::max(width, title->TextMarginLeft() + title->TextMarginRight() + 48);
    return QSize(std::max(width, 1), std::max(m.top() + m.bottom(), 1));
}

namespace {
bool PartsInside(TSkSkinObject* o, const QRect& window) {
    if (!o->Visible() || o->Width() < 1 || o->Height() < 1) return true;
    if (!window.contains(o->BoundsRect())) return false;
    for (int k = 0; k < o->ChildCount(); ++k)
        if (!PartsInside(o->Child(k), window)) return false;
    return true;
}
}

bool FrameFitsScreens(TSkSkinObject* form) {
    QRect screens;
    for (QScreen* s : QGuiApplication::screens()) screens |= s->geometry();
    const QSize room = screens.isEmpty() ? QSize(skin_limits::kMaxBitmapSide, skin_limits::kMaxBitmapSide) : screens.size();
    const QSize size(form->Width(), form->Height());
    QSize need = size;
    if (TSkSkinObject* client = form->FindByKind(TSkKind::skClient)) {
        if (client->Width() < 1 || client->Height() < 1) return false;
        need = FrameMinimumSize(form, size);
    }
    return need.width() <= room.width() && need.height() <= room.height() &&
           PartsInside(form, QRect(QPoint(0, 0), size));
}

QRect WorkAreaFor(const QRect& window, QScreen* fallback) {
    QScreen* best = nullptr;
    int most = 0;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->geometry() & window;
        const int area = common.width() * common.height();
        if (area > most) {
            most = area;
            best = s;
        }
    }
    if (!best) best = fallback ? fallback : QGuiApplication::primaryScreen();
    return best ? best->availableGeometry() : window;
}

void ShowSizeGrips(TSkSkinObject* form, bool sizeable) {
    if (!form) return;
    using A = TSkFrameArea;
    for (int k = 0; k < form->ChildCount(); ++k) {
        TSkSkinObject* o = form->Child(k);
        const A area = AreaOfKind(o->Kind());
        const bool corner = area == A::TopLeft || area == A::TopRight || area == A::BottomLeft || area == A::BottomRight;
        if (corner && o->IsBitmapObject()) o->SetVisible(sizeable);
        ShowSizeGrips(o, sizeable);
    }
}

QRect KeptOnWorkArea(const QRect& window, const QRect& workArea, QSize minimum) {
    if (!workArea.isValid() || !window.isValid()) return window;
    const QSize size = window.size().boundedTo(workArea.size()).expandedTo(minimum);
    // Too large even at its smallest: the top-left corner stays in view.
    const int x = std::max(workArea.left(), std::min(window.left(), workArea.left() + workArea.width() - size.width()));
    const int y = std::max(workArea.top(), std::min(window.top(), workArea.top() + workArea.height() - size.height()));
    return QRect(QPoint(x, y), size);
}

QRect RolledRect(const QRect& normal, const QMargins& insets) {
    return QRect(normal.topLeft(), QSize(normal.width(), std::max(1, insets.top() + insets.bottom())));
}

QPoint SnapToEdges(const QRect& want, const QRect& workArea, int reach) {
    QPoint at = want.topLeft();
    if (std::abs(want.left() - workArea.left()) <= reach) at.setX(workArea.left());
    else if (std::abs(want.right() - workArea.right()) <= reach) at.setX(workArea.right() - want.width() + 1);
    if (std::abs(want.top() - workArea.top()) <= reach) at.setY(workArea.top());
    else if (std::abs(want.bottom() - workArea.bottom()) <= reach) at.setY(workArea.bottom() - want.height() + 1);
    return at;
}

QRect ResizedRect(const QRect& start, Qt::Edges edges, QPoint travel, QSize minimum) {
    int l = start.left(), t = start.top(), r = start.left() + start.width(), b = start.top() + start.height();
    if (edges & Qt::LeftEdge) l = std::min(l + travel.x(), r - minimum.width());
    if (edges & Qt::RightEdge) r = std::max(r + travel.x(), l + minimum.width());
    if (edges & Qt::TopEdge) t = std::min(t + travel.y(), b - minimum.height());
    if (edges & Qt::BottomEdge) b = std::max(b + travel.y(), t + minimum.height());
    return QRect(l, t, r - l, b - t);
}
