#include "chart.h"

#include "application.h"
#include "chart_math.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

using chart::MulDiv;
using chart::Nearest;

// ---- TCustomChartPanel ----------------------------------------------------

TCustomChartPanel::TCustomChartPanel(TComponent* owner, QWidget* parent)
    : QWidget(parent), TControl(owner, this), canvas_(std::make_unique<TChartCanvas3D>()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(400, 250);
}

TCustomChartPanel::~TCustomChartPanel() { destroying_ = true; }

void TCustomChartPanel::Changed() {
    if (!destroying_) update();
}

void TCustomChartPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    try {
        PaintPicture(p, {0, 0, width(), height()});
    } catch (const std::exception&) {
        // A paint has no caller to report to, and a message box here would
        // paint again; the next change repaints.
    }
}

void TCustomChartPanel::NormalizePlotRect() {
    TRect& r = plotRect_;
    r.left = std::max(r.left, panelRect_.left);
    r.top = std::max(r.top, panelRect_.top);
    if (r.left > r.right) r.right = r.left + 1;
    if (r.left == r.right) r.right = r.left + width();
    if (r.top > r.bottom) r.bottom = r.top + 1;
    if (r.top == r.bottom) r.bottom = r.top + height();
}

void TCustomChartPanel::PaintPicture(QPainter& target, const TRect& rect) {
    panelRect_ = canvas_->BeginPicture(target, rect, view3D_, view3DOptions_);
    const int w = panelRect_.Width(), h = panelRect_.Height(), b = borderWidth_;
    plotRect_ = {panelRect_.left + b + MulDiv(marginLeft_, w, 100), panelRect_.top + b + MulDiv(marginTop_, h, 100),
                 panelRect_.right - b - MulDiv(marginRight_, w, 100), panelRect_.bottom - b - MulDiv(marginBottom_, h, 100)};
    NormalizePlotRect();
    marksRoom_ = panelRect_;
    try {
        DrawParts();
    } catch (...) {
        canvas_->EndPicture();
        throw;
    }
    canvas_->EndPicture();
    if (auto* ext = dynamic_cast<TCustomChartPanelExtended*>(this)) Fire(ext->OnAfterDraw, this);
}

void TCustomChartPanel::DrawBevel(TPanelBevel bevel, TRect& r) {
    if (bevel == TPanelBevel::bvNone) return;
    Canvas& s = canvas_->Surface();
    TColor topLeft = clBtnHighlight, bottomRight = clBtnShadow;
    if (bevel == TPanelBevel::bvLowered) std::swap(topLeft, bottomRight);
    if (bevel == TPanelBevel::bvSpace) topLeft = bottomRight = Color();
    for (int k = 0; k < bevelWidth_ && !r.IsEmpty(); ++k) {
        s.FillRect({r.left, r.top, r.right, r.top + 1}, topLeft);
        s.FillRect({r.left, r.top, r.left + 1, r.bottom}, topLeft);
        s.FillRect({r.left + 1, r.bottom - 1, r.right, r.bottom}, bottomRight);
        s.FillRect({r.right - 1, r.top + 1, r.right, r.bottom}, bottomRight);
        r = r.Inflate(-1, -1);
    }
}

// ---- TCustomAxisPanel -----------------------------------------------------

TCustomAxisPanel::TCustomAxisPanel(TComponent* owner, QWidget* parent) : TCustomChartPanelExtended(owner, parent) {}

TCustomAxisPanel::~TCustomAxisPanel() {
    destroying_ = true;
    const TChartSeriesList list = series_;
    for (TChartSeries* s : list) s->SetParentChart(nullptr);
}

TChartSeries* TCustomAxisPanel::SeriesAt(int index) const {
    if (index < 0 || index >= SeriesCount())
        throw ChartException(QStringLiteral("Series index %1 out of bounds (%2 series)").arg(index).arg(SeriesCount()));
    return series_[size_t(index)];
}

