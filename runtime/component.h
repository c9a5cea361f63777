#pragma once
// Components: objects with a name, an owner and published properties described
// by one table per class. Forms and skins are loaded through these tables.
#include "prop_value.h"

#include <QString>
#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;
class TComponent;

// One published property. Setters receive the stored value; a property that
// names another component (SkinEngine = SkSkinEngine1) is a reference and is set
// after every component of the form exists.
struct PropertyInfo {
    enum class Type { Value, Event, Reference };
    QString name;
    Type type = Type::Value;
    std::function<PropValue(const TComponent&)> get;            // empty: not written
    std::function<void(TComponent&, const PropValue&)> set;
    std::optional<PropValue> defaultValue;                       // equal values are not written
    std::function<void(TComponent&, const std::any&)> bindEvent; // Type::Event
    std::function<void(TComponent&, TComponent*)> setReference;  // Type::Reference
};

class PropertyTable {
public:
    explicit PropertyTable(const PropertyTable* parent = nullptr) : parent_(parent) {}
    void Add(PropertyInfo info) { own_.push_back(std::move(info)); }
    // Case-insensitive lookup, the class's own entries before its ancestors'.
    const PropertyInfo* Find(const QString& name) const;
    // Ancestors' entries first, in declaration order.
    std::vector<const PropertyInfo*> All() const;
private:
    const PropertyTable* parent_;
    std::vector<PropertyInfo> own_;
};

// Converts stored values; a wrong kind raises EReadError naming the property.
namespace prop {
int ToInt(const PropValue& v, const QString& name);
[[noreturn]] void ThrowNotInt32(std::int64_t v, const QString& name);
// An integer as a 32-bit property holds it; values up to 2^32 - 1 wrap.
inline int ToInt32(std::int64_t v, const QString& name) {
    if (v < INT32_MIN || v > std::int64_t(UINT32_MAX)) ThrowNotInt32(v, name);
    return int(std::int32_t(std::uint32_t(v)));
}
double ToFloat(const PropValue& v, const QString& name);
bool ToBool(const PropValue& v, const QString& name);
QString ToString(const PropValue& v, const QString& name);
QString ToIdent(const PropValue& v, const QString& name);
std::uint32_t ToColor(const PropValue& v, const QString& name);  // ident or number
PropValue FromColor(std::uint32_t c);
QStringList ToSet(const PropValue& v, const QString& name);
QByteArray ToBinary(const PropValue& v, const QString& name);
QStringList ToStrings(const PropValue& v, const QString& name);   // a list of strings
}

// Names of an enumeration's values in declaration order ("alNone", "alTop").
template <class E>
struct EnumNames {
    std::vector<QString> names;
    E FromName(const QString& n, const QString& prop) const;
    QString ToName(E e) const { return names.at(size_t(e)); }
};
[[noreturn]] void ThrowBadEnum(const QString& value, const QString& prop);
template <class E>
E EnumNames<E>::FromName(const QString& n, const QString& prop) const {
    for (size_t k = 0; k < names.size(); ++k)
        if (names[k].compare(n, Qt::CaseInsensitive) == 0) return E(k);
    ThrowBadEnum(n, prop);
}

class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    virtual QString ClassName() const = 0;
    static const PropertyTable& StaticProperties();
    virtual const PropertyTable& Properties() const { return StaticProperties(); }

    const QString& Name() const { return name_; }
    void SetName(const QString& n) { name_ = n; }
    int Tag() const { return tag_; }
    void SetTag(int t) { tag_ = t; }

    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* FindComponent(const QString& name) const;  // case-insensitive, direct children
    template <class T> T* Find(const QString& name) const { return dynamic_cast<T*>(FindComponent(name)); }

    // The widget a visual component is; null for non-visual ones.
    virtual QWidget* AsWidget() { return nullptr; }
    // A nested component in a description is handed to its container here;
    // the default makes a widget a child widget of this one.
    virtual void AdoptChild(TComponent* child);

    bool IsLoading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    // Called once all properties of the whole form are set.
    virtual void Loaded() { loading_ = false; }

    // Property access by path, for loaders and tests.
    void SetProperty(const QString& path, const PropValue& v);
    PropValue GetProperty(const QString& path) const;

    // The component as data: class, name and every property that differs
    // from its default (nested components are the class's own business).
    ComponentData Save() const;
    void ApplyProperties(const ComponentData& d, const QString& sourceName = QString());

