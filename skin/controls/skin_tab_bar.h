#pragma once
// The tab strip of a skinned page control. It keeps the toolkit's tab bar for
// clicks, keys and focus; while the page control has a skin, the page control
// paints the tabs (the active one overlaps the page frame) and this bar
// measures them and paints nothing but its scroll arrows.
#include "control.h"

#include <QHash>
#include <QTabBar>

class TSkSkinPageControl;

class TSkTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit TSkTabBar(TSkSkinPageControl* pageControl);
    // The tab under the mouse, -1 for none.
    int HotTab() const { return hot_; }
    // Focus came from the keyboard: the active tab shows a focus mark.
    bool ShowsFocus() const { return hasFocus() && keyFocus_; }
    // Tab sizes follow the skin: call when it comes or goes.
    void Remeasure();

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void SetHot(int index);
    // The widest a caption is in the normal and the active tab's font.
    int CaptionWidth(const QString& text) const;
    TSkSkinPageControl* pc_;
    // Captions measured since the fonts last changed: the toolkit asks for
    // every tab's size whenever any tab changes.
    mutable QHash<QString, int> widths_;
    mutable TFontSpec measuredNormal_, measuredActive_;
    int hot_ = -1;
    bool keyFocus_ = false;
};
