// Draws our skin "Zodiraze" and writes it through the default codec:
//   make_zodiraze OUT.cskn [--seeds DIR] [--preview PNG]
// Every bitmap is drawn here from a small palette; transparent pixels are the
// key colour 0x7F007F (alpha 0 where a glyph's edges are soft). --seeds also
// writes small inputs for the stream fuzzers, cut from the same skin.
#include "component_stream.h"
#include "exceptions.h"
#include "skin_object.h"
#include "skin_source.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// The palette: slate caption, quiet greys, one teal accent.
const QColor kCaptionTop(0x4A, 0x6A, 0x8F), kCaptionBottom(0x34, 0x50, 0x6F);
const QColor kCaptionTopOff(0x9A, 0xA8, 0xB8), kCaptionBottomOff(0x83, 0x93, 0xA6);
const QColor kFrameDark(0x26, 0x3A, 0x50), kFrameDarkOff(0x70, 0x7F, 0x90);
const QColor kBody(0xF3, 0xF5, 0xF7), kWhite(0xFF, 0xFF, 0xFF);
const QColor kLine(0xC5, 0xCE, 0xD8), kLineSoft(0xD5, 0xDC, 0xE4);
const QColor kText(0x1F, 0x29, 0x33), kTextSoft(0x8A, 0x96, 0xA3);
const QColor kAccent(0x2A, 0x9D, 0x8F), kAccentHot(0x5F, 0xB3, 0xA8), kAccentPale(0xD8, 0xEF, 0xEC);
const QColor kDanger(0xD6, 0x45, 0x45), kDangerDown(0xB0, 0x34, 0x34);
const QColor kKey(0x7F, 0x00, 0x7F);

TColor ToTColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }

QImage NewImage(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(kKey);
    return img;
}

// Glyph sheets start fully transparent so soft edges blend with what is below.
QImage NewSoftImage(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(QColor(0x7F, 0x00, 0x7F, 0));
    return img;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor(int(std::lround(a.red() + (b.red() - a.red()) * t)), int(std::lround(a.green() + (b.green() - a.green()) * t)),
                  int(std::lround(a.blue() + (b.blue() - a.blue()) * t)));
}

enum Corners : unsigned { TL = 1, TR = 2, BL = 4, BR = 8, AllCorners = 15, TopCorners = 3, BottomCorners = 12 };

// A box with hard-edged rounded corners (key outside), a one-pixel border and
// a vertical gradient; crisp edges keep the window shape exact.
void Box(QImage& img, QRect r, int radius, unsigned corners, const QColor& border, const QColor& top, const QColor& bottom,
         bool openBottom = false) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const double t = r.height() > 1 ? double(y - r.top()) / (r.height() - 1) : 0;
        const QColor fill = Mix(top, bottom, t);
        for (int x = r.left(); x <= r.right(); ++x) {
            const int lx = x - r.left(), ly = y - r.top(), rx = r.right() - x, by = r.bottom() - y;
            bool outside = false, edge = lx == 0 || rx == 0 || ly == 0 || (!openBottom && by == 0);
            auto corner = [&](unsigned which, int dx, int dy) {
                if (!(corners & which) || dx >= radius || dy >= radius) return;
                const double cx = radius - dx - 0.5, cy = radius - dy - 0.5;
                const double d = std::sqrt(cx * cx + cy * cy);
                if (d > radius) outside = true;
                else if (d > radius - 1.2) edge = true;
            };
            corner(TL, lx, ly);
            corner(TR, rx, ly);
            corner(BL, lx, by);
            corner(BR, rx, by);
            if (outside || !img.rect().contains(x, y)) continue;
            img.setPixelColor(x, y, edge ? border : fill);
        }
    }
}

void Fill(QImage& img, QRect r, const QColor& c) {
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(r, c);
}

void Gradient(QImage& img, QRect r, const QColor& top, const QColor& bottom) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QColor c = Mix(top, bottom, r.height() > 1 ? double(y - r.top()) / (r.height() - 1) : 0);
        for (int x = r.left(); x <= r.right(); ++x) img.setPixelColor(x, y, c);
    }
}

// A soft shape painted onto a transparent sheet.
void Soft(QImage& img, const std::function<void(QPainter&)>& draw) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    draw(p);
}

QPen GlyphPen(const QColor& c, double w = 1.6) {
    QPen pen(c, w);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

enum class Glyph { Close, Maximize, Restore, Minimize, RollUp, RollDown, Left, Right, Up, Down, Dot };

void DrawGlyph(QPainter& p, Glyph g, QRectF cell, const QColor& c, double scale = 1.0) {
    p.setPen(GlyphPen(c, 1.6 * scale));
    p.setBrush(Qt::NoBrush);
    const QPointF m = cell.center();
    const double s = 4.0 * scale;
    switch (g) {
    case Glyph::Close:
        p.drawLine(QPointF(m.x() - s, m.y() - s), QPointF(m.x() + s, m.y() + s));
        p.drawLine(QPointF(m.x() - s, m.y() + s), QPointF(m.x() + s, m.y() - s));
        break;
    case Glyph::Maximize: p.drawRect(QRectF(m.x() - s, m.y() - s, 2 * s, 2 * s)); break;
    case Glyph::Restore:
        p.drawRect(QRectF(m.x() - s, m.y() - s + 2, 2 * s - 2, 2 * s - 2));
        p.drawPolyline(QPolygonF({QPointF(m.x() - s + 2, m.y() - s), QPointF(m.x() + s, m.y() - s), QPointF(m.x() + s, m.y() + s - 2)}));
        break;
    case Glyph::Minimize: p.drawLine(QPointF(m.x() - s, m.y() + s - 1), QPointF(m.x() + s, m.y() + s - 1)); break;
    case Glyph::RollUp: case Glyph::Up:
        p.drawPolyline(QPolygonF({QPointF(m.x() - s, m.y() + s / 2), QPointF(m.x(), m.y() - s / 2), QPointF(m.x() + s, m.y() + s / 2)}));
        break;
    case Glyph::RollDown: case Glyph::Down:
        p.drawPolyline(QPolygonF({QPointF(m.x() - s, m.y() - s / 2), QPointF(m.x(), m.y() + s / 2), QPointF(m.x() + s, m.y() - s / 2)}));
        break;
    case Glyph::Left:
        p.drawPolyline(QPolygonF({QPointF(m.x() + s / 2, m.y() - s), QPointF(m.x() - s / 2, m.y()), QPointF(m.x() + s / 2, m.y() + s)}));
        break;
    case Glyph::Right:
        p.drawPolyline(QPolygonF({QPointF(m.x() - s / 2, m.y() - s), QPointF(m.x() + s / 2, m.y()), QPointF(m.x() - s / 2, m.y() + s)}));
        break;
    case Glyph::Dot:
        p.setBrush(c);
        p.drawEllipse(m, 2.0 * scale, 2.0 * scale);
        break;
    }
}

class SkinMaker {
public:
    explicit SkinMaker(TSkSkinSource& s) : s_(s) {}

    void AddBitmap(const QString& name, const QImage& img) {
        auto b = std::make_unique<TskBitmap>(name, img.width(), img.height());
        const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y)
            std::memcpy(const_cast<std::uint32_t*>(b->Row(y)), argb.constScanLine(y), std::size_t(argb.width()) * 4);
        b->ApplyKeyColor();
        b->TestPartialAlpha();
        s_.Bitmaps().Add(std::move(b));
    }

    void Bitmaps();
    void Objects();

private:
    TSkSkinSource& s_;
};

// ---- bitmaps ---------------------------------------------------------------------

