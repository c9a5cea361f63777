#include "string_grid.h"

#include "application.h"
#include "exceptions.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QMenu>
#include <QMimeData>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <algorithm>

const EnumNames<TGridOption> kGridOptionNames{{"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine",
                                               "goRangeSelect", "goDrawFocusSelected", "goRowSizing", "goColSizing",
                                               "goRowMoving", "goColMoving", "goEditing", "goTabs", "goRowSelect",
                                               "goAlwaysShowEditor", "goThumbTracking"}};
const EnumNames<TScrollStyle> kScrollStyleNames{{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
namespace {
const EnumNames<TBorderStyle> kBorderStyleNames{{"bsNone", "bsSingle"}};
qint64 CellKey(int col, int row) { return (qint64(row) << 32) | quint32(col); }
bool DeactivationReason(Qt::FocusReason r) {
    return r == Qt::ActiveWindowFocusReason || r == Qt::PopupFocusReason;
}
}

// ---- in-place editor ------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TStringGrid* grid) : QLineEdit(grid->viewport()), grid_(grid) {
    setFrame(false);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) { grid_->EditorTextEdited(t); });
}

void TInplaceEdit::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    const auto mods = e->modifiers();
    const bool toGrid = k == Qt::Key_Up || k == Qt::Key_Down || k == Qt::Key_PageUp || k == Qt::Key_PageDown ||
                        k == Qt::Key_Escape || ((k == Qt::Key_Tab || k == Qt::Key_Backtab) && !(mods & Qt::AltModifier)) ||
                        (k == Qt::Key_Delete && (mods & Qt::ControlModifier)) ||
                        (k == Qt::Key_Insert && mods == Qt::NoModifier);
    QPointer<TInplaceEdit> self(this);
    if (toGrid) {
        grid_->GridKeyDown(k, ShiftStateOf(e));
        // The character these keys type still reaches the key-press handling.
        if (k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Escape) {
            QChar ch(k == Qt::Key_Escape ? 27 : 9);
            grid_->GridKeyPress(ch);
        }
        return;
    }
    if (k == Qt::Key_F2) {
        deselect();
        return;
    }
    const QChar typed = KeyEventChar(e);
    if (typed.isNull()) {
        // Shift+Insert; Ctrl+V types a control character and meets the key filter.
        if (e->matches(QKeySequence::Paste) && (OfferPaste(QGuiApplication::clipboard()->text()) || !self)) return;
        QLineEdit::keyPressEvent(e);
        return;
    }
    QChar key = typed;
    grid_->GridKeyPress(key);
    if (!self) return;
    if (key.isNull() || key == QChar(9) || key == QChar(27)) return;
    if (key == QChar(13)) {
        if (selectedText() == text()) deselect();
        else selectAll();
        return;
    }
    if (!isVisible()) return;  // the handler closed the editor
    if (key != typed) {
        QKeyEvent replaced(e->type(), 0, Qt::NoModifier, QString(key));
        QLineEdit::keyPressEvent(&replaced);
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TInplaceEdit::inputMethodEvent(QInputMethodEvent* e) {
    // Text composed through an input method passes the same key filter.
    if (e->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    QString accepted;
    for (QChar c : e->commitString()) {
        QChar key = c;
        grid_->GridKeyPress(key);
        if (!key.isNull() && key.unicode() >= 32) accepted += key;
    }
    QInputMethodEvent filtered(e->preeditString(), e->attributes());
    filtered.setCommitString(accepted, e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

bool TInplaceEdit::OfferPaste(const QString& text) {
    return grid_->editorHasCell_ && grid_->FirePaste(grid_->editorCol_, grid_->editorRow_, text);
}

void TInplaceEdit::contextMenuEvent(QContextMenuEvent* e) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard menu's paste entry, by the text the line edit gives it.
    QAction* action = nullptr;
    for (QAction* a : menu->actions())
        if (a->objectName() == QLatin1String("edit-paste") || a->text().startsWith(QLineEdit::tr("&Paste")))
            action = a;
    if (action) {
        action->setObjectName(QStringLiteral("edit-paste"));
        disconnect(action, &QAction::triggered, this, nullptr);
        connect(action, &QAction::triggered, this, [this] {
            QPointer<TInplaceEdit> self(this);
            if (!OfferPaste(QGuiApplication::clipboard()->text()) && self) self->paste();
        });
    }
    menu->popup(e->globalPos());
}

void TInplaceEdit::mouseReleaseEvent(QMouseEvent* e) {
    QClipboard* clip = QGuiApplication::clipboard();
    if (e->button() == Qt::MiddleButton && clip->supportsSelection() && OfferPaste(clip->text(QClipboard::Selection))) {
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void TInplaceEdit::dropEvent(QDropEvent* e) {
    // Text dragged within the editor only moves.
    if (e->source() != this && e->mimeData()->hasText() && OfferPaste(e->mimeData()->text())) {
        e->acceptProposedAction();
        return;
    }
    QLineEdit::dropEvent(e);
}

void TInplaceEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (DeactivationReason(e->reason()) || grid_->committing_) return;
    QWidget* now = QApplication::focusWidget();
    if (now != grid_) grid_->HideEditor();
}

// ---- grid ------------------------------------------------------------------------

TStringGrid::TStringGrid(TComponent* owner, QWidget* parent) : QAbstractScrollArea(parent), TControl(owner, this) {
    SetColor(clWindow);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(2);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setAutoFillBackground(false);
    viewport()->setAcceptDrops(true);
    horizontalScrollBar()->setEnabled(false);
    SetScrollBars(TScrollStyle::ssBoth);
    resize(320, 120);
}

TStringGrid::~TStringGrid() = default;

void TStringGrid::SetColCount(int v) {
    v = std::max(1, v);
    if (v == colCount_) return;
    colCount_ = v;
    fixedCols_ = std::min(fixedCols_, colCount_ - 1 < 0 ? 0 : colCount_ - 1);
    col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
    anchorCol_ = col_;
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetRowCount(int v) {
    v = std::max(1, v);
    if (v == rowCount_) return;
    rowCount_ = v;
    fixedRows_ = std::min(fixedRows_, rowCount_ - 1 < 0 ? 0 : rowCount_ - 1);
    row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
    anchorRow_ = row_;
    topRow_ = std::clamp(topRow_, fixedRows_, rowCount_ - 1);
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetFixedCols(int v) {
    v = std::clamp(v, 0, colCount_ - 1);
    fixedCols_ = v;
    col_ = std::max(col_, fixedCols_);
    anchorCol_ = col_;
    viewport()->update();
}

void TStringGrid::SetFixedRows(int v) {
    v = std::clamp(v, 0, rowCount_ - 1);
    fixedRows_ = v;
    row_ = std::max(row_, fixedRows_);
    anchorRow_ = row_;
    topRow_ = std::max(topRow_, fixedRows_);
    UpdateScrollBars();
    viewport()->update();
}

void TStringGrid::SetDefaultColWidth(int v) {
    if (v == defaultColWidth_) return;
    defaultColWidth_ = v;
    viewport()->update();
}

void TStringGrid::SetDefaultRowHeight(int v) {
    if (v == defaultRowHeight_) return;
    defaultRowHeight_ = v;
    UpdateScrollBars();
    viewport()->update();
}

int TStringGrid::ColWidth(int) const { return defaultColWidth_; }
int TStringGrid::RowHeight(int) const { return defaultRowHeight_; }

void TStringGrid::SetOptions(unsigned o) {
    if (o == options_) return;
    options_ = o;
    if (!(options_ & goEditing)) HideEditor();
    viewport()->update();
}

void TStringGrid::SetScrollBars(TScrollStyle s) {
    scrollBars_ = s;
    const bool v = s == TScrollStyle::ssVertical || s == TScrollStyle::ssBoth;
    const bool h = s == TScrollStyle::ssHorizontal || s == TScrollStyle::ssBoth;
    setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    UpdateScrollBars();
}

void TStringGrid::SetFixedColor(TColor c) {
    if (c == fixedColor_) return;
    fixedColor_ = c;
    viewport()->update();
}

void TStringGrid::SetBorderStyle(TBorderStyle b) {
    borderStyle_ = b;
    if (b == TBorderStyle::bsNone) setFrameStyle(QFrame::NoFrame);
    else {
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        setLineWidth(2);
    }
}

void TStringGrid::ColorChanged() { viewport()->update(); }

QString TStringGrid::Cells(int col, int row) const { return cells_.value(CellKey(col, row)); }

void TStringGrid::SetCells(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        throw EGridError(QStringLiteral("Grid index out of range"));
    const qint64 key = CellKey(col, row);
    auto it = cells_.find(key);
    if (it == cells_.end()) cells_.insert(key, text);
    else *it = text;
    viewport()->update(CellRect(col, row).adjusted(0, 0, 1, 1));
    // A write to the cell being edited shows in the editor, unless the write
    // is the editor's own commit.
    if (editor_ && editorHasCell_ && !committing_ && col == editorCol_ && row == editorRow_) LoadEditor();
}

void TStringGrid::SetCol(int c) {
    if (c < 0 || c >= colCount_) throw EGridError(QStringLiteral("Grid index out of range"));
    MoveCurrent(c, row_, false);
}

void TStringGrid::SetRow(int r) {
    if (r < 0 || r >= rowCount_) throw EGridError(QStringLiteral("Grid index out of range"));
    MoveCurrent(col_, r, false);
}

int TStringGrid::VisibleRowCount() const {
    int h = viewport()->height();
    for (int r = 0; r < fixedRows_; ++r) h -= RowHeight(r) + GridLineWidth();
    const int pitch = defaultRowHeight_ + GridLineWidth();
    return std::max(1, pitch > 0 ? h / pitch : 1);
}

void TStringGrid::SetTopRow(int r) {
    const int maxTop = std::max(fixedRows_, rowCount_ - VisibleRowCount());
    r = std::clamp(r, fixedRows_, maxTop);
    if (r == topRow_) return;
    topRow_ = r;
    verticalScrollBar()->blockSignals(true);
    verticalScrollBar()->setValue(topRow_ - fixedRows_);
    verticalScrollBar()->blockSignals(false);
    if (editor_ && editor_->isVisible()) editor_->setGeometry(EditorRect());
    viewport()->update();
}

void TStringGrid::UpdateScrollBars() {
    QScrollBar* vb = verticalScrollBar();
    const int visible = VisibleRowCount();
    const int maxTop = std::max(0, rowCount_ - fixedRows_ - visible);
    vb->blockSignals(true);
    vb->setRange(0, maxTop);
    vb->setPageStep(visible);
    vb->setSingleStep(1);
    vb->setValue(std::clamp(topRow_ - fixedRows_, 0, maxTop));
    vb->blockSignals(false);
    topRow_ = fixedRows_ + vb->value();
}

void TStringGrid::scrollContentsBy(int, int) {
    // The scroll bar moves only the view, never the current cell.
    topRow_ = fixedRows_ + verticalScrollBar()->value();
    if (editor_ && editor_->isVisible()) {
        const QRect r = EditorRect();
        editor_->setGeometry(r);
        editor_->setVisible(r.isValid());
    }
    viewport()->update();
}

void TStringGrid::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollBars();
}

int TStringGrid::RowY(int row) const {
    int y = 0;
    if (row < fixedRows_) {
        for (int r = 0; r < row; ++r) y += RowHeight(r) + GridLineWidth();
        return y;
    }
    if (row < topRow_) return -1;
    for (int r = 0; r < fixedRows_; ++r) y += RowHeight(r) + GridLineWidth();
    y += (row - topRow_) * (defaultRowHeight_ + GridLineWidth());
    return y;
}

int TStringGrid::ColX(int col) const {
    int x = 0;
    for (int c = 0; c < col; ++c) x += ColWidth(c) + GridLineWidth();
    return x;
}

QRect TStringGrid::CellRect(int col, int row) const {
    const int y = RowY(row);
    if (y < 0 || col < 0 || col >= colCount_ || row >= rowCount_) return {};
    return QRect(ColX(col), y, ColWidth(col), RowHeight(row));
}

bool TStringGrid::CellAt(const QPoint& pos, int& col, int& row) const {
    col = row = -1;
    for (int c = 0, x = 0; c < colCount_; ++c) {
        const int w = ColWidth(c) + GridLineWidth();
        if (pos.x() >= x && pos.x() < x + w) { col = c; break; }
        x += w;
    }
    int y = 0;
    for (int r = 0; r < fixedRows_; ++r) {
        const int h = RowHeight(r) + GridLineWidth();
        if (pos.y() >= y && pos.y() < y + h) { row = r; break; }
        y += h;
    }
    if (row < 0 && pos.y() >= y) {
        const int r = topRow_ + (pos.y() - y) / (defaultRowHeight_ + GridLineWidth());
        if (r < rowCount_) row = r;
    }
    return col >= 0 && row >= 0;
}

bool TStringGrid::GridFocused() const {
    QWidget* f = QApplication::focusWidget();
    return f && (f == this || isAncestorOf(f));
}

bool TStringGrid::IsFocusedCell(int col, int row) const { return col == col_ && row == row_ && GridFocused(); }

bool TStringGrid::IsSelected(int col, int row) const {
    if (options_ & goRowSelect) return row >= std::min(anchorRow_, row_) && row <= std::max(anchorRow_, row_) && col >= fixedCols_;
    return col >= std::min(anchorCol_, col_) && col <= std::max(anchorCol_, col_) &&
           row >= std::min(anchorRow_, row_) && row <= std::max(anchorRow_, row_);
}

QLineEdit* TStringGrid::InplaceEditor() const { return editor_ && editor_->isVisible() ? editor_ : nullptr; }

QRect TStringGrid::EditorRect() const { return CellRect(col_, row_); }

void TStringGrid::SetEditorMode(bool on) {
    if (on) {
        editorMode_ = true;
        ShowEditor();
    } else {
        HideEditor();
    }
}

void TStringGrid::ShowEditor() {
    if (!editorMode_ || !(options_ & goEditing) || (options_ & goRowSelect)) return;
    if (!GridFocused()) return;
    if (!editor_) {
        editor_ = new TInplaceEdit(this);
        editor_->hide();
    }
    if (!editorHasCell_ || editorCol_ != col_ || editorRow_ != row_) LoadEditor();
    editor_->setFont(font());
    QPalette pal = editor_->palette();
    pal.setColor(QPalette::Base, ToQColor(Color()));
    pal.setColor(QPalette::Text, ToQColor(Font().color));
    editor_->setPalette(pal);
    editor_->setGeometry(EditorRect());
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    viewport()->update(EditorRect());
}

void TStringGrid::LoadEditor() {
    editorCol_ = col_;
    editorRow_ = row_;
    editorHasCell_ = true;
    editor_->setMaxLength(32767);
    editor_->setText(QString());
    editor_->setText(Cells(col_, row_));
    editor_->selectAll();
}

void TStringGrid::HideEditor() {
    editorMode_ = false;
    if (!editor_ || !editorHasCell_) return;
    CommitEditor();
    if (!editor_ || !editorHasCell_) return;
    editorHasCell_ = false;
    const bool hadFocus = editor_->hasFocus();
    editor_->hide();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void TStringGrid::CommitEditor() {
    if (!editor_ || !editorHasCell_) return;
    const QString text = editor_->text();
    const int c = editorCol_, r = editorRow_;
    if (Cells(c, r) != text) {
        ++committing_;
        try {
            SetCells(c, r, text);
        } catch (...) {
            --committing_;
            throw;
        }
        --committing_;
    }
    Fire(OnSetEditText, static_cast<TComponent*>(this), c, r, text);
}

void TStringGrid::EditorTextEdited(const QString&) { CommitEditor(); }

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

bool TStringGrid::FirePaste(int col, int row, const QString& text) {
    bool handled = false;
    if (OnPasteText && !text.isEmpty()) Fire(OnPasteText, static_cast<TComponent*>(this), col, row, text, handled);
    return handled;
}

void TStringGrid::PasteIntoCurrent(const QString& text) {
    if (!(options_ & goEditing) || (options_ & goRowSelect) || text.isEmpty()) return;
    QPointer<TStringGrid> self(this);
    if (FirePaste(col_, row_, text) || !self) return;
    SetEditorMode(true);
    if (!editor_ || !editor_->isVisible()) return;
    editor_->selectAll();
    editor_->insert(text);  // an edit by the user: it commits like typing
}

void TStringGrid::ShowEditorChar(QChar ch, QKeyEvent* original) {
    SetEditorMode(true);
    if (!editor_ || !editor_->isVisible()) {
        // No editor could show (no focus): the character still meets the filter.
        QChar key = ch;
        GridKeyPress(key);
        return;
    }
    QKeyEvent forwarded(QEvent::KeyPress, original->key(), original->modifiers(), original->text());
    QApplication::sendEvent(editor_, &forwarded);
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

void TStringGrid::focusInEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusInEvent(e);
    if (editorMode_) ShowEditor();
    viewport()->update();
}

void TStringGrid::focusOutEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusOutEvent(e);
    if (!DeactivationReason(e->reason()) && !committing_) {
        QWidget* now = QApplication::focusWidget();
        if (!editor_ || now != editor_) HideEditor();
    }
    viewport()->update();
}

QColor TStringGrid::GridLineColor(bool fixed) const { return fixed ? ToQColor(clBlack) : ToQColor(clBtnFace); }

QColor TStringGrid::CellFillColor(int col, int row) const {
    if (col < fixedCols_ || row < fixedRows_) return ToQColor(fixedColor_);
    const bool focused = IsFocusedCell(col, row);
    if (IsSelected(col, row) && (!focused || (options_ & (goDrawFocusSelected | goRowSelect))))
        return ToQColor(clHighlight);
    return ToQColor(Color());
}

void TStringGrid::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    PaintCells(p);
}

void TStringGrid::PaintCells(QPainter& p) {
    const QRect area = viewport()->rect();
    p.fillRect(area, ToQColor(Color()));
    p.setFont(font());
    std::vector<int> rows;
    for (int r = 0; r < fixedRows_; ++r) rows.push_back(r);
    for (int r = topRow_; r < rowCount_; ++r) {
        if (RowY(r) > area.height()) break;
        rows.push_back(r);
    }
    for (int r : rows) {
        for (int c = 0; c < colCount_; ++c) {
            const QRect cell = CellRect(c, r);
            if (cell.left() > area.width()) break;
            DrawCell(p, c, r, cell);
            const bool fixed = c < fixedCols_ || r < fixedRows_;
            const bool vert = options_ & (fixed ? goFixedVertLine : goVertLine);
            const bool horz = options_ & (fixed ? goFixedHorzLine : goHorzLine);
            p.setPen(GridLineColor(fixed));
            if (vert) p.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
            if (horz) p.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
        }
    }
}

void TStringGrid::DrawCell(QPainter& p, int col, int row, const QRect& rect) {
    const bool editing = editor_ && editor_->isVisible() && col == col_ && row == row_;
    if (editing) return;
    const QColor fill = CellFillColor(col, row);
    const bool fixed = col < fixedCols_ || row < fixedRows_;
    const bool highlighted = !fixed && fill == ToQColor(clHighlight);
    p.fillRect(rect, fill);
    p.setPen(highlighted ? ToQColor(clHighlightText) : ToQColor(Font().color));
    p.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Cells(col, row));
    if (fixed) {
        p.setPen(ToQColor(fixedColor_));
        p.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    const bool focusRect = !(options_ & goRowSelect) && !((options_ & goEditing) && (options_ & goAlwaysShowEditor));
    if (IsFocusedCell(col, row) && focusRect) {
        QPen pen(ToQColor(clWindowText));
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

const PropertyTable& TStringGrid::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<TStringGrid>(t)
            .Int("ColCount", [](const TStringGrid& g) { return g.ColCount(); }, [](TStringGrid& g, int v) { g.SetColCount(v); }, 5)
            .Int("RowCount", [](const TStringGrid& g) { return g.RowCount(); }, [](TStringGrid& g, int v) { g.SetRowCount(v); }, 5)
            .Int("FixedCols", [](const TStringGrid& g) { return g.FixedCols(); }, [](TStringGrid& g, int v) { g.SetFixedCols(v); }, 1)
            .Int("FixedRows", [](const TStringGrid& g) { return g.FixedRows(); }, [](TStringGrid& g, int v) { g.SetFixedRows(v); }, 1)
            .Int("DefaultColWidth", [](const TStringGrid& g) { return g.DefaultColWidth(); },
                 [](TStringGrid& g, int v) { g.SetDefaultColWidth(v); })
            .Int("DefaultRowHeight", [](const TStringGrid& g) { return g.DefaultRowHeight(); },
                 [](TStringGrid& g, int v) { g.SetDefaultRowHeight(v); })
            .SetOf<TGridOption>("Options", kGridOptionNames, [](const TStringGrid& g) { return g.Options(); },
                                [](TStringGrid& g, unsigned v) { g.SetOptions(v); })
            .Enum<TScrollStyle>("ScrollBars", kScrollStyleNames, [](const TStringGrid& g) { return g.ScrollBars(); },
                                [](TStringGrid& g, TScrollStyle v) { g.SetScrollBars(v); }, TScrollStyle::ssBoth)
            .Color("FixedColor", [](const TStringGrid& g) { return g.FixedColor(); },
                   [](TStringGrid& g, TColor v) { g.SetFixedColor(v); }, clBtnFace)
            .Enum<TBorderStyle>("BorderStyle", kBorderStyleNames, [](const TStringGrid& g) { return g.BorderStyle(); },
                                [](TStringGrid& g, TBorderStyle v) { g.SetBorderStyle(v); }, TBorderStyle::bsSingle)
            .Event<TKeyPressEvent>("OnKeyPress", [](TStringGrid& g, const TKeyPressEvent& h) { g.OnKeyPress = h; })
            .Event<TKeyEvent>("OnKeyDown", [](TStringGrid& g, const TKeyEvent& h) { g.OnKeyDown = h; })
            .Event<TSetEditEvent>("OnSetEditText", [](TStringGrid& g, const TSetEditEvent& h) { g.OnSetEditText = h; })
            .Event<TMouseEvent>("OnMouseDown", [](TStringGrid& g, const TMouseEvent& h) { g.OnMouseDown = h; })
            .Event<TPasteEvent>("OnPasteText", [](TStringGrid& g, const TPasteEvent& h) { g.OnPasteText = h; })
            .Event<TNotifyEvent>("OnClick", [](TStringGrid& g, const TNotifyEvent& h) { g.OnClick = h; })
            .Event<TNotifyEvent>("OnDblClick", [](TStringGrid& g, const TNotifyEvent& h) { g.OnDblClick = h; });
        return t;
    }();
    return table;
}