void TCustomAxisPanel::AddSeries(TChartSeries* s) {
    if (std::find(series_.begin(), series_.end(), s) == series_.end()) series_.push_back(s);
    if (s->ParentChart() != this) s->SetParentChart(this);
    Changed();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* s) {
    series_.erase(std::remove(series_.begin(), series_.end(), s), series_.end());
    if (s->ParentChart() == this) s->SetParentChart(nullptr);
    Changed();
}

std::vector<TChartSeries*> TCustomAxisPanel::ActiveSeries() const {
    std::vector<TChartSeries*> out;
    for (TChartSeries* s : series_)
        if (s->Active()) out.push_back(s);
    return out;
}

TChartAxis& TCustomAxisPanel::ChartAxis(TAxisKind kind) {
    switch (kind) {
    case TAxisKind::Left: return LeftAxis;
    case TAxisKind::Top: return TopAxis;
    case TAxisKind::Right: return RightAxis;
    case TAxisKind::Bottom: return BottomAxis;
    case TAxisKind::Depth: break;
    }
    return DepthAxis;
}

void TCustomAxisPanel::AdoptChild(TComponent* child) {
    if (auto* s = dynamic_cast<TChartSeries*>(child)) {
        s->SetParentChart(this);
        return;
    }
    TCustomChartPanelExtended::AdoptChild(child);
}

void TCustomAxisPanel::DrawAxesAndSeries() {
    TChartCanvas3D& c = ChartCanvas();
    const auto active = ActiveSeries();
    // One depth slot per active series.
    const int depthSlots = std::max(1, int(active.size()));

    for (TChartAxis* a : Axes()) {
        a->SetPixelExtent(plotRect_);
        a->AdjustRange();
    }
    if (!View3D()) {
        depthWidth_ = depthHeight_ = seriesDepth_ = 0;
    } else {
        double f = Chart3DPercent() * 0.001;
        if (!View3DOptions().orthogonal) f *= 2;
        seriesDepth_ = Nearest(PlotWidth() * f);
        depthWidth_ = depthHeight_ = seriesDepth_ * depthSlots;
        if (View3DOptions().orthogonal) {
            const int wall = View3DWalls() ? BackWallSize() : 0;
            plotRect_.right -= std::abs(depthWidth_) + wall;
            plotRect_.top += wall + std::abs(depthHeight_);
            NormalizePlotRect();
        }
    }
    TRect reduced = plotRect_;
    for (TChartAxis* a : Axes()) {
        if (!a->Shows()) continue;
        a->SetPixelExtent(plotRect_);
        const TRect r = a->CalcRoom(plotRect_);
        reduced = {std::max(reduced.left, r.left), std::max(reduced.top, r.top), std::min(reduced.right, r.right),
                   std::min(reduced.bottom, r.bottom)};
    }
    plotRect_ = reduced;
    NormalizePlotRect();

    for (size_t k = 0; k < active.size(); ++k) {
        const int start = seriesDepth_ * int(k);
        active[k]->SetDepthRange(start, start + seriesDepth_);
    }
    for (TChartAxis* a : Axes()) {
        a->SetPositions(plotRect_);
        a->AdjustRange();
    }
    c.SetProjection(depthWidth_, plotRect_);

    DrawWalls();

    if (AxisVisible()) {
        Fire(OnBeforeDrawAxes, this);
        for (TChartAxis* a : Axes())
            if (a->Shows()) a->Draw(c);
    }
    Fire(OnBeforeDrawSeries, this);
    Canvas& s = c.Surface();
    const TRect clip{plotRect_.left, plotRect_.top - depthHeight_, plotRect_.right + depthWidth_ + 1, plotRect_.bottom + 1};
    for (TChartSeries* series : active) {
        series->PrepareForDraw();
        if (ClipPoints()) s.SetClipRect(clip);
        for (int i = series->FirstVisible(); i <= series->LastVisible() && i < series->Count(); ++i) series->DrawValue(c, i);
        s.ClearClip();
        if (series->Marks.Visible()) {
            if (series->Marks.Clip()) s.SetClipRect(clip);
            series->DrawMarks(c);
            s.ClearClip();
        }
    }
}

// ---- TCustomChart -----------------------------------------------------------