// How thick a window frame is: the caption, the sides and the bottom, each
// a slate band outside and a light mat between the band and the client.
struct FrameLook {
    const char* prefix;  // of its bitmaps' names
    int caption, side, bottom, band, radius;
    bool grip;           // a resize grip in the bottom-right corner
};
const FrameLook kFormLook{"zodiraze", 36, 16, 21, 6, 8, true};
const FrameLook kToolLook{"zodiraze_tool", 28, 8, 10, 4, 6, false};

QString SheetName(const FrameLook& look, const char* part) { return QString::fromLatin1(look.prefix) + QLatin1String(part); }

struct FrameColors { QColor top, bottom, dark; };
// Active first, then the inactive look.
const FrameColors kFrameStates[2] = {{kCaptionTop, kCaptionBottom, kFrameDark}, {kCaptionTopOff, kCaptionBottomOff, kFrameDarkOff}};

// Two rows, active and inactive, 64 wide: the corners stay, the middle stretches.
void CaptionSheet(SkinMaker& m, const FrameLook& look) {
    const int h = look.caption;
    QImage img = NewImage(64, 2 * h);
    for (int k = 0; k < 2; ++k) {
        const FrameColors& c = kFrameStates[k];
        Box(img, QRect(0, k * h, 64, h), look.radius, TopCorners, c.dark, c.top, c.bottom, true);
        // A faint highlight under the top edge, and the seam above the mat.
        for (int x = look.radius; x < 64 - look.radius; ++x) img.setPixelColor(x, k * h + 1, Mix(c.top, kWhite, 0.25));
        Fill(img, QRect(look.band, k * h + h - 1, 64 - 2 * look.band, 1), c.dark.darker(115));
    }
    m.AddBitmap(SheetName(look, "_caption"), img);
}

// Active and inactive side by side, each `side` wide, stretched down the window.
void SideSheet(SkinMaker& m, const FrameLook& look, bool left) {
    const int w = look.side;
    QImage img = NewImage(2 * w, 8);
    for (int k = 0; k < 2; ++k) {
        const FrameColors& c = kFrameStates[k];
        const int x0 = k * w;
        auto column = [&](int x) { return x0 + (left ? x : w - 1 - x); };
        Fill(img, QRect(x0, 0, w, 8), kBody);
        for (int x = 0; x < look.band; ++x) Fill(img, QRect(column(x), 0, 1, 8), c.bottom);
        Fill(img, QRect(column(0), 0, 1, 8), c.dark);                     // the outer edge
        Fill(img, QRect(column(look.band), 0, 1, 8), c.dark.darker(115));  // the seam against the mat
    }
    m.AddBitmap(SheetName(look, left ? "_border_left" : "_border_right"), img);
}

// Two rows, active and inactive: rounded outer corners `side` wide, a middle that stretches.
void BottomSheet(SkinMaker& m, const FrameLook& look) {
    const int w = 2 * look.side + 8, h = look.bottom, band = look.band;
    QImage img = NewImage(w, 2 * h);
    for (int k = 0; k < 2; ++k) {
        const FrameColors& c = kFrameStates[k];
        QImage row = NewImage(w, h);
        // Drawn as the lower half of a box twice as high, so only the bottom corners round.
        Box(row, QRect(0, -h, w, 2 * h), look.radius, BottomCorners, c.dark, c.bottom, c.bottom);
        const QColor seam = c.dark.darker(115);
        Fill(row, QRect(band, 0, w - 2 * band, h - band), seam);
        Fill(row, QRect(band + 1, 0, w - 2 * (band + 1), h - band - 1), kBody);
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, k * h, row);
    }
    m.AddBitmap(SheetName(look, "_border_bottom"), img);
}

// The resize grip: dots in the bottom-right corner, `grab` wide and as high
// as the bottom edge, on the key colour, laid over the bottom edge by an
// object of its own so that the frame can leave it out while the window
// cannot be sized.
void GripSheet(SkinMaker& m, const FrameLook& look, int grab) {
    const int h = look.bottom, band = look.band;
    QImage img = NewImage(grab, h);
    for (int d = 0; d < 3; ++d)
        for (int e = 0; e <= d; ++e) Fill(img, QRect(grab - band - 4 - 3 * (d - e), h - band - 4 - 3 * e, 2, 2), kLine.darker(115));
    m.AddBitmap(SheetName(look, "_grip"), img);
}

// Four cells: inactive, normal, hot, pressed.
void SysButtonSheet(SkinMaker& m, const QString& name, Glyph g, int w, int h, bool danger) {
    QImage img = NewSoftImage(4 * w, h);
    Soft(img, [&](QPainter& p) {
        const QColor hot = danger ? kDanger : QColor(255, 255, 255, 56);
        const QColor down = danger ? kDangerDown : QColor(0, 0, 0, 56);
        p.setPen(Qt::NoPen);
        p.setBrush(hot);
        p.drawRoundedRect(QRectF(2 * w + 1, 1, w - 2, h - 2), 4, 4);
        p.setBrush(down);
        p.drawRoundedRect(QRectF(3 * w + 1, 1, w - 2, h - 2), 4, 4);
        const double scale = h < 20 ? 0.8 : 1.0;
        DrawGlyph(p, g, QRectF(0, 0, w, h), QColor(0xE4, 0xE9, 0xEF), scale);
        for (int k = 1; k < 4; ++k) DrawGlyph(p, g, QRectF(k * w, 0, w, h), kWhite, scale);
    });
    m.AddBitmap(name, img);
}

