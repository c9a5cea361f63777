#pragma once
// The 年级对比 window: the classes of a grade side by side in a table that
// sorts by any column, the grouped chart of their bands, and the commands
// that add, remove and rename classes, keep the grade in its file and make
// every report in one go.
#include "grade.h"
#include "grade_comparison.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TChart;
class TForm1;

class TGradeWindow : public QDialog {
    Q_OBJECT
public:
    explicit TGradeWindow(TForm1& form);
    ~TGradeWindow() override;

    TGrade& Grade() { return grade_; }
    const GradeComparison& Comparison() const { return comparison_; }
    TForm1& Form() { return form_; }
    // After any change of the grade: figures, table and chart anew.
    void Refresh();
    // The table's sort: column, and whether from high to low.
    void SortBy(int column, bool descending);
    // The class shown in a row of the table; -1 for the grade's row.
    int ClassAtRow(int row) const;
    // The selected class, or -1.
    int SelectedClass() const;
    // Whether every report also goes out as PDF.
    bool PdfWanted() const;

    QTableWidget* Table() const { return table_; }
    TChart* Chart() const { return chart_; }
    QPushButton* AddFilesButton() const { return addFiles_; }
    QPushButton* ImportButton() const { return import_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* OpenButton() const { return open_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* MakeAllButton() const { return makeAll_; }
    QPushButton* ComparisonReportButton() const { return comparisonReport_; }
    QCheckBox* PdfBox() const { return pdf_; }

private:
    void FillTable();
    void NameEdited(int row, int column);
    TForm1& form_;
    TGrade grade_;
    GradeComparison comparison_;
    std::vector<int> order_;  // the table's class rows, as indices into the grade
    int sortColumn_ = -1;
    bool descending_ = false;
    bool filling_ = false;
    QLabel* summary_ = nullptr;
    QTableWidget* table_ = nullptr;
    TChart* chart_ = nullptr;
    QPushButton *addFiles_ = nullptr, *import_ = nullptr, *remove_ = nullptr, *open_ = nullptr, *save_ = nullptr,
                *makeAll_ = nullptr, *comparisonReport_ = nullptr;
    QCheckBox* pdf_ = nullptr;
};
