#include "skin_tree.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

void TSkSkinObject::Draw(QPainter& p) {
    if (!visible_ || width_ < 1 || height_ < 1) return;
    if (ChildCount() > 0 && !drawIfOwner_) {
        DrawChildren(p);
        return;
    }
    DrawContent(p);
}

void TSkSkinObject::DrawContent(QPainter& p) {
    const TColor c = CurrentColor();
    if (c != clNone) p.fillRect(BoundsRect(), ToQColor(c));
    DrawText(p);
    DrawChildren(p);
}

void TSkSkinObject::DrawChildren(QPainter& p) {
    for (int k = 0; k < ChildCount(); ++k) {
        TSkSkinObject* c = Child(k);
        if (c->visible_ && c->width_ >= 1 && c->height_ >= 1) c->Draw(p);
    }
}

namespace {
int HorizontalFlags(TSkTextAlign a) {
    switch (a) {
    case TSkTextAlign::taTopLeft: case TSkTextAlign::taLeft: case TSkTextAlign::taBottomLeft: return Qt::AlignLeft;
    case TSkTextAlign::taTopRight: case TSkTextAlign::taRight: case TSkTextAlign::taBottomRight: return Qt::AlignRight;
    default: return Qt::AlignHCenter;
    }
}
int VerticalFlags(TSkTextAlign a) {
    switch (a) {
    case TSkTextAlign::taTopLeft: case TSkTextAlign::taTopCenter: case TSkTextAlign::taTopRight: return Qt::AlignTop;
    case TSkTextAlign::taBottomLeft: case TSkTextAlign::taBottomCenter: case TSkTextAlign::taBottomRight: return Qt::AlignBottom;
    default: return Qt::AlignVCenter;
    }
}
int Mirror(int h) { return h == Qt::AlignLeft ? Qt::AlignRight : h == Qt::AlignRight ? Qt::AlignLeft : h; }
}

void TSkSkinObject::DrawText(QPainter& p) {
    const TFontSpec font = GetFont();
    if (text_ == QLatin1String("-")) {
        const QRect sep(left_ + 3, top_ + height_ / 2 - 1, width_ - 6, 1);
        if (sep.width() >= 1) p.fillRect(sep, ToQColor(font.color));
        return;
    }
    if (text_.isEmpty() && text2_.isEmpty()) return;
    const QRect r(QPoint(left_ + textMarginLeft_, top_ + textMarginTop_),
                  QPoint(left_ + width_ - textMarginRight_ - 1, top_ + height_ - 1));
    if (r.width() < 1 || r.height() < 1) return;
    const QFont qf = font.ToQFont();
    p.setFont(qf);
    const QColor color = enabled_ ? ToQColor(font.color) : QColor(0x80, 0x80, 0x80);
    int h = HorizontalFlags(textAlign_);
    const int v = VerticalFlags(textAlign_);
    Qt::LayoutDirection dir = Qt::LeftToRight;
    if (rtlMode_ != 0) {  // right-to-left reading mirrors the alignment
        h = Mirror(h);
        if (rtlMode_ == 2) dir = Qt::RightToLeft;
    }
    p.setLayoutDirection(dir);
    if (!text_.isEmpty()) {
        QString shown = text_;
        if (kind_ == TSkKind::skTitle)
            shown = QFontMetrics(qf).elidedText(text_, Qt::ElideRight, std::max(0, width_ - textMarginLeft_ - textMarginRight_));
        const int flags = Qt::TextSingleLine | h | v | (showAccelChar_ ? Qt::TextShowMnemonic : 0);
        if (textEffect_ == TSkTextEffect::teShadow) {
            p.setPen(Qt::black);
            p.drawText(r.translated(1, 1), flags, shown);
        }
        p.setPen(color);
        p.drawText(r, flags, shown);
    }
    if (!text2_.isEmpty()) {
        p.setPen(color);
        p.drawText(r, Qt::TextSingleLine | Mirror(h) | v, text2_);
    }
    p.setLayoutDirection(Qt::LeftToRight);
}

void TSkSkinObject::DrawPiece(QPainter& p, const TskBitmapLink& link, QRect src, QRect dst, TskTileStyle style,
                              bool transparent) {
    if (dst.width() < 1 || dst.height() < 1 || src.width() < 1 || src.height() < 1) return;
    switch (style) {
    case TskTileStyle::tsStretch: DrawSkinBitmap(p, *link.bitmap, src, dst, transparent); break;
    case TskTileStyle::tsTile: DrawSkinBitmap(p, *link.bitmap, src, dst, transparent, TskFit::Tile); break;
    case TskTileStyle::tsCenter: {
        const QRect at(left_ + (width_ - src.width()) / 2, top_ + (height_ - src.height()) / 2, src.width(), src.height());
        DrawSkinBitmap(p, *link.bitmap, src, at, transparent);
        break;
    }
    }
}

void TSkSkinObject::DrawLink(QPainter& p, const TskBitmapLink& link, TskTileStyle tile, TskTileStyle border) {
    const int ml = marginLeft_, mt = marginTop_, mr = marginRight_, mb = marginBottom_;
    const int W = width_, H = height_;
    const QRect S = link.Rect();
    const int sl = S.left(), st = S.top(), sr = link.right, sb = link.bottom;
    auto piece = [&](int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); };
    auto dest = [&](int l, int t, int r, int b) { return QRect(left_ + l, top_ + t, r - l, b - t); };
    if (ml == 0 && mt == 0 && mr == 0 && mb == 0) {
        DrawPiece(p, link, S, BoundsRect(), tile, link.centerTransparent);
        return;
    }
    DrawPiece(p, link, piece(sl + ml, st + mt, sr - mr, sb - mb), dest(ml, mt, W - mr, H - mb), tile, link.centerTransparent);
    const bool edges = link.bordersTransparent;
    DrawPiece(p, link, piece(sl + ml, st, sr - mr, st + mt), dest(ml, 0, W - mr, mt), border, edges);
    DrawPiece(p, link, piece(sl + ml, sb - mb, sr - mr, sb), dest(ml, H - mb, W - mr, H), border, edges);
    DrawPiece(p, link, piece(sl, st + mt, sl + ml, sb - mb), dest(0, mt, ml, H - mb), border, edges);
    DrawPiece(p, link, piece(sr - mr, st + mt, sr, sb - mb), dest(W - mr, mt, W, H - mb), border, edges);
    const bool corners = link.cornersTransparent;
    auto corner = [&](int sx, int sy, int w, int h, int dx, int dy) {
        if (w < 1 || h < 1) return;
        DrawSkinBitmap(p, *link.bitmap, QRect(sx, sy, w, h), QRect(left_ + dx, top_ + dy, w, h), corners);
    };
    corner(sl, st, ml, mt, 0, 0);
    corner(sr - mr, st, mr, mt, W - mr, 0);
    corner(sl, sb - mb, ml, mb, 0, H - mb);
    corner(sr - mr, sb - mb, mr, mb, W - mr, H - mb);
}

void TSkSkinObject::DrawBitmapObject(QPainter& p, const TskBitmapLink& link, TskTileStyle tile, TskTileStyle border) {
    if (!link.Usable()) return;
    const bool noMargins = marginLeft_ == 0 && marginTop_ == 0 && marginRight_ == 0 && marginBottom_ == 0;
    if (noMargins && color_ == clNone) {  // such an object paints as a plain one
        TSkSkinObject::DrawContent(p);
        return;
    }
    DrawLink(p, link, tile, border);
    DrawText(p);
    Realign(false);
    DrawChildren(p);
}