void SkinMaker::Bitmaps() {
    for (const FrameLook& look : {kFormLook, kToolLook}) {
        CaptionSheet(*this, look);
        SideSheet(*this, look, true);
        SideSheet(*this, look, false);
        BottomSheet(*this, look);
        if (look.grip) GripSheet(*this, look, std::max(16, look.side));
    }
    SysButtonSheet(*this, QStringLiteral("zodiraze_sys_close"), Glyph::Close, 28, 22, true);
    SysButtonSheet(*this, QStringLiteral("zodiraze_sys_max"), Glyph::Maximize, 28, 22, false);
    SysButtonSheet(*this, QStringLiteral("zodiraze_sys_restore"), Glyph::Restore, 28, 22, false);
    SysButtonSheet(*this, QStringLiteral("zodiraze_sys_min"), Glyph::Minimize, 28, 22, false);
    SysButtonSheet(*this, QStringLiteral("zodiraze_sys_rollup"), Glyph::RollUp, 28, 22, false);
    SysButtonSheet(*this, QStringLiteral("zodiraze_sys_rolldown"), Glyph::RollDown, 28, 22, false);
    SysButtonSheet(*this, QStringLiteral("zodiraze_sys_toolclose"), Glyph::Close, 22, 18, true);

    {   // menu bar strip: a light band over one soft line, as high as the bar
        QImage img = NewImage(8, 19);
        Gradient(img, QRect(0, 0, 8, 18), QColor(0xFA, 0xFB, 0xFC), QColor(0xEC, 0xEF, 0xF3));
        Fill(img, QRect(0, 18, 8, 1), kLineSoft);
        AddBitmap(QStringLiteral("zodiraze_menubar"), img);
    }
    {   // menu bar item: nothing, then the highlight, a pale accent pill that
        // keeps grey (disabled) captions readable
        QImage img = NewImage(24, 34);
        Box(img, QRect(0, 17, 24, 17), 4, AllCorners, kAccentHot, kAccentPale.lighter(104), kAccentPale);
        AddBitmap(QStringLiteral("zodiraze_menuitem"), img);
    }
    {   // small window buttons of a maximized child window
        QImage img = NewSoftImage(48, 14);
        Soft(img, [&](QPainter& p) {
            DrawGlyph(p, Glyph::Minimize, QRectF(0, 0, 16, 14), kText, 0.8);
            DrawGlyph(p, Glyph::Restore, QRectF(16, 0, 16, 14), kText, 0.8);
            DrawGlyph(p, Glyph::Close, QRectF(32, 0, 16, 14), kText, 0.8);
        });
        AddBitmap(QStringLiteral("zodiraze_mdi"), img);
    }
    {   // popup menu
        QImage img = NewImage(16, 16);
        Box(img, QRect(0, 0, 16, 16), 0, 0, kLine, kWhite, kWhite);
        AddBitmap(QStringLiteral("zodiraze_popup"), img);
        QImage item = NewImage(16, 44);
        Box(item, QRect(0, 22, 16, 22), 3, AllCorners, kAccentPale, kAccentPale, kAccentPale);
        AddBitmap(QStringLiteral("zodiraze_popupitem"), item);
        QImage sep = NewImage(16, 7);
        Fill(sep, QRect(0, 3, 16, 1), kLineSoft);
        AddBitmap(QStringLiteral("zodiraze_separator"), sep);
    }
    {   // tabs: normal, hot, active; then the same turned to the other sides
        QImage tab = NewImage(120, 26);
        Box(tab, QRect(0, 2, 40, 24), 4, TopCorners, kLine, QColor(0xEC, 0xEF, 0xF2), QColor(0xE2, 0xE7, 0xEC), true);
        Box(tab, QRect(40, 2, 40, 24), 4, TopCorners, kLine, QColor(0xF6, 0xF9, 0xFA), QColor(0xEC, 0xF1, 0xF4), true);
        Box(tab, QRect(80, 0, 40, 26), 4, TopCorners, kLine, kWhite, kWhite, true);
        Fill(tab, QRect(83, 1, 34, 2), kAccent);
        Fill(tab, QRect(43, 3, 34, 1), kAccentHot);
        AddBitmap(QStringLiteral("zodiraze_tab"), tab);
        AddBitmap(QStringLiteral("zodiraze_tab_bottom"), tab.mirrored(false, true));
        QTransform left;
        left.rotate(-90);
        const QImage l = tab.transformed(left);
        AddBitmap(QStringLiteral("zodiraze_tab_left"), l);
        AddBitmap(QStringLiteral("zodiraze_tab_right"), l.mirrored(true, false));
        QImage frame = NewImage(8, 8);
        Box(frame, QRect(0, 0, 8, 8), 0, 0, kLine, kWhite, kWhite);
        AddBitmap(QStringLiteral("zodiraze_tabframe"), frame);
    }
    {   // arrows: rows left, right, up, down; columns normal, hot, pressed, disabled
        QImage img = NewSoftImage(64, 64);
        Soft(img, [&](QPainter& p) {
            const Glyph rows[] = {Glyph::Left, Glyph::Right, Glyph::Up, Glyph::Down};
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) {
                    const QRectF cell(c * 16, r * 16, 16, 16);
                    if (c == 1 || c == 2) {
                        p.setPen(Qt::NoPen);
                        p.setBrush(c == 1 ? QColor(0xE2, 0xE8, 0xEE) : kAccentPale);
                        p.drawRoundedRect(cell.adjusted(1, 1, -1, -1), 3, 3);
                    }
                    DrawGlyph(p, rows[r], cell, c == 3 ? kTextSoft : c == 2 ? kAccent : kText, 0.75);
                }
        });
        AddBitmap(QStringLiteral("zodiraze_arrows"), img);
    }
    {   // edit frame: normal, hot, focused, disabled
        QImage img = NewImage(64, 16);
        Box(img, QRect(0, 0, 16, 16), 3, AllCorners, kLine, kWhite, kWhite);
        Box(img, QRect(16, 0, 16, 16), 3, AllCorners, QColor(0x9F, 0xB0, 0xC2), kWhite, kWhite);
        Box(img, QRect(32, 0, 16, 16), 3, AllCorners, kAccent, kWhite, kWhite);
        Box(img, QRect(48, 0, 16, 16), 3, AllCorners, kLineSoft, QColor(0xF1, 0xF3, 0xF5), QColor(0xF1, 0xF3, 0xF5));
        AddBitmap(QStringLiteral("zodiraze_edit"), img);
    }
    // Radio buttons and check boxes: unchecked then checked, each normal, hot, pressed, disabled.
    for (int kind = 0; kind < 2; ++kind) {
        QImage img = NewSoftImage(104, 13);
        Soft(img, [&](QPainter& p) {
            for (int k = 0; k < 8; ++k) {
                const bool checked = k >= 4;
                const int look = k % 4;
                const QRectF cell(k * 13 + 0.5, 0.5, 12, 12);
                const QColor border = look == 3 ? kLineSoft : look == 0 ? QColor(0x9A, 0xA8, 0xB6) : kAccent;
                const QColor fill = look == 3 ? QColor(0xF1, 0xF3, 0xF5) : look == 2 ? kAccentPale : kWhite;
                p.setPen(QPen(border, 1));
                p.setBrush(fill);
                if (kind == 0) p.drawEllipse(cell);
                else p.drawRoundedRect(cell, 2.5, 2.5);
                if (!checked) continue;
                const QColor mark = look == 3 ? kTextSoft : kAccent;
                if (kind == 0) {
                    p.setPen(Qt::NoPen);
                    p.setBrush(mark);
                    p.drawEllipse(cell.center(), 3.2, 3.2);
                } else {
                    p.setPen(GlyphPen(mark, 1.8));
                    p.setBrush(Qt::NoBrush);
                    const QPointF o = cell.topLeft();
                    p.drawPolyline(QPolygonF({o + QPointF(3, 6.2), o + QPointF(5.2, 8.6), o + QPointF(9.2, 3.6)}));
                }
            }
        });
        AddBitmap(kind == 0 ? QStringLiteral("zodiraze_radio") : QStringLiteral("zodiraze_check"), img);
    }
    {   // push button: normal, hot, focused, pressed, disabled
        QImage img = NewImage(160, 24);
        Box(img, QRect(0, 0, 32, 24), 4, AllCorners, QColor(0xB8, 0xC4, 0xD0), kWhite, QColor(0xEC, 0xEF, 0xF3));
        Box(img, QRect(32, 0, 32, 24), 4, AllCorners, kAccentHot, QColor(0xF7, 0xFC, 0xFB), QColor(0xE8, 0xF4, 0xF2));
        Box(img, QRect(64, 0, 32, 24), 4, AllCorners, kAccent, kWhite, QColor(0xEC, 0xEF, 0xF3));
        Box(img, QRect(65, 1, 30, 22), 3, AllCorners, kAccentPale, kWhite, QColor(0xEC, 0xEF, 0xF3));
        Box(img, QRect(96, 0, 32, 24), 4, AllCorners, kAccent.darker(115), QColor(0xD4, 0xE8, 0xE5), kAccentPale);
        Box(img, QRect(128, 0, 32, 24), 4, AllCorners, kLineSoft, QColor(0xF3, 0xF5, 0xF7), QColor(0xF3, 0xF5, 0xF7));
        AddBitmap(QStringLiteral("zodiraze_button"), img);
    }
    {   // grid
        QImage frame = NewImage(8, 8);
        Box(frame, QRect(0, 0, 8, 8), 0, 0, kLine, kWhite, kWhite);
        AddBitmap(QStringLiteral("zodiraze_gridframe"), frame);
        // The grid's own lines separate the cells; the bitmap is only the face.
        QImage fixed = NewImage(16, 24);
        Gradient(fixed, QRect(0, 0, 16, 24), QColor(0xF6, 0xF8, 0xFA), QColor(0xE6, 0xEB, 0xF0));
        AddBitmap(QStringLiteral("zodiraze_gridfixed"), fixed);
    }
    {   // panel, its caption strip and its buttons
        QImage panel = NewImage(16, 16);
        Box(panel, QRect(0, 0, 16, 16), 4, AllCorners, kLine, QColor(0xF8, 0xFA, 0xFB), QColor(0xF8, 0xFA, 0xFB));
        AddBitmap(QStringLiteral("zodiraze_panel"), panel);
        QImage cap = NewImage(16, 22);
        Box(cap, QRect(0, 0, 16, 22), 4, TopCorners, kLine, QColor(0xF2, 0xF5, 0xF7), QColor(0xE4, 0xE9, 0xEE));
        AddBitmap(QStringLiteral("zodiraze_panelcaption"), cap);
        QImage buttons = NewSoftImage(56, 14);
        Soft(buttons, [&](QPainter& p) {
            DrawGlyph(p, Glyph::Up, QRectF(0, 0, 14, 14), kText, 0.75);
            DrawGlyph(p, Glyph::Down, QRectF(14, 0, 14, 14), kText, 0.75);
            DrawGlyph(p, Glyph::Close, QRectF(28, 0, 14, 14), kText, 0.7);
            DrawGlyph(p, Glyph::Dot, QRectF(42, 0, 14, 14), kText, 0.8);
        });
        AddBitmap(QStringLiteral("zodiraze_panelbuttons"), buttons);
    }
    {   // scroll bar: track; thumb normal, hot, pressed
        QImage track = NewImage(16, 16);
        Fill(track, QRect(0, 0, 16, 16), QColor(0xEE, 0xF1, 0xF4));
        AddBitmap(QStringLiteral("zodiraze_scrolltrack"), track);
        QImage thumb = NewImage(48, 16);
        Box(thumb, QRect(1, 1, 14, 14), 4, AllCorners, QColor(0xA9, 0xB6, 0xC3), QColor(0xC3, 0xCD, 0xD7), QColor(0xB8, 0xC4, 0xD0));
        Box(thumb, QRect(17, 1, 14, 14), 4, AllCorners, QColor(0x8E, 0x9E, 0xAE), QColor(0xAE, 0xBB, 0xC8), QColor(0xA0, 0xAF, 0xBE));
        Box(thumb, QRect(33, 1, 14, 14), 4, AllCorners, kAccent.darker(110), kAccentHot, kAccent);
        AddBitmap(QStringLiteral("zodiraze_thumb"), thumb);
    }
}

