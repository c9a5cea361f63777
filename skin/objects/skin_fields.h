#pragma once
// Each skin class declares its published members once, in a table. The table
// gives the stream its property entries and gives Assign, the link list, the
// hue shift and the character set what to copy and visit, so adding a
// property is one line. It also reads stored values straight into the
// object, without building a PropValue for the common kinds.
#include "colors.h"
#include "component.h"
#include "component_cursor.h"
#include "control.h"
#include "skin_kinds.h"
#include "skin_link.h"

#include <QAnyStringView>
#include <cstring>
#include <functional>
#include <vector>

class TSkSkinObject;

// Exact names to small numbers, found without building a string.
class SkinNameIndex {
public:
    void Add(const QString& name, int value);
    int Find(QAnyStringView name) const;  // -1 when absent
    int Count() const { return count_; }
private:
    struct Slot {
        Slot() = default;
        Slot(const QString& n, int v);
        bool Matches(QAnyStringView s, std::uint64_t hash16, std::uint64_t hash8) const;
        QString name;
        QByteArray latin1;  // empty unless inLatin1
        bool inLatin1 = false;
        std::uint32_t place = 0;
        std::uint64_t hash16 = 0, hash8 = 0;
        int value = -1;
    };
    void Grow();
    std::vector<Slot> slots_;
    int count_ = 0;
};

namespace skin_limits {
constexpr int kMaxCoord = 1 << 24;
}
// Keeps a coordinate from the stream where sums of two stay in range.
int ClampCoord(std::int64_t v);

// One published member, as Assign and the tree operations see it.
struct SkinField {
    enum class Kind { Plain, Color, Font, Link, Bounds, Children };
    Kind kind = Kind::Plain;
    QString name;
    std::function<void(TSkSkinObject& to, const TSkSkinObject& from)> copy;  // not for Bounds, Children
    std::function<TColor&(TSkSkinObject&)> color;
    std::function<TFontSpec&(TSkSkinObject&)> font;
    std::function<TskBitmapLink&(TSkSkinObject&)> link;
};

template <class T> class SkinFields;

// The same text as an earlier call handed out, shared: a skin names the same
// few fonts and bitmaps thousands of times.
QString SkinSharedString(QAnyStringView text);
// A colour name; the usual spellings are found without a search.
TColor SkinColorFromIdent(QAnyStringView id, const QString& property);
// A character set, by number or by name.
int SkinCharsetFromValue(const PropValue& v, const QString& property);
int SkinCharsetFromIdent(QAnyStringView id, const QString& property);
PropValue SkinCharsetValue(int charset);
const EnumNames<TFontStyle>& SkinFontStyleNames();

class SkinClassTable {
public:
    // Declares T's own members, on top of parent's (null for the base).
    template <class T, class Declare>
    SkinClassTable(std::type_identity<T>, const SkinClassTable* parent, Declare&& declare);
    SkinClassTable(const SkinClassTable&) = delete;
    SkinClassTable& operator=(const SkinClassTable&) = delete;

    const PropertyTable& Properties() const { return properties_; }
    const SkinClassTable* Parent() const { return parent_; }
    // This table or one of its ancestors is t.
    bool Includes(const SkinClassTable& t) const;
    const std::vector<SkinField>& OwnFields() const { return own_; }

    // Every level's, base first.
    const std::vector<const SkinField*>& Colors() const { return colors_; }
    const std::vector<const SkinField*>& Fonts() const { return fonts_; }
    const std::vector<const SkinField*>& Links() const { return links_; }

