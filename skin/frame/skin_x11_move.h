#pragma once
// Moving a window through an X window manager from a grip we choose.
// QWindow::startSystemMove tells the window manager the pointer position of
// the last event, which is one step stale once the window has followed the
// pointer by hand; from a stale grip the window would slip under the
// pointer for the rest of the move.
#include <QPoint>

class QWidget;

// Asks the window manager to move the top-level window, gripped at the
// global (logical) point where the pointer holds it now. False without X or
// without a window manager that moves windows on request.
bool StartX11Move(QWidget* window, QPoint grip);
