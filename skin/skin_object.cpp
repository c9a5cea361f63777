#include "skin_object.h"

#include "component_stream.h"
#include "exceptions.h"
#include "gbk.h"
#include "skin_bytes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <algorithm>

const EnumNames<TSkAlign> kSkAlignNames{{"saNone", "saLeft", "saMostLeft", "saTop", "saMostTop", "saRight",
                                         "saMostRight", "saBottom", "saMostBottom", "saClient", "saTopLeft",
                                         "saTopRight", "saBottomLeft", "saBottomRight", "saCenter", "saText"}};
const EnumNames<TSkKind> kSkKindNames{{"skNone", "skForm", "skCaption", "skTitle", "skTop", "skLeft", "skRight",
                                       "skBottom", "skTopLeft", "skTopRight", "skBottomLeft", "skBottomRight",
                                       "skSysButton", "skClient", "skMenuBar", "skMenuBarItem", "skMenuBarItemText",
                                       "skPopupMenu", "skPopupMenuItem", "skPopupMenuItemText", "skItemText",
                                       "skTranparent"}};
const EnumNames<TSkTextAlign> kSkTextAlignNames{{"taTopLeft", "taTopCenter", "taTopRight", "taLeft", "taCenter",
                                                 "taRight", "taBottomLeft", "taBottomCenter", "taBottomRight"}};
const EnumNames<TSkTextEffect> kSkTextEffectNames{{"teNone", "teShadow"}};
const EnumNames<TskTileStyle> kSkTileStyleNames{{"tsTile", "tsStretch", "tsCenter"}};
const EnumNames<TSkAction> kSkActionNames{{"sbaNone", "sbaClose", "sbaHelp", "sbaMinimize", "sbaMaximize",
                                           "sbaRestore", "sbaRollUp", "sbaRollDown", "sbaTray", "sbaSysMenu",
                                           "sbaRollPanel", "sbaCustom"}};
const EnumNames<TSkRollKind> kSkRollKindNames{{"rkLeft", "rkTop", "rkRight", "rkBottom"}};

namespace {

const EnumNames<TFontStyle> kFontStyles{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};

struct CharsetName { int value; const char* name; };
constexpr CharsetName kCharsets[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"}, {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"}, {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"}, {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"}, {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

PropValue CharsetValue(int c) {
    for (const auto& n : kCharsets)
        if (n.value == c) return PropValue::Ident(QString::fromLatin1(n.name));
    return PropValue::Int(c);
}

int CharsetFrom(const PropValue& v, const QString& prop) {
    if (v.kind == PropValue::Kind::Int) return int(v.i & 0xFF);
    const QString id = prop::ToIdent(v, prop);
    for (const auto& n : kCharsets)
        if (id.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) return n.value;
    ThrowBadEnum(id, prop);
}

int ClampCoord(std::int64_t v) {
    return int(std::clamp<std::int64_t>(v, -skin_limits::kMaxCoord, skin_limits::kMaxCoord));
}

// Font.Name, Font.Height ... of one font member.
template <class T, class C>
void AddFont(PropertyBuilder<T>& b, const QString& prefix, TFontSpec C::*m) {
    const TFontSpec def;
    b.Add(prefix + QStringLiteral(".Charset"), [m](const T& o) { return CharsetValue((o.*m).charset); },
          [m, prefix](T& o, const PropValue& v) { (o.*m).charset = CharsetFrom(v, prefix + QStringLiteral(".Charset")); },
          CharsetValue(def.charset));
    b.Color(prefix + QStringLiteral(".Color"), [m](const T& o) { return (o.*m).color; },
            [m](T& o, TColor c) { (o.*m).color = c; }, def.color);
    b.Int(prefix + QStringLiteral(".Height"), [m](const T& o) { return (o.*m).height; },
          [m](T& o, int v) { (o.*m).height = std::clamp(v, -4096, 4096); }, def.height);
    b.Str(prefix + QStringLiteral(".Name"), [m](const T& o) { return (o.*m).name; },
          [m](T& o, const QString& v) { (o.*m).name = v; }, def.name);
    b.template SetOf<TFontStyle>(prefix + QStringLiteral(".Style"), kFontStyles, [m](const T& o) { return (o.*m).style; },
                                 [m](T& o, unsigned v) { (o.*m).style = v; }, 0u);
}

// Bitmap.Name, Bitmap.Left ... of one link member.
template <class T, class C>
void AddLink(PropertyBuilder<T>& b, const QString& prefix, TskBitmapLink C::*m) {
    b.Str(prefix + QStringLiteral(".Name"), [m](const T& o) { return (o.*m).name; },
          [m](T& o, const QString& v) { (o.*m).name = v; }, QString());
    b.Int(prefix + QStringLiteral(".Left"), [m](const T& o) { return (o.*m).left; },
          [m](T& o, int v) { (o.*m).left = ClampCoord(v); }, 0);
    b.Int(prefix + QStringLiteral(".Top"), [m](const T& o) { return (o.*m).top; },
          [m](T& o, int v) { (o.*m).top = ClampCoord(v); }, 0);
    b.Int(prefix + QStringLiteral(".Right"), [m](const T& o) { return (o.*m).right; },
          [m](T& o, int v) { (o.*m).right = ClampCoord(v); }, 0);
    b.Int(prefix + QStringLiteral(".Bottom"), [m](const T& o) { return (o.*m).bottom; },
          [m](T& o, int v) { (o.*m).bottom = ClampCoord(v); }, 0);
}

template <class T, class C>
void AddColor(PropertyBuilder<T>& b, const QString& name, TColor C::*m) {
    b.Color(name, [m](const T& o) { return o.*m; }, [m](T& o, TColor c) { o.*m = c; }, clWhite);
}

template <class T, class C>
void AddTile(PropertyBuilder<T>& b, const QString& name, TskTileStyle C::*m) {
    b.template Enum<TskTileStyle>(name, kSkTileStyleNames, [m](const T& o) { return o.*m; },
                                  [m](T& o, TskTileStyle v) { o.*m = v; }, TskTileStyle::tsTile);
}

void ShiftFont(TFontSpec& f, int delta) { f.color = ShiftColorHue(f.color, delta); }

thread_local std::int64_t* tlBudget = nullptr;
thread_local int tlDepth = 0;

struct DepthGuard {
    DepthGuard() {
        if (++tlDepth > skin_limits::kMaxObjectDepth) {
            --tlDepth;
            throw EStreamError(QStringLiteral("Skin objects are nested more than %1 levels deep").arg(skin_limits::kMaxObjectDepth));
        }
    }
    ~DepthGuard() { --tlDepth; }
};

// Skins set thousands of properties: look them up by their exact stored
// name first, then the usual case-insensitive way.
const PropertyInfo* FindProperty(const PropertyTable& table, const QString& name) {
    static QHash<const PropertyTable*, QHash<QString, const PropertyInfo*>> cache;
    QHash<QString, const PropertyInfo*>& byName = cache[&table];
    if (byName.isEmpty())
        for (const PropertyInfo* p : table.All()) byName.insert(p->name, p);
    if (auto it = byName.constFind(name); it != byName.constEnd()) return *it;
    return table.Find(name);
}

// Tree text is 8-bit GBK; the component text reader wants UTF-8.
QByteArray GbkTextToUtf8(const QByteArray& text) {
    for (char c : text)
        if (uchar(c) >= 0x80) return gbk::decode(text).toUtf8();
    return text;
}

}  // namespace

TColor ShiftColorHue(TColor c, int delta) {
    if (delta == 0 || c == clNone || c == clDefault) return c;
    if ((c & 0xFF000000) != 0 && !IsSystemColor(c)) return c;
    const TColor rgb = ColorToRGB(c);
    const std::uint32_t px = (std::uint32_t(GetRValue(rgb)) << 16) | (std::uint32_t(GetGValue(rgb)) << 8) | std::uint32_t(GetBValue(rgb));
    const std::uint32_t out = ShiftPixelHue(px, delta);
    return RGBColor(int((out >> 16) & 0xFF), int((out >> 8) & 0xFF), int(out & 0xFF));
}

SkinObjectBudget::SkinObjectBudget() : previous_(tlBudget) { tlBudget = &left_; }
SkinObjectBudget::~SkinObjectBudget() { tlBudget = previous_; }
void SkinObjectBudget::Take() {
    if (tlBudget && --*tlBudget < 0)
        throw EStreamError(QStringLiteral("A skin holds more than %1 objects").arg(skin_limits::kMaxObjects));
}

// ---- links ---------------------------------------------------------------------

void TskBitmapLink::Resolve(const TskBitmapList* list, int ml, int mt, int mr, int mb) {
    bitmap = list && !name.isEmpty() ? list->Find(name) : nullptr;
    centerTransparent = bordersTransparent = cornersTransparent = false;
    if (!bitmap || !bitmap->HasTransparency()) return;
    const QRect r = Rect() & QRect(0, 0, bitmap->Width(), bitmap->Height());
    if (r.isEmpty()) return;
    const bool noMargins = ml == 0 && mt == 0 && mr == 0 && mb == 0;
    const int w = right - left, h = bottom - top;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const std::uint32_t* row = bitmap->Row(y);
        const int ry = y - top;
        const bool vEdge = ry < mt || ry >= h - mb;
        for (int x = r.left(); x <= r.right(); ++x) {
            const std::uint32_t px = row[x];
            if (px != kSkinTransparent && (px >> 24) == 255) continue;
            if (noMargins) {
                centerTransparent = true;
                return;
            }
            const int rx = x - left;
            const bool hEdge = rx < ml || rx >= w - mr;
            if (hEdge && vEdge) cornersTransparent = true;
            else if (hEdge || vEdge) bordersTransparent = true;
            else centerTransparent = true;
        }
        if (centerTransparent && bordersTransparent && cornersTransparent) return;
    }
}

