#pragma once
// The skinned window frame: a TSkCustomForm drawn from a private copy of a
// skin's form object ("Form", or "ToolWindow" for a tool window).
#include "skin_custom_form.h"
#include "skin_engine.h"
#include "skin_form_types.h"
#include "skin_frame_geometry.h"
#include "skin_system_menu.h"

#include <memory>
#include <optional>

class TSkSkinForm : public TSkCustomForm, public TSkSkinClient {
public:
    explicit TSkSkinForm(TComponent* owner);
    ~TSkSkinForm() override;
    QString ClassName() const override { return QStringLiteral("TSkSkinForm"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    TSkSkinEngine* SkinEngine() const { return engine_; }
    void SetSkinEngine(TSkSkinEngine* engine);
    const QString& SkinObject() const { return skinObject_; }
    void SetSkinObject(const QString& name);
    static QString Version() { return QStringLiteral("3.4.0"); }
    TSkCustomActionEvent OnCustomAction;

    // The copy while there is one, else the plain frame.
    TSkSkinObject* FormObject() const override;
    TSkSkinObject* SkinCopy() const { return copy_.get(); }

    void SkinChanging(TSkSkinEngine* engine) override;
    void SkinChanged(TSkSkinEngine* engine) override;
    void SkCustomAction(TSkSkinObject* button) override;
    void Loaded() override;

protected:
    TSkSkinEngine* MenuSkinEngine() const override { return engine_; }

private:
    void TakeSkin();

    TSkSkinEngine* engine_ = nullptr;
    QString skinObject_ = QStringLiteral("Form");
    std::unique_ptr<TSkSkinObject> copy_;
    // The client's size when a skin change began: the window may be laid
    // out without a skin in between.
    std::optional<QSize> clientBeforeChange_;
};

void RegisterSkinFormComponents();
