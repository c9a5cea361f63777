#pragma once
// A non-visual component that watches the events of the form it is placed on.
#include "component.h"
#include "form.h"

#include <QObject>
#include <QPointer>

class TSkHook : public QObject, public TComponent {
public:
    explicit TSkHook(TComponent* owner);
    // The form this component sits on; null when its owner is none.
    TForm* HookedForm() const { return form_; }

protected:
    // Sees every event of the form before the form does; true swallows it.
    virtual bool HookEvent(QEvent* e) = 0;

private:
    bool eventFilter(QObject* watched, QEvent* e) override;
    QPointer<TForm> form_;
};
