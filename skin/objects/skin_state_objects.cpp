#include "skin_state_objects.h"

const SkinClassTable& TSkActiveObject::StaticTable() {
    using T = TSkActiveObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkSkinObject::StaticTable(), [](SkinFields<T>& f) {
        f.Color("ActiveColor", &T::activeColor_).Font("ActiveFont", &T::activeFont_);
    });
    return table;
}

bool TSkActiveObject::UsesActiveLook() const {
    if (state_ == skstate::Disabled) return false;
    return state_ == skstate::Hot || state_ == skstate::Pressed || state_ == skstate::Focused || active_;
}
TFontSpec TSkActiveObject::GetFont() const { return UsesActiveLook() ? activeFont_ : font_; }
TColor TSkActiveObject::CurrentColor() const { return UsesActiveLook() ? activeColor_ : color_; }

const SkinClassTable& TSkTextObject::StaticTable() {
    using T = TSkTextObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkSkinObject::StaticTable(), [](SkinFields<T>& f) {
        f.Font("FontHot", &T::fontHot_)
            .Font("FontFocused", &T::fontFocused_)
            .Font("FontPressed", &T::fontPressed_)
            .Font("FontDisabled", &T::fontDisabled_);
    });
    return table;
}

TFontSpec TSkTextObject::GetFont() const {
    return ForState(state_, font_, fontHot_, fontPressed_, fontFocused_, fontDisabled_);
}