// ---- objects ----------------------------------------------------------------------

TFontSpec Font(const QColor& c, int height = -12, unsigned style = 0) {
    TFontSpec f;
    f.name = QStringLiteral("Noto Sans CJK SC");
    f.height = height;
    f.color = ToTColor(c);
    f.style = style;
    return f;
}

template <class T>
T* Obj(TSkSkinObject* parent, const QString& name, TSkKind kind, QRect r, TSkAlign align = TSkAlign::saNone) {
    T* o = new T(parent);
    o->SetName(name);
    o->SetKind(kind);
    o->SetAlign(align);
    o->SetBoundsRect(r);
    o->SetFont(Font(kText));
    return o;
}

void Link(TskBitmapLink& l, const QString& bitmap, QRect r) {
    l.name = bitmap;
    l.left = r.left();
    l.top = r.top();
    l.right = r.left() + r.width();
    l.bottom = r.top() + r.height();
}

void Margins(TSkSkinObject* o, int l, int t, int r, int b) {
    o->SetMarginLeft(l);
    o->SetMarginTop(t);
    o->SetMarginRight(r);
    o->SetMarginBottom(b);
}

// Four-state button cells side by side: normal, hot, focused, pressed, disabled.
TSkButtonObject* StateButton(TSkSkinObject* parent, const QString& name, QRect r, const QString& bitmap, QSize cell,
                             std::initializer_list<int> cells /* normal, hot, focused, pressed, disabled */,
                             bool vertical = false) {
    auto* b = Obj<TSkButtonObject>(parent, name, TSkKind::skNone, r);
    TskBitmapLink* links[] = {&b->Bitmap(), &b->BitmapHot(), &b->BitmapFocused(), &b->BitmapPressed(), &b->BitmapDisabled()};
    int k = 0;
    for (int c : cells) {
        const QPoint at = vertical ? QPoint(0, c * cell.height()) : QPoint(c * cell.width(), 0);
        Link(*links[k++], bitmap, QRect(at, cell));
    }
    return b;
}

TSkTextObject* TextPart(TSkSkinObject* parent, const QColor& normal, const QColor& hot, const QColor& focused) {
    auto* t = Obj<TSkTextObject>(parent, QStringLiteral("Text"), TSkKind::skItemText, QRect(0, 0, 0, 0));
    t->SetColor(clNone);
    t->SetFont(Font(normal));
    t->fontHot_ = Font(hot);
    t->fontFocused_ = Font(focused);
    t->fontPressed_ = Font(focused);
    t->fontDisabled_ = Font(kTextSoft);
    return t;
}

struct FrameSpec {
    QString name;
    int width, height;
    const FrameLook& look;
    bool toolWindow;
};

