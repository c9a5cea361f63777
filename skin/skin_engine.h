#pragma once
// The skin engine component that carries the window's skin, and the
// component that draws the window frame from it.
#include "component.h"

class TSkSkinEngine : public TComponent {
public:
    explicit TSkSkinEngine(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TSkSkinEngine"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    const QByteArray& SkinStream() const { return skinStream_; }
    void SetSkinStream(const QByteArray& bytes) { skinStream_ = bytes; }

private:
    QByteArray skinStream_;
};

class TSkSkinForm : public TComponent {
public:
    explicit TSkSkinForm(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TSkSkinForm"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    TSkSkinEngine* SkinData() const { return skinData_; }
    void SetSkinData(TSkSkinEngine* e) { skinData_ = e; }

private:
    TSkSkinEngine* skinData_ = nullptr;
};

void RegisterSkinEngineComponents();
