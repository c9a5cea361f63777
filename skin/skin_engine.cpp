#include "skin_engine.h"

TSkSkinEngine::TSkSkinEngine(TComponent* owner) : TComponent(owner) {}

const PropertyTable& TSkSkinEngine::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<TSkSkinEngine>(t)
            .Binary("SkinStream", [](const TSkSkinEngine& e) { return e.SkinStream(); },
                    [](TSkSkinEngine& e, const QByteArray& v) { e.SetSkinStream(v); })
            .Ignored("SkinStore")
            .Ignored("DeltaHue");
        return t;
    }();
    return table;
}

TSkSkinForm::TSkSkinForm(TComponent* owner) : TComponent(owner) {}

const PropertyTable& TSkSkinForm::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<TSkSkinForm>(t)
            .Reference<TSkSkinEngine>("SkinData", [](TSkSkinForm& f, TSkSkinEngine* e) { f.SetSkinData(e); })
            .Ignored("BorderIcons")
            .Ignored("BorderStyle")
            .Ignored("WindowState")
            .Ignored("StayOnTop")
            .Ignored("SysMenuAnimation")
            .Ignored("TrayMenuAnimation");
        return t;
    }();
    return table;
}

void RegisterSkinEngineComponents() {
    RegisterComponent<TSkSkinEngine>(QStringLiteral("TSkSkinEngine"));
    RegisterComponent<TSkSkinForm>(QStringLiteral("TSkSkinForm"));
}
