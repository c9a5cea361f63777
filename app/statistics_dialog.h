#pragma once
// Shows the exam-quality figures of the last analysis, with the students
// who failed and who excelled; its button writes the figures as one
// sentence into the conclusion.
#include "exam_statistics.h"
#include "student_lists.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

class TStatisticsDialog : public QDialog {
    Q_OBJECT
public:
    TStatisticsDialog(const ExamStatistics& statistics, const StudentLists& lists, QWidget* parent = nullptr);

    // The text shown beside a label of StatisticsRows ("平均分" ...).
    QString Figure(const QString& label) const;
    QPushButton* WriteButton() const { return write_; }
    // The lists as shown, and the buttons that copy them.
    QTableWidget* FailingTable() const { return failing_; }
    QTableWidget* ExcellentTable() const { return excellent_; }
    QPushButton* CopyFailingButton() const { return copyFailing_; }
    QPushButton* CopyExcellentButton() const { return copyExcellent_; }
    // True once the teacher asked for the sentence to be written.
    bool WriteRequested() const { return writeRequested_; }

private:
    QWidget* ListBox(const QString& title, const std::vector<ListedStudent>& list, QTableWidget*& table,
                     QPushButton*& copy);
    QPushButton* write_;
    QTableWidget* failing_ = nullptr;
    QTableWidget* excellent_ = nullptr;
    QPushButton* copyFailing_ = nullptr;
    QPushButton* copyExcellent_ = nullptr;
    bool writeRequested_ = false;
};
