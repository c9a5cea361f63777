#pragma once
// The open dialog component: remembers the last chosen file, so the next
// time the dialog opens in the same folder.
#include "component.h"
#include "dialogs.h"

class QWidget;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    QString ClassName() const override { return QStringLiteral("TOpenDialog"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    const QString& Filter() const { return filter_; }
    void SetFilter(const QString& f) { filter_ = f; }
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& f) { fileName_ = f; }

    // Shows the dialog; true when the user picked a file (then FileName holds it).
    bool Execute(QWidget* owner);

private:
    QString filter_, fileName_;
};
