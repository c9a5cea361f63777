#pragma once
// The skinned push button: a "Face" in the button's state and the caption in
// the "Text" part's font for that state.
#include "control.h"
#include "skin_skinnable.h"

#include <QPushButton>

class TSkSkinButton : public QPushButton, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinButton(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinButton"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    QString Caption() const override { return text(); }
    void SetCaption(const QString& c) override { setText(c); }
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Default() const { return isDefault(); }
    void SetDefault(bool v) { setDefault(v); }
    // A face with shaped edges lets the parent show through its corners.
    bool Transparent() const { return transparent_; }
    // disabled, pressed (held down by mouse or keys), hot, focused or default.
    int SkinState() const;

    void Loaded() override;
    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
    void SkinReplaced() override;

private:
    bool showCaption_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
};
