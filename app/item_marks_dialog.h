#pragma once
// Asks each question's full marks when the sheet gives no row of them:
// one line per question, filled in with its highest score as a guess.
#include <QDialog>
#include <QStringList>
#include <optional>
#include <vector>

class QLabel;
class QTableWidget;

class TItemMarksDialog : public QDialog {
    Q_OBJECT
public:
    TItemMarksDialog(const QString& source, const QStringList& questions, const std::vector<double>& guesses,
                     QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    // The full marks as entered, once they have been accepted.
    const std::vector<double>& FullMarks() const { return marks_; }
    // What is wrong with the entries, as the dialog shows it; empty when none.
    QString Problem() const;

    static std::optional<std::vector<double>> Ask(QWidget* owner, const QString& source, const QStringList& questions,
                                                  const std::vector<double>& guesses);

    void accept() override;

private:
    QTableWidget* table_;
    QLabel* problem_;
    std::vector<double> marks_;
};