TCustomChart::TCustomChart(TComponent* owner, QWidget* parent) : TCustomAxisPanel(owner, parent) {
    BackWall.Brush.SetStyle(TBrushStyle::bsClear);
    LeftWall.SetColor(0x80FFFF);
    BottomWall.SetColor(clWhite);
}

int TCustomChart::SideWallSize(TAxisKind kind) const {
    if (!View3D() || !View3DWalls()) return 0;
    if (kind == TAxisKind::Left) return LeftWall.Size();
    if (kind == TAxisKind::Bottom) return BottomWall.Size();
    return 0;
}

void TCustomChart::DrawParts() {
    TChartCanvas3D& c = ChartCanvas();
    Canvas& s = c.Surface();
    if (Gradient.Visible()) c.FillGradient(panelRect_, Gradient.StartColor(), Gradient.EndColor(), Gradient.Direction());
    else s.FillRect(panelRect_, Color());
    if (!BackImage().isNull() && !backImageInside_) s.Painter().drawImage(panelRect_.ToQRect(), BackImage());

    TRect r = panelRect_;
    DrawBevel(BevelOuter(), r);
    if (BorderWidth() > 0) {
        for (int k = 0; k < BorderWidth() && !r.IsEmpty(); ++k) {
            s.SetBrush(TBrushSpec{Color()});
            s.FrameRect(r);
            r = r.Inflate(-1, -1);
        }
    }
    DrawBevel(BevelInner(), r);

    const auto active = ActiveSeries();
    for (TChartSeries* series : active) series->CalcFirstLastVisible();
    const TRect beforeTitles = plotRect_;

    if (Legend.Visible() && !active.empty()) {
        if (Legend.Alignment() == TLegendAlignment::laLeft || Legend.Alignment() == TLegendAlignment::laRight) {
            DrawLegend();
            DrawTitle(Title, false);
            DrawTitle(Foot, true);
        } else {
            DrawTitle(Title, false);
            DrawTitle(Foot, true);
            DrawLegend();
        }
    } else {
        Legend.SetRect({});
        DrawTitle(Title, false);
        DrawTitle(Foot, true);
    }
    marksRoom_ = {r.left, plotRect_.top != beforeTitles.top ? plotRect_.top : r.top, r.right,
                  plotRect_.bottom != beforeTitles.bottom ? plotRect_.bottom : r.bottom};
    DrawAxesAndSeries();
}

void TCustomChart::DrawTitle(TChartTitle& title, bool foot) {
    if (!title.Visible()) return;
    if (foot && title.Text().isEmpty()) return;
    TChartCanvas3D& c = ChartCanvas();
    Canvas& s = c.Surface();
    c.SetFont(title.Font.QtFont());
    c.SetFontColor(title.Font.Color());
    const int h = c.FontHeight();
    const int f = title.Frame.Shows() ? title.Frame.Width() : 0;
    const int lines = int(title.Text().size());
    TRect r;
    r.left = plotRect_.left + f;
    r.right = plotRect_.right - f;
    if (foot) {
        r.bottom = plotRect_.bottom - f;
        r.top = r.bottom - lines * h;
    } else {
        r.top = plotRect_.top + f;
        r.bottom = r.top + lines * h;
    }
    const int textTop = r.top;
    r = r.Inflate(f, f);
    const int wW = c.TextWidth(QStringLiteral("W"));
    if (title.AdjustFrame()) {
        int widest = 0;
        for (const QString& line : title.Text()) widest = std::max(widest, c.TextWidth(line));
        const int width = widest + wW;
        switch (title.Alignment()) {
        case TChartAlignment::taLeftJustify: r.right = r.left + width; break;
        case TChartAlignment::taRightJustify: r.left = r.right - width; break;
        case TChartAlignment::taCenter: {
            const int centre = (r.left + r.right) / 2;
            r.left = centre - width / 2;
            r.right = centre + width / 2;
            break;
        }
        }
    }
    const bool filled = title.Color() != DefaultColor && title.Color() != clNone && title.Brush.Style() != TBrushStyle::bsClear;
    if (lines > 0 && (f > 0 || filled)) {
        c.SetPen(title.Frame.Settings());
        c.SetBrush(filled ? TBrushSpec{title.Color(), title.Brush.Style()} : TBrushSpec{clWhite, TBrushStyle::bsClear});
        c.Rectangle(r);
    }
    s.SetBackMode(TBackgroundMode::Transparent);
    for (int i = 0; i < lines; ++i) {
        const QString& line = title.Text()[i];
        const int lw = c.TextWidth(line);
        int x = 0;
        switch (title.Alignment()) {
        case TChartAlignment::taLeftJustify: x = r.left + wW / 2; break;
        case TChartAlignment::taRightJustify: x = r.right - lw - wW / 2; break;
        case TChartAlignment::taCenter: x = (r.left + r.right) / 2 - lw / 2; break;
        }
        c.TextOut(x, textTop + i * h, line);
    }
    if (foot) plotRect_.bottom = textTop - f - 5;
    else plotRect_.top = textTop + lines * h + f + 5;
    NormalizePlotRect();
}

