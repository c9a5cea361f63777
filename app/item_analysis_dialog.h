#pragma once
// 小题分析: the figures of each question in a table the teacher can sort by
// any column, a chart of P and D per question from the program's chart
// engine, the rules of the flags under them, and a button that writes the
// flagged questions into the conclusion.
#include "item_analysis.h"

#include <QDialog>
#include <QStringList>
#include <memory>

class QLabel;
class QPushButton;
class QTableWidget;
class TChart;
class TComponent;

class TItemAnalysisDialog : public QDialog {
    Q_OBJECT
public:
    // leftOut: rows whose total no longer is the sum of their questions.
    TItemAnalysisDialog(const ItemAnalysis& analysis, const QStringList& leftOut, QWidget* parent = nullptr);
    ~TItemAnalysisDialog() override;

    QTableWidget* Table() const { return table_; }
    TChart* Chart() const { return chart_; }
    QPushButton* WriteButton() const { return write_; }
    QString Note() const;
    bool WriteRequested() const { return writeRequested_; }

private:
    void FillChart(const ItemAnalysis& analysis);
    QTableWidget* table_;
    TChart* chart_;
    std::unique_ptr<TComponent> seriesOwner_;
    QLabel* note_;
    QPushButton* write_;
    bool writeRequested_ = false;
};
