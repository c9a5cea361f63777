#include "skin_plain_frame.h"

#include "colors.h"
#include "skin_object.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr int kSide = 4, kBottom = 4, kTopBand = 4;
constexpr QSize kDesign(300, 200);

enum class Mark { Close, Maximize, Restore, Minimize, RollUp, RollDown };

// One-pixel strokes on the pixel grid: crisp at any scale factor.
void DrawMark(QPainter& p, Mark m, QRect cell, const QColor& c) {
    const QRect box(cell.center().x() - 4, cell.center().y() - 4, 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    auto line = [&](int x, int y, int w, int h) { p.drawRect(QRect(x, y, w, h)); };
    switch (m) {
    case Mark::Close:
        for (int k = 0; k < 9; ++k) {
            line(box.left() + k, box.top() + k, 1, 1);
            line(box.right() - k, box.top() + k, 1, 1);
        }
        break;
    case Mark::Maximize:
        line(box.left(), box.top(), 9, 2);
        line(box.left(), box.bottom(), 9, 1);
        line(box.left(), box.top(), 1, 9);
        line(box.right(), box.top(), 1, 9);
        break;
    case Mark::Restore:
        line(box.left() + 2, box.top(), 7, 2);
        line(box.right(), box.top(), 1, 6);
        line(box.left(), box.top() + 3, 6, 2);
        line(box.left(), box.bottom(), 6, 1);
        line(box.left(), box.top() + 3, 1, 6);
        line(box.left() + 5, box.top() + 3, 1, 6);
        break;
    case Mark::Minimize: line(box.left(), box.bottom() - 1, 9, 2); break;
    case Mark::RollUp:
        for (int k = 0; k < 5; ++k) line(box.left() + 4 - k, box.top() + 2 + k, 2 * k + 1, 1);
        break;
    case Mark::RollDown:
        for (int k = 0; k < 5; ++k) line(box.left() + k, box.top() + 2 + k, 9 - 2 * k, 1);
        break;
    }
}

// Four cells: inactive, active, hot, pressed. Opaque pixels on the key
// colour, which the drawing skips.
std::unique_ptr<TskBitmap> ButtonSheet(const QString& name, Mark m, QSize cell, bool danger) {
    QImage img(cell.width() * 4, cell.height(), QImage::Format_ARGB32);
    img.fill(QColor(0x7F, 0x00, 0x7F));
    {
        QPainter p(&img);
        const QColor caption = ToQColor(clActiveCaption);
        const QRect c0(QPoint(0, 0), cell);
        p.fillRect(c0.translated(2 * cell.width(), 0).adjusted(1, 1, -1, -1), danger ? QColor(0xC4, 0x2B, 0x1C) : caption.lighter(150));
        p.fillRect(c0.translated(3 * cell.width(), 0).adjusted(1, 1, -1, -1), danger ? QColor(0x94, 0x1E, 0x13) : caption.darker(140));
        DrawMark(p, m, c0, ToQColor(clInactiveCaptionText));
        for (int k = 1; k < 4; ++k) DrawMark(p, m, c0.translated(k * cell.width(), 0), ToQColor(clCaptionText));
    }
    auto b = std::make_unique<TskBitmap>(name, img.width(), img.height());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) b->SetPixel(x, y, img.pixel(x, y));
    b->ApplyKeyColor();
    return b;
}

template <class T>
T* Part(TSkSkinObject* parent, const QString& name, TSkKind kind, TSkAlign align, QRect r) {
    T* o = new T(parent);
    o->SetName(name);
    o->SetKind(kind);
    o->SetAlign(align);
    o->SetBoundsRect(r);
    return o;
}

// Filled with the inactive colour, the active one while the window is active.
TSkActiveObject* Band(TSkSkinObject* parent, const QString& name, TSkKind kind, TSkAlign align, QRect r) {
    auto* o = Part<TSkActiveObject>(parent, name, kind, align, r);
    o->SetColor(clInactiveCaption);
    o->SetActiveColor(clActiveCaption);
    return o;
}

TSkSkinObject* Spot(TSkSkinObject* parent, const QString& name, TSkKind kind, TSkAlign align, QRect r) {
    auto* o = Part<TSkSkinObject>(parent, name, kind, align, r);
    o->SetColor(clNone);
    return o;
}

