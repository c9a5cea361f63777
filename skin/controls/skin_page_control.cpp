#include "skin_page_control.h"

#include "application.h"
#include "form.h"

#include "skin_tab_bar.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

const EnumNames<TSkTabPosition> kSkTabPositionNames{{"tpTop", "tpBottom", "tpLeft", "tpRight"}};

namespace {

// While the page control has a skin, its tab strip, page and display
// rectangles are the skin's; otherwise the style's own.
class PageLayoutStyle final : public QProxyStyle {
public:
    explicit PageLayoutStyle(TSkSkinPageControl* pc) : QProxyStyle(QApplication::style()->name()), pc_(pc) {}
    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override {
        if (widget == pc_ && pc_->Skin()) {
            switch (element) {
            case SE_TabWidgetTabBar: return BarRect();
            case SE_TabWidgetTabPane: return pc_->PageRect();
            case SE_TabWidgetTabContents: return pc_->DisplayRect();
            case SE_TabWidgetLeftCorner:
            case SE_TabWidgetRightCorner: return QRect();
            default: break;
            }
        }
        return QProxyStyle::subElementRect(element, option, widget);
    }

private:
    // The strip beside the page, a little in from the corners.
    QRect BarRect() const {
        const int d = pc_->StripDepth(), w = pc_->width(), h = pc_->height(), in = 2;
        switch (pc_->TabPosition()) {
        case TSkTabPosition::tpBottom: return QRect(in, h - d, w - 2 * in, d);
        case TSkTabPosition::tpLeft: return QRect(0, in, d, h - 2 * in);
        case TSkTabPosition::tpRight: return QRect(w - d, in, d, h - 2 * in);
        default: return QRect(in, 0, w - 2 * in, d);
        }
    }
    TSkSkinPageControl* pc_;
};

bool Vertical(TSkTabPosition p) { return p == TSkTabPosition::tpLeft || p == TSkTabPosition::tpRight; }

QTabWidget::TabPosition ToQt(TSkTabPosition p) {
    switch (p) {
    case TSkTabPosition::tpBottom: return QTabWidget::South;
    case TSkTabPosition::tpLeft: return QTabWidget::West;
    case TSkTabPosition::tpRight: return QTabWidget::East;
    default: return QTabWidget::North;
    }
}

}  // namespace

// ---- tab sheet ------------------------------------------------------------------

TSkCustomTabSheet::TSkCustomTabSheet(TComponent* owner, QWidget* parent) : QWidget(parent), TControl(owner, this) {
    setAutoFillBackground(true);
}

int TSkCustomTabSheet::PageIndex() const { return pageControl_ ? pageControl_->indexOf(const_cast<TSkCustomTabSheet*>(this)) : -1; }

void TSkCustomTabSheet::setVisible(bool visible) {
    auto* form = dynamic_cast<TForm*>(Owner());
    // Only a page coming up on the screen: while the window is still being
    // put together, its pages are shown and hidden without appearing.
    if (visible && !isVisible() && form && !form->LoadingComplete() && window()->isVisible())
        Shielded([form] { form->CompleteLoading(); });
    QWidget::setVisible(visible);
}

void TSkCustomTabSheet::CaptionChanged() {
    if (pageControl_) pageControl_->UpdateTabText(this);
}

const PropertyTable& TSkCustomTabSheet::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<TSkCustomTabSheet>(t).Ignored("PageIndex").Ignored("ImageIndex");
        return t;
    }();
    return table;
}

// ---- page control ------------------------------------------------------------------

TSkSkinPageControl::TSkSkinPageControl(TComponent* owner, QWidget* parent)
    : QTabWidget(parent), TControl(owner, this), bar_(new TSkTabBar(this)), layout_(new PageLayoutStyle(this)) {
    SetSkinObject(QStringLiteral("Tabs"));
    setTabBar(bar_);
    setStyle(layout_);
    connect(this, &QTabWidget::currentChanged, this, [this] { Fire(OnChange, static_cast<TComponent*>(this)); });
    resize(289, 193);
}

TSkSkinPageControl::~TSkSkinPageControl() {
    setStyle(nullptr);
    delete layout_;
}

