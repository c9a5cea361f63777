#pragma once
// The chart's drawing layer: a reference surface (the target, or an
// off-screen bitmap while buffering), 2D primitives through it, and the same
// primitives at a depth, projected with the chart's 3D options.
#include "canvas.h"

#include <QHash>
#include <QImage>
#include <QPoint>
#include <memory>
#include <vector>

struct TView3DOptions {
    int elevation = 345;
    int rotation = 345;
    int perspective = 15;
    bool orthogonal = true;
    int zoom = 100;
    bool zoomText = true;
    int horizOffset = 0;
    int vertOffset = 0;
    int tilt = 0;
    bool operator==(const TView3DOptions&) const = default;
};

enum class TGradientDirection { gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft, gdFromBottomLeft };

// Subtracts n from each of red, green and blue (system colours resolved
// first), never below 0.
TColor DarkenColor(TColor c, int n);

enum class TDarkSides { None, Darken };

// Drawing on the reference surface.
class TChartCanvas {
public:
    virtual ~TChartCanvas();
    // The surface of the picture being painted; valid between BeginPicture and EndPicture.
    Canvas& Surface() { return *surface_; }
    bool Painting() const { return surface_ != nullptr; }

    void SetPen(const TPenSpec& p) { surface_->SetPen(p); }
    void SetBrush(const TBrushSpec& b) { surface_->SetBrush(b); }
    // Fonts and text widths are kept across paints: a chart measures the
    // same few labels in the same few fonts every time.
    void SetFont(const QFont& f);
    void SetFontColor(TColor c) { surface_->SetFontColor(c); }
    void Rectangle(const TRect& r) { surface_->Rectangle(r); }
    void FillRect(const TRect& r, TColor c) { surface_->FillRect(r, c); }
    void Line(int x0, int y0, int x1, int y1) { surface_->Line(x0, y0, x1, y1); }
    void TextOut(int x, int y, const QString& s) { surface_->TextOut(x, y, s); }
    int TextWidth(const QString& s) const;
    int FontHeight() const { return surface_->TextHeight(); }

protected:
    std::unique_ptr<Canvas> surface_;

private:
    static constexpr int kFontSlots = 6;
    std::vector<QFont> fonts_;
    mutable QHash<QString, int> widths_[kFontSlots];
    int fontSlot_ = -1;
};

// Primitives at a depth.
class TCanvas3D : public TChartCanvas {
public:
    virtual QPoint Project(int x, int y, int z) const = 0;
    virtual void RectangleAtDepth(const TRect& r, int z) = 0;
    virtual void SideWallFace(int left, int top, int bottom, int z0, int z1) = 0;
    virtual void FloorFace(int left, int right, int y, int z0, int z1) = 0;
    virtual void Box(int left, int right, int top, int bottom, int z0, int z1, TDarkSides dark) = 0;
    virtual void LineAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
    virtual void FillGradient(const TRect& r, TColor first, TColor second, TGradientDirection dir) = 0;
};

class TChartCanvas3D final : public TCanvas3D {
public:
    TChartCanvas3D();
    ~TChartCanvas3D() override;

    // Prepares a paint onto target (an active painter) and returns the
    // rectangle to draw into: rect itself, or rect moved to (0, 0) while
    // buffering into the off-screen bitmap.
    TRect BeginPicture(QPainter& target, const TRect& rect, bool view3D, const TView3DOptions& options);
    void SetProjection(int maxDepth, const TRect& plot);
    // Copies the off-screen bitmap to the target and lets go of the surface.
    void EndPicture();

    bool Buffering() const { return buffering_; }
    void SetBuffering(bool on);
    const QImage* OffscreenBitmap() const { return buffer_ ? buffer_.get() : nullptr; }

    bool Is3D() const { return is3D_; }
    bool IsOrthogonal() const { return orthogonal_; }
    double ZoomFactor() const { return zoom_; }
    bool ZoomText() const { return zoomText_; }

    QPoint Project(int x, int y, int z) const override;
    void RectangleAtDepth(const TRect& r, int z) override;
    void SideWallFace(int left, int top, int bottom, int z0, int z1) override;
    void FloorFace(int left, int right, int y, int z0, int z1) override;
    void Box(int left, int right, int top, int bottom, int z0, int z1, TDarkSides dark) override;
    void LineAtDepth(int x0, int y0, int x1, int y1, int z) override;
    void FillGradient(const TRect& r, TColor first, TColor second, TGradientDirection dir) override;

private:
    void Face(QPoint a, QPoint b, QPoint c, QPoint d);

    bool buffering_ = true;
    std::unique_ptr<QImage> buffer_;
    QPainter* target_ = nullptr;
    TRect userRect_;
    bool is3D_ = false;
    bool orthogonal_ = false;
    double zoom_ = 0;
    bool zoomText_ = true;
    int horizOffset_ = 0, vertOffset_ = 0;
    int cx_ = 0, cy_ = 0, halfDepth_ = 0;
    QPoint poly_[4];
};
