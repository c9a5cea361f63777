#pragma once
// The small parts a chart is made of (pens, brushes, fonts, gradient, titles,
// legend, walls). Each part reports a change to the part above it, and the
// chart at the top repaints.
#include "canvas.h"
#include "chart_canvas.h"
#include "control.h"

#include <QFont>
#include <QStringList>
#include <optional>

class TChartPart {
public:
    explicit TChartPart(TChartPart* up = nullptr) : up_(up) {}
    virtual ~TChartPart() = default;
    TChartPart(const TChartPart&) = delete;
    TChartPart& operator=(const TChartPart&) = delete;
    virtual void Changed() {
        if (up_) up_->Changed();
    }
    void SetUp(TChartPart* up) { up_ = up; }

protected:
    template <class V>
    void Store(V& field, const V& v) {
        if (field == v) return;
        field = v;
        Changed();
    }
    TChartPart* up_;
};

class TChartPen : public TChartPart {
public:
    TChartPen(TChartPart* up, TColor color = clBlack, int width = 1, bool visible = true,
              TPenStyle style = TPenStyle::psSolid)
        : TChartPart(up), color_(color), width_(width), style_(style), visible_(visible) {}
    TColor Color() const { return color_; }
    void SetColor(TColor c) { Store(color_, c); }
    int Width() const { return width_; }
    void SetWidth(int w) { Store(width_, w); }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s) { Store(style_, s); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Store(visible_, v); }
    // Drawn at all: visible, with a colour and a style that draws.
    bool Shows() const { return visible_ && color_ != clNone && style_ != TPenStyle::psClear; }
    TPenSpec Settings() const {
        return {color_, width_, visible_ ? style_ : TPenStyle::psClear};
    }

private:
    TColor color_;
    int width_;
    TPenStyle style_;
    bool visible_;
};

class TChartBrush : public TChartPart {
public:
    explicit TChartBrush(TChartPart* up, TColor color = clWhite, TBrushStyle style = TBrushStyle::bsSolid)
        : TChartPart(up), color_(color), style_(style) {}
    TColor Color() const { return color_; }
    void SetColor(TColor c) { Store(color_, c); }
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s) { Store(style_, s); }
    TBrushSpec Settings() const { return {color_, style_}; }

private:
    TColor color_;
    TBrushStyle style_;
};

// A font description with its Qt font made once.
class TChartFont : public TChartPart {
public:
    TChartFont(TChartPart* up, TColor color = clBlack);
    const TFontSpec& Settings() const { return spec_; }
    void SetSpec(const TFontSpec& f);
    TColor Color() const { return spec_.color; }
    const QFont& QtFont() const;
    // The same font with its size scaled by percent (at least 1 pixel).
    QFont Scaled(int percent) const;

private:
    TFontSpec spec_;
    mutable std::optional<QFont> font_;
};

class TChartGradient : public TChartPart {
public:
    explicit TChartGradient(TChartPart* up) : TChartPart(up) {}
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Store(visible_, v); }
    TGradientDirection Direction() const { return direction_; }
    void SetDirection(TGradientDirection d) { Store(direction_, d); }
    TColor StartColor() const { return start_; }
    void SetStartColor(TColor c) { Store(start_, c); }
    TColor EndColor() const { return end_; }
    void SetEndColor(TColor c) { Store(end_, c); }

private:
    bool visible_ = false;
    TGradientDirection direction_ = TGradientDirection::gdTopBottom;
    TColor start_ = clWhite;
    TColor end_ = clYellow;
};

// The platform's text alignment, as titles use it.
enum class TChartAlignment { taLeftJustify, taRightJustify, taCenter };

class TChartTitle : public TChartPart {
public:
    explicit TChartTitle(TChartPart* up);
    const QStringList& Text() const { return text_; }
    void SetText(const QStringList& t) { Store(text_, t); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Store(visible_, v); }
    TChartAlignment Alignment() const { return alignment_; }
    void SetAlignment(TChartAlignment a) { Store(alignment_, a); }
    bool AdjustFrame() const { return adjustFrame_; }
    void SetAdjustFrame(bool v) { Store(adjustFrame_, v); }
    TColor Color() const { return color_; }
    void SetColor(TColor c) { Store(color_, c); }