void TSkSkinPageControl::AdoptChild(TComponent* child) {
    if (auto* sheet = dynamic_cast<TSkCustomTabSheet*>(child)) {
        sheet->SetPageControl(this);
        // Over a skinned page the page frame shows through the sheet.
        sheet->setAutoFillBackground(!Skin());
        addTab(sheet, sheet->Caption());
        return;
    }
    TControl::AdoptChild(child);
}

TSkCustomTabSheet* TSkSkinPageControl::ActivePage() const { return dynamic_cast<TSkCustomTabSheet*>(currentWidget()); }

void TSkSkinPageControl::SetActivePage(TSkCustomTabSheet* sheet) {
    if (!sheet || indexOf(sheet) < 0) return;
    if (sheet == ActivePage()) {
        sheet->show();
        sheet->raise();
        return;
    }
    setCurrentWidget(sheet);
}

TSkCustomTabSheet* TSkSkinPageControl::Pages(int i) const {
    return i >= 0 && i < count() ? dynamic_cast<TSkCustomTabSheet*>(widget(i)) : nullptr;
}

void TSkSkinPageControl::UpdateTabText(TSkCustomTabSheet* sheet) {
    const int i = indexOf(sheet);
    if (i >= 0) setTabText(i, sheet->Caption());
}

void TSkSkinPageControl::SetTabPosition(TSkTabPosition p) {
    if (p == tabPosition_) return;
    tabPosition_ = p;
    setTabPosition(ToQt(p));
    Relayout();
}

void TSkSkinPageControl::SetTabHeight(int v) {
    if (v == tabHeight_) return;
    tabHeight_ = v;
    Relayout();
}

void TSkSkinPageControl::SetTabWidth(int v) {
    if (v == tabWidth_) return;
    tabWidth_ = v;
    Relayout();
}

void TSkSkinPageControl::SetHotTrack(bool v) {
    if (v == hotTrack_) return;
    hotTrack_ = v;
    update();
}

void TSkSkinPageControl::Loaded() {
    TControl::Loaded();
    SkinLoaded();
    Relayout();  // the tabs were not measured while loading
}

void TSkSkinPageControl::SkinReplaced() {
    for (int i = 0; i < count(); ++i) widget(i)->setAutoFillBackground(!Skin());
    // Drawing moves the parts, so the strip depth is read from a fresh copy.
    for (int k = 0; k < 4; ++k) {
        const auto position = TSkTabPosition(k);
        const TSkSkinObject* part = TabPartFor(position);
        partDepth_[k] = !part ? 0 : Vertical(position) ? part->Width() : part->Height();
    }
    Relayout();
}

void TSkSkinPageControl::Relayout() {
    bar_->Remeasure();
    // Lays the bar and the pages out again through the layout style.
    QEvent changed(QEvent::StyleChange);
    changeEvent(&changed);
    update();
}

TSkSkinObject* TSkSkinPageControl::TabPartFor(TSkTabPosition position) const {
    static const char* const kNames[] = {"TabTop", "TabBottom", "TabLeft", "TabRight"};
    TSkSkinObject* part = Part(QString::fromLatin1(kNames[int(position)]));
    return part ? part : Part(QStringLiteral("Tab"));
}

TSkSkinObject* TSkSkinPageControl::TabPart() const { return TabPartFor(tabPosition_); }

int TSkSkinPageControl::StripDepth() const {
    if (tabHeight_ > 0) return tabHeight_;
    const int d = partDepth_[int(tabPosition_)];
    return d > 0 ? d : fontMetrics().height() + 8;
}

QRect TSkSkinPageControl::PageRect() const {
    const int d = StripDepth();
    switch (tabPosition_) {
    case TSkTabPosition::tpBottom: return QRect(0, 0, width(), height() - d);
    case TSkTabPosition::tpLeft: return QRect(d, 0, width() - d, height());
    case TSkTabPosition::tpRight: return QRect(0, 0, width() - d, height());
    default: return QRect(0, d, width(), height() - d);
    }
}

QRect TSkSkinPageControl::DisplayRect() const {
    const QRect page = PageRect();
    const TSkSkinObject* frame = Part(QStringLiteral("Frame"));
    if (!frame) return page.adjusted(2, 2, -2, -2);
    return page.adjusted(frame->MarginLeft(), frame->MarginTop(), -frame->MarginRight(), -frame->MarginBottom());
}

