#include "skin_registry.h"

#include "skin_second_family.h"

#include <vector>

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
}  // namespace

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