    // Reads the cursor's current property into o; an unknown name raises
    // EReadError, a bad value whatever its setter raises. Streams store
    // properties in table order: after the one at hint (what the previous
    // call returned, -1 at first) the next few are tried before the index.
    int ReadProperty(TSkSkinObject& o, ComponentCursor& c, const QString& className, int hint = -1) const;

private:
    template <class T> friend class SkinFields;
    // Takes the value when it is of the kind the member stores directly.
    using FastRead = std::function<bool(TSkSkinObject&, ComponentCursor&)>;
    struct Reader {
        QString path;
        QByteArray latin1;  // the path as binary forms store it
        FastRead take;
        const PropertyInfo* info = nullptr;
        bool Is(QAnyStringView name) const {
            if (name.size() != path.size()) return false;  // paths are ASCII: one size in either encoding
            return name.visit([&](auto v) {
                using V = decltype(v);
                if constexpr (std::is_same_v<V, QStringView>)
                    return std::memcmp(v.data(), path.constData(), std::size_t(v.size()) * 2) == 0;
                else if constexpr (std::is_same_v<V, QLatin1StringView>)
                    return std::memcmp(v.data(), latin1.constData(), std::size_t(v.size())) == 0;
                else
                    return path == v.toString();
            });
        }
    };
    void AddReader(const QString& path, FastRead take) { pendingReaders_.push_back({path, path.toLatin1(), std::move(take), nullptr}); }
    void Finish();

    PropertyTable properties_;
    const SkinClassTable* parent_;
    std::vector<SkinField> own_;
    std::vector<const SkinField*> colors_, fonts_, links_;
    std::vector<Reader> readers_;         // every level's
    std::vector<Reader> pendingReaders_;  // own, until Finish
    SkinNameIndex byPath_;
};

// The declarations of one class; each adds the property entries (named as
// the stream names them, in stream order) and the field.
template <class T>
class SkinFields {
public:
    explicit SkinFields(SkinClassTable& t) : t_(t), b_(t.properties_) {}

