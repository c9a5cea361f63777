#pragma once
// The skinned string grid: a "Frame" around the cells, each cell drawn by the
// "Fixed" or "Cell" part in its state with its string, then the grid's normal
// cell drawing when DefaultDrawing is on.
#include "skin_skinnable.h"
#include "string_grid.h"

class TSkSkinStringGrid : public TStringGrid, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinStringGrid(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinStringGrid"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool v);
    // disabled 8, the focused cell 7, a selected cell 7 or 5, else 0.
    int CellState(int col, int row) const;

    void Loaded() override;

protected:
    void DrawCell(QPainter& p, int col, int row, const QRect& rect) override;
    QColor GridLineColor(bool fixed) const override;
    bool event(QEvent* e) override;
    void SkinReplaced() override;

private:
    bool defaultDrawing_ = true;
};
