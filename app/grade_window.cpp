#include "grade_window.h"

#include "application.h"
#include "chart.h"
#include "chart_series.h"
#include "dialogs.h"
#include "grade_chart.h"
#include "grade_commands.h"
#include "grade_reports.h"
#include "main_window.h"
#include "program_icon.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QPushButton* Button(const QString& text, const QString& name) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    return b;
}

QTableWidgetItem* Cell(const QString& text, bool editable, bool number) {
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

TGradeWindow::TGradeWindow(TForm1& form) : QDialog(&form, Qt::Window), form_(form) {
    setObjectName(QStringLiteral("GradeWindow"));
    setWindowTitle(QStringLiteral("年级对比"));
    setWindowIcon(ProgramIcon());
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    addFiles_ = Button(QStringLiteral("添加班级文件…"), QStringLiteral("addFiles"));
    import_ = Button(QStringLiteral("从工作簿导入…"), QStringLiteral("importBook"));
    remove_ = Button(QStringLiteral("移除班级"), QStringLiteral("removeClass"));
    open_ = Button(QStringLiteral("打开年级…"), QStringLiteral("openGrade"));
    save_ = Button(QStringLiteral("保存年级…"), QStringLiteral("saveGrade"));
    for (QPushButton* b : {addFiles_, import_, remove_}) top->addWidget(b);
    top->addStretch(1);
    top->addWidget(open_);
    top->addWidget(save_);
    layout->addLayout(top);

    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("summary"));
    layout->addWidget(summary_);

    auto* split = new QSplitter(Qt::Vertical);
    table_ = new QTableWidget;
    table_->setObjectName(QStringLiteral("comparison"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionsClickable(true);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->setColumnCount(int(ComparisonColumns().size()));
    QStringList headers;
    for (const ComparisonColumn& c : ComparisonColumns()) headers << c.header;
    table_->setHorizontalHeaderLabels(headers);
    table_->setToolTip(QStringLiteral("点击表头按该列排序，双击班级名称可以改名"));
    split->addWidget(table_);

    chart_ = new TChart(nullptr, nullptr);
    chart_->setObjectName(QStringLiteral("gradeChart"));
    chart_->setMinimumSize(560, 300);
    form_.CompleteLoading();
    if (auto* histogram = form_.Find<TCustomChart>(QStringLiteral("Chart1"))) StyleLikeHistogram(*chart_, *histogram);
    split->addWidget(chart_);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    auto* bottom = new QHBoxLayout;
    pdf_ = new QCheckBox(QStringLiteral("同时生成PDF"));
    pdf_->setObjectName(QStringLiteral("alsoPdf"));
    pdf_->setChecked(form_.Report.AlsoPdf);  // as the menu has it for single reports
    makeAll_ = Button(QStringLiteral("生成全部报告…"), QStringLiteral("makeAll"));
    comparisonReport_ = Button(QStringLiteral("年级对比报告…"), QStringLiteral("comparisonReport"));
    bottom->addWidget(pdf_);
    bottom->addStretch(1);
    bottom->addWidget(makeAll_);
    bottom->addWidget(comparisonReport_);
    layout->addLayout(bottom);

    // Each command's failure is shown like any other handler's, and the window goes on.
    const auto run = [](const std::function<void()>& f) {
        return [f] {
            try {
                f();
            } catch (...) {
                Application().HandleCurrentException();
            }
        };
    };
    connect(addFiles_, &QPushButton::clicked, this, run([this] { AddClassFiles(*this); }));
    connect(import_, &QPushButton::clicked, this, run([this] { ImportGradeWorkbook(*this); }));
    connect(remove_, &QPushButton::clicked, this, run([this] { RemoveSelectedClass(*this); }));
    connect(open_, &QPushButton::clicked, this, run([this] { OpenGrade(*this); }));
    connect(save_, &QPushButton::clicked, this, run([this] { SaveGrade(*this); }));
    connect(makeAll_, &QPushButton::clicked, this, run([this] { MakeAllReports(*this); }));
    connect(comparisonReport_, &QPushButton::clicked, this, run([this] { MakeComparisonReport(*this); }));
    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        SortBy(column, column == sortColumn_ ? !descending_ : column != 0);
    });
    connect(table_, &QTableWidget::cellChanged, this, [this](int row, int column) { NameEdited(row, column); });
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { remove_->setEnabled(SelectedClass() >= 0); });
    resize(980, 680);
    Refresh();
}