std::unique_ptr<TSkSkinObject> Frame(const FrameSpec& s) {
    const FrameLook& look = s.look;
    const int W = s.width, H = s.height, C = look.caption, side = look.side, bottom = look.bottom, band = 4;
    auto form = std::make_unique<TSkSkinObject>();
    form->SetName(s.name);
    form->SetKind(TSkKind::skForm);
    form->SetBounds(0, 0, W, H);
    form->SetColor(ToTColor(kBody));
    form->SetFont(Font(kText));

    const QString captionSheet = SheetName(look, "_caption");
    auto* caption = Obj<TSkActiveBitmap>(form.get(), QStringLiteral("Caption"), TSkKind::skCaption, QRect(0, 0, W, C), TSkAlign::saMostTop);
    caption->SetDrawIfOwner(true);
    Link(caption->Bitmap(), captionSheet, QRect(0, C, 64, C));
    Link(caption->ActiveBitmap(), captionSheet, QRect(0, 0, 64, C));
    Margins(caption, 8, 0, 8, 0);
    caption->SetTileStyle(TskTileStyle::tsStretch);
    caption->SetBorderTileStyle(TskTileStyle::tsStretch);

    // The top resize band, then the title below it.
    auto* top = Obj<TSkSkinObject>(caption, QStringLiteral("Top"), TSkKind::skTop, QRect(0, 0, W, band), TSkAlign::saTop);
    top->SetColor(clNone);
    auto* title = Obj<TSkActiveObject>(caption, QStringLiteral("Title"), TSkKind::skTitle, QRect(0, band, W, C - band), TSkAlign::saClient);
    title->SetColor(clNone);
    title->SetActiveColor(clNone);
    const int fontH = s.toolWindow ? -12 : -13;
    title->SetFont(Font(QColor(0xE8, 0xEC, 0xF1), fontH, fsBold));
    title->SetActiveFont(Font(kWhite, fontH, fsBold));
    title->SetTextMarginLeft(s.toolWindow ? 10 : 36);
    title->SetTextMarginRight(s.toolWindow ? 34 : 136);
    const int corner = side + 2;
    auto* tl = Obj<TSkSkinObject>(caption, QStringLiteral("TopLeft"), TSkKind::skTopLeft, QRect(0, 0, corner, corner), TSkAlign::saTopLeft);
    tl->SetColor(clNone);
    auto* tr = Obj<TSkSkinObject>(caption, QStringLiteral("TopRight"), TSkKind::skTopRight, QRect(W - corner, 0, corner, corner), TSkAlign::saTopRight);
    tr->SetColor(clNone);

    // Buttons sit in the middle of the title, below the resize band.
    auto middle = [&](int h) { return band + (C - band - h) / 2; };
    auto sysButton = [&](const QString& name, TSkAction action, const QString& bitmap, int right, QSize cell) {
        const int left = W - right - cell.width();
        auto* b = Obj<TSkSystemButton>(caption, name, TSkKind::skSysButton, QRect(QPoint(left, middle(cell.height())), cell),
                                       TSkAlign::saTopRight);
        b->SetAction(action);
        Link(b->Bitmap(), bitmap, QRect(QPoint(0, 0), cell));
        Link(b->ActiveBitmap(), bitmap, QRect(QPoint(cell.width(), 0), cell));
        Link(b->BitmapHot(), bitmap, QRect(QPoint(2 * cell.width(), 0), cell));
        Link(b->BitmapPressed(), bitmap, QRect(QPoint(3 * cell.width(), 0), cell));
        b->SetColor(ToTColor(kCaptionBottom));
        return b;
    };
    if (s.toolWindow) {
        sysButton(QStringLiteral("CloseButton"), TSkAction::sbaClose, QStringLiteral("zodiraze_sys_toolclose"), side - 2, QSize(22, 18));
    } else {
        auto* icon = Obj<TSkSystemButton>(caption, QStringLiteral("SysMenuButton"), TSkKind::skSysButton,
                                          QRect(12, middle(16), 16, 16), TSkAlign::saTopLeft);
        icon->SetAction(TSkAction::sbaSysMenu);
        const QSize cell(28, 22);
        const int r = side - 8;
        sysButton(QStringLiteral("CloseButton"), TSkAction::sbaClose, QStringLiteral("zodiraze_sys_close"), r, cell);
        sysButton(QStringLiteral("MaximizeButton"), TSkAction::sbaMaximize, QStringLiteral("zodiraze_sys_max"), r + 30, cell);
        sysButton(QStringLiteral("RestoreButton"), TSkAction::sbaRestore, QStringLiteral("zodiraze_sys_restore"), r + 30, cell);
        sysButton(QStringLiteral("MinimizeButton"), TSkAction::sbaMinimize, QStringLiteral("zodiraze_sys_min"), r + 60, cell);
        sysButton(QStringLiteral("RollUpButton"), TSkAction::sbaRollUp, QStringLiteral("zodiraze_sys_rollup"), r + 90, cell);
        sysButton(QStringLiteral("RollDownButton"), TSkAction::sbaRollDown, QStringLiteral("zodiraze_sys_rolldown"), r + 90, cell);
    }

    // The bottom edge with its rounded corners; its ends size the window diagonally.
    const QString bottomSheet = SheetName(look, "_border_bottom");
    const int sheetW = 2 * side + 8;
    auto* bottomObj = Obj<TSkActiveBitmap>(form.get(), QStringLiteral("Bottom"), TSkKind::skBottom, QRect(0, H - bottom, W, bottom),
                                           TSkAlign::saMostBottom);
    bottomObj->SetDrawIfOwner(true);
    Link(bottomObj->Bitmap(), bottomSheet, QRect(0, bottom, sheetW, bottom));
    Link(bottomObj->ActiveBitmap(), bottomSheet, QRect(0, 0, sheetW, bottom));
    Margins(bottomObj, side, 0, side, 0);
    bottomObj->SetTileStyle(TskTileStyle::tsStretch);
    bottomObj->SetBorderTileStyle(TskTileStyle::tsStretch);
    const int grab = std::max(16, side);
    auto* bl = Obj<TSkSkinObject>(bottomObj, QStringLiteral("BottomLeft"), TSkKind::skBottomLeft, QRect(0, H - bottom, grab, bottom), TSkAlign::saLeft);
    bl->SetColor(clNone);
    if (look.grip) {
        auto* br = Obj<TSkBitmapObject>(bottomObj, QStringLiteral("BottomRight"), TSkKind::skBottomRight,
                                        QRect(W - grab, H - bottom, grab, bottom), TSkAlign::saRight);
        Link(br->Bitmap(), SheetName(look, "_grip"), QRect(0, 0, grab, bottom));
        br->SetColor(ToTColor(kBody));
    } else {
        auto* br = Obj<TSkSkinObject>(bottomObj, QStringLiteral("BottomRight"), TSkKind::skBottomRight,
                                      QRect(W - grab, H - bottom, grab, bottom), TSkAlign::saRight);
        br->SetColor(clNone);
    }

    auto side_ = [&](const QString& name, TSkKind kind, TSkAlign align, int left, const QString& bitmap) {
        auto* o = Obj<TSkActiveBitmap>(form.get(), name, kind, QRect(left, C, side, H - C - bottom), align);
        Link(o->Bitmap(), bitmap, QRect(side, 0, side, 8));
        Link(o->ActiveBitmap(), bitmap, QRect(0, 0, side, 8));
        o->SetTileStyle(TskTileStyle::tsStretch);
    };
    side_(QStringLiteral("Left"), TSkKind::skLeft, TSkAlign::saLeft, 0, SheetName(look, "_border_left"));
    side_(QStringLiteral("Right"), TSkKind::skRight, TSkAlign::saRight, W - side, SheetName(look, "_border_right"));

    auto* client = Obj<TSkSkinObject>(form.get(), QStringLiteral("Client"), TSkKind::skClient,
                                      QRect(side, C, W - 2 * side, H - C - bottom), TSkAlign::saClient);
    client->SetColor(ToTColor(kBody));
    form->Realign(false);
    return form;
}

std::unique_ptr<TSkSkinObject> Top(const QString& name, TSkKind kind, QSize size) {
    auto o = std::make_unique<TSkSkinObject>();
    o->SetName(name);
    o->SetKind(kind);
    o->SetBounds(0, 0, size.width(), size.height());
    o->SetColor(ToTColor(kBody));
    o->SetFont(Font(kText));
    return o;
}

TSkBitmapObject* NineSlice(TSkSkinObject* parent, const QString& name, QRect r, const QString& bitmap, QRect src, int m,
                           TSkAlign align = TSkAlign::saClient) {
    auto* o = Obj<TSkBitmapObject>(parent, name, TSkKind::skNone, r, align);
    Link(o->Bitmap(), bitmap, src);
    Margins(o, m, m, m, m);
    o->SetTileStyle(TskTileStyle::tsStretch);
    o->SetBorderTileStyle(TskTileStyle::tsStretch);
    return o;
}

