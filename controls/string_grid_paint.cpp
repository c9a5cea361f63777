// Painting the grid: cell fills, texts, the fixed cells' frame and the focus.
#include "string_grid.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPen>

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
