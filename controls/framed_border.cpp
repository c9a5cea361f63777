#include "framed_border.h"

#include "application.h"

#include <QMouseEvent>
#include <algorithm>

TFrBorder::TFrBorder(TComponent* owner, QWidget* parent) : QWidget(parent), TControl(owner, this) {
    resize(50, 50);
    SetCaption(QString());
}

void TFrBorder::FrameSet(bool repaintNow) {
    FrameChanged();
    if (repaintNow) repaint();
    else update();
}

#define FR_SETTER(Name, Type, field, now)        \
    void TFrBorder::Set##Name(Type v) {          \
        if (border_.field == v) return;          \
        border_.field = v;                       \
        FrameSet(now);                           \
    }
FR_SETTER(BorderColor, TColor, borderColor, true)
FR_SETTER(BorderHighlight, TColor, highlight, true)
FR_SETTER(BorderShadow, TColor, shadow, true)
FR_SETTER(BorderInner, TFrameStyleEx, inner, true)
FR_SETTER(BorderOuter, TFrameStyleEx, outer, true)
FR_SETTER(BorderSides, TSides, sides, true)
FR_SETTER(FlatColor, TColor, flatColor, false)
FR_SETTER(FlatColorAdjustment, int, flatColorAdjustment, false)
#undef FR_SETTER

// Negative widths would grow the client area past the control.
void TFrBorder::SetBevelWidth(int v) {
    v = std::max(0, v);
    if (border_.bevelWidth == v) return;
    border_.bevelWidth = v;
    FrameSet(true);
}

void TFrBorder::SetBorderWidth(int v) {
    v = std::max(0, v);
    if (border_.borderWidth == v) return;
    border_.borderWidth = v;
    FrameSet(true);
}

TColor TFrBorder::ParentColorValue() const {
    QWidget* p = parentWidget();
    if (auto* c = dynamic_cast<TControl*>(p)) return c->Color();
    return p ? FromQColor(p->palette().color(QPalette::Window)) : clBtnFace;
}

TRect TFrBorder::PaintFrame(Canvas& c) {
    const TFrameFill fill = testAttribute(Qt::WA_OpaquePaintEvent) ? TFrameFill::Opaque : TFrameFill::Transparent;
    return DrawInnerOuterBorders(c, TRect{0, 0, width(), height()}, border_, FrameControlColor(), ParentColorValue(), fill);
}

void TFrBorder::Loaded() {
    TControl::Loaded();
    FrameChanged();
}

void TFrBorder::paintEvent(QPaintEvent*) {
    Canvas c(this);
    PaintFrame(c);
}

void TFrBorder::enterEvent(QEnterEvent* e) {
    QWidget::enterEvent(e);
    Fire(OnMouseEnter, static_cast<TComponent*>(this));
}

void TFrBorder::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    Fire(OnMouseLeave, static_cast<TComponent*>(this));
}

void TFrBorder::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        Fire(OnClick, static_cast<TComponent*>(this));
}

void TFrBorder::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Fire(OnDblClick, static_cast<TComponent*>(this));
}

const PropertyTable& TFrBorder::StaticProperties() {
    static PropertyTable table = [] {
        using B = TFrBorder;
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<B>(t)
            .Int("BevelWidth", [](const B& b) { return b.BevelWidth(); }, [](B& b, int v) { b.SetBevelWidth(v); }, 1)
            .Int("BorderWidth", [](const B& b) { return b.BorderWidth(); }, [](B& b, int v) { b.SetBorderWidth(v); }, 0)
            .Color("BorderColor", [](const B& b) { return b.BorderColor(); }, [](B& b, TColor v) { b.SetBorderColor(v); }, clBtnFace)
            .Color("BorderHighlight", [](const B& b) { return b.BorderHighlight(); },
                   [](B& b, TColor v) { b.SetBorderHighlight(v); }, clBtnHighlight)
            .Color("BorderShadow", [](const B& b) { return b.BorderShadow(); },
                   [](B& b, TColor v) { b.SetBorderShadow(v); }, clBtnShadow)
            .Enum<TFrameStyle>("BorderInner", kFrameStyleNames, [](const B& b) { return b.BorderInner(); },
                               [](B& b, TFrameStyle s) { b.SetBorderInner(s); }, TFrameStyle::fsNone)
            .Enum<TFrameStyle>("BorderOuter", kFrameStyleNames, [](const B& b) { return b.BorderOuter(); },
                               [](B& b, TFrameStyle s) { b.SetBorderOuter(s); }, TFrameStyle::fsGroove)
            .SetOf<TSideIndex>("BorderSides", kSideNames, [](const B& b) { return b.BorderSides(); },
                               [](B& b, unsigned v) { b.SetBorderSides(v); }, sdAll)
            .Color("FlatColor", [](const B& b) { return b.FlatColor(); }, [](B& b, TColor v) { b.SetFlatColor(v); }, clBtnShadow)
            .Int("FlatColorAdjustment", [](const B& b) { return b.FlatColorAdjustment(); },
                 [](B& b, int v) { b.SetFlatColorAdjustment(v); }, 30)
            .Event<TNotifyEvent>("OnMouseEnter", [](B& b, const TNotifyEvent& h) { b.OnMouseEnter = h; })
            .Event<TNotifyEvent>("OnMouseLeave", [](B& b, const TNotifyEvent& h) { b.OnMouseLeave = h; })
            .Event<TNotifyEvent>("OnClick", [](B& b, const TNotifyEvent& h) { b.OnClick = h; })
            .Event<TNotifyEvent>("OnDblClick", [](B& b, const TNotifyEvent& h) { b.OnDblClick = h; });
        return t;
    }();
    return table;
}