// ---- TSkSkinObject ---------------------------------------------------------------

TSkSkinObject::TSkSkinObject(TComponent* owner) : TComponent(owner) {}

const PropertyTable& TSkSkinObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkSkinObject;
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<T> b(t);
        b.Enum<TSkAlign>("Align", kSkAlignNames, [](const T& o) { return o.align_; },
                         [](T& o, TSkAlign v) { o.align_ = v; }, TSkAlign::saNone);
        AddColor(b, "Color", &T::color_);
        b.Bool("DrawIfOwner", [](const T& o) { return o.drawIfOwner_; }, [](T& o, bool v) { o.drawIfOwner_ = v; }, false);
        AddFont(b, "Font", &T::font_);
        b.Enum<TSkKind>("Kind", kSkKindNames, [](const T& o) { return o.kind_; },
                        [](T& o, TSkKind v) { o.kind_ = v; }, TSkKind::skNone);
        b.Bool("Masked", [](const T& o) { return o.masked_; }, [](T& o, bool v) { o.masked_ = v; }, true);
        b.Int("Left", [](const T& o) { return o.left_; }, [](T& o, int v) { o.SetLeft(ClampCoord(v)); }, 0);
        b.Int("Top", [](const T& o) { return o.top_; }, [](T& o, int v) { o.SetTop(ClampCoord(v)); }, 0);
        b.Int("Width", [](const T& o) { return o.width_; }, [](T& o, int v) { o.SetWidth(ClampCoord(v)); }, 0);
        b.Int("Height", [](const T& o) { return o.height_; }, [](T& o, int v) { o.SetHeight(ClampCoord(v)); }, 0);
        b.Int("MarginLeft", [](const T& o) { return o.marginLeft_; }, [](T& o, int v) { o.SetMarginLeft(v); }, 0);
        b.Int("MarginRight", [](const T& o) { return o.marginRight_; }, [](T& o, int v) { o.SetMarginRight(v); }, 0);
        b.Int("MarginTop", [](const T& o) { return o.marginTop_; }, [](T& o, int v) { o.SetMarginTop(v); }, 0);
        b.Int("MarginBottom", [](const T& o) { return o.marginBottom_; }, [](T& o, int v) { o.SetMarginBottom(v); }, 0);
        b.Enum<TSkTextAlign>("TextAlign", kSkTextAlignNames, [](const T& o) { return o.textAlign_; },
                             [](T& o, TSkTextAlign v) { o.textAlign_ = v; }, TSkTextAlign::taLeft);
        b.Enum<TSkTextEffect>("TextEffect", kSkTextEffectNames, [](const T& o) { return o.textEffect_; },
                              [](T& o, TSkTextEffect v) { o.textEffect_ = v; }, TSkTextEffect::teNone);
        b.Int("TextMarginLeft", [](const T& o) { return o.textMarginLeft_; }, [](T& o, int v) { o.SetTextMarginLeft(v); }, 0);
        b.Int("TextMarginRight", [](const T& o) { return o.textMarginRight_; }, [](T& o, int v) { o.SetTextMarginRight(v); }, 0);
        b.Int("TextMarginTop", [](const T& o) { return o.textMarginTop_; }, [](T& o, int v) { o.SetTextMarginTop(v); }, 0);
        b.Binary("Objects", [](const T& o) { return o.ObjectsData(); },
                 [](T& o, const QByteArray& v) { o.ReadObjectsData(v); });
        return t;
    }();
    return table;
}

void TSkSkinObject::SetMarginLeft(int v) { marginLeft_ = ClampCoord(v); }
void TSkSkinObject::SetMarginRight(int v) { marginRight_ = ClampCoord(v); }
void TSkSkinObject::SetMarginTop(int v) { marginTop_ = ClampCoord(v); }
void TSkSkinObject::SetMarginBottom(int v) { marginBottom_ = ClampCoord(v); }
void TSkSkinObject::SetTextMarginLeft(int v) { textMarginLeft_ = ClampCoord(v); }
void TSkSkinObject::SetTextMarginRight(int v) { textMarginRight_ = ClampCoord(v); }
void TSkSkinObject::SetTextMarginTop(int v) { textMarginTop_ = ClampCoord(v); }

void TSkSkinObject::SetBounds(int left, int top, int right, int bottom) {
    left = ClampCoord(left);
    top = ClampCoord(top);
    const int w = std::max(0, ClampCoord(std::int64_t(right) - left));
    const int h = std::max(0, ClampCoord(std::int64_t(bottom) - top));
    if (left == left_ && top == top_ && w == width_ && h == height_) return;
    prevWidth_ = width_;
    prevHeight_ = height_;
    left_ = left;
    top_ = top;
    width_ = w;
    height_ = h;
    Realign(true);
}