    SkinFields& Bool(const QString& n, bool T::*m, bool def) {
        auto set = [m](T& o, bool v) { o.*m = v; };
        b_.Bool(n, [m](const T& o) { return o.*m; }, set, def);
        Reader(n, [set](T& o, ComponentCursor& c) {
            bool v;
            if (!c.TakeBool(v)) return false;
            set(o, v);
            return true;
        });
        return Plain(n, m);
    }
    // clamp keeps stored integers where the code that uses them can add them.
    SkinFields& Int(const QString& n, int T::*m, int def, int (*clamp)(std::int64_t) = nullptr) {
        return IntWith(n, [m](const T& o) { return o.*m; }, [m, clamp](T& o, int v) { o.*m = clamp ? clamp(v) : v; }, def,
                       SkinField::Kind::Plain, m);
    }
    // Left, Top, Width, Height: set through the bounds, copied last by Assign.
    SkinFields& Bound(const QString& n, int T::*m, void (T::*setter)(int)) {
        return IntWith(n, [m](const T& o) { return o.*m; }, [setter](T& o, int v) { (o.*setter)(ClampCoord(v)); }, 0,
                       SkinField::Kind::Bounds, m);
    }
    SkinFields& Str(const QString& n, QString T::*m) {
        StrWith(n, [m](T& o) -> QString& { return o.*m; }, QString());
        return Plain(n, m);
    }
    template <class E>
    SkinFields& Enum(const QString& n, const EnumNames<E>& names, E T::*m, E def) {
        auto set = [m](T& o, E v) { o.*m = v; };
        b_.template Enum<E>(n, names, [m](const T& o) { return o.*m; }, set, def);
        Reader(n, [set, index = IndexOf(names), &names, n](T& o, ComponentCursor& c) {
            QAnyStringView id;
            if (!c.TakeIdent(id)) return false;
            const int k = index.Find(id);
            set(o, k >= 0 ? E(k) : names.FromName(id.toString(), n));
            return true;
        });
        return Plain(n, m);
    }
    SkinFields& Tile(const QString& n, TskTileStyle T::*m) { return Enum(n, kSkTileStyleNames, m, TskTileStyle::tsTile); }
    SkinFields& Color(const QString& n, TColor T::*m, TColor def = clWhite) {
        AddColor(n, [m](T& o) -> TColor& { return o.*m; }, def);
        SkinField f = Field(SkinField::Kind::Color, n, m);
        f.color = [m](TSkSkinObject& o) -> TColor& { return static_cast<T&>(o).*m; };
        t_.own_.push_back(std::move(f));
        return *this;
    }
    // Font.Charset, Font.Color, Font.Height, Font.Name, Font.Style.
    SkinFields& Font(const QString& prefix, TFontSpec T::*m);
    // Bitmap.Name, Bitmap.Left, Bitmap.Top, Bitmap.Right, Bitmap.Bottom.
    SkinFields& Link(const QString& prefix, TskBitmapLink T::*m) {
        StrWith(prefix + QStringLiteral(".Name"), [m](T& o) -> QString& { return (o.*m).name; }, QString());
        for (const auto& side : {std::pair{".Left", &TskBitmapLink::left}, std::pair{".Top", &TskBitmapLink::top},
                                 std::pair{".Right", &TskBitmapLink::right}, std::pair{".Bottom", &TskBitmapLink::bottom}}) {
            int TskBitmapLink::*part = side.second;
            IntWith(prefix + QLatin1StringView(side.first), [m, part](const T& o) { return (o.*m).*part; },
                    [m, part](T& o, int v) { (o.*m).*part = ClampCoord(v); }, 0, SkinField::Kind::Plain, nullptr);
        }
        SkinField f = Field(SkinField::Kind::Link, prefix, m);
        f.link = [m](TSkSkinObject& o) -> TskBitmapLink& { return static_cast<T&>(o).*m; };
        t_.own_.push_back(std::move(f));
        return *this;
    }
    // The children, stored as one binary value; cloned by Assign.
    SkinFields& Children(const QString& n, QByteArray (T::*get)() const, void (T::*read)(QByteArrayView)) {
        b_.Binary(n, [get](const T& o) { return (o.*get)(); }, [read](T& o, const QByteArray& v) { (o.*read)(v); });
        Reader(n, [read](T& o, ComponentCursor& c) {
            QByteArrayView v;
            if (!c.TakeBinary(v)) return false;
            (o.*read)(v);
            return true;
        });
        SkinField f;
        f.kind = SkinField::Kind::Children;
        f.name = n;
        t_.own_.push_back(std::move(f));
        return *this;
    }

private:
    template <class F>
    void Reader(const QString& n, F take) {
        t_.AddReader(n, [take](TSkSkinObject& o, ComponentCursor& c) { return take(static_cast<T&>(o), c); });
    }
    template <class M>
    SkinField Field(SkinField::Kind kind, const QString& n, M T::*m) {
        SkinField f;
        f.kind = kind;
        f.name = n;
        f.copy = [m](TSkSkinObject& to, const TSkSkinObject& from) { static_cast<T&>(to).*m = static_cast<const T&>(from).*m; };
        return f;
    }
    template <class M>
    SkinFields& Plain(const QString& n, M T::*m) {
        t_.own_.push_back(Field(SkinField::Kind::Plain, n, m));
        return *this;
    }
    template <class G, class S>
    SkinFields& IntWith(const QString& n, G get, S set, int def, SkinField::Kind kind, int T::*m) {
        b_.Int(n, get, set, def);
        Reader(n, [set, n](T& o, ComponentCursor& c) {
            std::int64_t v;
            if (!c.TakeInt(v)) return false;
            set(o, prop::ToInt32(v, n));
            return true;
        });
        if (m) t_.own_.push_back(Field(kind, n, m));
        return *this;
    }
    template <class R>
    void StrWith(const QString& n, R ref, const QString& def) {
        auto set = [ref](T& o, const QString& v) { ref(o) = v; };
        b_.Str(n, [ref](const T& o) { return ref(const_cast<T&>(o)); }, set, def);
        Reader(n, [set](T& o, ComponentCursor& c) {
            QAnyStringView view;
            QString v;
            if (c.TakeStringView(view)) set(o, SkinSharedString(view));
            else if (c.TakeString(v)) set(o, v);
            else return false;
            return true;
        });
    }
    template <class R>
    void AddColor(const QString& n, R ref, TColor def) {
        auto set = [ref](T& o, TColor v) { ref(o) = v; };
        b_.Color(n, [ref](const T& o) { return ref(const_cast<T&>(o)); }, set, def);
        Reader(n, [set, n](T& o, ComponentCursor& c) {
            std::int64_t i;
            QAnyStringView id;
            if (c.TakeInt(i)) set(o, TColor(std::uint32_t(i)));  // as prop::ToColor takes numbers
            else if (c.TakeIdent(id)) set(o, SkinColorFromIdent(id, n));
            else return false;
            return true;
        });
    }
    template <class E>
    static SkinNameIndex IndexOf(const EnumNames<E>& names) {
        SkinNameIndex index;
        for (std::size_t k = 0; k < names.names.size(); ++k) index.Add(names.names[k], int(k));
        return index;
    }
    SkinClassTable& t_;
    PropertyBuilder<T> b_;
};

