// The keys and the pointer on the grid: moving the current cell, the
// filter of typed characters, Tab between cells, clicks, drops and the wheel.
#include "string_grid.h"

#include "application.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

void TStringGrid::MoveCurrent(int col, int row, bool extendSelection) {
    col = std::clamp(col, fixedCols_, colCount_ - 1);
    row = std::clamp(row, fixedRows_, rowCount_ - 1);
    if (col == col_ && row == row_) {
        if (!extendSelection) { anchorCol_ = col; anchorRow_ = row; }
        ScrollToCurrent();
        return;
    }
    HideEditor();
    col_ = col;
    row_ = row;
    if (!extendSelection) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    ScrollToCurrent();
    viewport()->update();
    if (editorMode_) ShowEditor();
}

void TStringGrid::ScrollToCurrent() {
    if (row_ < fixedRows_) return;
    const int visible = VisibleRowCount();
    if (row_ < topRow_) SetTopRow(row_);
    else if (row_ >= topRow_ + visible) SetTopRow(row_ - visible + 1);
}

void TStringGrid::GridKeyPress(QChar& key) {
    Fire(OnKeyPress, static_cast<TComponent*>(this), key);
    if (!(options_ & goAlwaysShowEditor) && key == QChar(13)) {
        if (editorMode_) HideEditor();
        else SetEditorMode(true);
        key = QChar(0);
    }
}

void TStringGrid::GridKeyDown(int qtKey, TShiftState shift) {
    int key = qtKey;
    Fire(OnKeyDown, static_cast<TComponent*>(this), key, shift);
    if (key == 0) return;
    const bool ctrl = shift & ssCtrl;
    const bool extend = (shift & ssShift) && (options_ & goRangeSelect) && key != Qt::Key_Tab && key != Qt::Key_Backtab;
    const int firstRow = fixedRows_, lastRow = rowCount_ - 1;
    const int firstCol = fixedCols_, lastCol = colCount_ - 1;
    const int page = VisibleRowCount();
    switch (key) {
    case Qt::Key_Up:
        if (ctrl) SetTopRow(topRow_ - 1);
        else MoveCurrent(col_, row_ - 1, extend);
        break;
    case Qt::Key_Down:
        if (ctrl) SetTopRow(topRow_ + 1);
        else MoveCurrent(col_, row_ + 1, extend);
        break;
    case Qt::Key_Left: MoveCurrent(col_ - 1, row_, extend); break;
    case Qt::Key_Right: MoveCurrent(col_ + 1, row_, extend); break;
    case Qt::Key_PageDown:
        if (ctrl) MoveCurrent(col_, std::min(lastRow, topRow_ + page - 1), extend);
        else {
            SetTopRow(topRow_ + page);
            MoveCurrent(col_, row_ + page, extend);
        }
        break;
    case Qt::Key_PageUp:
        if (ctrl) MoveCurrent(col_, topRow_, extend);
        else {
            SetTopRow(topRow_ - page);
            MoveCurrent(col_, row_ - page, extend);
        }
        break;
    case Qt::Key_Home:
        if (ctrl) MoveCurrent(firstCol, firstRow, extend);
        else MoveCurrent(firstCol, row_, extend);
        break;
    case Qt::Key_End:
        if (ctrl) MoveCurrent(lastCol, lastRow, extend);
        else MoveCurrent(lastCol, row_, extend);
        break;
    case Qt::Key_F2: SetEditorMode(true); break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        if (shift & ssAlt) break;
        const bool back = key == Qt::Key_Backtab || (shift & ssShift);
        int c = col_, r = row_;
        if (!back) {
            if (++c > lastCol) {
                c = firstCol;
                if (++r > lastRow) r = firstRow;
            }
        } else {
            if (--c < firstCol) {
                c = lastCol;
                if (--r < firstRow) r = lastRow;
            }
        }
        MoveCurrent(c, r, false);
        break;
    }
    default: break;
    }
}

bool TStringGrid::focusNextPrevChild(bool next) {
    if (options_ & goTabs) return false;  // Tab moves between cells
    return QAbstractScrollArea::focusNextPrevChild(next);
}

