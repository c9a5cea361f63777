#include "skin_object_stream.h"

#include "component_stream.h"
#include "exceptions.h"
#include "gbk.h"
#include "skin_bytes.h"
#include "skin_registry.h"
#include "skin_tree.h"

#include <memory>

namespace {

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

}  // namespace

SkinObjectBudget::SkinObjectBudget() : previous_(tlBudget) { tlBudget = &left_; }
SkinObjectBudget::~SkinObjectBudget() { tlBudget = previous_; }
void SkinObjectBudget::Take() {
    if (tlBudget && --*tlBudget < 0)
        throw EStreamError(QStringLiteral("A skin holds more than %1 objects").arg(skin_limits::kMaxObjects));
}

TSkSkinObject* ReadSkinObject(const QString& className, ComponentCursor& form, TComponent* owner) {
    SkinObjectFactory f = FindSkinObjectClass(className);
    if (!f) return nullptr;
    SkinObjectBudget::Take();
    // Deleting a failed object also takes it out of its owner's children.
    std::unique_ptr<TSkSkinObject> obj(f(owner));
    try {
        obj->SetName(form.ObjectName());
        const SkinClassTable& table = obj->ClassTable();
        int at = -1;
        while (form.Next()) at = table.ReadProperty(*obj, form, className, at);
    } catch (const EStreamError&) {
        throw;
    } catch (const Exception& e) {
        throw EStreamError(QStringLiteral("Skin object %1 (%2): %3").arg(form.ObjectName(), className, e.Message()));
    }
    return obj.release();
}

TSkSkinObject* CreateSkinObject(const QString& className, const ComponentData& data, TComponent* owner) {
    TSkSkinObject* obj = nullptr;
    VisitComponentData(data, [&](ComponentCursor& c) { obj = ReadSkinObject(className, c, owner); });
    return obj;
}

TSkSkinObject* ReadSkinObjectBinary(const QString& className, QByteArrayView binary, TComponent* owner) {
    if (!FindSkinObjectClass(className)) return nullptr;  // an unknown class is skipped whole
    std::unique_ptr<TSkSkinObject> obj;
    VisitComponentBinary(binary, [&](ComponentCursor& c) { obj.reset(ReadSkinObject(className, c, owner)); });
    return obj.release();
}

TSkSkinObject* ReadSkinObjectText(const QString& className, QByteArrayView gbkText, TComponent* owner) {
    if (!FindSkinObjectClass(className)) return nullptr;
    std::unique_ptr<TSkSkinObject> obj;
    auto read = [&](ComponentCursor& c) { obj.reset(ReadSkinObject(className, c, owner)); };
    // ASCII text, the usual case, is read as it is; anything else is GBK.
    if (gbk::isAscii(gbkText)) VisitComponentText(QLatin1StringView(gbkText.data(), gbkText.size()), className, read);
    else VisitComponentText(gbk::decode(QByteArray::fromRawData(gbkText.data(), gbkText.size())), className, read);
    return obj.release();
}

// ---- the children of an object ----------------------------------------------------

QByteArray TSkSkinObject::ObjectsData() const {
    SkinByteWriter w;
    w.FlaggedCount(ChildCount(), "children in one object");
    for (int k = 0; k < ChildCount(); ++k) {
        const TSkSkinObject* c = Child(k);
        w.String(c->ClassName());
        w.StringBytes(WriteComponentBinary(c->Save()));
    }
    return w.out;
}

void TSkSkinObject::ReadObjectsData(QByteArrayView data) {
    DepthGuard depth;
    SkinByteReader r(data.data(), data.size(), QStringLiteral("The children of skin object %1"), Name());
    const std::uint32_t word = std::uint32_t(r.Int32("child count"));
    const bool binary = (word & 0xF0000) == 0xF0000;
    const std::int64_t count = r.Count(binary ? std::int32_t(word & ~0xF0000u) : std::int32_t(word), 8, "child count");
    for (std::int64_t k = 0; k < count; ++k) {
        const QString cls = r.String("class name");
        const QByteArrayView body = r.StringView(binary ? "component" : "component text");
        if (binary) ReadSkinObjectBinary(cls, body, this);
        else ReadSkinObjectText(cls, body, this);
    }
    if (!r.AtEnd()) r.Fail(QStringLiteral("%1 bytes after the last child").arg(r.Remaining()));
}
