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
    if (!pc_->Skin()) return QTabBar::tabSizeHint(index);
    const TFontSpec normal = pc_->PartFont(QStringLiteral("Text"), skstate::Normal, pc_->Font());
    const TFontSpec active = pc_->PartFont(QStringLiteral("Text"), skstate::Focused, pc_->Font());
    const QString text = tabText(index);
    const int textWidth = std::max(QFontMetrics(normal.ToQFont()).horizontalAdvance(text),
                                   QFontMetrics(active.ToQFont()).horizontalAdvance(text));
    const int along = pc_->TabWidth() > 0 ? pc_->TabWidth() : textWidth + 24;
    const bool vertical = shape() == RoundedWest || shape() == RoundedEast || shape() == TriangularWest ||
                          shape() == TriangularEast;
    return vertical ? QSize(pc_->StripDepth(), along) : QSize(along, pc_->StripDepth());
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
