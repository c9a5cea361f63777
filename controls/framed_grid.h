#pragma once
// The score grid: the string grid with a custom frame over its border band,
// separate line colours for fixed and body cells, and colour switching on
// focus, hover and enabled changes.
#include "custom_frame.h"
#include "string_grid.h"

class TFrStringGrid : public TStringGrid, public TFrameHost {
    Q_OBJECT
public:
    TFrStringGrid(TComponent* owner, QWidget* parent);
    ~TFrStringGrid() override;
    QString ClassName() const override { return QStringLiteral("TFrStringGrid"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    TCustomFrame& Frame() { return frame_; }
    const TCustomFrame& Frame() const { return frame_; }
    bool FrameVisible() const { return frame_.Settings().frameVisible; }
    void SetFrameVisible(bool v) { frame_.SetFrameVisible(v); }
    TColor FrameColor() const { return frame_.Settings().frameColor; }
    void SetFrameColor(TColor c) { frame_.SetFrameColor(c); }

    TColor FixedLineColor() const { return fixedLineColor_; }
    void SetFixedLineColor(TColor c);
    TColor LineColor() const { return lineColor_; }
    void SetLineColor(TColor c);
    // The colour body lines are drawn in: LineColor, or 50 steps darker when
    // it would vanish against the cell colour.
    TColor BodyLineColor() const;

    void Loaded() override;

    TNotifyEvent OnResize;

    // TFrameHost
    void RepaintFrame() override;
    void FrameVisibilityChanged() override;
    bool HostFocused() const override;

protected:
    QColor GridLineColor(bool fixed) const override;
    void DrawCell(QPainter& p, int col, int row, const QRect& rect) override;
    void ColorChanged() override;
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    TCustomFrame frame_;
    TColor fixedLineColor_ = clBtnShadow;
    TColor lineColor_ = clBtnFace;
};
