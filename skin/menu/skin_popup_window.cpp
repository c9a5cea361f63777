#include "skin_popup_window.h"

#include "colors.h"
#include "skin_item.h"
#include "skin_object.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>

const EnumNames<TSkPopupAlignment> kSkPopupAlignmentNames{{"kpaLeft", "kpaRight", "kpaCenter"}};

namespace {
constexpr int kPlainInset = 3;
constexpr int kMinimumWidth = 80;
}

TSkPopupWindow::TSkPopupWindow(TSkCustomItem* items, const TSkPopupMenuOptions& options, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint), items_(items), options_(options) {
    // Moves without a button must reach the menu's event filter.
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMouseReplay);
    if (TSkSkinObject* menu = items_->Skin().Skinned() ? items_->Skin().popupMenu : nullptr)
        copy_.reset(CloneSkinObject(*menu));
    Relayout();
}

TSkPopupWindow::~TSkPopupWindow() = default;

bool TSkPopupWindow::Skinned() const { return copy_ && items_->Skin().Skinned(); }

QRect TSkPopupWindow::ItemRect(const TSkCustomItem* item) const {
    const int k = items_->IndexOf(item);
    return k >= 0 && std::size_t(k) < rects_.size() ? rects_[std::size_t(k)] : QRect();
}

QSize TSkPopupWindow::Layout() {
    TSkSkinObject* frame = Skinned() ? MenuFrame(copy_.get()) : nullptr;
    insets_ = frame ? QMargins(frame->MarginLeft(), frame->MarginTop(), frame->MarginRight(), frame->MarginBottom())
                    : QMargins(kPlainInset, kPlainInset, kPlainInset, kPlainInset);
    std::vector<QSize> sizes(std::size_t(items_->Count()));
    int width = kMinimumWidth, height = 0;
    for (int k = 0; k < items_->Count(); ++k) {
        const TSkCustomItem* i = items_->Items(k);
        if (!i->Visible()) continue;
        sizes[std::size_t(k)] = MeasurePopupItem(*i, font());
        width = std::max(width, sizes[std::size_t(k)].width());
        height += sizes[std::size_t(k)].height();
    }
    rects_.assign(std::size_t(items_->Count()), QRect());
    int y = insets_.top();
    for (int k = 0; k < items_->Count(); ++k) {
        if (!items_->Items(k)->Visible()) continue;
        rects_[std::size_t(k)] = QRect(insets_.left(), y, width, sizes[std::size_t(k)].height());
        y += sizes[std::size_t(k)].height();
    }
    return QSize(width + insets_.left() + insets_.right(), height + insets_.top() + insets_.bottom());
}

void TSkPopupWindow::Relayout() {
    resize(Layout());
    // A skin frame with transparent corners shapes the window.
    if (TSkSkinObject* frame = Skinned() ? MenuFrame(copy_.get()) : nullptr) {
        frame->SetBoundsRect(rect());
        const QRegion shape = frame->Mask();
        if (!shape.isEmpty() && shape != QRegion(rect())) setMask(shape);
        else clearMask();
    } else {
        clearMask();
    }
    update();
}

void TSkPopupWindow::Paint(QPainter& p) {
    if (Skinned()) {
        DrawMenuFrame(p, *copy_, rect());
    } else {
        p.fillRect(rect(), ToQColor(clMenu));
        p.setPen(ToQColor(clBtnShadow));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    for (int k = 0; k < items_->Count(); ++k) {
        const TSkCustomItem* i = items_->Items(k);
        if (i->Visible()) DrawPopupItem(p, *i, rects_[std::size_t(k)], LookOf(i), font());
    }
}

void TSkPopupWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!reveal_.isNull()) p.drawImage(0, 0, reveal_);
    else Paint(p);
}

QImage TSkPopupWindow::Picture() {
    QImage img(size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    Paint(p);
    return img;
}

void TSkPopupWindow::Open(QPoint at, Place place, const QRect& beside, TSkPopupAlignment alignment) {
    Relayout();
    const QSize s = size();
    QScreen* screen = QGuiApplication::screenAt(place == Place::At ? at : beside.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(at, s);
    QPoint pos = at;
    if (alignment == TSkPopupAlignment::kpaRight) pos.rx() -= s.width();
    else if (alignment == TSkPopupAlignment::kpaCenter) pos.rx() -= s.width() / 2;
    if (place == Place::Below) {
        pos = QPoint(beside.left(), beside.bottom() + 1);
        if (pos.y() + s.height() > avail.bottom() + 1 && beside.top() - s.height() >= avail.top())
            pos.setY(beside.top() - s.height());
    } else if (place == Place::Right) {
        pos = QPoint(beside.right() + 1, beside.top() - insets_.top());
        if (pos.x() + s.width() > avail.right() + 1) pos.setX(beside.left() - s.width());
    }
    pos.setX(std::max(avail.left(), std::min(pos.x(), avail.right() + 1 - s.width())));
    pos.setY(std::max(avail.top(), std::min(pos.y(), avail.bottom() + 1 - s.height())));
    move(pos);
    if (options_.Blending.Enabled) setWindowOpacity(options_.Blending.Value / 255.0);

    if (!options_.Animation.Enabled()) {
        show();
        return;
    }
    const QImage picture = Picture();
    reveal_ = QImage(s, QImage::Format_RGB32);
    reveal_.fill(Skinned() && copy_->Color() != clNone ? ToQColor(copy_->Color()) : ToQColor(clMenu));
    show();
    options_.Animation.Rec().Run(picture, reveal_, QPoint(), [this](double) { repaint(); });
    reveal_ = QImage();
    update();
}
