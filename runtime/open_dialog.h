#pragma once
// The open dialog component: remembers the last chosen file, so the next
// time the dialog opens in the same folder.
#include "file_name_dialog.h"

class QWidget;

class TOpenDialog : public TFileNameDialog {
public:
    explicit TOpenDialog(TComponent* owner) : TFileNameDialog(owner) {}
    QString ClassName() const override { return QStringLiteral("TOpenDialog"); }

    // Shows the dialog; true when the user picked a file (then FileName holds it).
    bool Execute(QWidget* owner);
};