bool TStringGrid::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        // Keys the grid handles itself must not trigger window shortcuts.
        auto* k = static_cast<QKeyEvent*>(e);
        if (!KeyEventChar(k).isNull()) { e->accept(); return true; }
    }
    return QAbstractScrollArea::event(e);
}

void TStringGrid::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    switch (k) {
    case Qt::Key_Insert:
        if (e->modifiers() == Qt::ShiftModifier) {
            PasteIntoCurrent(QGuiApplication::clipboard()->text());
            return;
        }
        GridKeyDown(k, ShiftStateOf(e));
        return;
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
    case Qt::Key_F2: case Qt::Key_Delete:
        GridKeyDown(k, ShiftStateOf(e));
        return;
    case Qt::Key_Tab: case Qt::Key_Backtab: {
        GridKeyDown(k, ShiftStateOf(e));
        QChar tab(9);
        GridKeyPress(tab);
        return;
    }
    default: break;
    }
    const QChar ch = KeyEventChar(e);
    if (ch.isNull()) {
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    if ((options_ & goEditing) && (ch == QChar(8) || ch.unicode() >= 32)) {
        ShowEditorChar(ch, e);
        return;
    }
    QChar key = ch;
    GridKeyPress(key);
}

void TStringGrid::mousePressEvent(QMouseEvent* e) {
    HideEditor();
    setFocus(Qt::MouseFocusReason);
    const QPoint vp = e->position().toPoint();
    const TMouseButton button = MouseButtonOf(e);
    if (button == TMouseButton::mbLeft) {
        int c, r;
        if (CellAt(vp, c, r) && c >= fixedCols_ && r >= fixedRows_) {
            if (c == col_ && r == row_) SetEditorMode(true);
            else MoveCurrent(c, r, false);
        }
        Fire(OnClick, static_cast<TComponent*>(this));
    }
    const QPoint p = viewport()->mapTo(this, vp);
    Fire(OnMouseDown, static_cast<TComponent*>(this), button, ShiftStateOf(e), p.x(), p.y());
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    if (MouseButtonOf(e) == TMouseButton::mbLeft) Fire(OnDblClick, static_cast<TComponent*>(this));
    const QPoint p = viewport()->mapTo(this, e->position().toPoint());
    Fire(OnMouseDown, static_cast<TComponent*>(this), MouseButtonOf(e), ShiftStateOf(e), p.x(), p.y());
}

void TStringGrid::mouseMoveEvent(QMouseEvent* e) {
    if (!(e->buttons() & Qt::LeftButton) || !(options_ & goRangeSelect)) return;
    int c, r;
    if (CellAt(e->position().toPoint(), c, r) && c >= fixedCols_ && r >= fixedRows_ && (c != col_ || r != row_))
        MoveCurrent(c, r, true);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* e) {
    QClipboard* clip = QGuiApplication::clipboard();
    int c, r;
    if (e->button() == Qt::MiddleButton && clip->supportsSelection() && CellAt(e->position().toPoint(), c, r) &&
        c >= fixedCols_ && r >= fixedRows_) {
        MoveCurrent(c, r, false);
        PasteIntoCurrent(clip->text(QClipboard::Selection));
    }
}

void TStringGrid::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasText() && (options_ & goEditing)) e->acceptProposedAction();
}

void TStringGrid::dragMoveEvent(QDragMoveEvent* e) {
    int c, r;
    if (CellAt(e->position().toPoint(), c, r) && c >= fixedCols_ && r >= fixedRows_) e->acceptProposedAction();
    else e->ignore();
}

void TStringGrid::dropEvent(QDropEvent* e) {
    int c, r;
    if (!e->mimeData()->hasText() || !CellAt(e->position().toPoint(), c, r) || c < fixedCols_ || r < fixedRows_) return;
    e->acceptProposedAction();
    const QString text = e->mimeData()->text();
    setFocus(Qt::MouseFocusReason);
    MoveCurrent(c, r, false);
    PasteIntoCurrent(text);
}

void TStringGrid::wheelEvent(QWheelEvent* e) {
    const int dy = e->angleDelta().y();
    if (dy < 0 && row_ < rowCount_ - 1) MoveCurrent(col_, row_ + 1, false);
    else if (dy > 0 && row_ > fixedRows_) MoveCurrent(col_, row_ - 1, false);
    e->accept();
}
