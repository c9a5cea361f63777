#pragma once
// The skinned page control and its tab sheets. The tabs are drawn from the
// "Tab..." part for the tab position (falling back to "Tab"), the page from
// "Frame"; the pages sit inside the Frame's margins.
#include "control.h"
#include "skin_skinnable.h"

#include <QTabWidget>

class TSkSkinPageControl;
class TSkTabBar;
class QProxyStyle;

enum class TSkTabPosition { tpTop, tpBottom, tpLeft, tpRight };
extern const EnumNames<TSkTabPosition> kSkTabPositionNames;

class TSkCustomTabSheet : public QWidget, public TControl {
    Q_OBJECT
public:
    TSkCustomTabSheet(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TSkCustomTabSheet"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    TSkSkinPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TSkSkinPageControl* p) { pageControl_ = p; }
    int PageIndex() const;
    // A page whose controls the window builds later has them built before
    // it first shows.
    void setVisible(bool visible) override;
protected:
    void CaptionChanged() override;
private:
    TSkSkinPageControl* pageControl_ = nullptr;
};

class TSkSkinPageControl : public QTabWidget, public TControl, public TSkSkinnable {
    Q_OBJECT
public:
    TSkSkinPageControl(TComponent* owner, QWidget* parent);
    ~TSkSkinPageControl() override;
    QString ClassName() const override { return QStringLiteral("TSkSkinPageControl"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }
    void AdoptChild(TComponent* child) override;

    TSkCustomTabSheet* ActivePage() const;
    // The active page is only shown and raised; another page replaces it,
    // which re-indexes the tabs and notifies the change.
    void SetActivePage(TSkCustomTabSheet* sheet);
    int ActivePageIndex() const { return currentIndex(); }
    void SetActivePageIndex(int i) { SetActivePage(Pages(i)); }
    int TabIndex() const { return currentIndex(); }
    int PageCount() const { return count(); }
    // Null for an index out of range.
    TSkCustomTabSheet* Pages(int i) const;
    void UpdateTabText(TSkCustomTabSheet* sheet);

    TSkTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TSkTabPosition p);
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int v);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int v);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool v);

    // Skin geometry, in this control's coordinates.
    TSkSkinObject* TabPart() const;
    TSkSkinObject* TabPartFor(TSkTabPosition position) const;
    // Depth of the tab strip: TabHeight, else the tab part's, else the font's.
    int StripDepth() const;
    QRect PageRect() const;
    // The page rectangle inside the Frame's margins.
    QRect DisplayRect() const;
    // A tab as drawn: the active one reaches over the page frame.
    QRect TabRect(int index) const;
    int TabState(int index) const;

    void Loaded() override;
    TNotifyEvent OnChange;

protected:
    void paintEvent(QPaintEvent* e) override;
    void SkinReplaced() override;

private:
    void PaintTab(QPainter& p, int index);
    // Tab sizes and the page rectangles follow the skin and tab settings.
    void Relayout();
    TSkTabBar* bar_;
    QProxyStyle* layout_;
    TSkTabPosition tabPosition_ = TSkTabPosition::tpTop;
    int tabHeight_ = 0, tabWidth_ = 0;
    bool hotTrack_ = false;
    int partDepth_[4] = {};
};
