#pragma once
// The second family of skin objects: registered and read like the first,
// drawn by the same means; the embedded skin does not use them.
#include "skin_state_objects.h"
#include "skin_system_button.h"

class TSkLinkSkinObject : public TSkSkinObject {
    TSK_SKIN_CLASS(TSkLinkSkinObject)
public:
    using TSkSkinObject::TSkSkinObject;
    QString linkControl_;
};

class TSkActiveSkinObject : public TSkActiveObject {
public:
    using TSkActiveObject::TSkActiveObject;
    QString ClassName() const override { return QStringLiteral("TSkActiveSkinObject"); }
};

class TSkBitmapSkinObject : public TSkSkinObject {
    TSK_SKIN_CLASS(TSkBitmapSkinObject)
public:
    using TSkSkinObject::TSkSkinObject;
    TskBitmapLink bitmap_;
    TskTileStyle tileStyle_ = TskTileStyle::tsTile;
    bool IsBitmapObject() const override { return true; }
protected:
    void DrawContent(QPainter& p) override;
    virtual const TskBitmapLink& CurrentLink() const { return bitmap_; }
    virtual TskTileStyle BorderStyle() const { return tileStyle_; }
};

class TSkFormBitmapSkinObject : public TSkBitmapSkinObject {
    TSK_SKIN_CLASS(TSkFormBitmapSkinObject)
public:
    using TSkBitmapSkinObject::TSkBitmapSkinObject;
    TskBitmapLink inactiveBitmap_;
protected:
    const TskBitmapLink& CurrentLink() const override;
};

class TSkSysButtonSkinObject : public SkSystemButtonOf<TSkBitmapSkinObject> {
    TSK_SKIN_CLASS(TSkSysButtonSkinObject)
public:
    using SkSystemButtonOf::SkSystemButtonOf;
    TSkAction action_ = TSkAction::sbaNone;
    TskBitmapLink bitmapHover_, bitmapDown_;
    QString rollPanel_;
protected:
    TSkAction ButtonAction() const override { return action_; }
    const TskBitmapLink& CurrentLink() const override;
};

class TSkColorButtonObject : public TSkSkinObject {
    TSK_SKIN_CLASS(TSkColorButtonObject)
public:
    using TSkSkinObject::TSkSkinObject;
    TColor hotColor_ = clWhite, pressedColor_ = clWhite, focusedColor_ = clWhite, disabledColor_ = clWhite;
    TFontSpec hotFont_, pressedFont_, focusedFont_, disabledFont_;
    TFontSpec GetFont() const override;
protected:
    TColor CurrentColor() const override;
};

class TSkBitmapBoxObject : public TSkBitmapSkinObject {
    TSK_SKIN_CLASS(TSkBitmapBoxObject)
public:
    using TSkBitmapSkinObject::TSkBitmapSkinObject;
    TskTileStyle borderTileStyle_ = TskTileStyle::tsTile;
protected:
    TskTileStyle BorderStyle() const override { return borderTileStyle_; }
};

class TSkActiveBitmapBoxObject : public TSkBitmapBoxObject {
    TSK_SKIN_CLASS(TSkActiveBitmapBoxObject)
public:
    using TSkBitmapBoxObject::TSkBitmapBoxObject;
    TskBitmapLink focusedBitmap_;
protected:
    const TskBitmapLink& CurrentLink() const override;
};

class TSkButtonBitmapBoxObject : public TSkBitmapBoxObject {
    TSK_SKIN_CLASS(TSkButtonBitmapBoxObject)
public:
    using TSkBitmapBoxObject::TSkBitmapBoxObject;
    TskBitmapLink hotBitmap_, focusedBitmap_, pressedBitmap_, disabledBitmap_;
protected:
    const TskBitmapLink& CurrentLink() const override;
};

class TSkRollPanelObject : public TSkSkinObject {
    TSK_SKIN_CLASS(TSkRollPanelObject)
public:
    using TSkSkinObject::TSkSkinObject;
    TSkRollKind rollKind_ = TSkRollKind::rkTop;
    int rollValue_ = 0;
};
