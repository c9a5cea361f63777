#include "skin_button.h"

#include "application.h"

#include <QPaintEvent>
#include <QPainter>

TSkSkinButton::TSkSkinButton(TComponent* owner, QWidget* parent) : QPushButton(parent), TControl(owner, this) {
    SetSkinObject(QStringLiteral("Button"));
    SetPerformance(TSkPerformance::kspDoubleBuffer);
    connect(this, &QPushButton::clicked, this, [this] { Fire(OnClick, static_cast<TComponent*>(this)); });
    resize(75, 25);
}

void TSkSkinButton::SetShowCaption(bool v) {
    if (v == showCaption_) return;
    showCaption_ = v;
    update();
}

void TSkSkinButton::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    update();
}

int TSkSkinButton::SkinState() const { return StateFor(isEnabled(), isDown(), Hot(), hasFocus() || isDefault()); }

void TSkSkinButton::Loaded() {
    TControl::Loaded();
    SkinLoaded();
}

void TSkSkinButton::SkinReplaced() {
    const auto* face = dynamic_cast<const TSkBitmapObject*>(Part(QStringLiteral("Face")));
    transparent_ = face && (face->Masked() || face->MaskedBorder() || face->MaskedAngles());
}

bool TSkSkinButton::event(QEvent* e) {
    ObserveHover(e);
    return QPushButton::event(e);
}

void TSkSkinButton::paintEvent(QPaintEvent* e) {
    TSkSkinObject* skin = Skin();
    if (!skin) {
        QPushButton::paintEvent(e);
        return;
    }
    QPainter p(this);
    const int state = SkinState();
    skin->SetBoundsRect(rect());
    DrawPart(p, *PartOrSkin(QStringLiteral("Face")), rect(), state);
    if (!showCaption_ || text().isEmpty()) return;
    const TFontSpec font = PartFont(QStringLiteral("Text"), state, Font());
    p.setFont(font.ToQFont());
    p.setPen(ToQColor(font.color));
    p.setLayoutDirection(layoutDirection());
    const QRect content = rect().adjusted(4, 3, -4, -3);
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic | (wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine);
    QRect box = p.boundingRect(content, flags, text());
    box.moveCenter(content.center());
    p.drawText(box, flags, text());
}

const PropertyTable& TSkSkinButton::StaticProperties() {
    static PropertyTable table = [] {
        using B = TSkSkinButton;
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<B>(t, QStringLiteral("Button"), TSkPerformance::kspDoubleBuffer);
        PropertyBuilder<B>(t)
            .Bool("ShowCaption", [](const B& b) { return b.ShowCaption(); }, [](B& b, bool v) { b.SetShowCaption(v); }, true)
            .Bool("WordWrap", [](const B& b) { return b.WordWrap(); }, [](B& b, bool v) { b.SetWordWrap(v); }, false)
            .Bool("Default", [](const B& b) { return b.Default(); }, [](B& b, bool v) { b.SetDefault(v); }, false)
            .Event<TNotifyEvent>("OnClick", [](B& b, const TNotifyEvent& h) { b.OnClick = h; });
        return t;
    }();
    return table;
}
