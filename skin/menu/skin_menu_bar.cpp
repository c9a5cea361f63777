#include "skin_menu_bar.h"

#include "image_list.h"
#include "skin_menu_mode.h"
#include "skin_object.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TSkCustomMenuBar::TSkCustomMenuBar(TComponent* owner, QWidget* parent)
    : QWidget(parent), TControl(owner, this), root_(std::make_unique<TSkCustomItem>()) {
    root_->SetItemOwner(this, this);
    SetSkinObject(QStringLiteral("MenuBar"));
    SetPerformance(TSkPerformance::kspDoubleBuffer);
    SetColor(clMenuBar);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    resize(200, 19);
    // Alt and F10 reach whichever control has the focus; the bar listens in.
    qApp->installEventFilter(this);
}

TSkCustomMenuBar::~TSkCustomMenuBar() {
    if (QCoreApplication::instance()) {
        qApp->removeEventFilter(this);
        TSkMenuMode::Instance().ItemRemoved(this);
    }
    root_->SetItemOwner(nullptr, nullptr);
    root_.reset();
}

void TSkCustomMenuBar::AdoptChild(TComponent* child) {
    if (auto* item = dynamic_cast<TSkCustomItem*>(child)) {
        root_->Add(item);
        return;
    }
    TControl::AdoptChild(child);
}

void TSkCustomMenuBar::Loaded() {
    TControl::Loaded();
    SkinLoaded();
    FitHeight();
}

void TSkCustomMenuBar::SetImages(TImageList* l) {
    if (l == images_) return;
    images_ = l;
    Relayout();
}

// The copy came or went: the items take their parts from the engine again.
void TSkCustomMenuBar::SkinReplaced() {
    root_->BindSkin(TSkItemSkin::From(SkinEngine()));
    FitHeight();
    Relayout();
}

void TSkCustomMenuBar::SkinChanging(TSkSkinEngine* engine) {
    if (engine == SkinEngine() && TSkMenuMode::Instance().Shows(this)) TSkMenuMode::Instance().End();
    TSkSkinnable::SkinChanging(engine);
}

void TSkCustomMenuBar::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    FitHeight();
}

void TSkCustomMenuBar::SetShowBevel(bool v) {
    if (v == showBevel_) return;
    showBevel_ = v;
    Relayout();
}

void TSkCustomMenuBar::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    update();
}

void TSkCustomMenuBar::Relayout() {
    layoutValid_ = false;
    update();
}

QRect TSkCustomMenuBar::ItemArea() const {
    if (const TSkSkinObject* frame = MenuFrame(Skin()))
        return QRect(QPoint(frame->MarginLeft(), frame->MarginTop()),
                         QPoint(width() - frame->MarginRight() - 1, height() - frame->MarginBottom() - 1));
    return rect().adjusted(2, 0, -2, showBevel_ ? -2 : 0);
}

int TSkCustomMenuBar::NeededHeight() const {
    const QRect area = ItemArea();
    const int margins = height() - area.height();
    int items = 0;
    for (int k = 0; k < root_->Count(); ++k)
        if (const TSkCustomItem* i = root_->Items(k); i->Visible())
            items = std::max(items, MeasureBarItem(*i, font(), 0).height());
    if (items == 0) items = Skin() && root_->Skin().barItem ? root_->Skin().barItem->Height() : 0;
    if (items == 0 || !root_->Skin().Skinned()) items = QFontMetrics(font()).height() + 6;
    return items + margins;
}

void TSkCustomMenuBar::FitHeight() {
    if (!autoSize_ || IsLoading()) return;
    const int h = NeededHeight();
    if (h == height()) return;
    SetHeight(h);
    if (QWidget* p = parentWidget(); p && Align() != TAlign::alNone) TControl::Realign(p);
}

QRect TSkCustomMenuBar::ItemRect(const TSkCustomItem* item) const {
    if (!layoutValid_) {
        const QRect area = ItemArea();
        rects_.assign(std::size_t(root_->Count()), QRect());
        int x = area.left();
        for (int k = 0; k < root_->Count(); ++k) {
            const TSkCustomItem* i = root_->Items(k);
            if (!i->Visible()) continue;
            const QSize s = MeasureBarItem(*i, font(), area.height());
            const int top = area.top() + std::max(0, (area.height() - s.height()) / 2);
            rects_[std::size_t(k)] = QRect(x, top, s.width(), s.height());
            x += s.width();
        }
        layoutValid_ = true;
    }
    const int k = root_->IndexOf(item);
    return k >= 0 && std::size_t(k) < rects_.size() ? rects_[std::size_t(k)] : QRect();
}

void TSkCustomMenuBar::ItemChanged(TSkCustomItem*) {
    Relayout();
    TSkMenuMode::Instance().ItemChanged(this);
}

void TSkCustomMenuBar::ItemRemoved(TSkCustomItem* item) {
    if (Highlighted() == item) Highlight(nullptr, TSkItemLook::Normal);
    Relayout();
    TSkMenuMode::Instance().ItemRemoved(this);
}

void TSkCustomMenuBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool skinned = Skin() && SkinEngine() && !SkinEngine()->Source().Locked();
    if (skinned) {
        DrawMenuFrame(p, *Skin(), rect());
    } else {
        if (!transparent_) p.fillRect(rect(), ToQColor(Color()));
        if (showBevel_) {
            p.fillRect(QRect(0, height() - 2, width(), 1), ToQColor(clBtnShadow));
            p.fillRect(QRect(0, height() - 1, width(), 1), ToQColor(clBtnHighlight));
        }
    }
    for (int k = 0; k < root_->Count(); ++k) {
        const TSkCustomItem* i = root_->Items(k);
        if (i->Visible()) DrawBarItem(p, *i, ItemRect(i), LookOf(i), font());
    }
}

void TSkCustomMenuBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    // The press only opens the menu; the release over an item performs it.
    if (TSkCustomItem* item = ItemAt(e->position().toPoint())) TSkMenuMode::Instance().StartOnBar(this, item);
}

void TSkCustomMenuBar::TrackHover(QPoint at) {
    if (TSkMenuMode::Instance().Shows(this)) return;
    TSkCustomItem* item = ItemAt(at);
    Highlight(item, item ? TSkItemLook::Hot : TSkItemLook::Normal);
}

void TSkCustomMenuBar::mouseMoveEvent(QMouseEvent* e) { TrackHover(e->position().toPoint()); }

// The pointer may arrive straight onto an item, before any move.
void TSkCustomMenuBar::enterEvent(QEnterEvent* e) { TrackHover(e->position().toPoint()); }

void TSkCustomMenuBar::leaveEvent(QEvent*) {
    if (!TSkMenuMode::Instance().Shows(this)) Highlight(nullptr, TSkItemLook::Normal);
}

void TSkCustomMenuBar::resizeEvent(QResizeEvent*) { Relayout(); }

void TSkCustomMenuBar::FontChanged() {
    Relayout();
    FitHeight();
}

bool TSkCustomMenuBar::OwnKey(QObject* watched) const {
    auto* w = qobject_cast<QWidget*>(watched);
    return w && w->window() == window() && isVisible() && isEnabled();
}

bool TSkCustomMenuBar::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) {
        if (e->type() == QEvent::MouseButtonPress) altAlone_ = false;
        return false;
    }
    TSkMenuMode& mode = TSkMenuMode::Instance();
    switch (e->type()) {
    case QEvent::KeyPress: {
        if (!OwnKey(watched)) return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        const Qt::KeyboardModifiers mods = ke->modifiers();
        if (ke->key() == Qt::Key_Alt) {
            if (!mode.Active()) altAlone_ = !ke->isAutoRepeat() && (mods & ~Qt::AltModifier) == 0;
            return false;
        }
        altAlone_ = false;
        const int shortCut = (mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)).toInt() | ke->key();
        if (TSkCustomItem* item = root_->ItemForShortCut(shortCut)) {
            // On the bar in menu mode the shortcut still counts, and ends the
            // mode, rather than reaching the focused control as a letter.
            if (mode.Active()) mode.End();
            // Performed once the key's own delivery is over, as a click chosen in a menu is.
            QMetaObject::invokeMethod(
                this, [item, life = item->Life()] {
                    if (!life.expired()) item->Click();
                },
                Qt::QueuedConnection);
            return true;
        }
        if (mode.Active()) return false;
        if (ke->key() == Qt::Key_F10 && mods == Qt::NoModifier) {
            mode.StartOnBar(this, nullptr);
            return true;
        }
        if ((mods & Qt::AltModifier) && !(mods & (Qt::ControlModifier | Qt::MetaModifier)))
            if (TSkCustomItem* item = ItemForAccelerator(TSkMenuMode::AcceleratorKey(ke))) {
                mode.StartOnBar(this, item);
                mode.Perform(0, item, true);
                return true;
            }
        return false;
    }
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() != Qt::Key_Alt || ke->isAutoRepeat() || !altAlone_ || mode.Active() || !OwnKey(watched)) return false;
        altAlone_ = false;
        mode.StartOnBar(this, nullptr);
        return true;
    }
    default:
        return false;
    }
}

const PropertyTable& TSkSkinMenuBar::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkSkinMenuBar;
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<T> b(t);
        TSkSkinnable::AddSkinProperties<T>(t, QStringLiteral("MenuBar"), TSkPerformance::kspDoubleBuffer);
        b.Reference<TImageList>("Images", [](T& m, TImageList* l) { m.SetImages(l); })
            .Bool("AutoSize", [](const T& m) { return m.AutoSize(); }, [](T& m, bool v) { m.SetAutoSize(v); }, true)
            .Bool("ShowBevel", [](const T& m) { return m.ShowBevel(); }, [](T& m, bool v) { m.SetShowBevel(v); }, false)
            .Bool("Transparent", [](const T& m) { return m.Transparent(); }, [](T& m, bool v) { m.SetTransparent(v); }, false)
            .Bool("Blending", [](const T& m) { return m.Blending(); }, [](T& m, bool v) { m.SetBlending(v); }, false);
        AddPopupMenuOptionsProperties<T>(b, QStringLiteral("PopupMenuOptions"),
                                         [](T& m) -> TSkPopupMenuOptions& { return m.PopupMenuOptions(); });
        return t;
    }();
    return table;
}
