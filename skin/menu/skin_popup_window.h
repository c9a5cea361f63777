#pragma once
// The window a popup menu or an item's sub-items open in, drawn from the
// skin's "PopupMenu" object.
#include "skin_animation.h"
#include "skin_menu_view.h"

#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

class TSkSkinObject;

// Which part of the menu lies at the point it opens at: its left edge, its
// right edge or its middle.
enum class TSkPopupAlignment { kpaLeft, kpaRight, kpaCenter };
extern const EnumNames<TSkPopupAlignment> kSkPopupAlignmentNames;

struct TSkPopupBlending {
    bool Enabled = false;
    int Value = 150;  // opacity out of 255
};
struct TSkPopupShadow {
    bool Enabled = false;
    int Size = 4;
};
struct TSkPopupMenuOptions {
    TSkPopupBlending Blending;
    TSkPopupShadow Shadow;
    TSkAnimation Animation;
    void Assign(const TSkPopupMenuOptions& o) {
        Blending = o.Blending;
        Shadow = o.Shadow;
        Animation.Assign(o.Animation);
    }
};

// Prefix.Blending.Enabled ... Prefix.Animation.Time of an options member.
template <class T>
void AddPopupMenuOptionsProperties(PropertyBuilder<T>& b, const QString& prefix,
                                   std::function<TSkPopupMenuOptions&(T&)> options) {
    auto get = [options](const T& o) -> const TSkPopupMenuOptions& { return options(const_cast<T&>(o)); };
    b.Bool(prefix + QStringLiteral(".Blending.Enabled"), [get](const T& o) { return get(o).Blending.Enabled; },
           [options](T& o, bool v) { options(o).Blending.Enabled = v; }, false);
    b.Int(prefix + QStringLiteral(".Blending.Value"), [get](const T& o) { return get(o).Blending.Value; },
          [options](T& o, int v) { options(o).Blending.Value = std::clamp(v, 0, 255); }, 150);
    b.Bool(prefix + QStringLiteral(".Shadow.Enabled"), [get](const T& o) { return get(o).Shadow.Enabled; },
           [options](T& o, bool v) { options(o).Shadow.Enabled = v; }, false);
    b.Int(prefix + QStringLiteral(".Shadow.Size"), [get](const T& o) { return get(o).Shadow.Size; },
          [options](T& o, int v) { options(o).Shadow.Size = v; }, 4);
    AddAnimationProperties<T>(b, prefix + QStringLiteral(".Animation"),
                              [options](T& o) -> TSkAnimation& { return options(o).Animation; });
}

class TSkPopupWindow : public QWidget, public TSkMenuView {
    Q_OBJECT
public:
    // Shows the visible sub-items of items; parent only keeps it on top of
    // its window.
    TSkPopupWindow(TSkCustomItem* items, const TSkPopupMenuOptions& options, QWidget* parent);
    ~TSkPopupWindow() override;

    QWidget* ViewWidget() override { return this; }
    TSkCustomItem* ShownItems() const override { return items_; }
    bool IsBar() const override { return false; }
    QRect ItemRect(const TSkCustomItem* item) const override;

    // Opens at a global position in logical pixels and stays on the screen:
    // below or right of `beside` (a global rectangle of the item it opens
    // from), flipped above or to the left where there is no room.
    enum class Place { At, Below, Right };
    void Open(QPoint at, Place place = Place::At, const QRect& beside = QRect(),
              TSkPopupAlignment alignment = TSkPopupAlignment::kpaLeft);
    // The items changed: new size, new picture.
    void Relayout();
    // Where the items begin inside the window, for placing a sub-menu.
    int ItemsTop() const { return insets_.top(); }

    // The window as it looks now, for the reveal effect and for tests.
    QImage Picture();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void Paint(QPainter& p);
    QSize Layout();
    bool Skinned() const;

    TSkCustomItem* items_;
    const TSkPopupMenuOptions& options_;
    std::unique_ptr<TSkSkinObject> copy_;  // of "PopupMenu"
    QMargins insets_;
    std::vector<QRect> rects_;             // one per item, empty for hidden ones
    QImage reveal_;                        // what the running effect shows
};
