#include "roster_column.h"

#include "string_grid.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kWidth = 74;
}

TRosterColumn::TRosterColumn(TStringGrid* grid, std::function<ClassStudent(int)> student)
    : QWidget(grid->parentWidget()), grid_(grid), student_(std::move(student)) {
    setObjectName(QStringLiteral("rosterColumn"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(grid->font());
    // Whatever repaints the grid's rows (typing, scrolling, a paste) repaints the names.
    grid->viewport()->installEventFilter(this);
    hide();
}

void TRosterColumn::SetShown(bool shown) {
    if (shown == shown_) return;
    shown_ = shown;
    if (shown) {
        const QRect g = grid_->geometry();
        setGeometry(g.right() + 1, g.top(), kWidth, g.height());
        show();
        raise();
    } else {
        hide();
    }
    emit ShownChanged(shown);
}

QString TRosterColumn::TextOf(int row) const {
    const ClassStudent s = student_(row);
    return s.name.isEmpty() ? s.number : s.name;
}

bool TRosterColumn::eventFilter(QObject* watched, QEvent* e) {
    if (shown_ && watched == grid_->viewport() && e->type() == QEvent::Paint) update();
    return QWidget::eventFilter(watched, e);
}

void TRosterColumn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPoint origin = grid_->viewport()->mapTo(parentWidget(), QPoint(0, 0)) - pos();
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    p.fillRect(rect(), QColor(0xF7, 0xF7, 0xF2));
    p.setPen(QColor(0xC5, 0xCE, 0xD8));
    p.drawRect(frame);
    const int viewportBottom = origin.y() + grid_->viewport()->height();
    p.setClipRect(QRect(1, origin.y(), width() - 2, viewportBottom - origin.y()));
    for (int row = 0; row < grid_->RowCount(); ++row) {
        if (row >= grid_->FixedRows() && row < grid_->TopRow()) continue;
        const QRect cell = grid_->CellRect(0, row);
        if (cell.isEmpty()) continue;
        const QRect band(1, origin.y() + cell.top(), width() - 2, cell.height());
        if (band.top() >= viewportBottom) break;
        if (row == 0) {
            p.fillRect(band, QColor(0xE4, 0xE9, 0xEF));
            p.setPen(Qt::black);
            p.drawText(band.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("姓名"));
        } else {
            p.setPen(QColor(0x30, 0x30, 0x30));
            p.drawText(band.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       fontMetrics().elidedText(TextOf(row), Qt::ElideRight, band.width() - 6));
        }
        p.setPen(QColor(0xE4, 0xDE, 0xD5));
        p.drawLine(band.left(), band.bottom() + 1, band.right(), band.bottom() + 1);
    }
}
