#pragma once
// The score grid: the string grid with its own frame and line colours.
#include "string_grid.h"

class TFrStringGrid : public TStringGrid {
    Q_OBJECT
public:
    TFrStringGrid(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TFrStringGrid"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    bool FrameVisible() const { return frameVisible_; }
    void SetFrameVisible(bool v);
    TColor FrameColor() const { return frameColor_; }
    void SetFrameColor(TColor c);
    TColor FixedLineColor() const { return fixedLineColor_; }
    void SetFixedLineColor(TColor c);
    TColor LineColor() const { return lineColor_; }
    void SetLineColor(TColor c);

protected:
    QColor GridLineColor(bool fixed) const override;

private:
    bool frameVisible_ = false;
    TColor frameColor_ = clBtnShadow;
    TColor fixedLineColor_ = clBtnShadow;
    TColor lineColor_ = clBtnFace;
};