private:
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);

    QString name_;
    int tag_ = 0;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    bool loading_ = false;
};

// Creates components by class name.
class ComponentRegistry {
public:
    using Factory = std::function<TComponent*(TComponent* owner, QWidget* parent)>;
    static void Register(const QString& className, Factory f);
    static TComponent* Create(const QString& className, TComponent* owner, QWidget* parent);
    static bool Has(const QString& className);

    // Work a class may do on its described values before any window exists
    // (see TForm::PrepareDescription). A preparer never fails: what it
    // cannot do is done, and reported, when the window is read.
    using Preparer = std::function<void(const ComponentData& described)>;
    static void RegisterPreparer(const QString& className, Preparer p);
    // Gives d and every component inside it to its class's preparer.
    static void Prepare(const ComponentData& d);
};

// Registers class T, constructed as T(owner, parent) for widgets or T(owner).
template <class T>
struct RegisterComponent {
    explicit RegisterComponent(const QString& name) {
        ComponentRegistry::Register(name, [](TComponent* owner, QWidget* parent) -> TComponent* {
            if constexpr (std::is_constructible_v<T, TComponent*, QWidget*>) return new T(owner, parent);
            else return new T(owner);
        });
    }
};

// Builds a class's property table from typed getters and setters.
template <class T>
class PropertyBuilder {
public:
    explicit PropertyBuilder(PropertyTable& t) : t_(t) {}

