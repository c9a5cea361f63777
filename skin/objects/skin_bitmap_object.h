#pragma once
// Skin objects painted from the skin's bitmaps: whole or as nine slices, with
// the link chosen by the state byte.
#include "skin_tree.h"

class TSkBitmapObject : public TSkSkinObject {
    TSK_SKIN_CLASS(TSkBitmapObject)
public:
    using TSkSkinObject::TSkSkinObject;
    TskBitmapLink& Bitmap() { return bitmap_; }
    const TskBitmapLink& Bitmap() const { return bitmap_; }
    TskTileStyle TileStyle() const { return tileStyle_; }
    void SetTileStyle(TskTileStyle t) { tileStyle_ = t; }
    TskTileStyle BorderTileStyle() const { return borderTileStyle_; }
    void SetBorderTileStyle(TskTileStyle t) { borderTileStyle_ = t; }
    bool MaskedBorder() const { return maskedBorder_; }
    void SetMaskedBorder(bool v) { maskedBorder_ = v; }
    bool MaskedAngles() const { return maskedAngles_; }
    void SetMaskedAngles(bool v) { maskedAngles_ = v; }
    bool IsBitmapObject() const override { return true; }
protected:
    void DrawContent(QPainter& p) override;
    // The link for the current state (a state link only when usable).
    virtual const TskBitmapLink& CurrentLink() const { return bitmap_; }
    TskBitmapLink bitmap_;
    TskTileStyle borderTileStyle_ = TskTileStyle::tsTile;
    bool maskedBorder_ = true;
    bool maskedAngles_ = true;
    TskTileStyle tileStyle_ = TskTileStyle::tsTile;
};

// A second bitmap and font for hover, focus and the active window.
class TSkActiveBitmap : public TSkBitmapObject {
    TSK_SKIN_CLASS(TSkActiveBitmap)
public:
    using TSkBitmapObject::TSkBitmapObject;
    TskBitmapLink& ActiveBitmap() { return activeBitmap_; }
    const TFontSpec& ActiveFont() const { return activeFont_; }
    void SetActiveFont(const TFontSpec& f) { activeFont_ = f; }
    TFontSpec GetFont() const override;
protected:
    const TskBitmapLink& CurrentLink() const override;
    TskBitmapLink activeBitmap_;
    TFontSpec activeFont_;
};

// A bitmap for each state.
class TSkButtonObject : public TSkBitmapObject {
    TSK_SKIN_CLASS(TSkButtonObject)
public:
    using TSkBitmapObject::TSkBitmapObject;
    TskBitmapLink& BitmapHot() { return bitmapHot_; }
    TskBitmapLink& BitmapFocused() { return bitmapFocused_; }
    TskBitmapLink& BitmapPressed() { return bitmapPressed_; }
    TskBitmapLink& BitmapDisabled() { return bitmapDisabled_; }
protected:
    const TskBitmapLink& CurrentLink() const override;
    TskBitmapLink bitmapHot_, bitmapFocused_, bitmapPressed_, bitmapDisabled_;
};
