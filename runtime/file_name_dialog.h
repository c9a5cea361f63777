#pragma once
// What the open and the save dialog components share: the filter they offer
// and the file name they remember, so the next time they open where the
// teacher was.
#include "component.h"
#include "dialogs.h"

class TFileNameDialog : public TComponent {
public:
    explicit TFileNameDialog(TComponent* owner) : TComponent(owner) {}
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    const QString& Filter() const { return filter_; }
    void SetFilter(const QString& f) { filter_ = f; }
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& f) { fileName_ = f; }

protected:
    // The name chosen, or nothing when the dialog was cancelled.
    bool Remember(const std::optional<QString>& chosen) {
        if (!chosen) return false;
        fileName_ = *chosen;
        return true;
    }
    QString filter_, fileName_;
};
