#pragma once
// The part every visual component shares: bounds, alignment, colour, font,
// caption, tab order, visibility and enabled state as published properties.
// A control class derives from its Qt widget first and from TControl second.
#include "colors.h"
#include "component.h"
#include "events.h"

#include <QFont>
#include <QString>

class QWidget;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFontSpec {
    QString name = QStringLiteral("MS Sans Serif");
    int height = -11;          // negative: character height in pixels
    unsigned style = 0;        // TFontStyle bits
    TColor color = clWindowText;
    int charset = 1;
    bool operator==(const TFontSpec&) const = default;
    QFont ToQFont() const;
    // The families every font falls back to, Chinese first.
    static const QStringList& FallbackFamilies();
};

class TControl : public TComponent {
public:
    TControl(TComponent* owner, QWidget* self);
    ~TControl() override;

    QWidget* AsWidget() override { return w_; }
    const QWidget* Widget() const { return w_; }

    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int v);
    void SetTop(int v);
    void SetWidth(int v);
    void SetHeight(int v);
    void SetBounds(int l, int t, int w, int h);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v) { parentColor_ = v; }

    const TFontSpec& Font() const { return font_; }
    void SetFont(const TFontSpec& f);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v) { parentFont_ = v; }

    virtual QString Caption() const { return caption_; }
    virtual void SetCaption(const QString& c);

    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int v) { tabOrder_ = v; }
    bool TabStop() const;
    void SetTabStop(bool v);

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool Enabled() const;
    void SetEnabled(bool v);

    const QString& Hint() const { return hint_; }
    void SetHint(const QString& h);

    void Loaded() override;

    // Lays out the aligned children of a container widget.
    static void Realign(QWidget* container);

protected:
    // Hooks for subclasses whose drawing depends on these values.
    virtual void ColorChanged() {}
    virtual void FontChanged() {}
    virtual void CaptionChanged() {}

private:
    QWidget* w_;
    TAlign align_ = TAlign::alNone;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFontSpec font_;
    bool parentFont_ = true;
    QString caption_;
    int tabOrder_ = -1;
    bool visible_ = true;
    QString hint_;
};

extern const EnumNames<TAlign> kAlignNames;
