#pragma once
// Shows the exam-quality figures of the last analysis; its button writes
// them as one sentence at the end of the conclusion.
#include "exam_statistics.h"

#include <QDialog>

class QPushButton;

class TStatisticsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TStatisticsDialog(const ExamStatistics& statistics, QWidget* parent = nullptr);

    // The text shown beside a label of StatisticsRows ("平均分" ...).
    QString Figure(const QString& label) const;
    QPushButton* WriteButton() const { return write_; }
    // True once the teacher asked for the sentence to be written.
    bool WriteRequested() const { return writeRequested_; }

private:
    QPushButton* write_;
    bool writeRequested_ = false;
};
