#pragma once
// Skin objects read from untrusted input, straight from a component form
// into the object, within bounds on nesting and on the number of objects.
#include "component_cursor.h"
#include "prop_value.h"

#include <QString>
#include <cstdint>

class TComponent;
class TSkSkinObject;

// Builds an object of className from a component form, as skin streams store
// it. Raises EStreamError for an unknown property or a damaged value; returns
// null for an unknown class.
TSkSkinObject* ReadSkinObject(const QString& className, ComponentCursor& form, TComponent* owner);
// The same from parsed data.
TSkSkinObject* CreateSkinObject(const QString& className, const ComponentData& data, TComponent* owner);
// The same from the binary component form, or from the 8-bit text form.
TSkSkinObject* ReadSkinObjectBinary(const QString& className, QByteArrayView binary, TComponent* owner);
TSkSkinObject* ReadSkinObjectText(const QString& className, QByteArrayView gbkText, TComponent* owner);

// Bounds every skin object read from untrusted input: nesting and total count.
namespace skin_limits {
constexpr int kMaxObjectDepth = 32;
constexpr std::int64_t kMaxObjects = 100000;
}
// While alive, objects read on this thread count against one budget.
class SkinObjectBudget {
public:
    SkinObjectBudget();
    ~SkinObjectBudget();
    static void Take();  // raises EStreamError when the budget is spent
private:
    std::int64_t* previous_;
    std::int64_t left_ = skin_limits::kMaxObjects;
};