void TSkSkinObject::Realign(bool anchors) {
    const int n = ChildCount();
    if (n == 0) return;
    int rl = left_, rt = top_, rr = left_ + width_, rb = top_ + height_;
    auto visibleChildren = [&](auto&& f, bool reverse = false) {
        for (int k = 0; k < n; ++k) {
            TSkSkinObject* c = Child(reverse ? n - 1 - k : k);
            if (c->visible_) f(c);
        }
    };
    auto vertical = [&](TSkAlign top, TSkAlign bottom) {
        visibleChildren([&](TSkSkinObject* c) {
            if (c->align_ == top) {
                const int h = c->height_;
                c->SetBounds(rl, rt, rr, rt + h);
                rt += h;
            } else if (c->align_ == bottom) {
                const int h = c->height_;
                c->SetBounds(rl, rb - h, rr, rb);
                rb -= h;
            }
        });
    };
    auto horizontal = [&](TSkAlign left, TSkAlign right) {
        visibleChildren([&](TSkSkinObject* c) {
            if (c->align_ == left) {
                const int w = c->width_;
                c->SetBounds(rl, rt, rl + w, rb);
                rl += w;
            } else if (c->align_ == right) {
                const int w = c->width_;
                c->SetBounds(rr - w, rt, rr, rb);
                rr -= w;
            }
        });
    };
    vertical(TSkAlign::saMostTop, TSkAlign::saMostBottom);
    horizontal(TSkAlign::saMostLeft, TSkAlign::saMostRight);
    vertical(TSkAlign::saTop, TSkAlign::saBottom);
    horizontal(TSkAlign::saLeft, TSkAlign::saRight);
    visibleChildren([&](TSkSkinObject* c) {
        if (c->align_ != TSkAlign::saText) return;
        const QFontMetrics fm(c->GetFont().ToQFont());
        const int w = fm.horizontalAdvance(c->text_) + c->textMarginLeft_ + c->textMarginRight_;
        c->SetBounds(c->left_, c->top_, c->left_ + w, c->top_ + c->height_);
    }, true);
    visibleChildren([&](TSkSkinObject* c) {
        if (c->align_ != TSkAlign::saCenter) return;
        const int l = rl + (rr - rl - c->width_) / 2, t = rt + (rb - rt - c->height_) / 2;
        c->SetBounds(l, t, l + c->width_, t + c->height_);
    }, true);
    visibleChildren([&](TSkSkinObject* c) {
        if (c->align_ == TSkAlign::saClient) c->SetBounds(rl, rt, rr, rb);
    });
    if (!anchors) return;
    // Anchored children keep their distance to the right or bottom edge.
    for (int k = 0; k < n; ++k) {
        TSkSkinObject* c = Child(k);
        const bool right = c->align_ == TSkAlign::saTopRight || c->align_ == TSkAlign::saBottomRight;
        const bool bottom = c->align_ == TSkAlign::saBottomLeft || c->align_ == TSkAlign::saBottomRight;
        if (right && prevWidth_ >= 1) c->left_ = ClampCoord(std::int64_t(width_) - (prevWidth_ - c->left_));
        if (bottom && prevHeight_ >= 1) c->top_ = ClampCoord(std::int64_t(height_) - (prevHeight_ - c->top_));
    }
}

QByteArray TSkSkinObject::ObjectsData() const {
    SkinByteWriter w;
    w.Int32(std::int32_t(ChildCount() | 0xF0000));
    for (int k = 0; k < ChildCount(); ++k) {
        const TSkSkinObject* c = Child(k);
        w.String(c->ClassName());
        w.StringBytes(WriteComponentBinary(c->Save()));
    }
    return w.out;
}

void TSkSkinObject::ReadObjectsData(const QByteArray& data) {
    DepthGuard depth;
    SkinByteReader r(data, QStringLiteral("The children of skin object %1").arg(Name()));
    const std::uint32_t word = std::uint32_t(r.Int32("child count"));
    const bool binary = (word & 0xF0000) == 0xF0000;
    const std::int64_t count = r.Count(binary ? std::int32_t(word & ~0xF0000u) : std::int32_t(word), 8, "child count");
    for (std::int64_t k = 0; k < count; ++k) {
        const QString cls = r.String("class name");
        ComponentData d;
        const QByteArray body = r.StringBytes(binary ? "component" : "component text");
        if (!FindSkinObjectClass(cls)) continue;  // an unknown class is skipped whole
        d = binary ? ReadComponentBinary(body) : ReadComponentText(GbkTextToUtf8(body), cls);
        CreateSkinObject(cls, d, this);
    }
    if (!r.AtEnd()) r.Fail(QStringLiteral("%1 bytes after the last child").arg(r.Remaining()));
}

TSkSkinObject* CreateSkinObject(const QString& className, const ComponentData& data, TComponent* owner) {
    SkinObjectFactory f = FindSkinObjectClass(className);
    if (!f) return nullptr;
    SkinObjectBudget::Take();
    TSkSkinObject* obj = f(owner);
    try {
        obj->SetName(data.name);
        for (const PropEntry& e : data.props) {
            const PropertyInfo* info = FindProperty(obj->Properties(), e.name);
            if (!info || !info->set || info->type != PropertyInfo::Type::Value)
                throw EReadError(QStringLiteral("Property %1 does not exist in %2").arg(e.name, className));
            info->set(*obj, e.value);
        }
    } catch (const EStreamError&) {
        delete obj;
        throw;
    } catch (const Exception& e) {
        delete obj;
        throw EStreamError(QStringLiteral("Skin object %1 (%2): %3").arg(data.name, className, e.Message()));
    }
    return obj;
}

void TSkSkinObject::SetActive(bool v) {
    active_ = v;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetActive(v);
}

void TSkSkinObject::SetState(int state) {
    state_ = state;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetState(state);
}

void TSkSkinObject::SetBitmaps(TskBitmapList* list) {
    bitmaps_ = list;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetBitmaps(list);
}

void TSkSkinObject::SetHost(TSkSkinHost* host, int rightToLeftMode) {
    host_ = host;
    rtlMode_ = rightToLeftMode;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetHost(host, rightToLeftMode);
}

void TSkSkinObject::SetCharset(int charset) {
    font_.charset = charset;
    for (int k = 0; k < ChildCount(); ++k) Child(k)->SetCharset(charset);
}

void TSkSkinObject::ResolveLink(TskBitmapLink& link) const {
    link.Resolve(bitmaps_, marginLeft_, marginTop_, marginRight_, marginBottom_);
}

void TSkSkinObject::AfterLoad() {
    ForEachLink([this](TskBitmapLink& l) { ResolveLink(l); });
    for (int k = 0; k < ChildCount(); ++k) Child(k)->AfterLoad();
}

void TSkSkinObject::ChangeHue(int delta) {
    color_ = ShiftColorHue(color_, delta);
    ShiftFont(font_, delta);
    for (int k = 0; k < ChildCount(); ++k) Child(k)->ChangeHue(delta);
}

void TSkSkinObject::RequestRepaint() {
    if (visible_ && host_) host_->SkinObjectChanged(this);
}

TSkSkinObject* TSkSkinObject::FindByName(const QString& name) {
    if (Name().compare(name, Qt::CaseInsensitive) == 0) return this;
    for (int k = 0; k < ChildCount(); ++k)
        if (TSkSkinObject* f = Child(k)->FindByName(name)) return f;
    return nullptr;
}

TSkSkinObject* TSkSkinObject::FindByKind(TSkKind kind) {
    if (kind_ == kind) return this;
    for (int k = 0; k < ChildCount(); ++k)
        if (TSkSkinObject* f = Child(k)->FindByKind(kind)) return f;
    return nullptr;
}

TSkSkinObject* TSkSkinObject::HitTest(QPoint p) {
    if (!visible_ || kind_ == TSkKind::skTranparent || !BoundsRect().contains(p)) return nullptr;
    TSkSkinObject* hit = nullptr;
    for (int k = 0; k < ChildCount(); ++k) {
        TSkSkinObject* c = Child(k);
        if (!c->visible_) continue;
        if (TSkSkinObject* h = c->HitTest(p)) hit = h;
    }
    return hit ? hit : this;
}

