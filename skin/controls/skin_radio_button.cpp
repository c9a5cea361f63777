#include "skin_radio_button.h"

#include "application.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>

const EnumNames<TSkLeftRight> kSkLeftRightNames{{"ktaLeftJustify", "ktaRightJustify"}};

TSkSkinRadioButton::TSkSkinRadioButton(TComponent* owner, QWidget* parent) : QRadioButton(parent), TControl(owner, this) {
    SetSkinObject(QStringLiteral("RadioButton"));
    SetPerformance(TSkPerformance::kspDoubleBuffer);
    // The group is ours: same parent and GroupIndex, not Qt's "same parent".
    setAutoExclusive(false);
    SetTabStop(false);
    resize(113, 17);
}

void TSkSkinRadioButton::SetChecked(bool v) {
    if (v == isChecked()) return;
    setChecked(v);
    SetTabStop(v);
    if (!v) return;
    for (TSkSkinRadioButton* other : Group())
        if (other != this) other->SetChecked(false);
    if (!IsLoading()) Fire(OnClick, static_cast<TComponent*>(this));
}

void TSkSkinRadioButton::SetAlignment(TSkLeftRight a) {
    if (a == alignment_) return;
    alignment_ = a;
    update();
}

void TSkSkinRadioButton::SetSpacing(int v) {
    if (v == spacing_) return;
    spacing_ = v;
    update();
}

void TSkSkinRadioButton::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    update();
}

int TSkSkinRadioButton::SkinState() const { return StateFor(isEnabled(), false, Hot(), hasFocus()); }

std::vector<TSkSkinRadioButton*> TSkSkinRadioButton::Group() const {
    std::vector<TSkSkinRadioButton*> group;
    if (!parentWidget()) return {const_cast<TSkSkinRadioButton*>(this)};
    for (QObject* o : parentWidget()->children())
        if (auto* b = qobject_cast<TSkSkinRadioButton*>(o); b && b->groupIndex_ == groupIndex_) group.push_back(b);
    std::stable_sort(group.begin(), group.end(), [](auto* a, auto* b) { return a->TabOrder() < b->TabOrder(); });
    return group;
}

void TSkSkinRadioButton::Loaded() {
    TControl::Loaded();
    SkinLoaded();
}

// A click checks an unchecked button and never unchecks one.
void TSkSkinRadioButton::nextCheckState() {
    if (!isChecked()) SetChecked(true);
}

bool TSkSkinRadioButton::hitButton(const QPoint& pos) const {
    return Skin() ? rect().contains(pos) : QRadioButton::hitButton(pos);
}

void TSkSkinRadioButton::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    const bool back = k == Qt::Key_Up || k == Qt::Key_Left, forward = k == Qt::Key_Down || k == Qt::Key_Right;
    if (!back && !forward) {
        QRadioButton::keyPressEvent(e);
        return;
    }
    std::vector<TSkSkinRadioButton*> group = Group();
    std::erase_if(group, [this](TSkSkinRadioButton* b) { return b != this && (!b->isEnabled() || b->isHidden()); });
    const auto at = std::find(group.begin(), group.end(), this) - group.begin();
    const auto n = std::ptrdiff_t(group.size());
    TSkSkinRadioButton* next = group[std::size_t((at + (forward ? 1 : n - 1)) % n)];
    if (next == this) return;
    next->setFocus(Qt::TabFocusReason);
    next->SetChecked(true);
}

bool TSkSkinRadioButton::event(QEvent* e) {
    ObserveHover(e);
    return QRadioButton::event(e);
}

void TSkSkinRadioButton::paintEvent(QPaintEvent* e) {
    TSkSkinObject* glyph = Part(isChecked() ? QStringLiteral("Checked") : QStringLiteral("Unchecked"));
    if (!glyph) {
        QRadioButton::paintEvent(e);
        return;
    }
    QPainter p(this);
    const int state = SkinState();
    Skin()->SetBoundsRect(rect());
    // Both glyphs take the size of the checked one, so a check never moves the text.
    const TSkSkinObject* checked = Part(QStringLiteral("Checked"));
    const TSkSkinObject* sizer = checked ? checked : glyph;
    const QSize size(sizer->Width(), sizer->Height());
    const bool right = alignment_ == TSkLeftRight::ktaRightJustify;
    const QRect box(QPoint(right ? width() - size.width() : 0, (height() - size.height()) / 2), size);
    DrawPart(p, *glyph, box, state);

    const TFontSpec font = PartFont(QStringLiteral("Text"), state, Font());
    p.setFont(font.ToQFont());
    p.setPen(ToQColor(font.color));
    const QRect text = right ? QRect(0, 0, box.left() - spacing_, height())
                             : QRect(box.right() + 1 + spacing_, 0, width() - box.right() - 1 - spacing_, height());
    const int flags = Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::TextShowMnemonic |
                      (wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine);
    QRect drawn;
    p.drawText(text, flags, this->text(), &drawn);
    // The skin's glyphs look the same with and without the focus: a dotted
    // ring round the caption shows where the keyboard is.
    if (hasFocus() && !drawn.isEmpty()) {
        const QRect ring = drawn.adjusted(-1, 0, 1, 0).intersected(rect());
        p.setPen(QPen(ToQColor(font.color), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(ring.adjusted(0, 0, -1, -1));
    }
}

const PropertyTable& TSkSkinRadioButton::StaticProperties() {
    static PropertyTable table = [] {
        using R = TSkSkinRadioButton;
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<R>(t, QStringLiteral("RadioButton"), TSkPerformance::kspDoubleBuffer);
        PropertyBuilder<R>(t)
            .Bool("Checked", [](const R& b) { return b.Checked(); }, [](R& b, bool v) { b.SetChecked(v); }, false)
            .Int("GroupIndex", [](const R& b) { return b.GroupIndex(); }, [](R& b, int v) { b.SetGroupIndex(v); }, 0)
            .Enum<TSkLeftRight>("Alignment", kSkLeftRightNames, [](const R& b) { return b.Alignment(); },
                                [](R& b, TSkLeftRight v) { b.SetAlignment(v); }, TSkLeftRight::ktaLeftJustify)
            .Int("Spacing", [](const R& b) { return b.Spacing(); }, [](R& b, int v) { b.SetSpacing(v); }, 4)
            .Bool("WordWrap", [](const R& b) { return b.WordWrap(); }, [](R& b, bool v) { b.SetWordWrap(v); }, false)
            .Event<TNotifyEvent>("OnClick", [](R& b, const TNotifyEvent& h) { b.OnClick = h; });
        return t;
    }();
    return table;
}
