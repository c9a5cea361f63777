#include "skin_panel.h"

#include "application.h"

#include <QMouseEvent>
#include <QPainter>

const EnumNames<TSkPanelButtonKind> kSkPanelButtonKindNames{{"pbkRoll", "pbkHide"}};

TSkSkinPanel::TSkSkinPanel(TComponent* owner, QWidget* parent) : QFrame(parent), TControl(owner, this) {
    SetSkinObject(QStringLiteral("Panel"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setMouseTracking(true);
    resize(185, 41);
}

void TSkSkinPanel::SetShowCaption(bool v) {
    if (showCaption_ == v) return;
    showCaption_ = v;
    update();
}

void TSkSkinPanel::SetShowButton(bool v) {
    if (showButton_ == v) return;
    showButton_ = v;
    update();
}

void TSkSkinPanel::SetButtonKind(TSkPanelButtonKind k) {
    if (buttonKind_ == k) return;
    buttonKind_ = k;
    update();
}

void TSkSkinPanel::SetRolled(bool v) {
    if (rolled_ == v) return;
    rolled_ = v;
    update();
}

void TSkSkinPanel::SetTransparent(bool v) {
    if (transparent_ == v) return;
    transparent_ = v;
    update();
}

void TSkSkinPanel::Loaded() {
    TControl::Loaded();
    SkinLoaded();
}

TSkSkinObject* TSkSkinPanel::ButtonPart() const {
    const QString name = buttonKind_ == TSkPanelButtonKind::pbkHide ? QStringLiteral("ButtonHide")
                         : rolled_                                   ? QStringLiteral("ButtonRolldown")
                                                                     : QStringLiteral("ButtonRollup");
    TSkSkinObject* part = Part(name);
    return part ? part : Part(QStringLiteral("Button"));
}

QRect TSkSkinPanel::ButtonRect() const {
    TSkSkinObject* skin = Skin();
    if (!showButton_ || !skin) return {};
    skin->SetBoundsRect(rect());  // anchors the button to its corner
    TSkSkinObject* button = ButtonPart();
    return button ? button->BoundsRect() : QRect();
}

void TSkSkinPanel::paintEvent(QPaintEvent* e) {
    if (TSkSkinObject* skin = Skin()) {
        QPainter p(this);
        PaintSkinned(p, *skin);
        return;
    }
    QFrame::paintEvent(e);
    if (showCaption_ && !Caption().isEmpty()) {
        QPainter text(this);
        text.drawText(rect(), Qt::AlignCenter, Caption());
    }
}

void TSkSkinPanel::PaintSkinned(QPainter& p, TSkSkinObject& skin) {
    skin.SetBoundsRect(rect());
    if (TSkSkinObject* frame = Part(QStringLiteral("Frame"))) DrawPart(p, *frame, rect(), skstate::Normal);
    else drawFrame(&p);
    if (showCaption_) {
        TSkSkinObject* caption = Part(QStringLiteral("Title"));
        if (!caption) caption = Part(QStringLiteral("Caption"));
        const int h = caption ? caption->Height() : fontMetrics().height() + 8;
        const QRect strip(0, 0, width(), h);
        if (!transparent_ && parentWidget()) p.fillRect(strip, parentWidget()->palette().color(QPalette::Window));
        if (caption) {
            DrawPart(p, *caption, strip, skstate::Normal, Caption());
        } else {
            p.setFont(font());
            p.setPen(ToQColor(Font().color));
            p.drawText(strip.adjusted(5, 0, -5, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Caption());
        }
    }
    if (!showButton_) return;
    if (TSkSkinObject* button = ButtonPart()) {
        button->SetState(buttonPressed_ ? skstate::Pressed : buttonHot_ ? skstate::Hot : skstate::Normal);
        button->Draw(p);
    }
}

void TSkSkinPanel::SetButtonLook(bool hot, bool pressed) {
    if (hot == buttonHot_ && pressed == buttonPressed_) return;
    buttonHot_ = hot;
    buttonPressed_ = pressed;
    update(ButtonRect());
}

bool TSkSkinPanel::event(QEvent* e) {
    ObserveHover(e);
    if (e->type() == QEvent::Leave) SetButtonLook(false, buttonPressed_);
    return QFrame::event(e);
}

void TSkSkinPanel::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && ButtonRect().contains(e->position().toPoint())) SetButtonLook(true, true);
    QFrame::mousePressEvent(e);
}

void TSkSkinPanel::mouseMoveEvent(QMouseEvent* e) {
    SetButtonLook(ButtonRect().contains(e->position().toPoint()), buttonPressed_);
    QFrame::mouseMoveEvent(e);
}

void TSkSkinPanel::mouseReleaseEvent(QMouseEvent* e) {
    const bool wasPressed = buttonPressed_;
    const bool over = ButtonRect().contains(e->position().toPoint());
    SetButtonLook(over, false);
    if (wasPressed && over && e->button() == Qt::LeftButton) Fire(OnButtonClick, static_cast<TComponent*>(this));
    QFrame::mouseReleaseEvent(e);
}

const PropertyTable& TSkSkinPanel::StaticProperties() {
    static PropertyTable table = [] {
        using P = TSkSkinPanel;
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<P>(t, QStringLiteral("Panel"));
        PropertyBuilder<P>(t)
            .Bool("ShowCaption", [](const P& p) { return p.ShowCaption(); }, [](P& p, bool v) { p.SetShowCaption(v); }, true)
            .Bool("ShowButton", [](const P& p) { return p.ShowButton(); }, [](P& p, bool v) { p.SetShowButton(v); }, true)
            .Enum<TSkPanelButtonKind>("ButtonKind", kSkPanelButtonKindNames, [](const P& p) { return p.ButtonKind(); },
                                      [](P& p, TSkPanelButtonKind v) { p.SetButtonKind(v); }, TSkPanelButtonKind::pbkRoll)
            .Bool("Rolled", [](const P& p) { return p.Rolled(); }, [](P& p, bool v) { p.SetRolled(v); }, false)
            .Bool("Transparent", [](const P& p) { return p.Transparent(); }, [](P& p, bool v) { p.SetTransparent(v); }, false)
            .Event<TNotifyEvent>("OnButtonClick", [](P& p, const TNotifyEvent& h) { p.OnButtonClick = h; });
        return t;
    }();
    return table;
}
