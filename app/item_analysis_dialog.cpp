#include "item_analysis_dialog.h"

#include "bar_series.h"
#include "chart.h"
#include "dialog_parts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kFlagColumn = 8;

// Sorts by the number behind the text ("—" below every number), not by the text.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double key) : QTableWidgetItem(text) {
        setData(Qt::UserRole, key);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

class SeriesOwner : public TComponent {
public:
    SeriesOwner() : TComponent(nullptr) {}
    QString ClassName() const override { return QStringLiteral("TItemSeriesOwner"); }
};

}  // namespace

TItemAnalysisDialog::TItemAnalysisDialog(const ItemAnalysis& a, const QStringList& leftOut, QWidget* parent)
    : QDialog(parent),
      table_(new QTableWidget(int(a.items.size()), int(ItemTableHeader().size()))),
      chart_(new TChart(nullptr)),
      seriesOwner_(std::make_unique<SeriesOwner>()) {
    setWindowTitle(QStringLiteral("小题分析"));
    auto* layout = new QVBoxLayout(this);
    auto* summary = new QLabel(QStringLiteral("共%1人，%2道小题；%3。").arg(a.count).arg(a.items.size()).arg(ReliabilityText(a)));
    summary->setObjectName(QStringLiteral("summary"));
    layout->addWidget(summary);

    auto* middle = new QHBoxLayout;
    table_->setHorizontalHeaderLabels(ItemTableHeader());
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    const QColor flagged(255, 228, 225);
    for (int q = 0; q < int(a.items.size()); ++q) {
        const ItemFigures& f = a.items[size_t(q)];
        const QStringList texts = ItemTableRow(f);
        const double keys[] = {double(q), f.fullMarks, f.mean, f.difficulty, f.discrimination,
                               f.correlation.value_or(-2.0), double(f.zeroCount), double(f.fullCount)};
        for (int c = 0; c < int(texts.size()); ++c) {
            QTableWidgetItem* item = c < kFlagColumn ? new NumberItem(texts[c], keys[c]) : new QTableWidgetItem(texts[c]);
            if (c == 0) item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            if (f.flags) item->setBackground(flagged);
            table_->setItem(q, c, item);
        }
    }
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    // Every column in sight, the flags' included, where the screen has room
    // (see the end); on a small screen the table scrolls sideways instead.
    const int wanted = table_->horizontalHeader()->length() + table_->verticalScrollBar()->sizeHint().width() +
                       2 * table_->frameWidth() + 4;
    table_->setMinimumSize(std::min(wanted, 420), 300);
    middle->addWidget(table_, 3);

    chart_->setParent(this);
    chart_->setMinimumSize(300, 300);
    FillChart(a);
    middle->addWidget(chart_, 2);
    layout->addLayout(middle);

    QString note = ItemNote(a);
    if (!leftOut.isEmpty())
        note += QStringLiteral("以下%1行的总分在导入后改过，与小题分之和不符，没有计入小题分析：%2。")
                    .arg(leftOut.size())
                    .arg(leftOut.join(QStringLiteral("、")));
    note_ = GreyNote(note, QStringLiteral("note"));
    layout->addWidget(note_);

    layout->addWidget(WriteOrCloseButtons(this, &writeRequested_, &write_));

    adjustSize();
    QSize size(width() + wanted - table_->minimumWidth() + 60, height() + 60);
    if (const QScreen* s = parent ? parent->screen() : screen())
        size = size.boundedTo(s->availableGeometry().size() - QSize(24, 48));
    resize(size.expandedTo(minimumSizeHint()));
}

TItemAnalysisDialog::~TItemAnalysisDialog() {
    // The series belong to their owner but draw in the chart: the chart goes first.
    delete chart_;
    chart_ = nullptr;
}

QString TItemAnalysisDialog::Note() const { return note_->text(); }

void TItemAnalysisDialog::FillChart(const ItemAnalysis& a) {
    TChart& c = *chart_;
    c.SetView3D(false);
    c.Title.SetText({QStringLiteral("各题难度 P 与区分度 D")});
    c.BackWall.Brush.SetColor(clWhite);
    c.SetBackColor(clWhite);
    c.Legend.SetVisible(true);
    double lowest = 0;
    for (const ItemFigures& f : a.items) lowest = std::min(lowest, f.discrimination);
    // D may be negative (a wrong key); P and D never pass 1.
    c.LeftAxis.SetRange(lowest < 0 ? std::floor(lowest * 5) / 5 : 0, 1);
    c.LeftAxis.SetIncrement(0.2);
    const std::pair<const char*, TColor> kinds[] = {{"难度 P", clNavy}, {"区分度 D", clRed}};
    for (int k = 0; k < 2; ++k) {
        auto* series = new TBarSeries(seriesOwner_.get());
        series->SetTitle(QString::fromUtf8(kinds[k].first));
        series->SetSeriesColor(kinds[k].second);
        series->SetMultiBar(TMultiBar::mbSide);
        series->Marks.SetVisible(false);
        series->SetUseYOrigin(true);
        series->SetYOrigin(0);
        series->SetParentChart(&c);
        for (int q = 0; q < int(a.items.size()); ++q) {
            const ItemFigures& f = a.items[size_t(q)];
            series->AddPoint(q + 1, k == 0 ? f.difficulty : f.discrimination, f.question, DefaultColor);
        }
    }
    c.BottomAxis.SetRange(0.5, double(a.items.size()) + 0.5);
    c.BottomAxis.SetIncrement(1);
}
