#pragma once
// Reading a component form one property at a time, so that a caller with
// thousands of properties (a skin) can store each value straight into its
// objects instead of building ComponentData first. The readers behind it are
// the same ones ReadComponentBinary and ReadComponentText use.
#include "prop_value.h"

#include <QAnyStringView>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <vector>

class ComponentCursor {
public:
    virtual ~ComponentCursor() = default;

    const QString& ClassName() const { return className_; }
    const QString& ObjectName() const { return objectName_; }

    // Moves to the next property; false after the last one. A value left
    // untaken is skipped. Nested components met on the way are read whole
    // into Children().
    virtual bool Next() = 0;
    // The current property's dotted path, valid until the next call.
    QAnyStringView Name() const { return name_; }
    // 1-based lines in a text form, else 0.
    virtual int Line() const { return 0; }
    virtual int ObjectLine() const { return 0; }

    // Each Take reads the value when it is of that kind and says so; a value
    // of another kind is left for Value(). Views stay valid until Next().
    virtual bool TakeInt(std::int64_t& v) = 0;
    virtual bool TakeBool(bool& v) = 0;
    virtual bool TakeIdent(QAnyStringView& v) = 0;
    virtual bool TakeString(QString& v) = 0;
    // A string that the input holds as it is (no escapes to undo), as a view.
    virtual bool TakeStringView(QAnyStringView& v) = 0;
    virtual bool TakeBinary(QByteArrayView& v) = 0;
    // The value whatever its kind.
    virtual PropValue Value() = 0;

    std::vector<ComponentData>& Children() { return children_; }

protected:
    QString className_, objectName_;
    QAnyStringView name_;
    std::vector<ComponentData> children_;
};

using ComponentVisitor = std::function<void(ComponentCursor&)>;

// The visitor reads the properties; afterwards the rest of the form is read
// and checked (nested components, the end, nothing after it). Damage raises
// EStreamError.
void VisitComponentBinary(QByteArrayView data, const ComponentVisitor& visit);
// text is the decoded form (Latin-1 bytes or UTF-16); sourceName goes into
// error messages with the line.
void VisitComponentText(QAnyStringView text, const QString& sourceName, const ComponentVisitor& visit);
// Parsed data offered the same way.
void VisitComponentData(const ComponentData& data, const ComponentVisitor& visit);
