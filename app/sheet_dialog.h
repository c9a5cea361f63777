#pragma once
// Asks which sheet of a workbook holds the class: each sheet by its name
// and the rows it holds.
#include "score_table.h"

#include <QDialog>
#include <optional>
#include <vector>

class QButtonGroup;

class TSheetDialog : public QDialog {
    Q_OBJECT
public:
    TSheetDialog(const QString& source, const std::vector<ScoreSheet>& sheets, QWidget* parent = nullptr);

    // The position in sheets of the one picked (the first with rows until the teacher picks).
    int Chosen() const;
    void Choose(int position);
    // The texts the sheets are listed with: "期中（46行）".
    QStringList Entries() const;

    static std::optional<int> Ask(QWidget* owner, const QString& source, const std::vector<ScoreSheet>& sheets);

private:
    QButtonGroup* group_;
};