void SkinMaker::Objects() {
    s_.AddObject(Frame({QStringLiteral("Form"), 400, 300, kFormLook, false}));
    s_.AddObject(Frame({QStringLiteral("ToolWindow"), 240, 160, kToolLook, true}));

    {   // menu bar: 19 pixels high, items 17 high between one-pixel margins
        auto bar = Top(QStringLiteral("MenuBar"), TSkKind::skMenuBar, QSize(300, 19));
        auto* frame = Obj<TSkBitmapObject>(bar.get(), QStringLiteral("Frame"), TSkKind::skNone, QRect(0, 0, 300, 19), TSkAlign::saClient);
        Link(frame->Bitmap(), QStringLiteral("zodiraze_menubar"), QRect(0, 0, 8, 19));
        Margins(frame, 2, 1, 2, 1);
        frame->SetTileStyle(TskTileStyle::tsStretch);
        frame->SetBorderTileStyle(TskTileStyle::tsStretch);
        for (const QString& name : {QStringLiteral("Item"), QStringLiteral("ToolbarItem")}) {
            auto* item = Obj<TSkActiveBitmap>(bar.get(), name, TSkKind::skMenuBarItem, QRect(2, 1, 60, 17));
            Link(item->Bitmap(), QStringLiteral("zodiraze_menuitem"), QRect(0, 0, 24, 17));
            Link(item->ActiveBitmap(), QStringLiteral("zodiraze_menuitem"), QRect(0, 17, 24, 17));
            Margins(item, 5, 5, 5, 5);
            item->SetTileStyle(TskTileStyle::tsStretch);
            item->SetBorderTileStyle(TskTileStyle::tsStretch);
            item->SetTextAlign(TSkTextAlign::taCenter);
            item->SetTextMarginLeft(9);
            item->SetTextMarginRight(9);
            item->SetActiveFont(Font(kAccent.darker(150)));
        }
        int x = 250;
        for (const QString& name : {QStringLiteral("Min"), QStringLiteral("Restore"), QStringLiteral("Close")}) {
            const int cell = name == QLatin1String("Min") ? 0 : name == QLatin1String("Restore") ? 1 : 2;
            auto* b = StateButton(bar.get(), name, QRect(x, 2, 16, 14), QStringLiteral("zodiraze_mdi"), QSize(16, 14), {cell});
            b->SetAlign(TSkAlign::saTopRight);
            x += 16;
        }
        s_.AddObject(std::move(bar));
    }
    {   // popup menu
        auto menu = Top(QStringLiteral("PopupMenu"), TSkKind::skPopupMenu, QSize(160, 80));
        menu->SetColor(ToTColor(kWhite));
        NineSlice(menu.get(), QStringLiteral("Frame"), QRect(0, 0, 160, 80), QStringLiteral("zodiraze_popup"), QRect(0, 0, 16, 16), 2);
        auto* item = Obj<TSkActiveBitmap>(menu.get(), QStringLiteral("Item"), TSkKind::skPopupMenuItem, QRect(2, 2, 156, 22));
        Link(item->Bitmap(), QStringLiteral("zodiraze_popupitem"), QRect(0, 0, 16, 22));
        Link(item->ActiveBitmap(), QStringLiteral("zodiraze_popupitem"), QRect(0, 22, 16, 22));
        Margins(item, 4, 4, 4, 4);
        item->SetTileStyle(TskTileStyle::tsStretch);
        item->SetBorderTileStyle(TskTileStyle::tsStretch);
        item->SetTextMarginLeft(28);
        item->SetTextMarginRight(12);
        item->SetActiveFont(Font(kAccent.darker(130)));
        auto* sep = Obj<TSkBitmapObject>(menu.get(), QStringLiteral("Separator"), TSkKind::skNone, QRect(2, 24, 156, 7));
        Link(sep->Bitmap(), QStringLiteral("zodiraze_separator"), QRect(0, 0, 16, 7));
        sep->SetTileStyle(TskTileStyle::tsStretch);
        s_.AddObject(std::move(menu));
    }
    {   // tabs
        auto tabs = Top(QStringLiteral("Tabs"), TSkKind::skNone, QSize(300, 200));
        tabs->SetColor(ToTColor(kWhite));
        NineSlice(tabs.get(), QStringLiteral("Frame"), QRect(0, 26, 300, 174), QStringLiteral("zodiraze_tabframe"), QRect(0, 0, 8, 8), 1,
                  TSkAlign::saNone);
        struct TabSide { const char* name; const char* bitmap; bool vertical; };
        for (const TabSide& t : {TabSide{"Tab", "zodiraze_tab", false}, TabSide{"TabTop", "zodiraze_tab", false},
                                 TabSide{"TabBottom", "zodiraze_tab_bottom", false}, TabSide{"TabLeft", "zodiraze_tab_left", true},
                                 TabSide{"TabRight", "zodiraze_tab_right", true}}) {
            const QSize cell = t.vertical ? QSize(26, 40) : QSize(40, 26);
            auto* tab = StateButton(tabs.get(), QString::fromLatin1(t.name), QRect(QPoint(0, 0), cell), QString::fromLatin1(t.bitmap),
                                    cell, {0, 1, 2, 2}, t.vertical);
            Margins(tab, 5, 5, 5, 5);
            tab->SetTileStyle(TskTileStyle::tsStretch);
            tab->SetBorderTileStyle(TskTileStyle::tsStretch);
        }
        auto* text = TextPart(tabs.get(), kText, kAccent.darker(120), kText);
        text->fontFocused_ = Font(kText, -12, fsBold);
        auto* lb = StateButton(tabs.get(), QStringLiteral("LeftButton"), QRect(264, 4, 16, 16), QStringLiteral("zodiraze_arrows"), QSize(16, 16), {0, 1, 1, 2, 3});
        lb->SetAlign(TSkAlign::saTopRight);
        auto* rb = StateButton(tabs.get(), QStringLiteral("RightButton"), QRect(280, 4, 16, 16), QStringLiteral("zodiraze_arrows"), QSize(16, 16), {0, 1, 1, 2, 3});
        rb->SetAlign(TSkAlign::saTopRight);
        for (TskBitmapLink* l : {&rb->Bitmap(), &rb->BitmapHot(), &rb->BitmapFocused(), &rb->BitmapPressed(), &rb->BitmapDisabled()}) {
            l->top += 16;
            l->bottom += 16;
        }
        s_.AddObject(std::move(tabs));
    }
    {   // edit
        auto edit = Top(QStringLiteral("Edit"), TSkKind::skNone, QSize(121, 21));
        edit->SetColor(ToTColor(kWhite));
        auto* frame = StateButton(edit.get(), QStringLiteral("Frame"), QRect(0, 0, 121, 21), QStringLiteral("zodiraze_edit"), QSize(16, 16), {0, 1, 2, 2, 3});
        frame->SetAlign(TSkAlign::saClient);
        Margins(frame, 4, 4, 4, 4);
        frame->SetTileStyle(TskTileStyle::tsStretch);
        frame->SetBorderTileStyle(TskTileStyle::tsStretch);
        TextPart(edit.get(), kText, kText, kText);
        s_.AddObject(std::move(edit));
    }
    // Radio buttons and check boxes.
    for (int kind = 0; kind < 2; ++kind) {
        auto box = Top(kind == 0 ? QStringLiteral("RadioButton") : QStringLiteral("CheckBox"), TSkKind::skNone, QSize(100, 17));
        box->SetColor(clNone);
        const QString bitmap = kind == 0 ? QStringLiteral("zodiraze_radio") : QStringLiteral("zodiraze_check");
        StateButton(box.get(), QStringLiteral("Unchecked"), QRect(0, 2, 13, 13), bitmap, QSize(13, 13), {0, 1, 1, 2, 3});
        StateButton(box.get(), QStringLiteral("Checked"), QRect(0, 2, 13, 13), bitmap, QSize(13, 13), {4, 5, 5, 6, 7});
        TextPart(box.get(), kText, kAccent.darker(120), kText);
        s_.AddObject(std::move(box));
    }
    {   // push button
        auto button = Top(QStringLiteral("Button"), TSkKind::skNone, QSize(75, 25));
        button->SetColor(clNone);
        auto* face = StateButton(button.get(), QStringLiteral("Face"), QRect(0, 0, 75, 25), QStringLiteral("zodiraze_button"),
                                 QSize(32, 24), {0, 1, 2, 3, 4});
        face->SetAlign(TSkAlign::saClient);
        Margins(face, 5, 5, 5, 5);
        face->SetTileStyle(TskTileStyle::tsStretch);
        face->SetBorderTileStyle(TskTileStyle::tsStretch);
        TextPart(button.get(), kText, kAccent.darker(130), kText);
        s_.AddObject(std::move(button));
    }
    {   // grid
        auto grid = Top(QStringLiteral("Grid"), TSkKind::skNone, QSize(200, 120));
        grid->SetColor(ToTColor(kWhite));
        NineSlice(grid.get(), QStringLiteral("Frame"), QRect(0, 0, 200, 120), QStringLiteral("zodiraze_gridframe"), QRect(0, 0, 8, 8), 1,
                  TSkAlign::saNone);
        auto* fixed = Obj<TSkBitmapObject>(grid.get(), QStringLiteral("Fixed"), TSkKind::skNone, QRect(1, 1, 64, 24));
        Link(fixed->Bitmap(), QStringLiteral("zodiraze_gridfixed"), QRect(0, 0, 16, 24));
        fixed->SetTileStyle(TskTileStyle::tsStretch);
        fixed->SetBorderTileStyle(TskTileStyle::tsStretch);
        fixed->SetTextAlign(TSkTextAlign::taCenter);
        auto* cell = Obj<TSkActiveObject>(grid.get(), QStringLiteral("Cell"), TSkKind::skNone, QRect(1, 25, 64, 24));
        cell->SetColor(ToTColor(kWhite));
        cell->SetActiveColor(ToTColor(kAccentPale));
        cell->SetActiveFont(Font(kText));
        cell->SetTextAlign(TSkTextAlign::taCenter);
        s_.AddObject(std::move(grid));
    }
    {   // panel
        auto panel = Top(QStringLiteral("Panel"), TSkKind::skNone, QSize(185, 105));
        NineSlice(panel.get(), QStringLiteral("Frame"), QRect(0, 0, 185, 105), QStringLiteral("zodiraze_panel"), QRect(0, 0, 16, 16), 5,
                  TSkAlign::saNone);
        auto* cap = Obj<TSkBitmapObject>(panel.get(), QStringLiteral("Caption"), TSkKind::skCaption, QRect(0, 0, 185, 22));
        Link(cap->Bitmap(), QStringLiteral("zodiraze_panelcaption"), QRect(0, 0, 16, 22));
        Margins(cap, 5, 0, 5, 0);
        cap->SetTileStyle(TskTileStyle::tsStretch);
        cap->SetBorderTileStyle(TskTileStyle::tsStretch);
        cap->SetTextMarginLeft(8);
        cap->SetFont(Font(kText, -12, fsBold));
        int cell = 0, x = 165;
        for (const QString& name : {QStringLiteral("ButtonRollup"), QStringLiteral("ButtonRolldown"), QStringLiteral("ButtonHide"),
                                    QStringLiteral("Button")}) {
            auto* b = StateButton(panel.get(), name, QRect(x, 4, 14, 14), QStringLiteral("zodiraze_panelbuttons"), QSize(14, 14), {cell++});
            b->SetAlign(TSkAlign::saTopRight);
        }
        s_.AddObject(std::move(panel));
    }
    {   // scroll bar
        auto bar = Top(QStringLiteral("ScrollBar"), TSkKind::skNone, QSize(16, 100));
        auto* track = Obj<TSkBitmapObject>(bar.get(), QStringLiteral("Frame"), TSkKind::skNone, QRect(0, 0, 16, 100), TSkAlign::saNone);
        Link(track->Bitmap(), QStringLiteral("zodiraze_scrolltrack"), QRect(0, 0, 16, 16));
        track->SetTileStyle(TskTileStyle::tsStretch);
        for (const QString& name : {QStringLiteral("ThumbHorz"), QStringLiteral("ThumbVert")}) {
            auto* thumb = StateButton(bar.get(), name, QRect(0, 16, 16, 16), QStringLiteral("zodiraze_thumb"), QSize(16, 16), {0, 1, 1, 2, 0});
            Margins(thumb, 5, 5, 5, 5);
            thumb->SetTileStyle(TskTileStyle::tsStretch);
            thumb->SetBorderTileStyle(TskTileStyle::tsStretch);
        }
        struct Arrow { const char* name; int row; };
        for (const Arrow& a : {Arrow{"ButtonLeft", 0}, Arrow{"ButtonRight", 1}, Arrow{"ButtonUp", 2}, Arrow{"ButtonDown", 3}}) {
            auto* b = StateButton(bar.get(), QString::fromLatin1(a.name), QRect(0, 0, 16, 16), QStringLiteral("zodiraze_arrows"), QSize(16, 16),
                                  {0, 1, 1, 2, 3});
            for (TskBitmapLink* l : {&b->Bitmap(), &b->BitmapHot(), &b->BitmapFocused(), &b->BitmapPressed(), &b->BitmapDisabled()}) {
                l->top += 16 * a.row;
                l->bottom += 16 * a.row;
            }
        }
        s_.AddObject(std::move(bar));
    }
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw EStreamError(QStringLiteral("Cannot write %1").arg(path));
}