namespace {
struct LegendItem {
    TChartSeries* series;
    int index;  // point, or -1 for a whole series
    TColor color;
    QString text;
};
}

void TCustomChart::DrawLegend() {
    TChartCanvas3D& c = ChartCanvas();
    Canvas& s = c.Surface();
    const auto active = ActiveSeries();
    TLegendStyle style = Legend.LegendStyle();
    if (style == TLegendStyle::lsAuto) style = active.size() < 2 ? TLegendStyle::lsValues : TLegendStyle::lsSeries;

    std::vector<LegendItem> items;
    if (style == TLegendStyle::lsValues || style == TLegendStyle::lsLastValues) {
        auto shown = std::find_if(active.begin(), active.end(), [](TChartSeries* x) { return x->ShowInLegend(); });
        if (shown != active.end())
            for (int i = std::max(0, Legend.FirstValue()); i < (*shown)->Count(); ++i)
                items.push_back({*shown, i, (*shown)->ValueColor(i), (*shown)->LegendText(i, Legend.TextStyle())});
    } else {
        for (TChartSeries* x : active)
            if (x->ShowInLegend())
                items.push_back({x, -1, x->SeriesColor(), x->Title().isEmpty() ? x->Name() : x->Title()});
    }
    if (Legend.Inverted()) std::reverse(items.begin(), items.end());

    c.SetFont(Legend.Font.QtFont());
    c.SetFontColor(Legend.Font.Color());
    const int itemH = c.FontHeight();
    const int fw = Legend.Frame.Shows() ? Legend.Frame.Width() : 0;
    const int top = panelRect_.top + Nearest(Legend.TopPos() * 1.0 * panelRect_.Height() * 0.01);
    int rows = 0;
    if (top < plotRect_.bottom && itemH >= 1)
        rows = std::clamp(((plotRect_.bottom - top) - 2 * fw) / itemH, 0, int(items.size()));
    if (rows == 0) {
        Legend.SetRect({});
        return;
    }
    const int bottom = top + 2 + rows * itemH;
    int widest = 0;
    for (int i = 0; i < rows; ++i) widest = std::max(widest, c.TextWidth(items[size_t(i)].text));
    const int right = plotRect_.right - (Legend.Frame.Shows() ? fw + 1 : 0) - Legend.ShadowSize();
    const int textX = right - widest - 2;
    const int boxWidth = Nearest(Legend.ColorWidth() * (widest + 10) * 0.01);
    const int boxRight = textX - 4, boxLeft = boxRight - boxWidth;
    const int left = boxLeft - 4;

    if (Legend.ShadowSize() > 0)
        s.FillRect({left + Legend.ShadowSize(), top + Legend.ShadowSize(), right + Legend.ShadowSize(), bottom + Legend.ShadowSize()},
                   Legend.ShadowColor());
    c.SetPen(Legend.Frame.Settings());
    c.SetBrush(TBrushSpec{Legend.Color(), Legend.Brush.Style()});
    c.Rectangle({left, top, right, bottom});
    s.SetBackMode(TBackgroundMode::Transparent);
    for (int i = 0; i < rows; ++i) {
        const LegendItem& item = items[size_t(i)];
        const int y = top + 1 + i * itemH;
        if (i > 0 && Legend.DividingLines.Shows()) {
            c.SetPen(Legend.DividingLines.Settings());
            c.Line(left, y, right, y);
        }
        item.series->DrawLegendShape(c, {boxLeft, y + 2, boxRight, y + itemH - 2}, item.color);
        c.SetFontColor(Legend.Font.Color());
        c.TextOut(textX, y, item.text);
    }
    Legend.SetRect({left, top, right, bottom});
    if (Legend.ResizeChart()) {
        plotRect_.right = left;
        NormalizePlotRect();
        plotRect_.right -= Legend.HorizMargin() != 0 ? Legend.HorizMargin() : MulDiv(3, PlotWidth(), 100);
        NormalizePlotRect();
    }
}

