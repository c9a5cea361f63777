#pragma once
// The save dialog component: remembers the last confirmed name and offers it again.
#include "file_name_dialog.h"

class QWidget;

enum TOpenOption : unsigned { ofReadOnly = 1, ofOverwritePrompt = 2, ofHideReadOnly = 4, ofEnableSizing = 8 };

class TSaveDialog : public TFileNameDialog {
public:
    explicit TSaveDialog(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TSaveDialog"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    const QString& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString& e) { defaultExt_ = e; }
    unsigned Options() const { return options_; }
    void SetOptions(unsigned o) { options_ = o; }

    // Shows the dialog; true when the user confirmed a name (then FileName holds it).
    bool Execute(QWidget* owner);

private:
    QString defaultExt_;
    unsigned options_ = ofHideReadOnly | ofEnableSizing;
};

void RegisterRuntimeComponents();
