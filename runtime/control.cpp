#include "control.h"

#include "font_families.h"

#include <QHash>
#include <algorithm>

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {
const EnumNames<TFontStyle> kFontStyleNames{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};

// Lays out aligned children whenever their container is resized.
class AlignFilter final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Resize || e->type() == QEvent::LayoutRequest)
            if (auto* w = qobject_cast<QWidget*>(o)) TControl::Realign(w);
        return false;
    }
};

}

const EnumNames<TAlign> kAlignNames{{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}};

const QStringList& TFontSpec::FallbackFamilies() {
    static const QStringList families{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                                      QStringLiteral("DejaVu Sans")};
    return families;
}

QFont TFontSpec::ToQFont() const {
    QFont f;
    // A family this machine lacks (the descriptions name the fonts of the
    // platform they were made on) is left out rather than searched for on
    // every lookup; once a name is enough.
    static QHash<QString, bool> installed;
    auto known = installed.find(name);
    if (known == installed.end()) known = installed.insert(name, FamilyInstalled(name));
    QStringList families;
    if (*known) families << name;
    families << FallbackFamilies();
    f.setFamilies(families);
    f.setPixelSize(height < 0 ? -height : (height > 0 ? height : 11));
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    return f;
}

TControl::TControl(TComponent* owner, QWidget* self) : TComponent(owner), w_(self) {
    w_->setFont(font_.ToQFont());
}

TControl::~TControl() = default;

int TControl::Left() const { return w_->x(); }
int TControl::Top() const { return w_->y(); }
int TControl::Width() const { return w_->width(); }
int TControl::Height() const { return w_->height(); }
void TControl::SetLeft(int v) { w_->move(v, w_->y()); }
void TControl::SetTop(int v) { w_->move(w_->x(), v); }
void TControl::SetWidth(int v) { w_->resize(v, w_->height()); }
void TControl::SetHeight(int v) { w_->resize(w_->width(), v); }
void TControl::SetBounds(int l, int t, int w, int h) { w_->setGeometry(l, t, w, h); }

void TControl::SetAlign(TAlign a) {
    if (align_ == a) return;
    align_ = a;
    if (QWidget* p = w_->parentWidget()) {
        if (!p->property("markwiseAlign").toBool()) {
            p->installEventFilter(new AlignFilter(p));
            p->setProperty("markwiseAlign", true);
        }
        Realign(p);
    }
}

void TControl::Realign(QWidget* container) {
    QRect r = container->contentsRect();
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        auto* c = w ? dynamic_cast<TControl*>(w) : nullptr;
        if (!c || c->align_ == TAlign::alNone || c->align_ == TAlign::alCustom || w->isHidden()) continue;
        switch (c->align_) {
        case TAlign::alTop: w->setGeometry(r.left(), r.top(), r.width(), w->height()); r.setTop(r.top() + w->height()); break;
        case TAlign::alBottom: w->setGeometry(r.left(), r.bottom() + 1 - w->height(), r.width(), w->height()); r.setBottom(r.bottom() - w->height()); break;
        case TAlign::alLeft: w->setGeometry(r.left(), r.top(), w->width(), r.height()); r.setLeft(r.left() + w->width()); break;
        case TAlign::alRight: w->setGeometry(r.right() + 1 - w->width(), r.top(), w->width(), r.height()); r.setRight(r.right() - w->width()); break;
        default: break;
        }
    }
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        auto* c = w ? dynamic_cast<TControl*>(w) : nullptr;
        if (c && c->align_ == TAlign::alClient && !w->isHidden()) w->setGeometry(r);
    }
}

void TControl::SetColor(TColor c) {
    if (color_ == c) return;
    color_ = c;
    parentColor_ = false;
    ColorChanged();
    w_->update();
}

void TControl::SetFont(const TFontSpec& f) {
    if (font_ == f) return;
    font_ = f;
    parentFont_ = false;
    w_->setFont(font_.ToQFont());
    FontChanged();
    w_->update();
}

void TControl::SetCaption(const QString& c) {
    if (caption_ == c) return;
    caption_ = c;
    CaptionChanged();
    w_->update();
}