    TChartFont Font;
    TChartPen Frame;
    TChartBrush Brush;

private:
    QStringList text_;
    bool visible_ = true;
    TChartAlignment alignment_ = TChartAlignment::taCenter;
    bool adjustFrame_ = true;
    TColor color_ = DefaultColor;
};

enum class TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum class TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum class TLegendTextStyle { ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue };

class TChartLegend : public TChartPart {
public:
    explicit TChartLegend(TChartPart* up);
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { Store(visible_, v); }
    TLegendAlignment Alignment() const { return alignment_; }
    void SetAlignment(TLegendAlignment a) { Store(alignment_, a); }
    TLegendStyle LegendStyle() const { return style_; }
    void SetLegendStyle(TLegendStyle s) { Store(style_, s); }
    TLegendTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TLegendTextStyle s) { Store(textStyle_, s); }
    TColor Color() const { return color_; }
    void SetColor(TColor c) { Store(color_, c); }
    int ColorWidth() const { return colorWidth_; }
    void SetColorWidth(int v) { Store(colorWidth_, v); }
    int TopPos() const { return topPos_; }
    void SetTopPos(int v) { Store(topPos_, v); }
    int MaxNumRows() const { return maxNumRows_; }
    void SetMaxNumRows(int v) { Store(maxNumRows_, v); }
    bool ResizeChart() const { return resizeChart_; }
    void SetResizeChart(bool v) { Store(resizeChart_, v); }
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor c) { Store(shadowColor_, c); }
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int v) { Store(shadowSize_, v); }
    int HorizMargin() const { return horizMargin_; }
    void SetHorizMargin(int v) { Store(horizMargin_, v); }
    int VertMargin() const { return vertMargin_; }
    void SetVertMargin(int v) { Store(vertMargin_, v); }
    int FirstValue() const { return firstValue_; }
    void SetFirstValue(int v) { Store(firstValue_, v); }
    bool Inverted() const { return inverted_; }
    void SetInverted(bool v) { Store(inverted_, v); }

    TChartFont Font;
    TChartPen Frame;
    TChartPen DividingLines;
    TChartBrush Brush;

    // Where the last paint put it (empty when it took no room).
    TRect Rect() const { return rect_; }
    void SetRect(const TRect& r) { rect_ = r; }

private:
    bool visible_ = true;
    TLegendAlignment alignment_ = TLegendAlignment::laRight;
    TLegendStyle style_ = TLegendStyle::lsAuto;
    TLegendTextStyle textStyle_ = TLegendTextStyle::ltsLeftValue;
    TColor color_ = clWhite;
    int colorWidth_ = 12;
    int topPos_ = 10;
    int maxNumRows_ = 10;
    bool resizeChart_ = true;
    TColor shadowColor_ = clBlack;
    int shadowSize_ = 3;
    int horizMargin_ = 0;
    int vertMargin_ = 0;
    int firstValue_ = 0;
    bool inverted_ = false;
    TRect rect_;
};

class TChartWall : public TChartPart {
public:
    explicit TChartWall(TChartPart* up) : TChartPart(up), Pen(this), Brush(this) {}
    TColor Color() const { return color_; }
    void SetColor(TColor c) { Store(color_, c); }
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool v) { Store(dark3D_, v); }
    int Size() const { return size_; }
    void SetSize(int v) { Store(size_, v); }

    TChartPen Pen;
    TChartBrush Brush;

    // The fill a wall gets: none for an unset colour with a solid brush, or
    // for a clear brush; otherwise its colour in the brush's style.
    std::optional<TBrushSpec> Fill() const;

private:
    TColor color_ = DefaultColor;
    bool dark3D_ = true;
    int size_ = 0;
};

// The chart font: "Arial", 8 points.
TFontSpec DefaultChartFont(TColor color = clBlack);
