#include "item_marks_dialog.h"

#include "dialog_parts.h"

#include "item_reader.h"
#include "score_column.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

TItemMarksDialog::TItemMarksDialog(const QString& source, const QStringList& questions,
                                   const std::vector<double>& guesses, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(int(questions.size()), 2)), problem_(new QLabel) {
    setWindowTitle(QStringLiteral("小题满分"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("%1中没有各小题的满分（表头下面一行注明“满分”的那一行）。"
                                             "请填写每道小题的满分，下面先填了各题的最高得分：")
                                  .arg(source));
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    table_->setHorizontalHeaderLabels({QStringLiteral("小题"), QStringLiteral("满分")});
    table_->verticalHeader()->hide();
    for (int q = 0; q < int(questions.size()); ++q) {
        auto* name = new QTableWidgetItem(questions[q]);
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        table_->setItem(q, 0, name);
        const double guess = size_t(q) < guesses.size() ? std::ceil(guesses[size_t(q)]) : 0;
        table_->setItem(q, 1, new QTableWidgetItem(guess > 0 ? ScoreText(guess) : QString()));
    }
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setMinimumSize(260, 320);
    layout->addWidget(table_);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setWordWrap(true);
    QPalette pal = problem_->palette();
    pal.setColor(QPalette::WindowText, Qt::darkRed);
    problem_->setPalette(pal);
    layout->addWidget(problem_);
    layout->addWidget(OkCancelButtons(this));
}

QString TItemMarksDialog::Problem() const { return problem_->text(); }

void TItemMarksDialog::accept() {
    std::vector<double> marks;
    for (int q = 0; q < table_->rowCount(); ++q) {
        const QTableWidgetItem* cell = table_->item(q, 1);
        const auto v = CellNumber(cell ? cell->text() : QString(), false);
        if (!v || !(*v > 0)) {
            problem_->setText(QStringLiteral("“%1”的满分“%2”不是大于0的数。")
                                  .arg(table_->item(q, 0)->text(), cell ? cell->text() : QString()));
            return;
        }
        marks.push_back(*v);
    }
    const QString problem = CheckQuestionMarks(marks);
    if (!problem.isEmpty()) {
        problem_->setText(problem);
        return;
    }
    marks_ = std::move(marks);
    QDialog::accept();
}

std::optional<std::vector<double>> TItemMarksDialog::Ask(QWidget* owner, const QString& source,
                                                         const QStringList& questions,
                                                         const std::vector<double>& guesses) {
    TItemMarksDialog dialog(source, questions, guesses, owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.FullMarks();
}
