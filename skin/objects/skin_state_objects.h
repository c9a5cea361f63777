#pragma once
// Plain skin objects whose colour and font follow the state byte.
#include "skin_tree.h"

// Colour and font of hover, press and focus.
class TSkActiveObject : public TSkSkinObject {
    TSK_SKIN_CLASS(TSkActiveObject)
public:
    using TSkSkinObject::TSkSkinObject;
    TColor ActiveColor() const { return activeColor_; }
    void SetActiveColor(TColor c) { activeColor_ = c; }
    const TFontSpec& ActiveFont() const { return activeFont_; }
    void SetActiveFont(const TFontSpec& f) { activeFont_ = f; }
    TFontSpec GetFont() const override;
protected:
    TColor CurrentColor() const override;
    bool UsesActiveLook() const;
    TColor activeColor_ = clWhite;
    TFontSpec activeFont_;
};

// A font for each state.
class TSkTextObject : public TSkSkinObject {
    TSK_SKIN_CLASS(TSkTextObject)
public:
    using TSkSkinObject::TSkSkinObject;
    TFontSpec fontHot_, fontFocused_, fontPressed_, fontDisabled_;
    TFontSpec GetFont() const override;
};
