#include "statistics_dialog.h"

#include "dialog_parts.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QLabel* Note(const QString& text, const QString& name) {
    QLabel* note = GreyNote(text, name);
    note->setMinimumWidth(340);
    return note;
}

}  // namespace

TStatisticsDialog::TStatisticsDialog(const ExamStatistics& statistics, const StudentLists& lists, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("统计指标"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* figures = new QFormLayout;
    figures->setLabelAlignment(Qt::AlignRight);
    figures->setHorizontalSpacing(16);
    for (const auto& [label, text] : StatisticsRows(statistics)) {
        auto* value = new QLabel(text);
        value->setObjectName(label);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addRow(label + QStringLiteral("："), value);
    }
    left->addLayout(figures);
    left->addWidget(Note(RateNote(statistics), QStringLiteral("rateNote")));
    left->addWidget(Note(GroupNote(statistics), QStringLiteral("note")));
    left->addStretch(1);
    top->addLayout(left);
    top->addWidget(ListBox(QStringLiteral("不及格名单"), lists.failing, failing_, copyFailing_));
    top->addWidget(ListBox(QStringLiteral("优秀名单"), lists.excellent, excellent_, copyExcellent_));
    layout->addLayout(top);

    layout->addWidget(WriteOrCloseButtons(this, &writeRequested_, &write_));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TStatisticsDialog::ListBox(const QString& title, const std::vector<ListedStudent>& list,
                                    QTableWidget*& table, QPushButton*& copy) {
    auto* box = new QGroupBox(QStringLiteral("%1（%2人）").arg(title).arg(list.size()));
    auto* layout = new QVBoxLayout(box);
    table = new QTableWidget(int(list.size()), 3);
    table->setHorizontalHeaderLabels({QStringLiteral("学号"), QStringLiteral("姓名"), QStringLiteral("成绩")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int k = 0; k < int(list.size()); ++k) {
        const ListedStudent& s = list[size_t(k)];
        table->setItem(k, 0, new QTableWidgetItem(s.student.number));
        table->setItem(k, 1, new QTableWidgetItem(ShownName(s)));
        auto* score = new QTableWidgetItem(s.score);
        score->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(k, 2, score);
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setMinimumWidth(200);
    table->setFixedHeight(260);
    layout->addWidget(table);
    copy = new QPushButton(QStringLiteral("复制%1").arg(title));
    copy->setEnabled(!list.empty());
    const QString text = TabSeparated(list);
    connect(copy, &QPushButton::clicked, this, [text] { QGuiApplication::clipboard()->setText(text); });
    layout->addWidget(copy);
    return box;
}

QString TStatisticsDialog::Figure(const QString& label) const {
    const auto* value = findChild<QLabel*>(label);
    return value ? value->text() : QString();
}