QRect TSkSkinPageControl::TabRect(int index) const {
    QRect r = bar_->tabRect(index).translated(bar_->pos());
    if (index != currentIndex() || r.isEmpty()) return r;
    // The active tab covers the page frame's edge on its side, so the two
    // read as one piece; the others stop at the frame.
    const TSkSkinObject* frame = Part(QStringLiteral("Frame"));
    switch (tabPosition_) {
    case TSkTabPosition::tpBottom: return r.adjusted(0, frame ? -frame->MarginBottom() : -1, 0, 0);
    case TSkTabPosition::tpLeft: return r.adjusted(0, 0, frame ? frame->MarginLeft() : 1, 0);
    case TSkTabPosition::tpRight: return r.adjusted(frame ? -frame->MarginRight() : -1, 0, 0, 0);
    default: return r.adjusted(0, 0, 0, frame ? frame->MarginTop() : 1);
    }
}

int TSkSkinPageControl::TabState(int index) const {
    if (hotTrack_ && bar_->HotTab() == index) return skstate::Hot;
    if (index == currentIndex()) return skstate::Focused;
    return skstate::Normal;
}

void TSkSkinPageControl::paintEvent(QPaintEvent* e) {
    TSkSkinObject* skin = Skin();
    TSkSkinObject* frame = Part(QStringLiteral("Frame"));
    if (!skin || !frame) QTabWidget::paintEvent(e);  // the plain pane
    if (!skin) return;
    QPainter p(this);
    skin->SetBoundsRect(rect());
    if (frame) DrawPart(p, *frame, PageRect(), skstate::Normal);
    for (int i = 0; i < count(); ++i)
        if (i != currentIndex()) PaintTab(p, i);
    if (currentIndex() >= 0) PaintTab(p, currentIndex());
}

void TSkSkinPageControl::PaintTab(QPainter& p, int index) {
    const QRect r = TabRect(index);
    if (r.isEmpty()) return;
    const int state = TabState(index);
    if (TSkSkinObject* part = TabPart()) DrawPart(p, *part, r, state);
    const TFontSpec font = PartFont(QStringLiteral("Text"), state, Font());
    p.save();
    p.setFont(font.ToQFont());
    p.setPen(ToQColor(font.color));
    // Side tabs read from bottom to top on the left and top to bottom on the right.
    QRect box = r;
    if (Vertical(tabPosition_)) {
        p.translate(r.center());
        p.rotate(tabPosition_ == TSkTabPosition::tpLeft ? -90 : 90);
        box = QRect(-r.height() / 2, -r.width() / 2, r.height(), r.width());
    }
    const QString text = tabText(index);
    p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text);
    if (index == currentIndex() && bar_->ShowsFocus()) {
        QRect focus = p.boundingRect(box, Qt::AlignCenter | Qt::TextSingleLine, text).adjusted(-3, 0, 3, 0);
        QPen pen(ToQColor(font.color));
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawRect(focus.adjusted(0, 0, -1, -1));
    }
    p.restore();
}

const PropertyTable& TSkSkinPageControl::StaticProperties() {
    static PropertyTable table = [] {
        using P = TSkSkinPageControl;
        PropertyTable t(&TControl::StaticProperties());
        TSkSkinnable::AddSkinProperties<P>(t, QStringLiteral("Tabs"));
        PropertyBuilder<P>(t)
            .Reference<TSkCustomTabSheet>("ActivePage", [](P& p, TSkCustomTabSheet* s) { p.SetActivePage(s); })
            .Enum<TSkTabPosition>("TabPosition", kSkTabPositionNames, [](const P& p) { return p.TabPosition(); },
                                  [](P& p, TSkTabPosition v) { p.SetTabPosition(v); }, TSkTabPosition::tpTop)
            .Int("TabHeight", [](const P& p) { return p.TabHeight(); }, [](P& p, int v) { p.SetTabHeight(v); }, 0)
            .Int("TabWidth", [](const P& p) { return p.TabWidth(); }, [](P& p, int v) { p.SetTabWidth(v); }, 0)
            .Bool("HotTrack", [](const P& p) { return p.HotTrack(); }, [](P& p, bool v) { p.SetHotTrack(v); }, false)
            .Event<TNotifyEvent>("OnChange", [](P& p, const TNotifyEvent& h) { p.OnChange = h; });
        return t;
    }();
    return table;
}