TGradeWindow::~TGradeWindow() = default;

bool TGradeWindow::PdfWanted() const { return pdf_->isChecked(); }

void TGradeWindow::Refresh() {
    std::vector<ComparedClass> compared;
    for (const GradeClass& c : grade_.Classes()) compared.push_back({c.name, &c.scores});
    comparison_ = compared.empty() ? GradeComparison{} : CompareClasses(compared, grade_.FullMarks());
    order_ = SortedClasses(comparison_, sortColumn_, descending_);
    const bool any = grade_.Count() > 0;
    summary_->setText(any ? QStringLiteral("共%1个班级，%2人，满分%3分。")
                                .arg(grade_.Count())
                                .arg(comparison_.grade.statistics.count)
                                .arg(grade_.FullMarks())
                          : QStringLiteral("还没有班级。请添加班级文件，或者从一个工作簿导入各班成绩。"));
    for (QPushButton* b : {save_, makeAll_, comparisonReport_}) b->setEnabled(any);
    FillTable();
    remove_->setEnabled(SelectedClass() >= 0);
    FillGradeChart(*chart_, comparison_, HistogramColor(form_.Find<TCustomChart>(QStringLiteral("Chart1"))));
}

void TGradeWindow::FillTable() {
    filling_ = true;
    const auto& columns = ComparisonColumns();
    const bool any = !comparison_.classes.empty();
    table_->setRowCount(any ? int(order_.size()) + 1 : 0);
    const auto fill = [&](int row, const ClassFigures& f, bool editable) {
        for (int c = 0; c < int(columns.size()); ++c)
            table_->setItem(row, c, Cell(columns[size_t(c)].text(f), editable && c == 0, c > 0));
    };
    for (int r = 0; r < int(order_.size()); ++r) fill(r, comparison_.classes[size_t(order_[size_t(r)])], true);
    if (any) {
        // The grade's row stays below the classes whatever the order.
        const int last = int(order_.size());
        fill(last, comparison_.grade, false);
        QFont bold = table_->font();
        bold.setBold(true);
        for (int c = 0; c < table_->columnCount(); ++c) table_->item(last, c)->setFont(bold);
        // Its difference from itself says nothing.
        table_->item(last, 3)->setText(QString());
    }
    table_->resizeColumnsToContents();
    filling_ = false;
}

void TGradeWindow::SortBy(int column, bool descending) {
    sortColumn_ = column;
    descending_ = descending;
    table_->horizontalHeader()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    order_ = SortedClasses(comparison_, sortColumn_, descending_);
    FillTable();
}

int TGradeWindow::ClassAtRow(int row) const {
    return row >= 0 && row < int(order_.size()) ? order_[size_t(row)] : -1;
}

int TGradeWindow::SelectedClass() const {
    const auto rows = table_->selectionModel() ? table_->selectionModel()->selectedRows() : QModelIndexList{};
    return rows.isEmpty() ? -1 : ClassAtRow(rows.front().row());
}

void TGradeWindow::NameEdited(int row, int column) {
    if (filling_ || column != 0) return;
    const int k = ClassAtRow(row);
    if (k < 0) return;
    const QString name = table_->item(row, 0)->text();
    try {
        grade_.Rename(k, name);
    } catch (const EGradeError& e) {
        Dialogs::Current().Message(this, Application().Title(), e.Message(), MsgIcon::Warning, MsgButtons::OK);
    }
    // Shown again either way: the new name everywhere, or the old one back.
    // Not from inside the table's own signal, whose item the refill replaces.
    QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
}
