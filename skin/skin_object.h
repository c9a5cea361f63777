#pragma once
// Skin objects: named rectangles with a layout rule, colour, font, text and,
// for the bitmap kinds, links into the skin's bitmaps. A top-level object
// describes one kind of control; its descendants are that control's parts.
#include "colors.h"
#include "component.h"
#include "control.h"
#include "events.h"
#include "skin_bitmap.h"

#include <QIcon>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <functional>

class QPainter;

enum class TSkAlign {
    saNone, saLeft, saMostLeft, saTop, saMostTop, saRight, saMostRight, saBottom, saMostBottom,
    saClient, saTopLeft, saTopRight, saBottomLeft, saBottomRight, saCenter, saText
};
enum class TSkKind {
    skNone, skForm, skCaption, skTitle, skTop, skLeft, skRight, skBottom, skTopLeft, skTopRight,
    skBottomLeft, skBottomRight, skSysButton, skClient, skMenuBar, skMenuBarItem, skMenuBarItemText,
    skPopupMenu, skPopupMenuItem, skPopupMenuItemText, skItemText, skTranparent
};
enum class TSkTextAlign { taTopLeft, taTopCenter, taTopRight, taLeft, taCenter, taRight, taBottomLeft, taBottomCenter, taBottomRight };
enum class TSkTextEffect { teNone, teShadow };
enum class TSkAction {
    sbaNone, sbaClose, sbaHelp, sbaMinimize, sbaMaximize, sbaRestore, sbaRollUp, sbaRollDown, sbaTray,
    sbaSysMenu, sbaRollPanel, sbaCustom
};
enum class TSkRollKind { rkLeft, rkTop, rkRight, rkBottom };

extern const EnumNames<TSkAlign> kSkAlignNames;
extern const EnumNames<TSkKind> kSkKindNames;
extern const EnumNames<TSkTextAlign> kSkTextAlignNames;
extern const EnumNames<TSkTextEffect> kSkTextEffectNames;
extern const EnumNames<TskTileStyle> kSkTileStyleNames;
extern const EnumNames<TSkAction> kSkActionNames;
extern const EnumNames<TSkRollKind> kSkRollKindNames;

// The state byte: how a control looks right now. The window frame also passes
// its window state (0, 2, 3, 4) through it.
namespace skstate {
constexpr int Normal = 0, Maximized = 2, Minimized = 3, RolledUp = 4;
constexpr int Hot = 5, Pressed = 6, Focused = 7, Disabled = 8;
}

// BorderIcons of a skinned form, as bits.
enum TSkBorderIcon : unsigned {
    kbiClose = 1, kbiSystemMenu = 2, kbiMinimize = 4, kbiMaximize = 8, kbiHelp = 16, kbiRollup = 32, kbiTray = 64
};

class TSkSkinObject;

// The skinned window frame as system buttons see it: what their actions do.
class TSkFormActions {
public:
    virtual ~TSkFormActions() = default;
    virtual void SkClose() = 0;
    virtual void SkShowHelp() = 0;
    virtual void SkMinimize() = 0;
    virtual void SkMaximize() = 0;
    virtual void SkRestore() = 0;
    virtual void SkRollUp() = 0;
    virtual void SkMinimizeToTray() = 0;
    virtual void SkShowSystemMenu() = 0;
    virtual void SkCustomAction(TSkSkinObject* button) = 0;
    virtual unsigned SkBorderIcons() const { return kbiClose | kbiSystemMenu | kbiMinimize | kbiMaximize; }
    virtual QIcon SkFormIcon() const { return QIcon(); }
};

// The control that draws a tree of skin objects.
class TSkSkinHost {
public:
    virtual ~TSkSkinHost() = default;
    // An object changed its look on its own (hover, press): repaint it.
    virtual void SkinObjectChanged(TSkSkinObject*) {}
    // The frame that system buttons act on; null for an unskinned window.
    virtual TSkFormActions* SkinFormOwner() { return nullptr; }
};

// A source rectangle in one of the skin's bitmaps, by name (right and bottom
// exclusive), with the bitmap it resolved to and where it has transparency.
struct TskBitmapLink {
    QString name;
    int left = 0, top = 0, right = 0, bottom = 0;
    TskBitmap* bitmap = nullptr;
    bool centerTransparent = false, bordersTransparent = false, cornersTransparent = false;