std::unique_ptr<TSkSkinObject> BuildForm(bool tool) {
    const int W = kDesign.width(), H = kDesign.height(), C = tool ? 22 : 26;
    const QSize cell = tool ? QSize(18, 16) : QSize(24, 18);
    auto form = std::make_unique<TSkSkinObject>();
    form->SetName(tool ? QStringLiteral("ToolWindow") : QStringLiteral("Form"));
    form->SetKind(TSkKind::skForm);
    form->SetBounds(0, 0, W, H);
    form->SetColor(clBtnFace);

    auto* caption = Band(form.get(), QStringLiteral("Caption"), TSkKind::skCaption, TSkAlign::saMostTop, QRect(0, 0, W, C));
    caption->SetDrawIfOwner(true);
    Spot(caption, QStringLiteral("Top"), TSkKind::skTop, TSkAlign::saTop, QRect(0, 0, W, kTopBand));
    auto* title = Part<TSkActiveObject>(caption, QStringLiteral("Title"), TSkKind::skTitle, TSkAlign::saClient, QRect(0, kTopBand, W, C - kTopBand));
    title->SetColor(clNone);
    title->SetActiveColor(clNone);
    TFontSpec font;
    font.height = tool ? -11 : -12;
    font.style = fsBold;
    font.color = clInactiveCaptionText;
    title->SetFont(font);
    font.color = clCaptionText;
    title->SetActiveFont(font);
    title->SetTextMarginLeft(tool ? 6 : 26);
    title->SetTextMarginRight(tool ? cell.width() + 8 : 4 * cell.width() + 8);
    title->SetTextMarginTop(-kTopBand / 2);
    Spot(caption, QStringLiteral("TopLeft"), TSkKind::skTopLeft, TSkAlign::saTopLeft, QRect(0, 0, 8, 8));
    Spot(caption, QStringLiteral("TopRight"), TSkKind::skTopRight, TSkAlign::saTopRight, QRect(W - 8, 0, 8, 8));

    const int top = kTopBand / 2 + (C - cell.height()) / 2;
    auto button = [&](const QString& name, TSkAction action, const QString& sheet, int slot) {
        auto* b = Part<TSkSystemButton>(caption, name, TSkKind::skSysButton, slot < 0 ? TSkAlign::saTopLeft : TSkAlign::saTopRight,
                                        slot < 0 ? QRect(kSide + 2, top + (cell.height() - 16) / 2, 16, 16)
                                                 : QRect(W - kSide - (slot + 1) * cell.width(), top, cell.width(), cell.height()));
        b->SetAction(action);
        if (sheet.isEmpty()) return;
        auto link = [&](TskBitmapLink& l, int k) {
            l.name = sheet;
            l.left = k * cell.width();
            l.top = 0;
            l.right = l.left + cell.width();
            l.bottom = cell.height();
        };
        link(b->Bitmap(), 0);
        link(b->ActiveBitmap(), 1);
        link(b->BitmapHot(), 2);
        link(b->BitmapPressed(), 3);
    };
    if (tool) {
        button(QStringLiteral("CloseButton"), TSkAction::sbaClose, QStringLiteral("plain_toolclose"), 0);
    } else {
        button(QStringLiteral("SysMenuButton"), TSkAction::sbaSysMenu, QString(), -1);
        button(QStringLiteral("CloseButton"), TSkAction::sbaClose, QStringLiteral("plain_close"), 0);
        button(QStringLiteral("MaximizeButton"), TSkAction::sbaMaximize, QStringLiteral("plain_max"), 1);
        button(QStringLiteral("RestoreButton"), TSkAction::sbaRestore, QStringLiteral("plain_restore"), 1);
        button(QStringLiteral("MinimizeButton"), TSkAction::sbaMinimize, QStringLiteral("plain_min"), 2);
        button(QStringLiteral("RollUpButton"), TSkAction::sbaRollUp, QStringLiteral("plain_rollup"), 3);
        button(QStringLiteral("RollDownButton"), TSkAction::sbaRollDown, QStringLiteral("plain_rolldown"), 3);
    }

    auto* bottom = Band(form.get(), QStringLiteral("Bottom"), TSkKind::skBottom, TSkAlign::saMostBottom, QRect(0, H - kBottom, W, kBottom));
    bottom->SetDrawIfOwner(true);
    Spot(bottom, QStringLiteral("BottomLeft"), TSkKind::skBottomLeft, TSkAlign::saLeft, QRect(0, H - kBottom, 12, kBottom));
    Spot(bottom, QStringLiteral("BottomRight"), TSkKind::skBottomRight, TSkAlign::saRight, QRect(W - 12, H - kBottom, 12, kBottom));
    Band(form.get(), QStringLiteral("Left"), TSkKind::skLeft, TSkAlign::saLeft, QRect(0, C, kSide, H - C - kBottom));
    Band(form.get(), QStringLiteral("Right"), TSkKind::skRight, TSkAlign::saRight, QRect(W - kSide, C, kSide, H - C - kBottom));
    auto* client = Part<TSkSkinObject>(form.get(), QStringLiteral("Client"), TSkKind::skClient, TSkAlign::saClient,
                                       QRect(kSide, C, W - 2 * kSide, H - C - kBottom));
    client->SetColor(clBtnFace);
    client->SetMasked(false);
    form->Realign();
    return form;
}

}  // namespace

TSkPlainFrame::TSkPlainFrame() {
    struct Sheet { const char* name; Mark mark; QSize cell; bool danger; };
    const QSize cell(24, 18), toolCell(18, 16);
    for (const Sheet& s : {Sheet{"plain_close", Mark::Close, cell, true}, Sheet{"plain_max", Mark::Maximize, cell, false},
                           Sheet{"plain_restore", Mark::Restore, cell, false}, Sheet{"plain_min", Mark::Minimize, cell, false},
                           Sheet{"plain_rollup", Mark::RollUp, cell, false}, Sheet{"plain_rolldown", Mark::RollDown, cell, false},
                           Sheet{"plain_toolclose", Mark::Close, toolCell, true}})
        bitmaps_.Add(ButtonSheet(QString::fromLatin1(s.name), s.mark, s.cell, s.danger));
    SetToolWindow(false);
}

TSkPlainFrame::~TSkPlainFrame() = default;

void TSkPlainFrame::SetToolWindow(bool tool) {
    form_ = BuildForm(tool);
    form_->SetBitmaps(&bitmaps_);
    form_->AfterLoad();
}
