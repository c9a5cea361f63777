#include "component.h"

#include "colors.h"
#include "exceptions.h"

#include <QHash>
#include <QWidget>
#include <algorithm>

const PropertyInfo* PropertyTable::Find(const QString& name) const {
    for (const PropertyInfo& p : own_)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) return &p;
    return parent_ ? parent_->Find(name) : nullptr;
}

std::vector<const PropertyInfo*> PropertyTable::All() const {
    std::vector<const PropertyInfo*> all = parent_ ? parent_->All() : std::vector<const PropertyInfo*>{};
    for (const PropertyInfo& p : own_) {
        auto same = std::find_if(all.begin(), all.end(), [&](const PropertyInfo* q) {
            return q->name.compare(p.name, Qt::CaseInsensitive) == 0;
        });
        if (same != all.end()) *same = &p;  // an override keeps the ancestor's position
        else all.push_back(&p);
    }
    return all;
}

namespace prop {
namespace {
[[noreturn]] void BadKind(const PropValue& v, const QString& name, const char* expected) {
    throw EReadError(QStringLiteral("Invalid property value %1 for %2 (%3 expected)")
                         .arg(v.Describe(), name, QLatin1String(expected)));
}
}
int ToInt(const PropValue& v, const QString& name) {
    if (v.kind != PropValue::Kind::Int) BadKind(v, name, "integer");
    return ToInt32(v.i, name);
}
void ThrowNotInt32(std::int64_t v, const QString& name) { BadKind(PropValue::Int(v), name, "32-bit integer"); }
double ToFloat(const PropValue& v, const QString& name) {
    if (v.kind == PropValue::Kind::Int) return double(v.i);
    if (v.kind != PropValue::Kind::Float) BadKind(v, name, "number");
    return v.f;
}
bool ToBool(const PropValue& v, const QString& name) {
    if (v.kind != PropValue::Kind::Bool) BadKind(v, name, "True or False");
    return v.b;
}
QString ToString(const PropValue& v, const QString& name) {
    if (v.kind != PropValue::Kind::String) BadKind(v, name, "string");
    return v.s;
}
QString ToIdent(const PropValue& v, const QString& name) {
    if (v.kind != PropValue::Kind::Ident) BadKind(v, name, "identifier");
    return v.s;
}
std::uint32_t ToColor(const PropValue& v, const QString& name) {
    if (v.kind == PropValue::Kind::Int) return std::uint32_t(v.i);
    if (v.kind == PropValue::Kind::Ident) {
        if (auto c = IdentToColor(v.s)) return *c;
        throw EReadError(QStringLiteral("Invalid property value %1 for %2 (unknown colour)").arg(v.s, name));
    }
    BadKind(v, name, "colour");
}
PropValue FromColor(std::uint32_t c) {
    if (auto ident = ColorToIdent(c)) return PropValue::Ident(*ident);
    return PropValue::Int(std::int32_t(c));
}
QStringList ToSet(const PropValue& v, const QString& name) {
    if (v.kind != PropValue::Kind::Set) BadKind(v, name, "set");
    return v.set;
}
QByteArray ToBinary(const PropValue& v, const QString& name) {
    if (v.kind != PropValue::Kind::Binary) BadKind(v, name, "binary data");
    return v.bin;
}
QStringList ToStrings(const PropValue& v, const QString& name) {
    if (v.kind != PropValue::Kind::List) BadKind(v, name, "list of strings");
    QStringList out;
    for (const PropValue& item : v.list) out << ToString(item, name);
    return out;
}
}  // namespace prop

void ThrowBadEnum(const QString& value, const QString& prop) {
    throw EReadError(QStringLiteral("Invalid property value %1 for %2").arg(value, prop));
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    // Widgets are destroyed by their parent widget; the rest belong to us.
    std::vector<TComponent*> owned;
    owned.swap(components_);
    for (TComponent* c : owned) {
        c->owner_ = nullptr;
        if (!c->AsWidget()) delete c;
    }
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* c) {
    c->owner_ = this;
    components_.push_back(c);
}

