#pragma once
// The menu mode: while a bar or popup menu is open, the mouse and the keys
// are handled here before any other window sees them.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <vector>

class QKeyEvent;
class QWidget;
class TSkCustomItem;
class TSkCustomMenuBar;
class TSkItemOwner;
class TSkMenuView;
class TSkPopupWindow;
enum class TSkPopupAlignment;

// A click chosen while a popup was open, performed once it has closed.
constexpr int SKM_ITEMCLICK = 2234;  // 0x8BA

class TSkMenuMode : public QObject {
    Q_OBJECT
public:
    static TSkMenuMode& Instance();
    bool Active() const { return !views_.empty(); }
    bool Shows(const TSkItemOwner* owner) const { return Active() && owner_ == owner; }
    // The open views, the bar or the first popup first.
    const std::vector<TSkMenuView*>& Views() const { return views_; }

    // Opens the bar's menu with item highlighted (the first item when null).
    void StartOnBar(TSkCustomMenuBar* bar, TSkCustomItem* item);
    // Opens root's sub-items as a popup at a global position.
    void StartPopup(TSkItemOwner* owner, TSkCustomItem* root, QPoint at, TSkPopupAlignment alignment,
                    bool rightButtonSelects);
    // Closes every view.
    void End();

    // Does what Enter does on the item of view k; false when nothing could.
    bool Perform(int k, TSkCustomItem* item, bool byKeyboard);

    // The character a key types for choosing an item by its accelerator.
    static QChar AcceleratorKey(const QKeyEvent* e);

    // From the owners: repaint, or close because an item is going.
    void ItemChanged(TSkItemOwner* owner);
    void ItemRemoved(TSkItemOwner* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;

private:
    explicit TSkMenuMode(QObject* parent) : QObject(parent) {}
    void Begin(TSkItemOwner* owner, QWidget* window);
    bool Key(QKeyEvent* e);
    bool Mouse(QEvent* e);
    int ViewAt(QPoint global) const;
    TSkPopupWindow* OpenPopup(int k, TSkCustomItem* item, bool selectFirst);
    void CloseAfter(int k);
    void MoveOnBar(int step, bool open);
    bool PopupOpen() const;

    std::vector<TSkMenuView*> views_;
    std::vector<QPointer<TSkPopupWindow>> popups_;
    QPointer<TSkCustomMenuBar> bar_;
    TSkItemOwner* owner_ = nullptr;
    QPointer<QWidget> window_;
    bool rightButtonSelects_ = false;
    bool pressClosedPopup_ = false;
    // A popup opened under the pointer by a press ignores that press's release.
    bool pressSeen_ = false;
    QPoint openedAt_;
};
