// The grid's cells and their texts, its shape, scrolling and selection, and
// its published properties. Editor mode, keys and painting have files of
// their own beside this one.
#include "string_grid.h"

#include "application.h"
#include "exceptions.h"

#include <QApplication>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

const EnumNames<TGridOption> kGridOptionNames{{"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine",
                                               "goRangeSelect", "goDrawFocusSelected", "goRowSizing", "goColSizing",
                                               "goRowMoving", "goColMoving", "goEditing", "goTabs", "goRowSelect",
                                               "goAlwaysShowEditor", "goThumbTracking"}};
const EnumNames<TScrollStyle> kScrollStyleNames{{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
namespace {
const EnumNames<TBorderStyle> kBorderStyleNames{{"bsNone", "bsSingle"}};
qint64 CellKey(int col, int row) { return (qint64(row) << 32) | quint32(col); }
}

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
