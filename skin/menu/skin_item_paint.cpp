#include "skin_item_paint.h"

#include "colors.h"
#include "image_list.h"
#include "skin_item.h"
#include "skin_object.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace {

int StateOf(TSkItemLook look) {
    switch (look) {
    case TSkItemLook::Hot: return skstate::Hot;
    case TSkItemLook::Focused: return skstate::Focused;
    default: return skstate::Normal;
    }
}

QSize ImageSize(const TSkCustomItem& item) {
    const TImageList* l = item.ShownImages();
    return l ? QSize(l->Width(), l->Height()) : QSize();
}

void DrawImage(QPainter& p, const TSkCustomItem& item, QPoint at) {
    QPixmap img = item.ShownImages()->Image(item.ImageIndex());
    if (!item.Enabled()) {
        QStyleOption opt;
        img = QApplication::style()->generatedIconPixmap(QIcon::Disabled, img, &opt);
    }
    p.drawPixmap(at, img);
}

// The skin objects are the engine's own: put back what an item borrowed.
class BorrowedText {
public:
    BorrowedText(TSkSkinObject& o, int leftMargin) : o_(o), margin_(o.TextMarginLeft()) {
        o.SetTextMarginLeft(leftMargin);
        o.SetShowAccelChar(true);
    }
    ~BorrowedText() {
        o_.SetTextMarginLeft(margin_);
        o_.SetShowAccelChar(false);
        o_.SetText(QString());
        o_.SetText2(QString());
        o_.SetEnabled(true);
        o_.SetState(skstate::Normal);
    }
private:
    TSkSkinObject& o_;
    int margin_;
};

int TextWidth(const QFont& f, const QString& s) { return s.isEmpty() ? 0 : QFontMetrics(f).horizontalAdvance(s); }

TSkSkinObject* BarObject(const TSkCustomItem& item) {
    const TSkItemSkin& s = item.Skin();
    if (!s.Skinned()) return nullptr;
    const bool imageOnly = item.Caption().isEmpty() && item.HasImage();
    return imageOnly && s.toolbarItem ? s.toolbarItem : s.barItem;
}

TSkSkinObject* PopupObject(const TSkCustomItem& item) {
    const TSkItemSkin& s = item.Skin();
    return s.Skinned() ? s.popupItem : nullptr;
}

QFont NormalFont(TSkSkinObject& o) {
    o.SetState(skstate::Normal);
    return o.GetFont().ToQFont();
}

void DrawCheck(QPainter& p, QRect cell, const QColor& c) {
    const QPointF m = QRectF(cell).center();
    QPainterPath tick;
    tick.moveTo(m + QPointF(-3.5, 0));
    tick.lineTo(m + QPointF(-1, 2.5));
    tick.lineTo(m + QPointF(3.5, -2.5));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    p.restore();
}

void DrawSubMenuArrow(QPainter& p, const QRect& r, const QColor& c) {
    const int x = r.right() - 8, y = r.center().y();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({QPointF(x, y - 3.5), QPointF(x + 4, y + 0.5), QPointF(x, y + 4.5)}));
    p.restore();
}

// What sits in the image column: the image, else a check mark.
void DrawMark(QPainter& p, const TSkCustomItem& item, QRect column, const QColor& text) {
    if (item.HasImage()) {
        const QSize is = ImageSize(item);
        const QPoint at(column.left() + (column.width() - is.width()) / 2, column.top() + (column.height() - is.height()) / 2);
        if (item.Checked()) {
            p.setPen(ToQColor(clBtnShadow));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(at - QPoint(2, 2), is + QSize(3, 3)));
        }
        DrawImage(p, item, at);
    } else if (item.Checked()) {
        DrawCheck(p, column, text);
    }
}

QColor PlainText(const TSkCustomItem& item, TSkItemLook look) {
    if (!item.Enabled()) return ToQColor(clGrayText);
    return ToQColor(look == TSkItemLook::Focused ? clHighlightText : clMenuText);
}

}  // namespace

TSkSkinObject* MenuFrame(TSkSkinObject* copy) { return copy ? copy->FindByName(QStringLiteral("Frame")) : nullptr; }

void DrawMenuFrame(QPainter& p, TSkSkinObject& copy, const QRect& r) {
    if (TSkSkinObject* frame = MenuFrame(&copy)) {
        frame->SetBoundsRect(r);
        frame->Draw(p);
    } else if (copy.Color() != clNone) {
        p.fillRect(r, ToQColor(copy.Color()));
    }
}

// ---- the bar ------------------------------------------------------------------------------

QSize MeasureBarItem(const TSkCustomItem& item, const QFont& plainFont, int plainHeight) {
    const QString text = item.DisplayCaption();
    const QSize image = item.HasImage() ? ImageSize(item) : QSize();
    if (TSkSkinObject* o = BarObject(item)) {
        const int h = o->Height();
        if (text.isEmpty() && item.HasImage()) return QSize(h, h);
        int w = TextWidth(NormalFont(*o), text) + o->TextMarginLeft() + o->TextMarginRight();
        if (item.HasImage()) w += image.width() + kBarImageGap;
        return QSize(w, h);
    }
    if (text.isEmpty() && item.HasImage()) return QSize(plainHeight, plainHeight);
    int w = TextWidth(plainFont, text) + 12;
    if (item.HasImage()) w += image.width() + kBarImageGap;
    return QSize(w, plainHeight);
}

