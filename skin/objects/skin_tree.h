#pragma once
// The skin object: a named rectangle with a layout rule, colour, font and
// text, owning its children. A top-level object describes one kind of
// control; its descendants are that control's parts.
#include "colors.h"
#include "component.h"
#include "control.h"
#include "events.h"
#include "skin_fields.h"
#include "skin_host.h"
#include "skin_kinds.h"
#include "skin_link.h"

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <functional>

class QPainter;

class TSkSkinObject : public TComponent {
public:
    explicit TSkSkinObject(TComponent* owner = nullptr);
    QString ClassName() const override { return QStringLiteral("TSkSkinObject"); }
    // What this class publishes, and what Assign and the tree operations use.
    static const SkinClassTable& StaticTable();
    virtual const SkinClassTable& ClassTable() const { return StaticTable(); }
    static const PropertyTable& StaticProperties() { return StaticTable().Properties(); }
    const PropertyTable& Properties() const override { return ClassTable().Properties(); }

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
    void SetMarginLeft(int v) { marginLeft_ = ClampCoord(v); }
    void SetMarginRight(int v) { marginRight_ = ClampCoord(v); }
    void SetMarginTop(int v) { marginTop_ = ClampCoord(v); }
    void SetMarginBottom(int v) { marginBottom_ = ClampCoord(v); }
    TSkTextAlign TextAlign() const { return textAlign_; }
    void SetTextAlign(TSkTextAlign a) { textAlign_ = a; }
    TSkTextEffect TextEffect() const { return textEffect_; }
    void SetTextEffect(TSkTextEffect e) { textEffect_ = e; }
    int TextMarginLeft() const { return textMarginLeft_; }
    int TextMarginRight() const { return textMarginRight_; }
    int TextMarginTop() const { return textMarginTop_; }
    void SetTextMarginLeft(int v) { textMarginLeft_ = ClampCoord(v); }
    void SetTextMarginRight(int v) { textMarginRight_ = ClampCoord(v); }
    void SetTextMarginTop(int v) { textMarginTop_ = ClampCoord(v); }

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
    void ReadObjectsData(const QByteArray& data) { ReadObjectsData(QByteArrayView(data)); }
    void ReadObjectsData(QByteArrayView data);

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
    // Whether an "&" in Text marks the next letter as the accelerator key and
    // is drawn as that letter underlined (menu captions), rather than shown.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v) { showAccelChar_ = v; }

    // The font for the current state.
    virtual TFontSpec GetFont() const { return font_; }
    // Resolves bitmap links by name, then the children's.
    virtual void AfterLoad();
    void Draw(QPainter& p);
    // The painted shape of this object alone.
    virtual QRegion GetRegion();
    // The shape of the tree, within this object's bounds: transparent skin
    // pixels cut it. What one mask may render is bounded; past that, objects
    // count as their plain rectangles.
    QRegion Mask();
    virtual void ChangeHue(int delta);  // every colour and font colour, the whole subtree
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void MouseDown(TMouseButton, QPoint) {}
    virtual void MouseMove(TShiftState, QPoint) {}
    virtual void MouseUp(TMouseButton, QPoint) {}
    virtual void DblClick(TMouseButton, QPoint) {}
    virtual void SetCharset(int charset);  // every font, the whole subtree
    // Copies the skin description (not the run-time state) and clones the
    // children: the name, the bitmap list, the base's fields, the children,
    // the bounds, then each subclass's own fields.
    virtual void Assign(const TSkSkinObject& source);

    // Case-insensitive, this object first, then depth-first.
    TSkSkinObject* FindByName(const QString& name);
    TSkSkinObject* FindByKind(TSkKind kind);
    // The deepest visible object at p, the last sibling winning.
    TSkSkinObject* HitTest(QPoint p);
    // Lays the children out in this object's bounds; anchors use the size
    // before the last bounds change and run only after such a change.
    void Realign(bool anchors = false);

    // Every bitmap link this class publishes, in declaration order.
    virtual void ForEachLink(const std::function<void(TskBitmapLink&)>& f);
    virtual bool IsBitmapObject() const { return false; }
    // Asks the control to repaint this object (it changed its look on its own).
    void RequestRepaint();

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
    bool showAccelChar_ = false;

private:
    QRegion MaskWithin(SkinPixelBudget& budget, const QRect& clip);
    QRegion ShapeWithin(SkinPixelBudget& budget, const QRect& clip);
};
