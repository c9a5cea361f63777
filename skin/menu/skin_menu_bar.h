#pragma once
// The menu bar along the top of a window, drawn from the skin's "MenuBar".
// Items act on the mouse release; Alt or F10 opens the menu from the keys,
// and an item's ShortCut performs it from anywhere in the window.
#include "control.h"
#include "skin_engine.h"
#include "skin_item.h"
#include "skin_menu_view.h"
#include "skin_popup_window.h"
#include "skin_skinnable.h"

#include <QWidget>
#include <memory>
#include <vector>

class TImageList;

class TSkCustomMenuBar : public QWidget,
                         public TControl,
                         public TSkMenuView,
                         public TSkItemOwner,
                         public TSkSkinnable {
    Q_OBJECT
public:
    TSkCustomMenuBar(TComponent* owner, QWidget* parent);
    ~TSkCustomMenuBar() override;
    void AdoptChild(TComponent* child) override;
    void Loaded() override;

    TSkCustomItem* Items() const { return root_.get(); }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* l);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool ShowBevel() const { return showBevel_; }
    void SetShowBevel(bool v);
    TSkPopupMenuOptions& PopupMenuOptions() { return popupOptions_; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool Blending() const { return blending_; }
    void SetBlending(bool v) { blending_ = v; }

    // TSkMenuView
    QWidget* ViewWidget() override { return this; }
    TSkCustomItem* ShownItems() const override { return root_.get(); }
    bool IsBar() const override { return true; }
    QRect ItemRect(const TSkCustomItem* item) const override;

    // TSkItemOwner
    TImageList* OwnerImages() const override { return images_; }
    const TSkPopupMenuOptions& OwnerPopupOptions() const override { return popupOptions_; }
    void ItemChanged(TSkCustomItem* item) override;
    void ItemRemoved(TSkCustomItem* item) override;

    void SkinChanging(TSkSkinEngine* engine) override;

    // The height the items need, with the frame's margins.
    int NeededHeight() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void FontChanged() override;
    void SkinReplaced() override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void TrackHover(QPoint at);
    void Relayout();
    void FitHeight();
    bool OwnKey(QObject* watched) const;
    QRect ItemArea() const;

    std::unique_ptr<TSkCustomItem> root_;
    TImageList* images_ = nullptr;
    bool autoSize_ = true;
    bool showBevel_ = false;
    TSkPopupMenuOptions popupOptions_;
    bool transparent_ = false;
    bool blending_ = false;
    mutable std::vector<QRect> rects_;  // one per item, empty for hidden ones
    mutable bool layoutValid_ = false;
    bool altAlone_ = false;  // Alt went down with nothing else since
};

class TSkSkinMenuBar : public TSkCustomMenuBar {
    Q_OBJECT
public:
    using TSkCustomMenuBar::TSkCustomMenuBar;
    QString ClassName() const override { return QStringLiteral("TSkSkinMenuBar"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
};
