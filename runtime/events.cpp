#include "events.h"

#include <QKeyEvent>
#include <QMouseEvent>

QChar KeyEventChar(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Backspace: return QChar(8);
    case Qt::Key_Tab: case Qt::Key_Backtab: return QChar(9);
    case Qt::Key_Return: case Qt::Key_Enter: return QChar(13);
    case Qt::Key_Escape: return QChar(27);
    case Qt::Key_Delete: return QChar(0);  // an editing key that types nothing, though X gives it the text DEL
    default: break;
    }
    if ((e->modifiers() & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return QChar(char16_t(e->key() - Qt::Key_A + 1));
    const QString t = e->text();
    return t.isEmpty() ? QChar(0) : t.front();
}

TShiftState ShiftStateOf(const QInputEvent* e) {
    TShiftState s = 0;
    const auto m = e->modifiers();
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (auto* me = dynamic_cast<const QMouseEvent*>(e)) {
        if (me->buttons() & Qt::LeftButton) s |= ssLeft;
        if (me->buttons() & Qt::RightButton) s |= ssRight;
        if (me->buttons() & Qt::MiddleButton) s |= ssMiddle;
        if (me->type() == QEvent::MouseButtonDblClick) s |= ssDouble;
    }
    return s;
}

TMouseButton MouseButtonOf(const QMouseEvent* e) {
    switch (e->button()) {
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
    }
}
