#include "column_dialog.h"

#include "dialog_parts.h"

#include <QDialogButtonBox>

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

TColumnDialog::TColumnDialog(const QString& source, const std::vector<ScoreColumn>& columns, QWidget* parent,
                             const QString& note)
    : QDialog(parent), group_(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("选择成绩列"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(columns.size() > 1
                                  ? QStringLiteral("%1中有%2列都可能是成绩，请选择要使用的一列：").arg(source).arg(columns.size())
                                  : QStringLiteral("%1中可能是成绩的一列如下，请确认：").arg(source));
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    if (!note.isEmpty()) {
        auto* why = new QLabel(note);
        why->setObjectName(QStringLiteral("note"));
        why->setWordWrap(true);
        layout->addWidget(why);
    }

    auto* table = new QFrame;
    table->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(table);
    grid->setHorizontalSpacing(24);
    for (int k = 0; k < int(columns.size()); ++k) {
        const ScoreColumn& c = columns[size_t(k)];
        const QString title = c.header.isEmpty() ? QStringLiteral("第%1列").arg(c.index + 1) : c.header;
        auto* button = new QRadioButton(title);
        group_->addButton(button, k);
        grid->addWidget(button, 0, k);
        for (int v = 0; v < c.firstValues.size(); ++v) {
            auto* value = new QLabel(c.firstValues[v]);
            value->setIndent(22);  // under the button's text, not its circle
            grid->addWidget(value, v + 1, k);
        }
    }
    grid->setRowStretch(6, 1);
    layout->addWidget(table);

    layout->addWidget(OkCancelButtons(this));
    Choose(0);
}

int TColumnDialog::Chosen() const { return group_->checkedId(); }

void TColumnDialog::Choose(int position) {
    if (QAbstractButton* b = group_->button(position)) b->setChecked(true);
}

std::optional<int> TColumnDialog::Ask(QWidget* owner, const QString& source, const std::vector<ScoreColumn>& columns,
                                      const QString& note) {
    TColumnDialog dialog(source, columns, owner, note);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}