void TSkSkinObject::Assign(const TSkSkinObject& s) {
    SetName(s.Name());
    masked_ = s.masked_;
    align_ = s.align_;
    kind_ = s.kind_;
    bitmaps_ = s.bitmaps_;
    color_ = s.color_;
    drawIfOwner_ = s.drawIfOwner_;
    font_ = s.font_;
    textAlign_ = s.textAlign_;
    textEffect_ = s.textEffect_;
    textMarginLeft_ = s.textMarginLeft_;
    textMarginRight_ = s.textMarginRight_;
    textMarginTop_ = s.textMarginTop_;
    marginLeft_ = s.marginLeft_;
    marginRight_ = s.marginRight_;
    marginTop_ = s.marginTop_;
    marginBottom_ = s.marginBottom_;
    while (ChildCount() > 0) delete Child(ChildCount() - 1);
    for (int k = 0; k < s.ChildCount(); ++k) {
        const TSkSkinObject* src = s.Child(k);
        SkinObjectFactory f = FindSkinObjectClass(src->ClassName());
        if (!f) continue;
        f(this)->Assign(*src);
    }
    SetBounds(s.left_, s.top_, s.left_ + s.width_, s.top_ + s.height_);
}

// ---- drawing -----------------------------------------------------------------------

void TSkSkinObject::Draw(QPainter& p) {
    if (!visible_ || width_ < 1 || height_ < 1) return;
    if (ChildCount() > 0 && !drawIfOwner_) {
        DrawChildren(p);
        return;
    }
    DrawContent(p);
}

void TSkSkinObject::DrawContent(QPainter& p) {
    const TColor c = CurrentColor();
    if (c != clNone) p.fillRect(BoundsRect(), ToQColor(c));
    DrawText(p);
    DrawChildren(p);
}

void TSkSkinObject::DrawChildren(QPainter& p) {
    for (int k = 0; k < ChildCount(); ++k) {
        TSkSkinObject* c = Child(k);
        if (c->visible_ && c->width_ >= 1 && c->height_ >= 1) c->Draw(p);
    }
}

namespace {
int HorizontalFlags(TSkTextAlign a) {
    switch (a) {
    case TSkTextAlign::taTopLeft: case TSkTextAlign::taLeft: case TSkTextAlign::taBottomLeft: return Qt::AlignLeft;
    case TSkTextAlign::taTopRight: case TSkTextAlign::taRight: case TSkTextAlign::taBottomRight: return Qt::AlignRight;
    default: return Qt::AlignHCenter;
    }
}
int VerticalFlags(TSkTextAlign a) {
    switch (a) {
    case TSkTextAlign::taTopLeft: case TSkTextAlign::taTopCenter: case TSkTextAlign::taTopRight: return Qt::AlignTop;
    case TSkTextAlign::taBottomLeft: case TSkTextAlign::taBottomCenter: case TSkTextAlign::taBottomRight: return Qt::AlignBottom;
    default: return Qt::AlignVCenter;
    }
}
int Mirror(int h) { return h == Qt::AlignLeft ? Qt::AlignRight : h == Qt::AlignRight ? Qt::AlignLeft : h; }
}

void TSkSkinObject::DrawText(QPainter& p) {
    const TFontSpec font = GetFont();
    if (text_ == QLatin1String("-")) {
        const QRect sep(left_ + 3, top_ + height_ / 2 - 1, width_ - 6, 1);
        if (sep.width() >= 1) p.fillRect(sep, ToQColor(font.color));
        return;
    }
    if (text_.isEmpty() && text2_.isEmpty()) return;
    const QRect r(QPoint(left_ + textMarginLeft_, top_ + textMarginTop_),
                  QPoint(left_ + width_ - textMarginRight_ - 1, top_ + height_ - 1));
    if (r.width() < 1 || r.height() < 1) return;
    const QFont qf = font.ToQFont();
    p.setFont(qf);
    const QColor color = enabled_ ? ToQColor(font.color) : QColor(0x80, 0x80, 0x80);
    int h = HorizontalFlags(textAlign_);
    const int v = VerticalFlags(textAlign_);
    Qt::LayoutDirection dir = Qt::LeftToRight;
    if (rtlMode_ != 0) {  // right-to-left reading mirrors the alignment
        h = Mirror(h);
        if (rtlMode_ == 2) dir = Qt::RightToLeft;
    }
    p.setLayoutDirection(dir);
    if (!text_.isEmpty()) {
        QString shown = text_;
        if (kind_ == TSkKind::skTitle)
            shown = QFontMetrics(qf).elidedText(text_, Qt::ElideRight, std::max(0, width_ - textMarginLeft_ - textMarginRight_));
        const int flags = Qt::TextSingleLine | h | v;
        if (textEffect_ == TSkTextEffect::teShadow) {
            p.setPen(Qt::black);
            p.drawText(r.translated(1, 1), flags, shown);
        }
        p.setPen(color);
        p.drawText(r, flags, shown);
    }
    if (!text2_.isEmpty()) {
        p.setPen(color);
        p.drawText(r, Qt::TextSingleLine | Mirror(h) | v, text2_);
    }
    p.setLayoutDirection(Qt::LeftToRight);
}

void TSkSkinObject::DrawPiece(QPainter& p, const TskBitmapLink& link, QRect src, QRect dst, TskTileStyle style,
                              bool transparent) {
    if (dst.width() < 1 || dst.height() < 1 || src.width() < 1 || src.height() < 1) return;
    switch (style) {
    case TskTileStyle::tsStretch: DrawSkinBitmap(p, *link.bitmap, src, dst, transparent); break;
    case TskTileStyle::tsTile: DrawSkinBitmap(p, *link.bitmap, src, dst, transparent, TskFit::Tile); break;
    case TskTileStyle::tsCenter: {
        const QRect at(left_ + (width_ - src.width()) / 2, top_ + (height_ - src.height()) / 2, src.width(), src.height());
        DrawSkinBitmap(p, *link.bitmap, src, at, transparent);
        break;
    }
    }
}

void TSkSkinObject::DrawLink(QPainter& p, const TskBitmapLink& link, TskTileStyle tile, TskTileStyle border) {
    const int ml = marginLeft_, mt = marginTop_, mr = marginRight_, mb = marginBottom_;
    const int W = width_, H = height_;
    const QRect S = link.Rect();
    const int sl = S.left(), st = S.top(), sr = link.right, sb = link.bottom;
    auto piece = [&](int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); };
    auto dest = [&](int l, int t, int r, int b) { return QRect(left_ + l, top_ + t, r - l, b - t); };
    if (ml == 0 && mt == 0 && mr == 0 && mb == 0) {
        DrawPiece(p, link, S, BoundsRect(), tile, link.centerTransparent);
        return;
    }
    DrawPiece(p, link, piece(sl + ml, st + mt, sr - mr, sb - mb), dest(ml, mt, W - mr, H - mb), tile, link.centerTransparent);
    const bool edges = link.bordersTransparent;
    DrawPiece(p, link, piece(sl + ml, st, sr - mr, st + mt), dest(ml, 0, W - mr, mt), border, edges);
    DrawPiece(p, link, piece(sl + ml, sb - mb, sr - mr, sb), dest(ml, H - mb, W - mr, H), border, edges);
    DrawPiece(p, link, piece(sl, st + mt, sl + ml, sb - mb), dest(0, mt, ml, H - mb), border, edges);
    DrawPiece(p, link, piece(sr - mr, st + mt, sr, sb - mb), dest(W - mr, mt, W, H - mb), border, edges);
    const bool corners = link.cornersTransparent;
    auto corner = [&](int sx, int sy, int w, int h, int dx, int dy) {
        if (w < 1 || h < 1) return;
        DrawSkinBitmap(p, *link.bitmap, QRect(sx, sy, w, h), QRect(left_ + dx, top_ + dy, w, h), corners);
    };
    corner(sl, st, ml, mt, 0, 0);
    corner(sr - mr, st, mr, mt, W - mr, 0);
    corner(sl, sb - mb, ml, mb, 0, H - mb);
    corner(sr - mr, sb - mb, mr, mb, W - mr, H - mb);
}

