#pragma once
// The save dialog component: remembers the last confirmed name and offers it again.
#include "component.h"
#include "dialogs.h"

class QWidget;

enum TOpenOption : unsigned { ofReadOnly = 1, ofOverwritePrompt = 2, ofHideReadOnly = 4, ofEnableSizing = 8 };

class TSaveDialog : public TComponent {
public:
    explicit TSaveDialog(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TSaveDialog"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    const QString& Filter() const { return filter_; }
    void SetFilter(const QString& f) { filter_ = f; }
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& f) { fileName_ = f; }
    const QString& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString& e) { defaultExt_ = e; }
    unsigned Options() const { return options_; }
    void SetOptions(unsigned o) { options_ = o; }

    // Shows the dialog; true when the user confirmed a name (then FileName holds it).
    bool Execute(QWidget* owner);

private:
    QString filter_, fileName_, defaultExt_;
    unsigned options_ = ofHideReadOnly | ofEnableSizing;
};

void RegisterRuntimeComponents();