template <class T>
SkinFields<T>& SkinFields<T>::Font(const QString& prefix, TFontSpec T::*m) {
    const TFontSpec def;
    const QString charset = prefix + QStringLiteral(".Charset");
    auto setCharset = [m](T& o, int v) { (o.*m).charset = v; };
    b_.Add(charset, [m](const T& o) { return SkinCharsetValue((o.*m).charset); },
           [setCharset, charset](T& o, const PropValue& v) { setCharset(o, SkinCharsetFromValue(v, charset)); },
           SkinCharsetValue(def.charset));
    Reader(charset, [setCharset, charset](T& o, ComponentCursor& c) {
        std::int64_t i;
        QAnyStringView id;
        if (c.TakeInt(i)) setCharset(o, SkinCharsetFromValue(PropValue::Int(i), charset));
        else if (c.TakeIdent(id)) setCharset(o, SkinCharsetFromIdent(id, charset));
        else return false;
        return true;
    });
    AddColor(prefix + QStringLiteral(".Color"), [m](T& o) -> TColor& { return (o.*m).color; }, def.color);
    IntWith(prefix + QStringLiteral(".Height"), [m](const T& o) { return (o.*m).height; },
            [m](T& o, int v) { (o.*m).height = std::clamp(v, -4096, 4096); }, def.height, SkinField::Kind::Plain, nullptr);
    StrWith(prefix + QStringLiteral(".Name"), [m](T& o) -> QString& { return (o.*m).name; }, def.name);
    const QString style = prefix + QStringLiteral(".Style");
    b_.template SetOf<TFontStyle>(style, SkinFontStyleNames(), [m](const T& o) { return (o.*m).style; },
                                  [m](T& o, unsigned v) { (o.*m).style = v; }, 0u);
    t_.AddReader(style, nullptr);  // sets are rare: the usual conversion
    SkinField f = Field(SkinField::Kind::Font, prefix, m);
    f.font = [m](TSkSkinObject& o) -> TFontSpec& { return static_cast<T&>(o).*m; };
    t_.own_.push_back(std::move(f));
    return *this;
}

template <class T, class Declare>
SkinClassTable::SkinClassTable(std::type_identity<T>, const SkinClassTable* parent, Declare&& declare)
    : properties_(parent ? &parent->properties_ : &TComponent::StaticProperties()), parent_(parent) {
    SkinFields<T> fields(*this);
    declare(fields);
    Finish();
}

// The members every skin class declares alike.
#define TSK_SKIN_CLASS(T)                                                           \
public:                                                                             \
    QString ClassName() const override { return QStringLiteral(#T); }               \
    static const SkinClassTable& StaticTable();                                     \
    const SkinClassTable& ClassTable() const override { return StaticTable(); }     \
    static const PropertyTable& StaticProperties() { return StaticTable().Properties(); }