void TComponent::RemoveComponent(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
    c->owner_ = nullptr;
}

TComponent* TComponent::FindComponent(const QString& name) const {
    if (name.isEmpty()) return nullptr;
    for (TComponent* c : components_)
        if (c->Name().compare(name, Qt::CaseInsensitive) == 0) return c;
    return nullptr;
}

void TComponent::AdoptChild(TComponent* child) {
    QWidget* self = AsWidget();
    QWidget* w = child->AsWidget();
    if (self && w && w->parentWidget() != self) w->setParent(self);
}

const PropertyTable& TComponent::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t;
        PropertyBuilder<TComponent>(t)
            .Str("Name", [](const TComponent& c) { return c.Name(); },
                 [](TComponent& c, const QString& v) { c.SetName(v); })
            .Int("Tag", [](const TComponent& c) { return c.Tag(); },
                 [](TComponent& c, int v) { c.SetTag(v); }, 0);
        return t;
    }();
    return table;
}

void TComponent::SetProperty(const QString& path, const PropValue& v) {
    const PropertyInfo* info = Properties().Find(path);
    if (!info || !info->set)
        throw EReadError(QStringLiteral("Property %1 does not exist in %2").arg(path, ClassName()));
    info->set(*this, v);
}

PropValue TComponent::GetProperty(const QString& path) const {
    const PropertyInfo* info = Properties().Find(path);
    if (!info || !info->get)
        throw EReadError(QStringLiteral("Property %1 does not exist in %2").arg(path, ClassName()));
    return info->get(*this);
}

ComponentData TComponent::Save() const {
    ComponentData d;
    d.className = ClassName();
    d.name = Name();
    for (const PropertyInfo* p : Properties().All()) {
        if (!p->get || p->type != PropertyInfo::Type::Value || p->name == QLatin1String("Name")) continue;
        PropValue v = p->get(*this);
        if (p->defaultValue && *p->defaultValue == v) continue;
        d.props.push_back({p->name, v, 0});
    }
    return d;
}

void TComponent::ApplyProperties(const ComponentData& d, const QString& sourceName) {
    if (!d.name.isEmpty()) SetName(d.name);
    for (const PropEntry& e : d.props) {
        try {
            SetProperty(e.name, e.value);
        } catch (const Exception& ex) {
            QString where = sourceName.isEmpty() ? QString() : QStringLiteral("%1(%2): ").arg(sourceName).arg(e.line);
            throw EReadError(where + ex.Message());
        }
    }
}

namespace {
QHash<QString, ComponentRegistry::Factory>& registry() {
    static QHash<QString, ComponentRegistry::Factory> r;
    return r;
}
}

void ComponentRegistry::Register(const QString& className, Factory f) { registry().insert(className.toLower(), std::move(f)); }

TComponent* ComponentRegistry::Create(const QString& className, TComponent* owner, QWidget* parent) {
    auto it = registry().constFind(className.toLower());
    if (it == registry().constEnd()) throw EReadError(QStringLiteral("Class %1 not found").arg(className));
    return (*it)(owner, parent);
}

bool ComponentRegistry::Has(const QString& className) { return registry().contains(className.toLower()); }

namespace {
QHash<QString, ComponentRegistry::Preparer>& preparers() {
    static QHash<QString, ComponentRegistry::Preparer> p;
    return p;
}
}  // namespace

void ComponentRegistry::RegisterPreparer(const QString& className, Preparer p) {
    preparers().insert(className.toLower(), std::move(p));
}

void ComponentRegistry::Prepare(const ComponentData& d) {
    if (auto it = preparers().constFind(d.className.toLower()); it != preparers().constEnd() && *it) {
        try {
            (*it)(d);
        } catch (...) {
            // Said again, in its place, when the window is read.
        }
    }
    for (const ComponentData& child : d.children) Prepare(child);
}
