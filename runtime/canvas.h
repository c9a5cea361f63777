#pragma once
// A small GDI-like drawing surface over QPainter, for controls that draw
// themselves pixel by pixel: antialiasing is off, rectangles exclude their
// right and bottom edges, lines exclude their end point, and pen, brush and
// font are current state rather than arguments.
#include "colors.h"

#include <QFont>
#include <QFontMetrics>
#include <QStaticText>
#include <memory>
#include <unordered_map>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <initializer_list>
#include <memory>
#include <optional>

class QImage;
class QPaintDevice;

// A rectangle whose right and bottom edges lie outside it.
struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr TRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr TRect Inflate(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    constexpr bool operator==(const TRect&) const = default;
    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
    static TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum class TBackgroundMode { Transparent, Opaque };

struct TPenSpec {
    TColor color = clBlack;
    int width = 1;
    TPenStyle style = TPenStyle::psSolid;
    bool Visible() const { return style != TPenStyle::psClear && color != clNone; }
    bool operator==(const TPenSpec&) const = default;
};

struct TBrushSpec {
    TColor color = clWhite;
    TBrushStyle style = TBrushStyle::bsSolid;
    bool Visible() const { return style != TBrushStyle::bsClear && color != clNone; }
    bool operator==(const TBrushSpec&) const = default;
};

// Text layout flags with the platform's values, so stored flags keep meaning.
enum TDrawTextFlag : unsigned {
    dtLeft = 0x0, dtCenter = 0x1, dtRight = 0x2,
    dtTop = 0x0, dtVCenter = 0x4, dtBottom = 0x8,
    dtWordBreak = 0x10, dtSingleLine = 0x20, dtExpandTabs = 0x40,
    dtNoClip = 0x100, dtCalcRect = 0x400, dtNoPrefix = 0x800, dtEndEllipsis = 0x8000,
};

class Canvas {
public:
    // Paints on the device with a painter of its own until destroyed.
    explicit Canvas(QPaintDevice* device);
    // Paints through an active painter; its state is given back afterwards.
    explicit Canvas(QPainter& painter);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Direct access for what the canvas does not offer; the canvas then sets
    // its pen and brush again before its next shape.
    QPainter& Painter() {
        heldPen_ = Held::None;
        heldBrush_ = HeldB::None;
        fontHeld_ = false;
        return *painter_;
    }
    QPaintDevice* Device() const { return painter_->device(); }

    const TPenSpec& Pen() const { return pen_; }
    void SetPen(const TPenSpec& p);
    void SetPenColor(TColor c) { auto p = pen_; p.color = c; SetPen(p); }
    void SetPenWidth(int w) { auto p = pen_; p.width = w; SetPen(p); }
    void SetPenStyle(TPenStyle s) { auto p = pen_; p.style = s; SetPen(p); }

    const TBrushSpec& Brush() const { return brush_; }
    void SetBrush(const TBrushSpec& b);
    void SetBrushColor(TColor c) { auto b = brush_; b.color = c; SetBrush(b); }
    void SetBrushStyle(TBrushStyle s) { auto b = brush_; b.style = s; SetBrush(b); }

    const QFont& Font() const { return font_; }
    void SetFont(const QFont& f);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor c) { fontColor_ = c; }

    // Behind text and hatch lines: left alone, or filled with BackColor.
    TBackgroundMode BackMode() const { return backMode_; }
    void SetBackMode(TBackgroundMode m) { backMode_ = m; }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor c) { backColor_ = c; }

    // Outline with the pen (inside the rectangle), interior with the brush.
    void Rectangle(const TRect& r);
    void Rectangle(int l, int t, int r, int b) { Rectangle(TRect{l, t, r, b}); }
    // Brush only.
    void FillRect(const TRect& r);
    void FillRect(const TRect& r, TColor c);
    // A one-pixel frame in the brush colour.
    void FrameRect(const TRect& r);

    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    // From the pen position to (x, y), without the end point.
    void LineTo(int x, int y);
    void Line(int x0, int y0, int x1, int y1) { MoveTo(x0, y0); LineTo(x1, y1); }
    QPoint PenPos() const { return penPos_; }
    void SetPixel(int x, int y, TColor c);

    // Filled with the brush and outlined with the pen, even-odd rule.
    void Polygon(const QPoint* points, int count);
    void Polygon(std::initializer_list<QPoint> points) { Polygon(points.begin(), int(points.size())); }
    void Polyline(const QPoint* points, int count);

    // (x, y) is the top-left corner of the text cell.
    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    // The height of a line of the current font (text only matters for measuring).
    int TextHeight(const QString& text = QString()) const;
    const QFontMetrics& Metrics() const;
    struct PreparedText {
        QStaticText layout;
        int width;
    };
    struct FontMeasures {
        QFontMetrics metrics;
        int height, ascent;
        int staticAscent;  // where a prepared text puts its baseline below its top
        std::shared_ptr<std::unordered_map<QString, PreparedText>> prepared;
    };
    // Lays text out in r by the dt... flags; with dtCalcRect r becomes the
    // text's extent and nothing is drawn. Returns the text height.
    int DrawText(const QString& text, TRect& r, unsigned flags);

    // Copies a block of src at (sx, sy) to (x, y), replacing what was there.
    void BitBlt(int x, int y, int w, int h, const QImage& src, int sx = 0, int sy = 0);
    // Draws an image over the surface (source-over).
    void Draw(int x, int y, const QImage& src);

    void SetClipRect(const TRect& r);
    void SetClipRegion(const QRegion& r);
    void IntersectClipRect(const TRect& r);
    void ClearClip();
    bool HasClip() const { return painter_->hasClipping(); }

    // Saves pen, brush, font, background and clipping; restores them when it
    // goes out of scope.
    class StateSaver {
    public:
        explicit StateSaver(Canvas& c);
        ~StateSaver();
        StateSaver(const StateSaver&) = delete;
        StateSaver& operator=(const StateSaver&) = delete;
    private:
        Canvas& c_;
        TPenSpec pen_;
        TBrushSpec brush_;
        QFont font_;
        TColor fontColor_, backColor_;
        TBackgroundMode backMode_;
        bool clipping_;
        QRegion clip_;
    };

private:
    void Init();
    void ApplyPen();
    bool UprightRectangle(const QPoint* points, int count);
    bool UprightLine(QPoint from, QPoint to);
    void ApplyBrush();
    void ApplyNoPen();
    void ApplyNoBrush();

    std::unique_ptr<QPainter> own_;
    QPainter* painter_;
    TPenSpec pen_;
    TBrushSpec brush_;
    QFont font_;
    const FontMeasures& Measures() const;
    const PreparedText& Prepared(const QString& text, const FontMeasures& fm) const;
    mutable std::optional<FontMeasures> measures_;
    TColor fontColor_ = clBlack;
    TColor backColor_ = clWhite;
    TBackgroundMode backMode_ = TBackgroundMode::Opaque;
    QPoint penPos_;
    // What the painter holds now, so repeated shapes skip redundant setPen calls.
    enum class Held { None, Pen, NoPen, Text } heldPen_ = Held::None;
    enum class HeldB { None, Brush, NoBrush } heldBrush_ = HeldB::None;
    bool fontHeld_ = false;
    TColor textColor_ = clNone;
};
