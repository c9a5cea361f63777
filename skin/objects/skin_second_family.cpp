#include "skin_second_family.h"

const SkinClassTable& TSkLinkSkinObject::StaticTable() {
    using T = TSkLinkSkinObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkSkinObject::StaticTable(),
                                      [](SkinFields<T>& f) { f.Str("LinkControl", &T::linkControl_); });
    return table;
}

const SkinClassTable& TSkBitmapSkinObject::StaticTable() {
    using T = TSkBitmapSkinObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkSkinObject::StaticTable(), [](SkinFields<T>& f) {
        f.Link("Bitmap", &T::bitmap_).Tile("TileStyle", &T::tileStyle_);
    });
    return table;
}

void TSkBitmapSkinObject::DrawContent(QPainter& p) { DrawBitmapObject(p, CurrentLink(), tileStyle_, BorderStyle()); }

const SkinClassTable& TSkFormBitmapSkinObject::StaticTable() {
    using T = TSkFormBitmapSkinObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkBitmapSkinObject::StaticTable(),
                                      [](SkinFields<T>& f) { f.Link("InactiveBitmap", &T::inactiveBitmap_); });
    return table;
}

const TskBitmapLink& TSkFormBitmapSkinObject::CurrentLink() const {
    return !active_ && inactiveBitmap_.Usable() ? inactiveBitmap_ : bitmap_;
}

const SkinClassTable& TSkSysButtonSkinObject::StaticTable() {
    using T = TSkSysButtonSkinObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkBitmapSkinObject::StaticTable(), [](SkinFields<T>& f) {
        f.Enum("Action", kSkActionNames, &T::action_, TSkAction::sbaNone)
            .Link("BitmapHover", &T::bitmapHover_)
            .Link("BitmapDown", &T::bitmapDown_)
            .Str("RollPanel", &T::rollPanel_);
    });
    return table;
}

const TskBitmapLink& TSkSysButtonSkinObject::CurrentLink() const {
    const TSkButtonLook look = behaviour_.Look();
    const TskBitmapLink& want = look == TSkButtonLook::Hot ? bitmapHover_ : look == TSkButtonLook::Pressed ? bitmapDown_ : bitmap_;
    return want.Usable() ? want : bitmap_;
}

const SkinClassTable& TSkColorButtonObject::StaticTable() {
    using T = TSkColorButtonObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkSkinObject::StaticTable(), [](SkinFields<T>& f) {
        f.Color("HotColor", &T::hotColor_)
            .Font("HotFont", &T::hotFont_)
            .Color("PressedColor", &T::pressedColor_)
            .Font("PressedFont", &T::pressedFont_)
            .Color("FocusedColor", &T::focusedColor_)
            .Font("FocusedFont", &T::focusedFont_)
            .Color("DisabledColor", &T::disabledColor_)
            .Font("DisabledFont", &T::disabledFont_);
    });
    return table;
}

TFontSpec TSkColorButtonObject::GetFont() const {
    return ForState(state_, font_, hotFont_, pressedFont_, focusedFont_, disabledFont_);
}

TColor TSkColorButtonObject::CurrentColor() const {
    return ForState(state_, color_, hotColor_, pressedColor_, focusedColor_, disabledColor_);
}

const SkinClassTable& TSkBitmapBoxObject::StaticTable() {
    using T = TSkBitmapBoxObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkBitmapSkinObject::StaticTable(),
                                      [](SkinFields<T>& f) { f.Tile("BorderTileStyle", &T::borderTileStyle_); });
    return table;
}

const SkinClassTable& TSkActiveBitmapBoxObject::StaticTable() {
    using T = TSkActiveBitmapBoxObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkBitmapBoxObject::StaticTable(),
                                      [](SkinFields<T>& f) { f.Link("FocusedBitmap", &T::focusedBitmap_); });
    return table;
}

const TskBitmapLink& TSkActiveBitmapBoxObject::CurrentLink() const {
    const bool focused = state_ == skstate::Focused || state_ == skstate::Hot;
    return focused && focusedBitmap_.Usable() ? focusedBitmap_ : bitmap_;
}

const SkinClassTable& TSkButtonBitmapBoxObject::StaticTable() {
    using T = TSkButtonBitmapBoxObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkBitmapBoxObject::StaticTable(), [](SkinFields<T>& f) {
        f.Link("HotBitmap", &T::hotBitmap_)
            .Link("FocusedBitmap", &T::focusedBitmap_)
            .Link("PressedBitmap", &T::pressedBitmap_)
            .Link("DisabledBitmap", &T::disabledBitmap_);
    });
    return table;
}

const TskBitmapLink& TSkButtonBitmapBoxObject::CurrentLink() const {
    const TskBitmapLink& want = ForState(state_, bitmap_, hotBitmap_, pressedBitmap_, focusedBitmap_, disabledBitmap_);
    return want.Usable() ? want : bitmap_;
}

const SkinClassTable& TSkRollPanelObject::StaticTable() {
    using T = TSkRollPanelObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkSkinObject::StaticTable(), [](SkinFields<T>& f) {
        f.Enum("RollKind", kSkRollKindNames, &T::rollKind_, TSkRollKind::rkTop).Int("RollValue", &T::rollValue_, 0);
    });
    return table;
}
