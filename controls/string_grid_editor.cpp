// The grid in editor mode: the in-place editor over the current cell, what it
// loads and commits, pastes, and the focus moving between it and the grid.
#include "string_grid.h"

#include "application.h"

#include <QApplication>
#include <QClipboard>
#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace {
bool DeactivationReason(Qt::FocusReason r) {
    return r == Qt::ActiveWindowFocusReason || r == Qt::PopupFocusReason;
}
}  // namespace

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
