#include "skin_tree.h"

#include "skin_registry.h"

TSkSkinObject::TSkSkinObject(TComponent* owner) : TComponent(owner) {}

const SkinClassTable& TSkSkinObject::StaticTable() {
    using T = TSkSkinObject;
    static const SkinClassTable table(std::type_identity<T>{}, nullptr, [](SkinFields<T>& f) {
        f.Enum("Align", kSkAlignNames, &T::align_, TSkAlign::saNone)
            .Color("Color", &T::color_)
            .Bool("DrawIfOwner", &T::drawIfOwner_, false)
            .Font("Font", &T::font_)
            .Enum("Kind", kSkKindNames, &T::kind_, TSkKind::skNone)
            .Bool("Masked", &T::masked_, true)
            .Bound("Left", &T::left_, &T::SetLeft)
            .Bound("Top", &T::top_, &T::SetTop)
            .Bound("Width", &T::width_, &T::SetWidth)
            .Bound("Height", &T::height_, &T::SetHeight)
            .Int("MarginLeft", &T::marginLeft_, 0, ClampCoord)
            .Int("MarginRight", &T::marginRight_, 0, ClampCoord)
            .Int("MarginTop", &T::marginTop_, 0, ClampCoord)
            .Int("MarginBottom", &T::marginBottom_, 0, ClampCoord)
            .Enum("TextAlign", kSkTextAlignNames, &T::textAlign_, TSkTextAlign::taLeft)
            .Enum("TextEffect", kSkTextEffectNames, &T::textEffect_, TSkTextEffect::teNone)
            .Int("TextMarginLeft", &T::textMarginLeft_, 0, ClampCoord)
            .Int("TextMarginRight", &T::textMarginRight_, 0, ClampCoord)
            .Int("TextMarginTop", &T::textMarginTop_, 0, ClampCoord)
            .Children("Objects", &T::ObjectsData, &T::ReadObjectsData);
    });
    return table;
}

// ---- the run-time state, set through the whole subtree ------------------------------

void TSkSkinObject::SetActive(bool v) {
    active_ = v;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetActive(v);
}

void TSkSkinObject::SetState(int state) {
    state_ = state;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetState(state);
}

void TSkSkinObject::SetBitmaps(TskBitmapList* list) {
    bitmaps_ = list;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetBitmaps(list);
}

void TSkSkinObject::SetHost(TSkSkinHost* host, int rightToLeftMode) {
    host_ = host;
    rtlMode_ = rightToLeftMode;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetHost(host, rightToLeftMode);
}

void TSkSkinObject::RequestRepaint() {
    if (visible_ && host_) host_->SkinObjectChanged(this);
}

// ---- what the table lists ---------------------------------------------------------------

void TSkSkinObject::ForEachLink(const std::function<void(TskBitmapLink&)>& f) {
    for (const SkinField* field : ClassTable().Links()) f(field->link(*this));
}

void TSkSkinObject::SetCharset(int charset) {
    for (const SkinField* field : ClassTable().Fonts()) field->font(*this).charset = charset;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetCharset(charset);
}

void TSkSkinObject::ChangeHue(int delta) {
    for (const SkinField* field : ClassTable().Colors()) {
        TColor& c = field->color(*this);
        c = ShiftColorHue(c, delta);
    }
    for (const SkinField* field : ClassTable().Fonts()) {
        TColor& c = field->font(*this).color;
        c = ShiftColorHue(c, delta);
    }
    for (int k = 0; k < ChildCount(); ++k) Child(k)->ChangeHue(delta);
}

void TSkSkinObject::ResolveLink(TskBitmapLink& link) const {
    link.Resolve(bitmaps_, marginLeft_, marginTop_, marginRight_, marginBottom_);
}

void TSkSkinObject::AfterLoad() {
    ForEachLink([this](TskBitmapLink& l) { ResolveLink(l); });
    for (int k = 0; k < ChildCount(); ++k) Child(k)->AfterLoad();
}

void TSkSkinObject::Assign(const TSkSkinObject& s) {
    SetName(s.Name());
    bitmaps_ = s.bitmaps_;
    auto copyOwn = [&](const SkinClassTable& level) {
        for (const SkinField& f : level.OwnFields())
            if (f.copy && f.kind != SkinField::Kind::Bounds) f.copy(*this, s);
    };
    std::vector<const SkinClassTable*> levels;  // base first
    for (const SkinClassTable* t = &ClassTable(); t; t = t->Parent()) levels.insert(levels.begin(), t);
    copyOwn(*levels.front());
    while (ChildCount() > 0) delete Child(ChildCount() - 1);
    for (int k = 0; k < s.ChildCount(); ++k) {
        const TSkSkinObject* src = s.Child(k);
        if (SkinObjectFactory f = FindSkinObjectClass(src->ClassName())) f(this)->Assign(*src);
    }
    SetBounds(s.left_, s.top_, s.left_ + s.width_, s.top_ + s.height_);
    // A subclass's own properties come from a source of that class only.
    for (std::size_t k = 1; k < levels.size(); ++k)
        if (s.ClassTable().Includes(*levels[k])) copyOwn(*levels[k]);
}

// ---- lookups ------------------------------------------------------------------------------

TSkSkinObject* TSkSkinObject::FindByName(const QString& name) {
    if (Name().compare(name, Qt::CaseInsensitive) == 0) return this;
    for (int k = 0; k < ChildCount(); ++k)
        if (TSkSkinObject* f = Child(k)->FindByName(name)) return f;
    return nullptr;
}

TSkSkinObject* TSkSkinObject::FindByKind(TSkKind kind) {
    if (kind_ == kind) return this;
    for (int k = 0; k < ChildCount(); ++k)
        if (TSkSkinObject* f = Child(k)->FindByKind(kind)) return f;
    return nullptr;
}

TSkSkinObject* TSkSkinObject::HitTest(QPoint p) {
    if (!visible_ || kind_ == TSkKind::skTranparent || !BoundsRect().contains(p)) return nullptr;
    TSkSkinObject* hit = nullptr;
    for (int k = 0; k < ChildCount(); ++k) {
        TSkSkinObject* c = Child(k);
        if (!c->visible_) continue;
        if (TSkSkinObject* h = c->HitTest(p)) hit = h;
    }
    return hit ? hit : this;
}
