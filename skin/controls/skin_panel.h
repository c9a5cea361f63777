#pragma once
// The skinned panel: a "Frame" over the whole panel, an optional caption
// strip ("Title" or "Caption") and an optional roll or hide button.
#include "control.h"
#include "skin_skinnable.h"

#include <QFrame>

enum class TSkPanelButtonKind { pbkRoll, pbkHide };
extern const EnumNames<TSkPanelButtonKind> kSkPanelButtonKindNames;

class TSkSkinPanel : public QFrame, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinPanel(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinPanel"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool v);
    bool ShowButton() const { return showButton_; }
    void SetShowButton(bool v);
    TSkPanelButtonKind ButtonKind() const { return buttonKind_; }
    void SetButtonKind(TSkPanelButtonKind k);
    bool Rolled() const { return rolled_; }
    void SetRolled(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);

    // The part the button draws with: by kind and roll state, else "Button".
    TSkSkinObject* ButtonPart() const;
    // Where the button is; empty when it is not shown or not skinned.
    QRect ButtonRect() const;

    void Loaded() override;
    TNotifyEvent OnButtonClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void PaintSkinned(QPainter& p, TSkSkinObject& skin);
    void SetButtonLook(bool hot, bool pressed);
    bool showCaption_ = true;
    bool showButton_ = true;
    TSkPanelButtonKind buttonKind_ = TSkPanelButtonKind::pbkRoll;
    bool rolled_ = false;
    bool transparent_ = false;
    bool buttonHot_ = false, buttonPressed_ = false;
};
