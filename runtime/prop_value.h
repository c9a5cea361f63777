#pragma once
// A published property's value as the component forms carry it, and a parsed
// component (class, name, properties, nested components).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct PropValue {
    enum class Kind { Null, Int, Float, String, Ident, Bool, Binary, Set, List };
    Kind kind = Kind::Null;
    std::int64_t i = 0;
    double f = 0;
    bool b = false;
    QString s;          // String and Ident
    QByteArray bin;     // Binary
    QStringList set;    // Set members
    std::vector<PropValue> list;

    static PropValue Int(std::int64_t v) { PropValue p; p.kind = Kind::Int; p.i = v; return p; }
    static PropValue Float(double v) { PropValue p; p.kind = Kind::Float; p.f = v; return p; }
    static PropValue Str(const QString& v) { PropValue p; p.kind = Kind::String; p.s = v; return p; }
    static PropValue Ident(const QString& v) { PropValue p; p.kind = Kind::Ident; p.s = v; return p; }
    static PropValue Bool(bool v) { PropValue p; p.kind = Kind::Bool; p.b = v; return p; }
    static PropValue Binary(const QByteArray& v) { PropValue p; p.kind = Kind::Binary; p.bin = v; return p; }
    static PropValue Set(const QStringList& v) { PropValue p; p.kind = Kind::Set; p.set = v; return p; }
    static PropValue List(std::vector<PropValue> v) { PropValue p; p.kind = Kind::List; p.list = std::move(v); return p; }

    bool operator==(const PropValue& o) const;
    bool operator!=(const PropValue& o) const { return !(*this == o); }
    QString Describe() const;  // for error messages
};

struct PropEntry {
    QString name;   // a dotted path: "Font.Color"
    PropValue value;
    int line = 0;   // 1-based line in a text form, 0 when read from binary
};

struct ComponentData {
    QString className;
    QString name;
    std::vector<PropEntry> props;
    std::vector<ComponentData> children;
    int line = 0;

    const PropEntry* Find(const QString& path) const;
    bool operator==(const ComponentData& o) const;
};
