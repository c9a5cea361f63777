#include "skin_tab_bar.h"

#include "skin_page_control.h"

#include <QEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <algorithm>

TSkTabBar::TSkTabBar(TSkSkinPageControl* pageControl) : QTabBar(pageControl), pc_(pageControl) {
    setExpanding(false);
    setMouseTracking(true);
    // The bar's own scroll arrows, drawn from the skin while there is one.
    for (QToolButton* b : findChildren<QToolButton*>()) b->installEventFilter(this);
}

void TSkTabBar::Remeasure() {
    QEvent changed(QEvent::StyleChange);
    changeEvent(&changed);
    updateGeometry();
}

QSize TSkTabBar::tabSizeHint(int index) const {
    // Each tab added while loading lays out all the tabs again; the sizes
    // wait for the skin (or its absence) once loading is over.
    if (pc_->IsLoading()) return QSize(1, 1);
    if (!pc_->Skin()) return QTabBar::tabSizeHint(index);
    const int textWidth = CaptionWidth(tabText(index));
    const int along = pc_->TabWidth() > 0 ? pc_->TabWidth() : textWidth + 24;
    const bool vertical = shape() == RoundedWest || shape() == RoundedEast || shape() == TriangularWest ||
                          shape() == TriangularEast;
    return vertical ? QSize(pc_->StripDepth(), along) : QSize(along, pc_->StripDepth());
}

int TSkTabBar::CaptionWidth(const QString& text) const {
    const TFontSpec normal = pc_->PartFont(QStringLiteral("Text"), skstate::Normal, pc_->Font());
    const TFontSpec active = pc_->PartFont(QStringLiteral("Text"), skstate::Focused, pc_->Font());
    if (!(normal == measuredNormal_) || !(active == measuredActive_)) {
        widths_.clear();
        measuredNormal_ = normal;
        measuredActive_ = active;
    }
    auto it = widths_.constFind(text);
    if (it != widths_.constEnd()) return *it;
    const int w = std::max(QFontMetrics(normal.ToQFont()).horizontalAdvance(text),
                           QFontMetrics(active.ToQFont()).horizontalAdvance(text));
    widths_.insert(text, w);
    return w;
}

void TSkTabBar::paintEvent(QPaintEvent* e) {
    if (!pc_->Skin()) QTabBar::paintEvent(e);
}

void TSkTabBar::SetHot(int index) {
    if (index == hot_) return;
    hot_ = index;
    if (pc_->HotTrack() && pc_->Skin()) pc_->update();
}

void TSkTabBar::mouseMoveEvent(QMouseEvent* e) {
    SetHot(tabAt(e->position().toPoint()));
    QTabBar::mouseMoveEvent(e);
}

void TSkTabBar::leaveEvent(QEvent* e) {
    SetHot(-1);
    QTabBar::leaveEvent(e);
}

void TSkTabBar::focusInEvent(QFocusEvent* e) {
    keyFocus_ = e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason ||
                e->reason() == Qt::ShortcutFocusReason;
    QTabBar::focusInEvent(e);
}

void TSkTabBar::mousePressEvent(QMouseEvent* e) {
    keyFocus_ = false;
    QTabBar::mousePressEvent(e);
}

void TSkTabBar::keyPressEvent(QKeyEvent* e) {
    keyFocus_ = true;
    QTabBar::keyPressEvent(e);
}

bool TSkTabBar::eventFilter(QObject* watched, QEvent* e) {
    auto* button = qobject_cast<QToolButton*>(watched);
    if (!button || e->type() != QEvent::Paint || !pc_->Skin()) return QTabBar::eventFilter(watched, e);
    const bool back = button->arrowType() == Qt::LeftArrow || button->arrowType() == Qt::UpArrow;
    TSkSkinObject* part = pc_->Part(back ? QStringLiteral("LeftButton") : QStringLiteral("RightButton"));
    if (!part) return false;
    QPainter p(button);
    const int state = TSkSkinnable::StateFor(button->isEnabled(), button->isDown(), button->underMouse(), false);
    TSkSkinnable::DrawPart(p, *part, button->rect(), state);
    return true;
}
