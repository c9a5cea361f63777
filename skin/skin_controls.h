#pragma once
// The skinned controls of the main window. Their behaviour lives with each
// control; the skin changes only how they are drawn.
#include "control.h"
#include "skin_button.h"
#include "skin_edit.h"
#include "skin_grid.h"
#include "skin_label.h"
#include "skin_page_control.h"
#include "skin_panel.h"
#include "skin_radio_button.h"
#include "skin_skinnable.h"

#include <QWidget>

class TImageList;

class TSkSkinMenuBar;

// One item of the skinned menu bar.
class TSkSkinItem : public TComponent {
public:
    explicit TSkSkinItem(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TSkSkinItem"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& c);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    TSkSkinMenuBar* MenuBar() const { return menuBar_; }
    void SetMenuBar(TSkSkinMenuBar* m) { menuBar_ = m; }
    // What a click on the item does: its OnClick when enabled and visible.
    void Click();
    TNotifyEvent OnClick;
private:
    void Changed();
    QString caption_;
    bool enabled_ = true, checked_ = false, visible_ = true;
    int imageIndex_ = -1;
    TSkSkinMenuBar* menuBar_ = nullptr;
};

class TSkSkinMenuBar : public QWidget, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinMenuBar(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkSkinMenuBar"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    void AdoptChild(TComponent* child) override;
    const std::vector<TSkSkinItem*>& Items() const { return items_; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* l) { images_ = l; update(); }
    // Rectangle of a visible item, empty for a hidden one.
    QRect ItemRect(const TSkSkinItem* item) const;
    TSkSkinItem* ItemAt(const QPoint& p) const;
protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
private:
    std::vector<TSkSkinItem*> items_;
    TImageList* images_ = nullptr;
    TSkSkinItem* hot_ = nullptr;
};

void RegisterSkinControls();