void TSkSkinObject::DrawBitmapObject(QPainter& p, const TskBitmapLink& link, TskTileStyle tile, TskTileStyle border) {
    if (!link.Usable()) return;
    const bool noMargins = marginLeft_ == 0 && marginTop_ == 0 && marginRight_ == 0 && marginBottom_ == 0;
    if (noMargins && color_ == clNone) {  // such an object paints as a plain one
        TSkSkinObject::DrawContent(p);
        return;
    }
    DrawLink(p, link, tile, border);
    DrawText(p);
    Realign(false);
    DrawChildren(p);
}

QRegion TSkSkinObject::GetRegion() {
    if (width_ < 1 || height_ < 1) return QRegion();
    if (!IsBitmapObject() || !masked_ || kind_ == TSkKind::skClient) return QRegion(BoundsRect());
    QImage img(width_, height_, QImage::Format_RGB32);
    img.fill(QColor(0x7F, 0x00, 0x7F));
    {
        QPainter p(&img);
        p.translate(-left_, -top_);
        Draw(p);
    }
    const std::uint32_t key = 0xFF000000u | kSkinKeyColor;
    QList<QRect> rects;
    for (int y = 0; y < height_; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(img.constScanLine(y));
        int x = 0;
        while (x < width_) {
            while (x < width_ && row[x] == key) ++x;
            const int start = x;
            while (x < width_ && row[x] != key) ++x;
            if (x > start) rects.append(QRect(left_ + start, top_ + y, x - start, 1));
        }
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

QRegion TSkSkinObject::Mask() {
    if (width_ < 1 || height_ < 1) return QRegion();
    if (ChildCount() > 0 && !drawIfOwner_ && masked_) {
        QRegion r;
        for (int k = 0; k < ChildCount(); ++k)
            if (Child(k)->visible_) r += Child(k)->Mask();
        return r;
    }
    return GetRegion();
}

// ---- TSkActiveObject ----------------------------------------------------------------

const PropertyTable& TSkActiveObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkActiveObject;
        PropertyTable t(&TSkSkinObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddColor(b, "ActiveColor", &T::activeColor_);
        AddFont(b, "ActiveFont", &T::activeFont_);
        return t;
    }();
    return table;
}

bool TSkActiveObject::UsesActiveLook() const {
    if (state_ == skstate::Disabled) return false;
    return state_ == skstate::Hot || state_ == skstate::Pressed || state_ == skstate::Focused || active_;
}
TFontSpec TSkActiveObject::GetFont() const { return UsesActiveLook() ? activeFont_ : font_; }
TColor TSkActiveObject::CurrentColor() const { return UsesActiveLook() ? activeColor_ : color_; }
void TSkActiveObject::ChangeHue(int delta) {
    activeColor_ = ShiftColorHue(activeColor_, delta);
    ShiftFont(activeFont_, delta);
    TSkSkinObject::ChangeHue(delta);
}
void TSkActiveObject::SetCharset(int charset) {
    activeFont_.charset = charset;
    TSkSkinObject::SetCharset(charset);
}
void TSkActiveObject::Assign(const TSkSkinObject& source) {
    TSkSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkActiveObject*>(&source)) {
        activeColor_ = s->activeColor_;
        activeFont_ = s->activeFont_;
    }
}

// ---- TSkBitmapObject --------------------------------------------------------------------

const PropertyTable& TSkBitmapObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkBitmapObject;
        PropertyTable t(&TSkSkinObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddLink(b, "Bitmap", &T::bitmap_);
        AddTile(b, "BorderTileStyle", &T::borderTileStyle_);
        b.Bool("MaskedBorder", [](const T& o) { return o.maskedBorder_; }, [](T& o, bool v) { o.maskedBorder_ = v; }, true);
        b.Bool("MaskedAngles", [](const T& o) { return o.maskedAngles_; }, [](T& o, bool v) { o.maskedAngles_ = v; }, true);
        AddTile(b, "TileStyle", &T::tileStyle_);
        return t;
    }();
    return table;
}

void TSkBitmapObject::DrawContent(QPainter& p) { DrawBitmapObject(p, CurrentLink(), tileStyle_, borderTileStyle_); }

void TSkBitmapObject::Assign(const TSkSkinObject& source) {
    TSkSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkBitmapObject*>(&source)) {
        bitmap_ = s->bitmap_;
        borderTileStyle_ = s->borderTileStyle_;
        maskedBorder_ = s->maskedBorder_;
        maskedAngles_ = s->maskedAngles_;
        tileStyle_ = s->tileStyle_;
    }
}

// ---- TSkActiveBitmap ----------------------------------------------------------------------

const PropertyTable& TSkActiveBitmap::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkActiveBitmap;
        PropertyTable t(&TSkBitmapObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddLink(b, "ActiveBitmap", &T::activeBitmap_);
        AddFont(b, "ActiveFont", &T::activeFont_);
        return t;
    }();
    return table;
}

void TSkActiveBitmap::ForEachLink(const std::function<void(TskBitmapLink&)>& f) {
    f(bitmap_);
    f(activeBitmap_);
}

TFontSpec TSkActiveBitmap::GetFont() const {
    return state_ == skstate::Hot || state_ == skstate::Focused ? activeFont_ : font_;
}

const TskBitmapLink& TSkActiveBitmap::CurrentLink() const {
    const bool activeLook = state_ == skstate::Hot || state_ == skstate::Focused ||
                            (active_ && state_ != skstate::Pressed && state_ != skstate::Disabled);
    return activeLook && activeBitmap_.Usable() ? activeBitmap_ : bitmap_;
}

void TSkActiveBitmap::ChangeHue(int delta) {
    ShiftFont(activeFont_, delta);
    TSkBitmapObject::ChangeHue(delta);
}
void TSkActiveBitmap::SetCharset(int charset) {
    activeFont_.charset = charset;
    TSkBitmapObject::SetCharset(charset);
}
void TSkActiveBitmap::Assign(const TSkSkinObject& source) {
    TSkBitmapObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkActiveBitmap*>(&source)) {
        activeBitmap_ = s->activeBitmap_;
        activeFont_ = s->activeFont_;
    }
}

// ---- system buttons ---------------------------------------------------------------------------

namespace {

// Which actions each window state hides, and which border icon an action needs.
bool HiddenInWindowState(TSkAction a, int state) {
    using A = TSkAction;
    switch (state) {
    case skstate::Normal: return a == A::sbaRestore || a == A::sbaRollDown;
    case skstate::Maximized: return a == A::sbaMaximize || a == A::sbaRollDown;
    case skstate::Minimized: return a == A::sbaMinimize || a == A::sbaMaximize || a == A::sbaRollUp || a == A::sbaRollDown;
    case skstate::RolledUp: return a == A::sbaRestore || a == A::sbaRollUp;
    default: return false;
    }
}

unsigned IconFor(TSkAction a) {
    using A = TSkAction;
    switch (a) {
    case A::sbaClose: return kbiClose;
    case A::sbaHelp: return kbiHelp;
    case A::sbaMinimize: return kbiMinimize;
    case A::sbaMaximize: case A::sbaRestore: return kbiMaximize;
    case A::sbaRollUp: case A::sbaRollDown: return kbiRollup;
    case A::sbaTray: return kbiTray;
    case A::sbaSysMenu: return kbiSystemMenu;
    default: return 0;
    }
}

void UpdateButtonVisibility(TSkSkinObject& b, TSkAction action, int state) {
    if (state != skstate::Normal && state != skstate::Maximized && state != skstate::Minimized && state != skstate::RolledUp)
        return;
    TSkFormActions* form = b.Host() ? b.Host()->SkinFormOwner() : nullptr;
    const unsigned icons = form ? form->SkBorderIcons() : (kbiClose | kbiSystemMenu | kbiMinimize | kbiMaximize);
    const unsigned need = IconFor(action);
    b.SetVisible(!HiddenInWindowState(action, state) && (need == 0 || (icons & need)));
}

void PerformAction(TSkSkinObject& b, TSkAction action) {
    TSkFormActions* form = b.Host() ? b.Host()->SkinFormOwner() : nullptr;
    if (!form) return;
    using A = TSkAction;
    switch (action) {
    case A::sbaClose: form->SkClose(); break;
    case A::sbaHelp: form->SkShowHelp(); break;
    case A::sbaMinimize: form->SkMinimize(); break;
    case A::sbaMaximize: form->SkMaximize(); break;
    case A::sbaRestore: case A::sbaRollDown: form->SkRestore(); break;
    case A::sbaRollUp: form->SkRollUp(); break;
    case A::sbaTray: form->SkMinimizeToTray(); break;
    case A::sbaSysMenu: form->SkShowSystemMenu(); break;
    case A::sbaCustom: form->SkCustomAction(&b); break;
    default: break;
    }
}

// The press-and-release behaviour both system button classes share.
struct ButtonMachine {
    TSkButtonLook& look;
    TShiftState& lastShift;
    std::function<void(TSkButtonLook)> set;
    void Enter() { set(lastShift & ssLeft ? TSkButtonLook::Pressed : TSkButtonLook::Hot); }
    void Leave() { set(TSkButtonLook::Normal); }
    void Down(TMouseButton b) {
        if (b == TMouseButton::mbLeft) set(TSkButtonLook::Pressed);
    }
    void Move(TShiftState s) {
        lastShift = s;
        if (look == TSkButtonLook::Pressed && (s & ssLeft)) set(TSkButtonLook::Pressed);
    }
    bool Up(TMouseButton b) {
        if (b != TMouseButton::mbLeft || look != TSkButtonLook::Pressed) return false;
        set(TSkButtonLook::Hot);
        return true;
    }
};

}  // namespace

