#include "skin_bitmap_object.h"

const SkinClassTable& TSkBitmapObject::StaticTable() {
    using T = TSkBitmapObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkSkinObject::StaticTable(), [](SkinFields<T>& f) {
        f.Link("Bitmap", &T::bitmap_)
            .Tile("BorderTileStyle", &T::borderTileStyle_)
            .Bool("MaskedBorder", &T::maskedBorder_, true)
            .Bool("MaskedAngles", &T::maskedAngles_, true)
            .Tile("TileStyle", &T::tileStyle_);
    });
    return table;
}

void TSkBitmapObject::DrawContent(QPainter& p) { DrawBitmapObject(p, CurrentLink(), tileStyle_, borderTileStyle_); }

const SkinClassTable& TSkActiveBitmap::StaticTable() {
    using T = TSkActiveBitmap;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkBitmapObject::StaticTable(), [](SkinFields<T>& f) {
        f.Link("ActiveBitmap", &T::activeBitmap_).Font("ActiveFont", &T::activeFont_);
    });
    return table;
}

TFontSpec TSkActiveBitmap::GetFont() const {
    return state_ == skstate::Hot || state_ == skstate::Focused ? activeFont_ : font_;
}

const TskBitmapLink& TSkActiveBitmap::CurrentLink() const {
    const bool activeLook = state_ == skstate::Hot || state_ == skstate::Focused ||
                            (active_ && state_ != skstate::Pressed && state_ != skstate::Disabled);
    return activeLook && activeBitmap_.Usable() ? activeBitmap_ : bitmap_;
}

const SkinClassTable& TSkButtonObject::StaticTable() {
    using T = TSkButtonObject;
    static const SkinClassTable table(std::type_identity<T>{}, &TSkBitmapObject::StaticTable(), [](SkinFields<T>& f) {
        f.Link("BitmapHot", &T::bitmapHot_)
            .Link("BitmapFocused", &T::bitmapFocused_)
            .Link("BitmapPressed", &T::bitmapPressed_)
            .Link("BitmapDisabled", &T::bitmapDisabled_);
    });
    return table;
}

const TskBitmapLink& TSkButtonObject::CurrentLink() const {
    const TskBitmapLink& want = ForState(state_, bitmap_, bitmapHot_, bitmapPressed_, bitmapFocused_, bitmapDisabled_);
    return want.Usable() ? want : bitmap_;
}