    bool Usable() const { return bitmap && right - left >= 1 && bottom - top >= 1; }
    QRect Rect() const { return QRect(left, top, right - left, bottom - top); }
    // Finds the bitmap by name and notes which nine-slice groups hold
    // transparent pixels for margins (ml, mt, mr, mb).
    void Resolve(const TskBitmapList* list, int ml, int mt, int mr, int mb);
    void CopyFrom(const TskBitmapLink& o) { *this = o; }
};

class TSkSkinObject : public TComponent {
public:
    explicit TSkSkinObject(TComponent* owner = nullptr);
    QString ClassName() const override { return QStringLiteral("TSkSkinObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    // Only skin objects own skin objects.
    int ChildCount() const { return ComponentCount(); }
    TSkSkinObject* Child(int k) const { return static_cast<TSkSkinObject*>(Components()[std::size_t(k)]); }
    TSkSkinObject* Parent() const { return dynamic_cast<TSkSkinObject*>(Owner()); }

    TSkAlign Align() const { return align_; }
    void SetAlign(TSkAlign a) { align_ = a; }
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    bool DrawIfOwner() const { return drawIfOwner_; }
    void SetDrawIfOwner(bool v) { drawIfOwner_ = v; }
    const TFontSpec& Font() const { return font_; }
    void SetFont(const TFontSpec& f) { font_ = f; }
    TSkKind Kind() const { return kind_; }
    void SetKind(TSkKind k) { kind_ = k; }
    bool Masked() const { return masked_; }
    void SetMasked(bool v) { masked_ = v; }
    int MarginLeft() const { return marginLeft_; }
    int MarginRight() const { return marginRight_; }
    int MarginTop() const { return marginTop_; }
    int MarginBottom() const { return marginBottom_; }
    void SetMarginLeft(int v);
    void SetMarginRight(int v);
    void SetMarginTop(int v);
    void SetMarginBottom(int v);
    TSkTextAlign TextAlign() const { return textAlign_; }
    void SetTextAlign(TSkTextAlign a) { textAlign_ = a; }
    TSkTextEffect TextEffect() const { return textEffect_; }
    void SetTextEffect(TSkTextEffect e) { textEffect_ = e; }
    int TextMarginLeft() const { return textMarginLeft_; }
    int TextMarginRight() const { return textMarginRight_; }
    int TextMarginTop() const { return textMarginTop_; }
    void SetTextMarginLeft(int v);
    void SetTextMarginRight(int v);
    void SetTextMarginTop(int v);

    // Bounds in the coordinate space of the control that draws the tree.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    QRect BoundsRect() const { return QRect(left_, top_, width_, height_); }
    void SetLeft(int v) { SetBounds(v, top_, v + width_, top_ + height_); }
    void SetTop(int v) { SetBounds(left_, v, left_ + width_, v + height_); }
    void SetWidth(int v) { SetBounds(left_, top_, left_ + v, top_ + height_); }
    void SetHeight(int v) { SetBounds(left_, top_, left_ + width_, top_ + v); }
    // Right and bottom exclusive; a change lays the children out again.
    void SetBounds(int left, int top, int right, int bottom);
    void SetBoundsRect(const QRect& r) { SetBounds(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
    int PreviousWidth() const { return prevWidth_; }
    int PreviousHeight() const { return prevHeight_; }

    // The children as stored: a binary list of class names and component forms.
    QByteArray ObjectsData() const;
    void ReadObjectsData(const QByteArray& data);

    // Run-time state set by the control.
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    bool Active() const { return active_; }
    void SetActive(bool v);  // the whole subtree
    int State() const { return state_; }
    virtual void SetState(int state);  // the whole subtree
    TskBitmapList* Bitmaps() const { return bitmaps_; }
    void SetBitmaps(TskBitmapList* list);  // the whole subtree
    TSkSkinHost* Host() const { return host_; }
    void SetHost(TSkSkinHost* host, int rightToLeftMode = 0);  // the whole subtree
    int RightToLeftMode() const { return rtlMode_; }
    const QString& Text() const { return text_; }
    void SetText(const QString& t) { text_ = t; }
    const QString& Text2() const { return text2_; }
    void SetText2(const QString& t) { text2_ = t; }

    // The font for the current state.
    virtual TFontSpec GetFont() const { return font_; }
    // Resolves bitmap links by name, then the children's.
    virtual void AfterLoad();
    void Draw(QPainter& p);
    // The painted shape of this object alone.
    virtual QRegion GetRegion();
    // The shape of the tree: transparent skin pixels cut it.
    QRegion Mask();
    virtual void ChangeHue(int delta);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void MouseDown(TMouseButton, QPoint) {}
    virtual void MouseMove(TShiftState, QPoint) {}
    virtual void MouseUp(TMouseButton, QPoint) {}
    virtual void DblClick(TMouseButton, QPoint) {}
    virtual void SetCharset(int charset);  // the whole subtree
    // Copies the skin description (not the run-time state) and clones the children.
    virtual void Assign(const TSkSkinObject& source);

    // Case-insensitive, this object first, then depth-first.
    TSkSkinObject* FindByName(const QString& name);
    TSkSkinObject* FindByKind(TSkKind kind);
    // The deepest visible object at p, the last sibling winning.
    TSkSkinObject* HitTest(QPoint p);
    // Lays the children out in this object's bounds; anchors use the size
    // before the last bounds change and run only after such a change.
    void Realign(bool anchors = false);

    // Every bitmap link this class publishes.
    virtual void ForEachLink(const std::function<void(TskBitmapLink&)>&) {}
    virtual bool IsBitmapObject() const { return false; }

protected:
    virtual void DrawContent(QPainter& p);
    void DrawText(QPainter& p);
    void DrawChildren(QPainter& p);
    // Draws one bitmap piece by tile style; tsCenter centres in the whole object.
    void DrawPiece(QPainter& p, const TskBitmapLink& link, QRect src, QRect dst, TskTileStyle style, bool transparent);
    // The link drawn whole into the bounds, or as nine slices by the margins.
    void DrawLink(QPainter& p, const TskBitmapLink& link, TskTileStyle tile, TskTileStyle border);
    // A bitmap object with its link, text and children.
    void DrawBitmapObject(QPainter& p, const TskBitmapLink& link, TskTileStyle tile, TskTileStyle border);
    void ResolveLink(TskBitmapLink& link) const;
    void RequestRepaint();
    virtual TColor CurrentColor() const { return color_; }

    TSkAlign align_ = TSkAlign::saNone;
    TColor color_ = clWhite;
    bool drawIfOwner_ = false;
    TFontSpec font_;
    TSkKind kind_ = TSkKind::skNone;
    bool masked_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int marginLeft_ = 0, marginRight_ = 0, marginTop_ = 0, marginBottom_ = 0;
    TSkTextAlign textAlign_ = TSkTextAlign::taLeft;
    TSkTextEffect textEffect_ = TSkTextEffect::teNone;
    int textMarginLeft_ = 0, textMarginRight_ = 0, textMarginTop_ = 0;

    bool visible_ = true;
    bool enabled_ = true;
    bool active_ = false;
    int state_ = skstate::Normal;
    TskBitmapList* bitmaps_ = nullptr;
    TSkSkinHost* host_ = nullptr;
    int rtlMode_ = 0;
    int prevWidth_ = 0, prevHeight_ = 0;
    QString text_, text2_;
};

// Colour and font of hover, press and focus.
class TSkActiveObject : public TSkSkinObject {
public:
    using TSkSkinObject::TSkSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkActiveObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TColor ActiveColor() const { return activeColor_; }
    void SetActiveColor(TColor c) { activeColor_ = c; }
    const TFontSpec& ActiveFont() const { return activeFont_; }
    void SetActiveFont(const TFontSpec& f) { activeFont_ = f; }
    TFontSpec GetFont() const override;
    void ChangeHue(int delta) override;
    void SetCharset(int charset) override;
    void Assign(const TSkSkinObject& source) override;
protected:
    TColor CurrentColor() const override;
    bool UsesActiveLook() const;
    TColor activeColor_ = clWhite;
    TFontSpec activeFont_;
};

class TSkBitmapObject : public TSkSkinObject {
public:
    using TSkSkinObject::TSkSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkBitmapObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
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
    void ForEachLink(const std::function<void(TskBitmapLink&)>& f) override { f(bitmap_); }
    bool IsBitmapObject() const override { return true; }
    void Assign(const TSkSkinObject& source) override;
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

class TSkActiveBitmap : public TSkBitmapObject {
public:
    using TSkBitmapObject::TSkBitmapObject;
    QString ClassName() const override { return QStringLiteral("TSkActiveBitmap"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TskBitmapLink& ActiveBitmap() { return activeBitmap_; }
    const TFontSpec& ActiveFont() const { return activeFont_; }
    void SetActiveFont(const TFontSpec& f) { activeFont_ = f; }
    TFontSpec GetFont() const override;
    void ForEachLink(const std::function<void(TskBitmapLink&)>& f) override;
    void ChangeHue(int delta) override;
    void SetCharset(int charset) override;
    void Assign(const TSkSkinObject& source) override;
protected:
    const TskBitmapLink& CurrentLink() const override;
    TskBitmapLink activeBitmap_;
    TFontSpec activeFont_;
};

// Visual state of a system button, apart from the state byte.
enum class TSkButtonLook { Normal = 0, Hot = 1, Pressed = 2 };

class TSkSystemButton : public TSkActiveBitmap {
public:
    using TSkActiveBitmap::TSkActiveBitmap;
    QString ClassName() const override { return QStringLiteral("TSkSystemButton"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TSkAction Action() const { return action_; }
    void SetAction(TSkAction a) { action_ = a; }
    TskBitmapLink& BitmapHot() { return bitmapHot_; }
    TskBitmapLink& BitmapPressed() { return bitmapPressed_; }
    TSkButtonLook Look() const { return look_; }
    void ForEachLink(const std::function<void(TskBitmapLink&)>& f) override;
    void SetState(int state) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, QPoint p) override;
    void MouseMove(TShiftState shift, QPoint p) override;
    void MouseUp(TMouseButton button, QPoint p) override;
    void DblClick(TMouseButton button, QPoint p) override;
    void Assign(const TSkSkinObject& source) override;
protected:
    void DrawContent(QPainter& p) override;
    void SetLook(TSkButtonLook l);
    TSkAction action_ = TSkAction::sbaNone;
    TskBitmapLink bitmapHot_, bitmapPressed_;
    TSkButtonLook look_ = TSkButtonLook::Normal;
    TShiftState lastShift_ = 0;
};

class TSkButtonObject : public TSkBitmapObject {
public:
    using TSkBitmapObject::TSkBitmapObject;
    QString ClassName() const override { return QStringLiteral("TSkButtonObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TskBitmapLink& BitmapHot() { return bitmapHot_; }
    TskBitmapLink& BitmapFocused() { return bitmapFocused_; }
    TskBitmapLink& BitmapPressed() { return bitmapPressed_; }
    TskBitmapLink& BitmapDisabled() { return bitmapDisabled_; }
    void ForEachLink(const std::function<void(TskBitmapLink&)>& f) override;
    void Assign(const TSkSkinObject& source) override;
protected:
    const TskBitmapLink& CurrentLink() const override;
    TskBitmapLink bitmapHot_, bitmapFocused_, bitmapPressed_, bitmapDisabled_;
};

class TSkTextObject : public TSkSkinObject {
public:
    using TSkSkinObject::TSkSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkTextObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TFontSpec fontHot_, fontFocused_, fontPressed_, fontDisabled_;
    TFontSpec GetFont() const override;
    void ChangeHue(int delta) override;
    void SetCharset(int charset) override;
    void Assign(const TSkSkinObject& source) override;
};

// ---- the second family -------------------------------------------------------

class TSkLinkSkinObject : public TSkSkinObject {
public:
    using TSkSkinObject::TSkSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkLinkSkinObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    QString linkControl_;
    void Assign(const TSkSkinObject& source) override;
};

class TSkActiveSkinObject : public TSkActiveObject {
public:
    using TSkActiveObject::TSkActiveObject;
    QString ClassName() const override { return QStringLiteral("TSkActiveSkinObject"); }
};

class TSkBitmapSkinObject : public TSkSkinObject {
public:
    using TSkSkinObject::TSkSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkBitmapSkinObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TskBitmapLink bitmap_;
    TskTileStyle tileStyle_ = TskTileStyle::tsTile;
    void ForEachLink(const std::function<void(TskBitmapLink&)>& f) override { f(bitmap_); }
    bool IsBitmapObject() const override { return true; }
    void Assign(const TSkSkinObject& source) override;
protected:
    void DrawContent(QPainter& p) override;
    virtual const TskBitmapLink& CurrentLink() const { return bitmap_; }
    virtual TskTileStyle BorderStyle() const { return tileStyle_; }
};

class TSkFormBitmapSkinObject : public TSkBitmapSkinObject {
public:
    using TSkBitmapSkinObject::TSkBitmapSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkFormBitmapSkinObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TskBitmapLink inactiveBitmap_;
    void ForEachLink(const std::function<void(TskBitmapLink&)>& f) override;
    void Assign(const TSkSkinObject& source) override;
protected:
    const TskBitmapLink& CurrentLink() const override;
};

class TSkSysButtonSkinObject : public TSkBitmapSkinObject {
public:
    using TSkBitmapSkinObject::TSkBitmapSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkSysButtonSkinObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TSkAction action_ = TSkAction::sbaNone;
    TskBitmapLink bitmapHover_, bitmapDown_;
    QString rollPanel_;
    TSkButtonLook look_ = TSkButtonLook::Normal;
    void ForEachLink(const std::function<void(TskBitmapLink&)>& f) override;
    void SetState(int state) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, QPoint p) override;
    void MouseMove(TShiftState shift, QPoint p) override;
    void MouseUp(TMouseButton button, QPoint p) override;
    void DblClick(TMouseButton button, QPoint p) override;
    void Assign(const TSkSkinObject& source) override;
protected:
    const TskBitmapLink& CurrentLink() const override;
    void SetLook(TSkButtonLook l);
    TShiftState lastShift_ = 0;
};

class TSkColorButtonObject : public TSkSkinObject {
public:
    using TSkSkinObject::TSkSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkColorButtonObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TColor hotColor_ = clWhite, pressedColor_ = clWhite, focusedColor_ = clWhite, disabledColor_ = clWhite;
    TFontSpec hotFont_, pressedFont_, focusedFont_, disabledFont_;
    TFontSpec GetFont() const override;
    void ChangeHue(int delta) override;
    void SetCharset(int charset) override;
    void Assign(const TSkSkinObject& source) override;
protected:
    TColor CurrentColor() const override;
};

class TSkBitmapBoxObject : public TSkBitmapSkinObject {
public:
    using TSkBitmapSkinObject::TSkBitmapSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkBitmapBoxObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TskTileStyle borderTileStyle_ = TskTileStyle::tsTile;
    void Assign(const TSkSkinObject& source) override;
protected:
    TskTileStyle BorderStyle() const override { return borderTileStyle_; }
};

class TSkActiveBitmapBoxObject : public TSkBitmapBoxObject {
public:
    using TSkBitmapBoxObject::TSkBitmapBoxObject;
    QString ClassName() const override { return QStringLiteral("TSkActiveBitmapBoxObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TskBitmapLink focusedBitmap_;
    void ForEachLink(const std::function<void(TskBitmapLink&)>& f) override;
    void Assign(const TSkSkinObject& source) override;
protected:
    const TskBitmapLink& CurrentLink() const override;
};

class TSkButtonBitmapBoxObject : public TSkBitmapBoxObject {
public:
    using TSkBitmapBoxObject::TSkBitmapBoxObject;
    QString ClassName() const override { return QStringLiteral("TSkButtonBitmapBoxObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TskBitmapLink hotBitmap_, focusedBitmap_, pressedBitmap_, disabledBitmap_;
    void ForEachLink(const std::function<void(TskBitmapLink&)>& f) override;
    void Assign(const TSkSkinObject& source) override;
protected:
    const TskBitmapLink& CurrentLink() const override;
};

class TSkRollPanelObject : public TSkSkinObject {
public:
    using TSkSkinObject::TSkSkinObject;
    QString ClassName() const override { return QStringLiteral("TSkRollPanelObject"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TSkRollKind rollKind_ = TSkRollKind::rkTop;
    int rollValue_ = 0;
    void Assign(const TSkSkinObject& source) override;
};

// ---- the class registry -------------------------------------------------------

using SkinObjectFactory = TSkSkinObject* (*)(TComponent* owner);
// Exact, case-sensitive class names; null when unknown.
SkinObjectFactory FindSkinObjectClass(const QString& className);
void RegisterSkinObjectClass(const QString& className, SkinObjectFactory factory);
QStringList SkinObjectClassNames();
// A new object of source's class, with no owner, assigned from source.
TSkSkinObject* CloneSkinObject(const TSkSkinObject& source);

// Builds an object from its component form, as skin streams store it. Raises
// EStreamError for an unknown property or a damaged value; returns null for an
// unknown class.
TSkSkinObject* CreateSkinObject(const QString& className, const ComponentData& data, TComponent* owner);

// Bounds every skin object read from untrusted input: nesting and total count.
namespace skin_limits {
constexpr int kMaxObjectDepth = 32;
constexpr std::int64_t kMaxObjects = 100000;
constexpr int kMaxCoord = 1 << 24;
}
// While alive, objects read on this thread count against one budget.
class SkinObjectBudget {
public:
    SkinObjectBudget();
    ~SkinObjectBudget();
    static void Take();  // raises EStreamError when the budget is spent
private:
    std::int64_t* previous_;
    std::int64_t left_ = skin_limits::kMaxObjects;
};

// Colour (0x00BBGGRR) with its hue shifted; clNone and other specials unchanged.
TColor ShiftColorHue(TColor c, int delta);
