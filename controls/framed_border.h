#pragma once
// A windowless control with the graphic controls' frame: outer style, a band
// of BorderWidth, inner style. Subclasses paint their content inside
// ClientRect().
#include "control.h"
#include "frame_draw.h"

#include <QWidget>

class TFrBorder : public QWidget, public TControl {
    Q_OBJECT
public:
    TFrBorder(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TFrBorder"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    const TBorderSpec& Border() const { return border_; }
    int BevelWidth() const { return border_.bevelWidth; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return border_.borderWidth; }
    void SetBorderWidth(int v);
    TColor BorderColor() const { return border_.borderColor; }
    void SetBorderColor(TColor c);
    TColor BorderHighlight() const { return border_.highlight; }
    void SetBorderHighlight(TColor c);
    TColor BorderShadow() const { return border_.shadow; }
    void SetBorderShadow(TColor c);
    TFrameStyleEx BorderInner() const { return border_.inner; }
    void SetBorderInner(TFrameStyleEx s);
    TFrameStyleEx BorderOuter() const { return border_.outer; }
    void SetBorderOuter(TFrameStyleEx s);
    TSides BorderSides() const { return border_.sides; }
    void SetBorderSides(TSides s);
    TColor FlatColor() const { return border_.flatColor; }
    void SetFlatColor(TColor c);
    int FlatColorAdjustment() const { return border_.flatColorAdjustment; }
    void SetFlatColorAdjustment(int v);

    // The area inside the frame, in control coordinates; empty when the frame
    // leaves nothing.
    TRect ClientRect() const { return BorderClientRect(width(), height(), border_); }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    // Draws the frame and returns the rectangle inside it.
    TRect PaintFrame(Canvas& c);
    // The colour the frame's rounded styles fill with.
    virtual TColor FrameControlColor() const { return Color(); }
    TColor ParentColorValue() const;
    // Called after a frame property changed, before the repaint.
    virtual void FrameChanged() {}
    void Loaded() override;

    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void FrameSet(bool repaintNow);
    TBorderSpec border_{TFrameStyle::fsGroove};
};