void TCustomChart::DrawWall(TChartWall& wall, const std::function<void()>& face) {
    TChartCanvas3D& c = ChartCanvas();
    Canvas& s = c.Surface();
    c.SetPen(wall.Pen.Settings());
    const auto fill = wall.Fill();
    c.SetBrush(fill ? *fill : TBrushSpec{clWhite, TBrushStyle::bsClear});
    if (fill && fill->style != TBrushStyle::bsSolid) {
        s.SetBackMode(TBackgroundMode::Opaque);
        s.SetBackColor(wall.Brush.Color());
    }
    face();
    s.SetBackMode(TBackgroundMode::Transparent);
}

void TCustomChart::DrawWalls() {
    TChartCanvas3D& c = ChartCanvas();
    const TRect p = plotRect_;
    if (!View3D()) {
        DrawWall(BackWall, [&] { c.Rectangle({p.left, p.top, p.right + 1, p.bottom + 1}); });
        return;
    }
    if (!View3DWalls()) return;
    const int d = depthWidth_;
    auto dark = [](const TChartWall& w) { return w.Dark3D() ? TDarkSides::Darken : TDarkSides::None; };
    DrawWall(BackWall, [&] {
        if (BackWall.Size() < 1) c.RectangleAtDepth(p, d);
        else c.Box(p.left, p.right, p.top, p.bottom, d, d + BackWall.Size(), dark(BackWall));
    });
    DrawWall(LeftWall, [&] {
        if (LeftWall.Size() < 1) c.SideWallFace(p.left, p.top, p.bottom, 0, d + 1);
        else c.Box(p.left - LeftWall.Size(), p.left, p.top, p.bottom, 0, d + 1, dark(LeftWall));
    });
    DrawWall(BottomWall, [&] {
        if (BottomWall.Size() < 1) c.FloorFace(p.left, p.right, p.bottom, 0, d + 1);
        else c.Box(p.left, p.right, p.bottom, p.bottom + BottomWall.Size(), 0, d + 1, dark(BottomWall));
    });
}

QImage TCustomChart::RenderToBitmap(TColor background, const TRect& rect) {
    const int w = std::max(1, rect.Width()), h = std::max(1, rect.Height());
    QImage bitmap(w, h, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    // The picture is laid out from the rectangle's size; painting it at its
    // own offset would push it partly off a bitmap of that size.
    const TRect target{0, 0, rect.Width(), rect.Height()};
    QPainter painter(&bitmap);
    if (ColorToRGB(background) != clWhite) painter.fillRect(target.ToQRect(), ToQColor(background));
    TChartCanvas3D& c = ChartCanvas();
    const bool buffering = c.Buffering();
    c.SetBuffering(false);
    try {
        PaintPicture(painter, target);
    } catch (...) {
        c.SetBuffering(buffering);
        throw;
    }
    c.SetBuffering(buffering);
    painter.end();
    return bitmap;
}

void TCustomChart::CopyBitmapToClipboard() {
    const QImage bitmap = RenderToBitmap(clWhite, {0, 0, width(), height()});
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) throw EInvalidOperation(QStringLiteral("Cannot open clipboard"));
    clipboard->setImage(bitmap);
}

// ---- TChart -----------------------------------------------------------------

TChart::TChart(TComponent* owner, QWidget* parent) : TCustomChart(owner, parent) {}
