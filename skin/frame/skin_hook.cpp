#include "skin_hook.h"

#include "form.h"

TSkHook::TSkHook(TComponent* owner) : TComponent(owner), form_(dynamic_cast<TForm*>(owner)) {
    if (form_) form_->installEventFilter(this);
}

bool TSkHook::eventFilter(QObject* watched, QEvent* e) {
    if (watched != form_.data()) return false;
    return HookEvent(e);
}
