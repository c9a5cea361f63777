#pragma once
// The conclusion memo: several lines of free text, Chinese typed through the
// desktop's input methods.
#include "control.h"

#include <QPlainTextEdit>

class TFrMemo : public QPlainTextEdit, public TControl {
    Q_OBJECT
public:
    TFrMemo(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TFrMemo"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    // The whole text, lines separated by CR LF.
    QString Text() const;
    void SetText(const QString& text);
    QStringList Lines() const;
    void SetLines(const QStringList& lines);

    TNotifyEvent OnChange;

protected:
    void ColorChanged() override;
    void FontChanged() override;
};