const PropertyTable& TSkSystemButton::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkSystemButton;
        PropertyTable t(&TSkActiveBitmap::StaticProperties());
        PropertyBuilder<T> b(t);
        b.Enum<TSkAction>("Action", kSkActionNames, [](const T& o) { return o.action_; },
                          [](T& o, TSkAction v) { o.action_ = v; }, TSkAction::sbaNone);
        AddLink(b, "BitmapHot", &T::bitmapHot_);
        AddLink(b, "BitmapPressed", &T::bitmapPressed_);
        return t;
    }();
    return table;
}

void TSkSystemButton::ForEachLink(const std::function<void(TskBitmapLink&)>& f) {
    TSkActiveBitmap::ForEachLink(f);
    f(bitmapHot_);
    f(bitmapPressed_);
}

void TSkSystemButton::SetState(int state) {
    TSkActiveBitmap::SetState(state);
    UpdateButtonVisibility(*this, action_, state);
}

void TSkSystemButton::SetLook(TSkButtonLook l) {
    look_ = l;
    RequestRepaint();
}

#define SK_BUTTON_MACHINE ButtonMachine{look_, lastShift_, [this](TSkButtonLook l) { SetLook(l); }}
void TSkSystemButton::MouseEnter() { SK_BUTTON_MACHINE.Enter(); }
void TSkSystemButton::MouseLeave() { SK_BUTTON_MACHINE.Leave(); }
void TSkSystemButton::MouseDown(TMouseButton b, QPoint) { SK_BUTTON_MACHINE.Down(b); }
void TSkSystemButton::MouseMove(TShiftState s, QPoint) { SK_BUTTON_MACHINE.Move(s); }
void TSkSystemButton::MouseUp(TMouseButton b, QPoint) {
    if (SK_BUTTON_MACHINE.Up(b)) PerformAction(*this, action_);
}
void TSkSystemButton::DblClick(TMouseButton b, QPoint) {
    if (b == TMouseButton::mbLeft && action_ == TSkAction::sbaSysMenu) PerformAction(*this, TSkAction::sbaClose);
}

void TSkSystemButton::DrawContent(QPainter& p) {
    if (action_ == TSkAction::sbaSysMenu) {
        QIcon icon;
        if (host_ && host_->SkinFormOwner()) icon = host_->SkinFormOwner()->SkFormIcon();
        if (icon.isNull()) icon = QGuiApplication::windowIcon();
        // The style exists only in a widgets application.
        QStyle* style = qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::style() : nullptr;
        if (icon.isNull() && style) icon = style->standardIcon(QStyle::SP_TitleBarMenuButton);
        int size = style ? style->pixelMetric(QStyle::PM_SmallIconSize) : 16;
        if (size < 1) size = 16;
        if (!icon.isNull()) icon.paint(&p, QRect(left_, top_, size, size));
        return;
    }
    auto pick = [](const TskBitmapLink& want, const TskBitmapLink& normal) -> const TskBitmapLink& {
        return want.Usable() ? want : normal;
    };
    if (!active_) {
        for (int k = 0; k < ChildCount(); ++k) Child(k)->SetState(skstate::Disabled);
        DrawBitmapObject(p, bitmap_, tileStyle_, borderTileStyle_);
        return;
    }
    switch (look_) {
    case TSkButtonLook::Hot:
        for (int k = 0; k < ChildCount(); ++k) Child(k)->SetState(skstate::Hot);
        DrawBitmapObject(p, pick(bitmapHot_, bitmap_), tileStyle_, borderTileStyle_);
        break;
    case TSkButtonLook::Pressed:
        for (int k = 0; k < ChildCount(); ++k) Child(k)->SetState(skstate::Pressed);
        DrawBitmapObject(p, pick(bitmapPressed_, bitmap_), tileStyle_, borderTileStyle_);
        break;
    default:
        DrawBitmapObject(p, pick(activeBitmap_, bitmap_), tileStyle_, borderTileStyle_);
        break;
    }
}

void TSkSystemButton::Assign(const TSkSkinObject& source) {
    TSkActiveBitmap::Assign(source);
    if (auto* s = dynamic_cast<const TSkSystemButton*>(&source)) {
        action_ = s->action_;
        bitmapHot_ = s->bitmapHot_;
        bitmapPressed_ = s->bitmapPressed_;
    }
}

// ---- TSkButtonObject ------------------------------------------------------------------------------

const PropertyTable& TSkButtonObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkButtonObject;
        PropertyTable t(&TSkBitmapObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddLink(b, "BitmapHot", &T::bitmapHot_);
        AddLink(b, "BitmapFocused", &T::bitmapFocused_);
        AddLink(b, "BitmapPressed", &T::bitmapPressed_);
        AddLink(b, "BitmapDisabled", &T::bitmapDisabled_);
        return t;
    }();
    return table;
}

void TSkButtonObject::ForEachLink(const std::function<void(TskBitmapLink&)>& f) {
    f(bitmap_);
    f(bitmapHot_);
    f(bitmapFocused_);
    f(bitmapPressed_);
    f(bitmapDisabled_);
}

const TskBitmapLink& TSkButtonObject::CurrentLink() const {
    const TskBitmapLink* want = nullptr;
    switch (state_) {
    case skstate::Hot: want = &bitmapHot_; break;
    case skstate::Pressed: want = &bitmapPressed_; break;
    case skstate::Focused: want = &bitmapFocused_; break;
    case skstate::Disabled: want = &bitmapDisabled_; break;
    default: break;
    }
    return want && want->Usable() ? *want : bitmap_;
}

void TSkButtonObject::Assign(const TSkSkinObject& source) {
    TSkBitmapObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkButtonObject*>(&source)) {
        bitmapHot_ = s->bitmapHot_;
        bitmapFocused_ = s->bitmapFocused_;
        bitmapPressed_ = s->bitmapPressed_;
        bitmapDisabled_ = s->bitmapDisabled_;
    }
}

// ---- TSkTextObject --------------------------------------------------------------------------------

