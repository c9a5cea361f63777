#pragma once
// The names of the class beside the score grid, row for row: a column of
// its own, so the grid keeps its one column and its entry rules.
#include "class_data.h"

#include <QWidget>
#include <functional>

class TStringGrid;

class TRosterColumn : public QWidget {
    Q_OBJECT
public:
    // student gives who a grid row (from 1) belongs to.
    TRosterColumn(TStringGrid* grid, std::function<ClassStudent(int row)> student);

    // Shown beside the grid, or hidden; the page's other controls make room.
    void SetShown(bool shown);
    bool Shown() const { return shown_; }
    // The text shown beside a row: the name, else the student number.
    QString TextOf(int row) const;

signals:
    void ShownChanged(bool shown);

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    TStringGrid* grid_;
    std::function<ClassStudent(int)> student_;
    bool shown_ = false;
};