void DrawBarItem(QPainter& p, const TSkCustomItem& item, const QRect& r, TSkItemLook look, const QFont& plainFont) {
    const QString text = item.DisplayCaption();
    const QSize image = item.HasImage() ? ImageSize(item) : QSize();
    const auto imageAt = [&](int left) { return QPoint(left, r.top() + (r.height() - image.height()) / 2); };
    if (TSkSkinObject* o = BarObject(item)) {
        const int margin = o->TextMarginLeft();
        const int textLeft = item.HasImage() && !text.isEmpty() ? margin + image.width() + kBarImageGap : margin;
        BorrowedText borrow(*o, textLeft);
        o->SetActive(false);
        o->SetBoundsRect(r);
        o->SetText(text.isEmpty() ? text : item.Caption());
        o->SetText2(QString());
        o->SetEnabled(item.Enabled());
        o->SetState(StateOf(look));
        o->Draw(p);
        if (item.HasImage()) DrawImage(p, item, imageAt(text.isEmpty() ? r.left() + (r.width() - image.width()) / 2 : r.left() + margin));
        return;
    }
    if (look != TSkItemLook::Normal) {
        const QColor hl = ToQColor(clMenuHighlight);
        p.fillRect(r.adjusted(0, 1, 0, -1), look == TSkItemLook::Focused ? hl : hl.lighter(170));
        p.setPen(hl);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 1, -1, -2));
    }
    int x = r.left() + 6;
    if (item.HasImage()) {
        DrawImage(p, item, imageAt(text.isEmpty() ? r.left() + (r.width() - image.width()) / 2 : x));
        x += image.width() + kBarImageGap;
    }
    p.setFont(plainFont);
    p.setPen(PlainText(item, look));
    p.drawText(QRect(x, r.top(), r.right() - x, r.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
               text.isEmpty() ? text : item.Caption());
}

// ---- popups -------------------------------------------------------------------------------

QSize MeasurePopupItem(const TSkCustomItem& item, const QFont& plainFont) {
    const QSize image = item.HasImage() ? ImageSize(item) : QSize(16, 16);
    if (item.IsSeparator()) {
        const TSkItemSkin& s = item.Skin();
        if (s.Skinned() && s.separator) return QSize(s.separator->Width(), s.separator->Height());
        if (TSkSkinObject* o = PopupObject(item)) return QSize(0, std::min(o->Height(), 8));
        return QSize(0, 8);
    }
    const QString text = item.DisplayCaption(), keys = item.ShortCutText();
    if (TSkSkinObject* o = PopupObject(item)) {
        const QFont f = NormalFont(*o);
        int h = o->Height();
        // Room for the image with two pixels above and below.
        if (image.height() + 4 > h) h = image.height() + 4;
        return QSize(TextWidth(f, text) + image.width() + 20 + TextWidth(f, keys) + 22, h);
    }
    const int h = std::max(QFontMetrics(plainFont).height() + 6, image.height() + 4);
    return QSize(TextWidth(plainFont, text) + image.width() + 20 + TextWidth(plainFont, keys) + 22, h);
}

void DrawPopupItem(QPainter& p, const TSkCustomItem& item, const QRect& r, TSkItemLook look, const QFont& plainFont) {
    const QSize image = item.HasImage() ? ImageSize(item) : QSize(16, 16);
    const TSkItemSkin& s = item.Skin();
    if (item.IsSeparator()) {
        if (s.Skinned() && s.separator) {
            s.separator->SetBoundsRect(r);
            s.separator->SetState(skstate::Normal);
            s.separator->Draw(p);
            return;
        }
        if (TSkSkinObject* o = PopupObject(item)) {  // the object's own separator line
            BorrowedText borrow(*o, o->TextMarginLeft());
            o->SetBoundsRect(r);
            o->SetText(QStringLiteral("-"));
            o->Draw(p);
            return;
        }
        const int y = r.top() + r.height() / 2 - 1;
        p.fillRect(QRect(r.left() + 3, y, r.width() - 6, 1), ToQColor(clBtnShadow));
        p.fillRect(QRect(r.left() + 3, y + 1, r.width() - 6, 1), ToQColor(clBtnHighlight));
        return;
    }
    const QString text = item.DisplayCaption();
    if (TSkSkinObject* o = PopupObject(item)) {
        const int margin = std::max(o->TextMarginLeft(), image.width());
        BorrowedText borrow(*o, margin);
        o->SetActive(false);
        o->SetBoundsRect(r);
        o->SetText(text.isEmpty() ? text : item.Caption());
        o->SetText2(item.ShortCutText());
        o->SetEnabled(item.Enabled());
        o->SetState(StateOf(look));
        o->Draw(p);
        const QColor ink = item.Enabled() ? ToQColor(o->GetFont().color) : QColor(0x80, 0x80, 0x80);
        DrawMark(p, item, QRect(r.left(), r.top(), margin, r.height()), ink);
        if (item.HasVisibleItems()) DrawSubMenuArrow(p, r, ink);
        return;
    }
    // A highlighted grey caption keeps a light highlight under it, so it stays readable.
    if (look != TSkItemLook::Normal)
        p.fillRect(r, item.Enabled() ? ToQColor(clMenuHighlight) : ToQColor(clMenuHighlight).lighter(170));
    const QColor ink = PlainText(item, look == TSkItemLook::Normal ? look : TSkItemLook::Focused);
    const int column = image.width() + 8;
    DrawMark(p, item, QRect(r.left(), r.top(), column, r.height()), ink);
    p.setFont(plainFont);
    p.setPen(ink);
    const QRect textRect = r.adjusted(column + 4, 0, -22, 0);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
               text.isEmpty() ? text : item.Caption());
    p.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, item.ShortCutText());
    if (item.HasVisibleItems()) DrawSubMenuArrow(p, r, ink);
}