    PropertyBuilder& Int(const QString& n, std::function<int(const T&)> g, std::function<void(T&, int)> s,
                         std::optional<int> def = std::nullopt) {
        return Add(n, [g](const T& o) { return PropValue::Int(g(o)); },
                   [s, n](T& o, const PropValue& v) { s(o, prop::ToInt(v, n)); },
                   def ? std::optional<PropValue>(PropValue::Int(*def)) : std::nullopt);
    }
    PropertyBuilder& Float(const QString& n, std::function<double(const T&)> g, std::function<void(T&, double)> s,
                           std::optional<double> def = std::nullopt) {
        return Add(n, [g](const T& o) { return PropValue::Float(g(o)); },
                   [s, n](T& o, const PropValue& v) { s(o, prop::ToFloat(v, n)); },
                   def ? std::optional<PropValue>(PropValue::Float(*def)) : std::nullopt);
    }
    PropertyBuilder& Bool(const QString& n, std::function<bool(const T&)> g, std::function<void(T&, bool)> s,
                          std::optional<bool> def = std::nullopt) {
        return Add(n, [g](const T& o) { return PropValue::Bool(g(o)); },
                   [s, n](T& o, const PropValue& v) { s(o, prop::ToBool(v, n)); },
                   def ? std::optional<PropValue>(PropValue::Bool(*def)) : std::nullopt);
    }
    PropertyBuilder& Str(const QString& n, std::function<QString(const T&)> g, std::function<void(T&, const QString&)> s,
                         std::optional<QString> def = std::nullopt) {
        return Add(n, [g](const T& o) { return PropValue::Str(g(o)); },
                   [s, n](T& o, const PropValue& v) { s(o, prop::ToString(v, n)); },
                   def ? std::optional<PropValue>(PropValue::Str(*def)) : std::nullopt);
    }
    PropertyBuilder& Color(const QString& n, std::function<std::uint32_t(const T&)> g,
                           std::function<void(T&, std::uint32_t)> s, std::optional<std::uint32_t> def = std::nullopt) {
        return Add(n, [g](const T& o) { return prop::FromColor(g(o)); },
                   [s, n](T& o, const PropValue& v) { s(o, prop::ToColor(v, n)); },
                   def ? std::optional<PropValue>(prop::FromColor(*def)) : std::nullopt);
    }
    PropertyBuilder& Binary(const QString& n, std::function<QByteArray(const T&)> g,
                            std::function<void(T&, const QByteArray&)> s) {
        return Add(n, g ? std::function<PropValue(const T&)>([g](const T& o) { return PropValue::Binary(g(o)); }) : nullptr,
                   [s, n](T& o, const PropValue& v) { s(o, prop::ToBinary(v, n)); }, std::nullopt);
    }
    PropertyBuilder& Strings(const QString& n, std::function<QStringList(const T&)> g,
                             std::function<void(T&, const QStringList&)> s) {
        return Add(n, [g](const T& o) {
                       std::vector<PropValue> items;
                       for (const QString& x : g(o)) items.push_back(PropValue::Str(x));
                       return PropValue::List(std::move(items));
                   },
                   [s, n](T& o, const PropValue& v) { s(o, prop::ToStrings(v, n)); }, std::nullopt);
    }
    template <class E>
    PropertyBuilder& Enum(const QString& n, const EnumNames<E>& names, std::function<E(const T&)> g,
                          std::function<void(T&, E)> s, std::optional<E> def = std::nullopt) {
        return Add(n, [g, names](const T& o) { return PropValue::Ident(names.ToName(g(o))); },
                   [s, n, names](T& o, const PropValue& v) { s(o, names.FromName(prop::ToIdent(v, n), n)); },
                   def ? std::optional<PropValue>(PropValue::Ident(names.ToName(*def))) : std::nullopt);
    }
    // A set of enumeration members held as a bit mask (bit k = member k).
    template <class E>
    PropertyBuilder& SetOf(const QString& n, const EnumNames<E>& names, std::function<unsigned(const T&)> g,
                           std::function<void(T&, unsigned)> s, std::optional<unsigned> def = std::nullopt) {
        auto toValue = [names](unsigned mask) {
            QStringList m;
            for (size_t k = 0; k < names.names.size(); ++k)
                if (mask & (1u << k)) m << names.names[k];
            return PropValue::Set(m);
        };
        return Add(n, [g, toValue](const T& o) { return toValue(g(o)); },
                   [s, n, names](T& o, const PropValue& v) {
                       unsigned mask = 0;
                       for (const QString& m : prop::ToSet(v, n)) mask |= 1u << unsigned(names.FromName(m, n));
                       s(o, mask);
                   },
                   def ? std::optional<PropValue>(toValue(*def)) : std::nullopt);
    }
    // An event bound by handler name; H is the std::function type of the handler.
    template <class H>
    PropertyBuilder& Event(const QString& n, std::function<void(T&, const H&)> s) {
        PropertyInfo info;
        info.name = n;
        info.type = PropertyInfo::Type::Event;
        info.bindEvent = [s, n](TComponent& c, const std::any& handler) {
            const H* h = std::any_cast<H>(&handler);
            if (!h) throw std::bad_any_cast();
            s(static_cast<T&>(c), *h);
        };
        t_.Add(std::move(info));
        return *this;
    }
    template <class R>
    PropertyBuilder& Reference(const QString& n, std::function<void(T&, R*)> s) {
        PropertyInfo info;
        info.name = n;
        info.type = PropertyInfo::Type::Reference;
        info.setReference = [s](TComponent& c, TComponent* target) {
            R* r = dynamic_cast<R*>(target);
            if (target && !r) throw std::bad_cast();
            s(static_cast<T&>(c), r);
        };
        t_.Add(std::move(info));
        return *this;
    }
    // Accepted in descriptions and otherwise ignored (legacy or design-time values).
    PropertyBuilder& Ignored(const QString& n) {
        PropertyInfo info;
        info.name = n;
        info.set = [](TComponent&, const PropValue&) {};
        t_.Add(std::move(info));
        return *this;
    }

    PropertyBuilder& Add(const QString& n, std::function<PropValue(const T&)> g,
                         std::function<void(T&, const PropValue&)> s, std::optional<PropValue> def) {
        PropertyInfo info;
        info.name = n;
        if (g) info.get = [g](const TComponent& c) { return g(static_cast<const T&>(c)); };
        info.set = [s](TComponent& c, const PropValue& v) { s(static_cast<T&>(c), v); };
        info.defaultValue = std::move(def);
        t_.Add(std::move(info));
        return *this;
    }

private:
    PropertyTable& t_;
};
