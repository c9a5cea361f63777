#include "sheet_dialog.h"

#include "dialog_parts.h"

#include <QDialogButtonBox>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

TSheetDialog::TSheetDialog(const QString& source, const std::vector<ScoreSheet>& sheets, QWidget* parent)
    : QDialog(parent), group_(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("选择工作表"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("%1中有%2个工作表，请选择成绩所在的一个：").arg(source).arg(sheets.size()));
    prompt->setWordWrap(true);
    layout->addWidget(prompt);
    int first = -1;
    for (int k = 0; k < int(sheets.size()); ++k) {
        const ScoreSheet& s = sheets[size_t(k)];
        const QString name = s.name.isEmpty() ? QStringLiteral("第%1个工作表").arg(k + 1) : s.name;
        auto* button = new QRadioButton(QStringLiteral("%1（%2行）").arg(name).arg(s.table.rows.size()));
        button->setEnabled(!s.table.rows.isEmpty());
        if (first < 0 && !s.table.rows.isEmpty()) first = k;
        group_->addButton(button, k);
        layout->addWidget(button);
    }
    layout->addWidget(OkCancelButtons(this));
    Choose(std::max(first, 0));
}

int TSheetDialog::Chosen() const { return group_->checkedId(); }

void TSheetDialog::Choose(int position) {
    if (QAbstractButton* b = group_->button(position)) b->setChecked(true);
}

QStringList TSheetDialog::Entries() const {
    QStringList out;
    for (QAbstractButton* b : group_->buttons()) out << b->text();
    return out;
}

std::optional<int> TSheetDialog::Ask(QWidget* owner, const QString& source, const std::vector<ScoreSheet>& sheets) {
    TSheetDialog dialog(source, sheets, owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}