bool TControl::TabStop() const { return w_->focusPolicy() & Qt::TabFocus; }
void TControl::SetTabStop(bool v) {
    if (v) w_->setFocusPolicy(Qt::StrongFocus);
    else w_->setFocusPolicy(Qt::ClickFocus);
}

void TControl::SetVisible(bool v) {
    visible_ = v;
    w_->setVisible(v);
}
bool TControl::Enabled() const { return w_->isEnabled(); }
void TControl::SetEnabled(bool v) { w_->setEnabled(v); }

void TControl::SetHint(const QString& h) {
    hint_ = h;
    w_->setToolTip(h);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (QWidget* p = w_->parentWidget(); p && align_ != TAlign::alNone) Realign(p);
}

const PropertyTable& TControl::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<TControl>(t)
            .Int("Left", [](const TControl& c) { return c.Left(); }, [](TControl& c, int v) { c.SetLeft(v); })
            .Int("Top", [](const TControl& c) { return c.Top(); }, [](TControl& c, int v) { c.SetTop(v); })
            .Int("Width", [](const TControl& c) { return c.Width(); }, [](TControl& c, int v) { c.SetWidth(v); })
            .Int("Height", [](const TControl& c) { return c.Height(); }, [](TControl& c, int v) { c.SetHeight(v); })
            .Enum<TAlign>("Align", kAlignNames, [](const TControl& c) { return c.Align(); },
                          [](TControl& c, TAlign a) { c.SetAlign(a); }, TAlign::alNone)
            .Color("Color", [](const TControl& c) { return c.Color(); }, [](TControl& c, TColor v) { c.SetColor(v); })
            .Bool("ParentColor", [](const TControl& c) { return c.ParentColor(); },
                  [](TControl& c, bool v) { c.SetParentColor(v); })
            .Str("Caption", [](const TControl& c) { return c.Caption(); },
                 [](TControl& c, const QString& v) { c.SetCaption(v); }, QString())
            .Str("Font.Name", [](const TControl& c) { return c.Font().name; },
                 [](TControl& c, const QString& v) { auto f = c.Font(); f.name = v; c.SetFont(f); })
            .Int("Font.Height", [](const TControl& c) { return c.Font().height; },
                 [](TControl& c, int v) { auto f = c.Font(); f.height = v; c.SetFont(f); })
            .Color("Font.Color", [](const TControl& c) { return c.Font().color; },
                   [](TControl& c, TColor v) { auto f = c.Font(); f.color = v; c.SetFont(f); })
            .SetOf<TFontStyle>("Font.Style", kFontStyleNames, [](const TControl& c) { return c.Font().style; },
                               [](TControl& c, unsigned v) { auto f = c.Font(); f.style = v; c.SetFont(f); }, 0u)
            .Add("Font.Charset", [](const TControl& c) { return PropValue::Int(c.Font().charset); },
                 [](TControl& c, const PropValue& v) {
                     auto f = c.Font();
                     f.charset = v.kind == PropValue::Kind::Int ? int(v.i) : 1;  // GB2312_CHARSET and friends
                     c.SetFont(f);
                 }, std::nullopt)
            .Bool("ParentFont", [](const TControl& c) { return c.ParentFont(); },
                  [](TControl& c, bool v) { c.SetParentFont(v); })
            .Int("TabOrder", [](const TControl& c) { return c.TabOrder(); }, [](TControl& c, int v) { c.SetTabOrder(v); }, -1)
            .Bool("TabStop", [](const TControl& c) { return c.TabStop(); }, [](TControl& c, bool v) { c.SetTabStop(v); })
            .Bool("Visible", [](const TControl& c) { return c.Visible(); }, [](TControl& c, bool v) { c.SetVisible(v); }, true)
            .Bool("Enabled", [](const TControl& c) { return c.Enabled(); }, [](TControl& c, bool v) { c.SetEnabled(v); }, true)
            .Str("Hint", [](const TControl& c) { return c.Hint(); }, [](TControl& c, const QString& v) { c.SetHint(v); }, QString())
            .Ignored("ShowHint")
            .Ignored("ParentShowHint")
            .Ignored("Ctl3D")
            .Ignored("ParentCtl3D")
            .Ignored("Anchors")
            .Ignored("Cursor");
        return t;
    }();
    return table;
}
