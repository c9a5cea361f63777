#include "statistics_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TStatisticsDialog::TStatisticsDialog(const ExamStatistics& statistics, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("统计指标"));
    auto* layout = new QVBoxLayout(this);
    auto* figures = new QFormLayout;
    figures->setLabelAlignment(Qt::AlignRight);
    figures->setHorizontalSpacing(16);
    for (const auto& [label, text] : StatisticsRows(statistics)) {
        auto* value = new QLabel(text);
        value->setObjectName(label);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addRow(label + QStringLiteral("："), value);
    }
    layout->addLayout(figures);

    auto* note = new QLabel(GroupNote(statistics));
    note->setObjectName(QStringLiteral("note"));
    note->setWordWrap(true);
    note->setMinimumWidth(340);
    QPalette pal = note->palette();
    pal.setColor(QPalette::WindowText, pal.color(QPalette::Disabled, QPalette::WindowText));
    note->setPalette(pal);
    layout->addWidget(note);

    auto* buttons = new QDialogButtonBox;
    write_ = buttons->addButton(QStringLiteral("写入分析结论"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    connect(write_, &QPushButton::clicked, this, [this] {
        writeRequested_ = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TStatisticsDialog::Figure(const QString& label) const {
    const auto* value = findChild<QLabel*>(label);
    return value ? value->text() : QString();
}
