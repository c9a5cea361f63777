#pragma once
// The skinned edit: a real single-line text editor (input methods, selection,
// undo) inside a "Frame" drawn in the edit's state, its text in the "Text"
// part's font.
#include "control.h"
#include "skin_skinnable.h"

#include <QLineEdit>

class TSkSkinEdit : public QLineEdit, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinEdit(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinEdit"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    QString Text() const { return text(); }
    void SetText(const QString& t) { setText(t); }
    // disabled, hot or focused.
    int SkinState() const;

    void Loaded() override;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnChange;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
    void ColorChanged() override;
    void FontChanged() override;
    void SkinReplaced() override;

private:
    // Base, text and font from the skin while there is a copy, else from the
    // control's own Color and Font.
    void ApplyLook();
};