// Small inputs for the fuzzers: the skin with its bitmaps cut to 2 x 2, in
// each layout (alone, and behind the byte that picks it), and each top-level
// object in both component forms.
void WriteSeeds(TSkSkinSource& skin, const QString& dir) {
    TSkSkinSource small;
    small.SetSkinName(skin.SkinName());
    small.SetSkinVersion(skin.SkinVersion());
    small.SetAuthor(skin.Author());
    small.SetAuthorEMail(skin.AuthorEMail());
    small.SetAuthorURL(skin.AuthorURL());
    for (int k = 0; k < skin.Bitmaps().Count(); ++k) {
        const TskBitmap& b = *skin.Bitmaps().At(k);
        auto cut = std::make_unique<TskBitmap>(b.Name(), 2, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) cut->SetPixel(x, y, b.Pixel(x, y));
        small.Bitmaps().Add(std::move(cut));
    }
    for (int k = 0; k < skin.ObjectCount(); ++k) small.AddObject(std::unique_ptr<TSkSkinObject>(CloneSkinObject(*skin.Object(k))));
    const QDir root(dir);
    for (const char* sub : {"skin_plain", "skin_records", "skin_compressed", "component_binary", "component_text", "skin_face"})
        root.mkpath(QString::fromLatin1(sub));
    const QByteArray layouts[] = {TSkSkinFilter(&small).WriteSkinBytes(), TSkSkinFilterMaxCompression(&small).WriteSkinBytes(),
                                  small.SaveToBytes()};
    WriteFile(root.filePath(QStringLiteral("skin_plain/zodiraze_small.uskn")), layouts[0]);
    WriteFile(root.filePath(QStringLiteral("skin_records/zodiraze_small.mskn")), layouts[1]);
    WriteFile(root.filePath(QStringLiteral("skin_compressed/zodiraze_small.cskn")), layouts[2]);
    // The whole-skin fuzzer reads a byte that picks the layout, then the skin.
    const char* faces[] = {"skin_face/plain.skin", "skin_face/records.skin", "skin_face/compressed.skin"};
    for (int k = 0; k < 3; ++k) WriteFile(root.filePath(QString::fromLatin1(faces[k])), char(k) + layouts[k]);
    for (int k = 0; k < small.ObjectCount(); ++k) {
        const ComponentData d = small.Object(k)->Save();
        WriteFile(root.filePath(QStringLiteral("component_binary/%1.bin").arg(d.name)), WriteComponentBinary(d));
        WriteFile(root.filePath(QStringLiteral("component_text/%1.txt").arg(d.name)), WriteComponentText(d));
    }
}

// Yellow and orange squares behind the window frames: no frame colour is
// near them, so a missing edge or corner shows at once.
void Checkerboard(QPainter& p, QRect r) {
    for (int y = r.top(); y < r.bottom(); y += 8)
        for (int x = r.left(); x < r.right(); x += 8)
            p.fillRect(QRect(x, y, 8, 8) & r, ((x - r.left()) / 8 + (y - r.top()) / 8) % 2 ? QColor(0xFF, 0xD8, 0x4D) : QColor(0xF2, 0x8C, 0x28));
}

