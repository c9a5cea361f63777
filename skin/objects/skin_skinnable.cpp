#include "skin_skinnable.h"

#include "control.h"
#include "skin_source.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

const EnumNames<TSkPerformance> kSkPerformanceNames{{"kspNoBuffer", "kspSharedBuffer", "kspDoubleBuffer"}};

TSkSkinnable::~TSkSkinnable() = default;

// The control half of the object deriving from both; found at run time so
// that this class needs no constructor arguments.
TControl* TSkSkinnable::Control() { return dynamic_cast<TControl*>(this); }

void TSkSkinnable::SetSkinEngine(TSkSkinEngine* e) {
    skinEngine_ = e;
    if (TControl* c = Control(); c && c->IsLoading()) return;
    TakeSkin();
}

void TSkSkinnable::SetSkinObject(const QString& s) {
    if (s == skinObject_) return;
    skinObject_ = s;
    if (TControl* c = Control(); !skinEngine_ || (c && c->IsLoading())) return;
    TakeSkin();
}

void TSkSkinnable::SkinLoaded() {
    if (skinEngine_) TakeSkin();
}

void TSkSkinnable::TakeSkin() {
    std::unique_ptr<TSkSkinObject> copy;
    if (skinEngine_) {
        const TSkSkinSource& source = skinEngine_->Source();
        if (!source.Locked() && !source.Empty())
            if (TSkSkinObject* found = source.GetObjectByName(skinObject_)) copy.reset(CloneSkinObject(*found));
    }
    if (copy) copy->SetHost(this, 0);
    copy_ = std::move(copy);
    SkinReplaced();
    if (TControl* c = Control()) c->AsWidget()->update();
}

void TSkSkinnable::DropSkin() {
    if (!copy_) return;
    copy_.reset();
    SkinReplaced();
    if (TControl* c = Control()) c->AsWidget()->update();
}

void TSkSkinnable::SkinChanging(TSkSkinEngine* engine) {
    if (engine == skinEngine_) DropSkin();
}

void TSkSkinnable::SkinChanged(TSkSkinEngine* engine) {
    if (engine == skinEngine_) TakeSkin();
}

void TSkSkinnable::SkinObjectChanged(TSkSkinObject*) {
    if (TControl* c = Control()) c->AsWidget()->update();
}

TSkSkinObject* TSkSkinnable::Part(const QString& name) const { return copy_ ? copy_->FindByName(name) : nullptr; }

TSkSkinObject* TSkSkinnable::PartOrSkin(const QString& name) const {
    TSkSkinObject* p = Part(name);
    return p ? p : copy_.get();
}

int TSkSkinnable::StateFor(bool enabled, bool pressed, bool hot, bool focused) {
    if (!enabled) return skstate::Disabled;
    if (pressed) return skstate::Pressed;
    if (hot) return skstate::Hot;
    if (focused) return skstate::Focused;
    return skstate::Normal;
}

void TSkSkinnable::DrawPart(QPainter& p, TSkSkinObject& part, const QRect& r, int state, const QString& text, bool enabled) {
    part.SetBoundsRect(r);
    part.SetState(state);
    part.SetEnabled(enabled);
    part.SetText(text);
    part.Draw(p);
}

TFontSpec TSkSkinnable::PartFont(const QString& name, int state, const TFontSpec& fallback) const {
    TSkSkinObject* part = Part(name);
    if (!part) return fallback;
    part->SetState(state);
    return part->GetFont();
}

void TSkSkinnable::ObserveHover(const QEvent* e) {
    const bool enter = e->type() == QEvent::Enter, leave = e->type() == QEvent::Leave;
    if (!enter && !leave) return;
    hot_ = enter;
    if (TControl* c = Control(); c && copy_) c->AsWidget()->update();
}
