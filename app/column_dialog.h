#pragma once
// Asks which of several columns holds the scores: each one is shown with
// its header and first values, side by side, and the teacher picks one.
#include "score_column.h"

#include <QDialog>
#include <optional>
#include <vector>

class QButtonGroup;

class TColumnDialog : public QDialog {
    Q_OBJECT
public:
    // note, when given, says why other columns are not offered.
    TColumnDialog(const QString& source, const std::vector<ScoreColumn>& columns, QWidget* parent = nullptr,
                  const QString& note = QString());

    // The position in columns of the one picked (the first until the teacher picks).
    int Chosen() const;
    void Choose(int position);

    // Runs the dialog; nothing when the teacher cancels.
    static std::optional<int> Ask(QWidget* owner, const QString& source, const std::vector<ScoreColumn>& columns,
                                  const QString& note = QString());

private:
    QButtonGroup* group_;
};