// A sheet with the window frames and every control object, to look at.
void WritePreview(const QString& skinFile, const QString& path) {
    TSkSkinSource skin;  // as the program sees it: loaded, links resolved
    skin.LoadFromFile(skinFile);
    QImage img(600, 600, QImage::Format_RGB32);
    img.fill(QColor(0x60, 0x70, 0x80));
    QPainter p(&img);
    Checkerboard(p, QRect(0, 0, 600, 290));
    enum class Look { Active, Inactive };
    auto place = [&](const QString& name, QRect r, int state, const QString& text, const QString& part = QString(),
                     Look look = Look::Active) {
        // Controls draw their objects from their own origin.
        std::unique_ptr<TSkSkinObject> o(CloneSkinObject(*skin.GetObjectByName(name)));
        const QRect at(QPoint(0, 0), r.size());
        o->SetBoundsRect(at);
        o->SetActive(part.isEmpty() && look == Look::Active);
        o->SetState(state);
        if (TSkSkinObject* t = o->FindByKind(TSkKind::skTitle)) t->SetText(text);
        TSkSkinObject* target = part.isEmpty() ? o.get() : o->FindByName(part);
        if (!part.isEmpty()) {
            target->SetBoundsRect(at);
            target->SetText(text);
        }
        p.save();
        p.translate(r.topLeft());
        target->Draw(p);
        p.restore();
    };
    place(QStringLiteral("Form"), QRect(10, 10, 380, 270), 0, QStringLiteral("Markwise07.7"));
    place(QStringLiteral("ToolWindow"), QRect(405, 10, 185, 110), 0, QStringLiteral("Tool"));
    place(QStringLiteral("Form"), QRect(405, 130, 185, 100), 0, QStringLiteral("Inactive"), QString(), Look::Inactive);
    place(QStringLiteral("ToolWindow"), QRect(405, 240, 185, 42), skstate::RolledUp, QStringLiteral("Tool"), QString(), Look::Inactive);
    const int y = 30;  // the controls below the caption of the big frame
    place(QStringLiteral("MenuBar"), QRect(26, 16 + y, 348, 26), 0, QString(), QStringLiteral("Frame"));
    place(QStringLiteral("MenuBar"), QRect(30, 18 + y, 70, 22), skstate::Hot, QStringLiteral("文档制作"), QStringLiteral("Item"));
    place(QStringLiteral("MenuBar"), QRect(100, 18 + y, 70, 22), 0, QStringLiteral("帮助"), QStringLiteral("Item"));
    place(QStringLiteral("Tabs"), QRect(34, 74 + y, 332, 150), 0, QString(), QStringLiteral("Frame"));
    place(QStringLiteral("Tabs"), QRect(34, 50 + y, 70, 26), skstate::Focused, QString(), QStringLiteral("TabTop"));
    place(QStringLiteral("Tabs"), QRect(104, 52 + y, 70, 24), 0, QString(), QStringLiteral("TabTop"));
    place(QStringLiteral("Tabs"), QRect(174, 52 + y, 70, 24), skstate::Hot, QString(), QStringLiteral("TabTop"));
    place(QStringLiteral("Edit"), QRect(50, 94 + y, 121, 21), 0, QString(), QStringLiteral("Frame"));
    place(QStringLiteral("Edit"), QRect(50, 124 + y, 121, 21), skstate::Focused, QString(), QStringLiteral("Frame"));
    place(QStringLiteral("Button"), QRect(200, 94 + y, 75, 25), 0, QString(), QStringLiteral("Face"));
    place(QStringLiteral("Button"), QRect(200, 124 + y, 75, 25), skstate::Hot, QString(), QStringLiteral("Face"));
    place(QStringLiteral("Button"), QRect(200, 154 + y, 75, 25), skstate::Pressed, QString(), QStringLiteral("Face"));
    place(QStringLiteral("Button"), QRect(285, 94 + y, 75, 25), skstate::Disabled, QString(), QStringLiteral("Face"));
    place(QStringLiteral("RadioButton"), QRect(50, 164 + y, 13, 13), 0, QString(), QStringLiteral("Checked"));
    place(QStringLiteral("RadioButton"), QRect(70, 164 + y, 13, 13), 0, QString(), QStringLiteral("Unchecked"));
    place(QStringLiteral("CheckBox"), QRect(90, 164 + y, 13, 13), 0, QString(), QStringLiteral("Checked"));
    place(QStringLiteral("CheckBox"), QRect(110, 164 + y, 13, 13), skstate::Hot, QString(), QStringLiteral("Unchecked"));
    const int below = 300;
    place(QStringLiteral("Grid"), QRect(20, below, 200, 120), 0, QString(), QStringLiteral("Frame"));
    place(QStringLiteral("Grid"), QRect(21, below + 1, 80, 24), 0, QStringLiteral("等级"), QStringLiteral("Fixed"));
    place(QStringLiteral("Grid"), QRect(21, below + 25, 80, 24), skstate::Focused, QStringLiteral("优"), QStringLiteral("Cell"));
    place(QStringLiteral("Panel"), QRect(240, below, 150, 100), 0, QString(), QStringLiteral("Frame"));
    place(QStringLiteral("PopupMenu"), QRect(405, below, 150, 60), 0, QString(), QStringLiteral("Frame"));
    place(QStringLiteral("PopupMenu"), QRect(407, below + 2, 146, 22), skstate::Hot, QStringLiteral("Copy"), QStringLiteral("Item"));
    place(QStringLiteral("PopupMenu"), QRect(407, below + 24, 146, 7), 0, QString(), QStringLiteral("Separator"));
    place(QStringLiteral("PopupMenu"), QRect(407, below + 31, 146, 22), 0, QStringLiteral("Paste"), QStringLiteral("Item"));
    place(QStringLiteral("ScrollBar"), QRect(570, below, 16, 16), 0, QString(), QStringLiteral("ButtonUp"));
    place(QStringLiteral("ScrollBar"), QRect(570, below + 16, 16, 60), 0, QString(), QStringLiteral("Frame"));
    place(QStringLiteral("ScrollBar"), QRect(570, below + 26, 16, 30), 0, QString(), QStringLiteral("ThumbVert"));
    place(QStringLiteral("ScrollBar"), QRect(570, below + 76, 16, 16), 0, QString(), QStringLiteral("ButtonDown"));
    p.end();
    img.save(path);
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: make_zodiraze OUT.cskn [--seeds DIR] [--preview PNG]\n");
        return 2;
    }
    try {
        TSkSkinSource skin;
        skin.SetSkinName(QStringLiteral("Zodiraze"));
        skin.SetSkinVersion(QStringLiteral("3.1.0"));
        skin.SetAuthor(QStringLiteral("markwise team"));
        skin.SetAuthorEMail(QStringLiteral("markwise@localhost"));
        skin.SetAuthorURL(QString());
        SkinMaker maker(skin);
        maker.Bitmaps();
        maker.Objects();
        skin.SaveToFile(args[1]);
        for (int k = 2; k + 1 < args.size(); k += 2) {
            if (args[k] == QLatin1String("--seeds")) WriteSeeds(skin, args[k + 1]);
            else if (args[k] == QLatin1String("--preview")) WritePreview(args[1], args[k + 1]);
        }
        std::printf("%s: %d bitmaps, %d objects\n", qPrintable(args[1]), skin.Bitmaps().Count(), skin.ObjectCount());
    } catch (const Exception& e) {
        std::fprintf(stderr, "make_zodiraze: %s\n", e.what());
        return 1;
    }
    return 0;
}