const PropertyTable& TSkTextObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkTextObject;
        PropertyTable t(&TSkSkinObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddFont(b, "FontHot", &T::fontHot_);
        AddFont(b, "FontFocused", &T::fontFocused_);
        AddFont(b, "FontPressed", &T::fontPressed_);
        AddFont(b, "FontDisabled", &T::fontDisabled_);
        return t;
    }();
    return table;
}

TFontSpec TSkTextObject::GetFont() const {
    switch (state_) {
    case skstate::Hot: return fontHot_;
    case skstate::Pressed: return fontPressed_;
    case skstate::Focused: return fontFocused_;
    case skstate::Disabled: return fontDisabled_;
    default: return font_;
    }
}
void TSkTextObject::ChangeHue(int delta) {
    for (TFontSpec* f : {&fontHot_, &fontFocused_, &fontPressed_, &fontDisabled_}) ShiftFont(*f, delta);
    TSkSkinObject::ChangeHue(delta);
}
void TSkTextObject::SetCharset(int charset) {
    for (TFontSpec* f : {&fontHot_, &fontFocused_, &fontPressed_, &fontDisabled_}) f->charset = charset;
    TSkSkinObject::SetCharset(charset);
}
void TSkTextObject::Assign(const TSkSkinObject& source) {
    TSkSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkTextObject*>(&source)) {
        fontHot_ = s->fontHot_;
        fontFocused_ = s->fontFocused_;
        fontPressed_ = s->fontPressed_;
        fontDisabled_ = s->fontDisabled_;
    }
}

// ---- second family --------------------------------------------------------------------------------

const PropertyTable& TSkLinkSkinObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkLinkSkinObject;
        PropertyTable t(&TSkSkinObject::StaticProperties());
        PropertyBuilder<T>(t).Str("LinkControl", [](const T& o) { return o.linkControl_; },
                                  [](T& o, const QString& v) { o.linkControl_ = v; }, QString());
        return t;
    }();
    return table;
}
void TSkLinkSkinObject::Assign(const TSkSkinObject& source) {
    TSkSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkLinkSkinObject*>(&source)) linkControl_ = s->linkControl_;
}

const PropertyTable& TSkBitmapSkinObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkBitmapSkinObject;
        PropertyTable t(&TSkSkinObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddLink(b, "Bitmap", &T::bitmap_);
        AddTile(b, "TileStyle", &T::tileStyle_);
        return t;
    }();
    return table;
}
void TSkBitmapSkinObject::DrawContent(QPainter& p) { DrawBitmapObject(p, CurrentLink(), tileStyle_, BorderStyle()); }
void TSkBitmapSkinObject::Assign(const TSkSkinObject& source) {
    TSkSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkBitmapSkinObject*>(&source)) {
        bitmap_ = s->bitmap_;
        tileStyle_ = s->tileStyle_;
    }
}

const PropertyTable& TSkFormBitmapSkinObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkFormBitmapSkinObject;
        PropertyTable t(&TSkBitmapSkinObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddLink(b, "InactiveBitmap", &T::inactiveBitmap_);
        return t;
    }();
    return table;
}
void TSkFormBitmapSkinObject::ForEachLink(const std::function<void(TskBitmapLink&)>& f) {
    f(bitmap_);
    f(inactiveBitmap_);
}
const TskBitmapLink& TSkFormBitmapSkinObject::CurrentLink() const {
    return !active_ && inactiveBitmap_.Usable() ? inactiveBitmap_ : bitmap_;
}
void TSkFormBitmapSkinObject::Assign(const TSkSkinObject& source) {
    TSkBitmapSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkFormBitmapSkinObject*>(&source)) inactiveBitmap_ = s->inactiveBitmap_;
}

const PropertyTable& TSkSysButtonSkinObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkSysButtonSkinObject;
        PropertyTable t(&TSkBitmapSkinObject::StaticProperties());
        PropertyBuilder<T> b(t);
        b.Enum<TSkAction>("Action", kSkActionNames, [](const T& o) { return o.action_; },
                          [](T& o, TSkAction v) { o.action_ = v; }, TSkAction::sbaNone);
        AddLink(b, "BitmapHover", &T::bitmapHover_);
        AddLink(b, "BitmapDown", &T::bitmapDown_);
        b.Str("RollPanel", [](const T& o) { return o.rollPanel_; }, [](T& o, const QString& v) { o.rollPanel_ = v; }, QString());
        return t;
    }();
    return table;
}
void TSkSysButtonSkinObject::ForEachLink(const std::function<void(TskBitmapLink&)>& f) {
    f(bitmap_);
    f(bitmapHover_);
    f(bitmapDown_);
}
const TskBitmapLink& TSkSysButtonSkinObject::CurrentLink() const {
    const TskBitmapLink& want = look_ == TSkButtonLook::Hot ? bitmapHover_ : look_ == TSkButtonLook::Pressed ? bitmapDown_ : bitmap_;
    return want.Usable() ? want : bitmap_;
}
void TSkSysButtonSkinObject::SetState(int state) {
    TSkBitmapSkinObject::SetState(state);
    UpdateButtonVisibility(*this, action_, state);
}
void TSkSysButtonSkinObject::SetLook(TSkButtonLook l) {
    look_ = l;
    RequestRepaint();
}
void TSkSysButtonSkinObject::MouseEnter() { SK_BUTTON_MACHINE.Enter(); }
void TSkSysButtonSkinObject::MouseLeave() { SK_BUTTON_MACHINE.Leave(); }
void TSkSysButtonSkinObject::MouseDown(TMouseButton b, QPoint) { SK_BUTTON_MACHINE.Down(b); }
void TSkSysButtonSkinObject::MouseMove(TShiftState s, QPoint) { SK_BUTTON_MACHINE.Move(s); }
void TSkSysButtonSkinObject::MouseUp(TMouseButton b, QPoint) {
    if (SK_BUTTON_MACHINE.Up(b)) PerformAction(*this, action_);
}
void TSkSysButtonSkinObject::DblClick(TMouseButton b, QPoint) {
    if (b == TMouseButton::mbLeft && action_ == TSkAction::sbaSysMenu) PerformAction(*this, TSkAction::sbaClose);
}
#undef SK_BUTTON_MACHINE
void TSkSysButtonSkinObject::Assign(const TSkSkinObject& source) {
    TSkBitmapSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkSysButtonSkinObject*>(&source)) {
        action_ = s->action_;
        bitmapHover_ = s->bitmapHover_;
        bitmapDown_ = s->bitmapDown_;
        rollPanel_ = s->rollPanel_;
    }
}

const PropertyTable& TSkColorButtonObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkColorButtonObject;
        PropertyTable t(&TSkSkinObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddColor(b, "HotColor", &T::hotColor_);
        AddFont(b, "HotFont", &T::hotFont_);
        AddColor(b, "PressedColor", &T::pressedColor_);
        AddFont(b, "PressedFont", &T::pressedFont_);
        AddColor(b, "FocusedColor", &T::focusedColor_);
        AddFont(b, "FocusedFont", &T::focusedFont_);
        AddColor(b, "DisabledColor", &T::disabledColor_);
        AddFont(b, "DisabledFont", &T::disabledFont_);
        return t;
    }();
    return table;
}
TFontSpec TSkColorButtonObject::GetFont() const {
    switch (state_) {
    case skstate::Hot: return hotFont_;
    case skstate::Pressed: return pressedFont_;
    case skstate::Focused: return focusedFont_;
    case skstate::Disabled: return disabledFont_;
    default: return font_;
    }
}
TColor TSkColorButtonObject::CurrentColor() const {
    switch (state_) {
    case skstate::Hot: return hotColor_;
    case skstate::Pressed: return pressedColor_;
    case skstate::Focused: return focusedColor_;
    case skstate::Disabled: return disabledColor_;
    default: return color_;
    }
}
void TSkColorButtonObject::ChangeHue(int delta) {
    for (TColor* c : {&hotColor_, &pressedColor_, &focusedColor_, &disabledColor_}) *c = ShiftColorHue(*c, delta);
    for (TFontSpec* f : {&hotFont_, &pressedFont_, &focusedFont_, &disabledFont_}) ShiftFont(*f, delta);
    TSkSkinObject::ChangeHue(delta);
}
void TSkColorButtonObject::SetCharset(int charset) {
    for (TFontSpec* f : {&hotFont_, &pressedFont_, &focusedFont_, &disabledFont_}) f->charset = charset;
    TSkSkinObject::SetCharset(charset);
}
void TSkColorButtonObject::Assign(const TSkSkinObject& source) {
    TSkSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkColorButtonObject*>(&source)) {
        hotColor_ = s->hotColor_;
        pressedColor_ = s->pressedColor_;
        focusedColor_ = s->focusedColor_;
        disabledColor_ = s->disabledColor_;
        hotFont_ = s->hotFont_;
        pressedFont_ = s->pressedFont_;
        focusedFont_ = s->focusedFont_;
        disabledFont_ = s->disabledFont_;
    }
}

