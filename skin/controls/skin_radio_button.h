#pragma once
// The skinned radio button. Checking one unchecks the others with the same
// parent and GroupIndex; only the checked one of a group is a tab stop, and
// the arrow keys move the check through the group.
#include "control.h"
#include "skin_skinnable.h"

#include <QRadioButton>
#include <vector>

enum class TSkLeftRight { ktaLeftJustify, ktaRightJustify };
extern const EnumNames<TSkLeftRight> kSkLeftRightNames;

class TSkSkinRadioButton : public QRadioButton, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinRadioButton(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinRadioButton"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    QString Caption() const override { return text(); }
    void SetCaption(const QString& c) override { setText(c); }
    bool Checked() const { return isChecked(); }
    // A new value also becomes TabStop; true unchecks the rest of the group
    // and, once loaded, performs the click.
    void SetChecked(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v & 0xFF; }
    TSkLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TSkLeftRight a);
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // disabled, hot or focused.
    int SkinState() const;
    // This button's group in tab order, itself included.
    std::vector<TSkSkinRadioButton*> Group() const;

    void Loaded() override;
    TNotifyEvent OnClick;

protected:
    void nextCheckState() override;
    bool hitButton(const QPoint& pos) const override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;

private:
    int groupIndex_ = 0;
    TSkLeftRight alignment_ = TSkLeftRight::ktaLeftJustify;
    int spacing_ = 4;
    bool wordWrap_ = false;
};