const PropertyTable& TSkBitmapBoxObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkBitmapBoxObject;
        PropertyTable t(&TSkBitmapSkinObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddTile(b, "BorderTileStyle", &T::borderTileStyle_);
        return t;
    }();
    return table;
}
void TSkBitmapBoxObject::Assign(const TSkSkinObject& source) {
    TSkBitmapSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkBitmapBoxObject*>(&source)) borderTileStyle_ = s->borderTileStyle_;
}

const PropertyTable& TSkActiveBitmapBoxObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkActiveBitmapBoxObject;
        PropertyTable t(&TSkBitmapBoxObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddLink(b, "FocusedBitmap", &T::focusedBitmap_);
        return t;
    }();
    return table;
}
void TSkActiveBitmapBoxObject::ForEachLink(const std::function<void(TskBitmapLink&)>& f) {
    f(bitmap_);
    f(focusedBitmap_);
}
const TskBitmapLink& TSkActiveBitmapBoxObject::CurrentLink() const {
    const bool focused = state_ == skstate::Focused || state_ == skstate::Hot;
    return focused && focusedBitmap_.Usable() ? focusedBitmap_ : bitmap_;
}
void TSkActiveBitmapBoxObject::Assign(const TSkSkinObject& source) {
    TSkBitmapBoxObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkActiveBitmapBoxObject*>(&source)) focusedBitmap_ = s->focusedBitmap_;
}

const PropertyTable& TSkButtonBitmapBoxObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkButtonBitmapBoxObject;
        PropertyTable t(&TSkBitmapBoxObject::StaticProperties());
        PropertyBuilder<T> b(t);
        AddLink(b, "HotBitmap", &T::hotBitmap_);
        AddLink(b, "FocusedBitmap", &T::focusedBitmap_);
        AddLink(b, "PressedBitmap", &T::pressedBitmap_);
        AddLink(b, "DisabledBitmap", &T::disabledBitmap_);
        return t;
    }();
    return table;
}
void TSkButtonBitmapBoxObject::ForEachLink(const std::function<void(TskBitmapLink&)>& f) {
    f(bitmap_);
    f(hotBitmap_);
    f(focusedBitmap_);
    f(pressedBitmap_);
    f(disabledBitmap_);
}
const TskBitmapLink& TSkButtonBitmapBoxObject::CurrentLink() const {
    const TskBitmapLink* want = nullptr;
    switch (state_) {
    case skstate::Hot: want = &hotBitmap_; break;
    case skstate::Pressed: want = &pressedBitmap_; break;
    case skstate::Focused: want = &focusedBitmap_; break;
    case skstate::Disabled: want = &disabledBitmap_; break;
    default: break;
    }
    return want && want->Usable() ? *want : bitmap_;
}
void TSkButtonBitmapBoxObject::Assign(const TSkSkinObject& source) {
    TSkBitmapBoxObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkButtonBitmapBoxObject*>(&source)) {
        hotBitmap_ = s->hotBitmap_;
        focusedBitmap_ = s->focusedBitmap_;
        pressedBitmap_ = s->pressedBitmap_;
        disabledBitmap_ = s->disabledBitmap_;
    }
}

const PropertyTable& TSkRollPanelObject::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkRollPanelObject;
        PropertyTable t(&TSkSkinObject::StaticProperties());
        PropertyBuilder<T> b(t);
        b.Enum<TSkRollKind>("RollKind", kSkRollKindNames, [](const T& o) { return o.rollKind_; },
                            [](T& o, TSkRollKind v) { o.rollKind_ = v; }, TSkRollKind::rkTop);
        b.Int("RollValue", [](const T& o) { return o.rollValue_; }, [](T& o, int v) { o.rollValue_ = v; }, 0);
        return t;
    }();
    return table;
}
void TSkRollPanelObject::Assign(const TSkSkinObject& source) {
    TSkSkinObject::Assign(source);
    if (auto* s = dynamic_cast<const TSkRollPanelObject*>(&source)) {
        rollKind_ = s->rollKind_;
        rollValue_ = s->rollValue_;
    }
}

// ---- registry ---------------------------------------------------------------------------------------

namespace {
struct ClassEntry { QString name; SkinObjectFactory factory; };
template <class T>
TSkSkinObject* Make(TComponent* owner) { return new T(owner); }

std::vector<ClassEntry>& Classes() {
    static std::vector<ClassEntry> classes = {
        {"TSkSkinObject", &Make<TSkSkinObject>},
        {"TSkActiveObject", &Make<TSkActiveObject>},
        {"TSkBitmapObject", &Make<TSkBitmapObject>},
        {"TSkActiveBitmap", &Make<TSkActiveBitmap>},
        {"TSkSystemButton", &Make<TSkSystemButton>},
        {"TSkButtonObject", &Make<TSkButtonObject>},
        {"TSkTextObject", &Make<TSkTextObject>},
        {"TSkLinkSkinObject", &Make<TSkLinkSkinObject>},
        {"TSkActiveSkinObject", &Make<TSkActiveSkinObject>},
        {"TSkBitmapSkinObject", &Make<TSkBitmapSkinObject>},
        {"TSkFormBitmapSkinObject", &Make<TSkFormBitmapSkinObject>},
        {"TSkSysButtonSkinObject", &Make<TSkSysButtonSkinObject>},
        {"TSkColorButtonObject", &Make<TSkColorButtonObject>},
        {"TSkBitmapBoxObject", &Make<TSkBitmapBoxObject>},
        {"TSkActiveBitmapBoxObject", &Make<TSkActiveBitmapBoxObject>},
        {"TSkButtonBitmapBoxObject", &Make<TSkButtonBitmapBoxObject>},
        {"TSkRollPanelObject", &Make<TSkRollPanelObject>},
    };
    return classes;
}
}

SkinObjectFactory FindSkinObjectClass(const QString& className) {
    for (const ClassEntry& e : Classes())
        if (e.name == className) return e.factory;
    return nullptr;
}

void RegisterSkinObjectClass(const QString& className, SkinObjectFactory factory) {
    for (ClassEntry& e : Classes())
        if (e.name == className) {
            e.factory = factory;
            return;
        }
    Classes().push_back({className, factory});
}

QStringList SkinObjectClassNames() {
    QStringList names;
    for (const ClassEntry& e : Classes()) names << e.name;
    return names;
}

TSkSkinObject* CloneSkinObject(const TSkSkinObject& source) {
    SkinObjectFactory f = FindSkinObjectClass(source.ClassName());
    if (!f) return nullptr;
    TSkSkinObject* copy = f(nullptr);
    copy->Assign(source);
    return copy;
}
