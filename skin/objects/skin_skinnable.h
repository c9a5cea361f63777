#pragma once
// What every skinned control shares: the engine and the name of the skin
// object it draws from, and its private copy of that object. Without a copy
// a control draws in its plain way.
#include "component.h"
#include "skin_engine.h"
#include "skin_object.h"

#include <memory>

class QEvent;
class QPainter;
class QRect;
class TControl;

enum class TSkPerformance { kspNoBuffer, kspSharedBuffer, kspDoubleBuffer };
extern const EnumNames<TSkPerformance> kSkPerformanceNames;

class TSkSkinnable : public TSkSkinClient, public TSkSkinHost {
public:
    TSkSkinnable() = default;
    ~TSkSkinnable() override;
    TSkSkinnable(const TSkSkinnable&) = delete;
    TSkSkinnable& operator=(const TSkSkinnable&) = delete;

    TSkSkinEngine* SkinEngine() const { return skinEngine_; }
    // Stores the engine and takes a new copy (after loading, once loaded).
    void SetSkinEngine(TSkSkinEngine* e);
    const QString& SkinObject() const { return skinObject_; }
    void SetSkinObject(const QString& s);
    static QString Version() { return TSkSkinEngine::Version(); }
    // Qt buffers every paint already; the value is kept for the description.
    TSkPerformance Performance() const { return performance_; }
    void SetPerformance(TSkPerformance p) { performance_ = p; }

    // The private copy; null while the control draws plainly.
    TSkSkinObject* Skin() const { return copy_.get(); }
    // A part of the copy by name; null without a copy or when missing.
    TSkSkinObject* Part(const QString& name) const;
    // The part, or the copy itself when the part is missing.
    TSkSkinObject* PartOrSkin(const QString& name) const;

    // disabled 8, pressed 6, hot 5, focused 7, else 0.
    static int StateFor(bool enabled, bool pressed, bool hot, bool focused);
    // Lays a part over r in a state, with a text, and draws it.
    static void DrawPart(QPainter& p, TSkSkinObject& part, const QRect& r, int state, const QString& text = QString(),
                         bool enabled = true);
    // The font a part draws with in a state; fallback without the part.
    TFontSpec PartFont(const QString& name, int state, const TFontSpec& fallback) const;
    // The mouse is over the control.
    bool Hot() const { return hot_; }

    void SkinChanging(TSkSkinEngine* engine) override;
    void SkinChanged(TSkSkinEngine* engine) override;
    void SkinObjectChanged(TSkSkinObject*) override;

    template <class T>
    static void AddSkinProperties(PropertyTable& t, const QString& defaultObject = QString(),
                                  TSkPerformance defaultPerformance = TSkPerformance::kspNoBuffer);

protected:
    // The copy was taken or dropped: the control adapts its metrics.
    virtual void SkinReplaced() {}
    // Call from Loaded(): the copy taken while loading waits until now, so it
    // carries the engine's hue.
    void SkinLoaded();
    // Follows the mouse in and out; controls pass every event they get.
    void ObserveHover(const QEvent* e);

private:
    void TakeSkin();
    void DropSkin();
    TControl* Control();

    TSkSkinEngine* skinEngine_ = nullptr;
    QString skinObject_;
    TSkPerformance performance_ = TSkPerformance::kspNoBuffer;
    std::unique_ptr<TSkSkinObject> copy_;
    bool hot_ = false;
};

template <class T>
void TSkSkinnable::AddSkinProperties(PropertyTable& t, const QString& defaultObject, TSkPerformance defaultPerformance) {
    PropertyBuilder<T>(t)
        .template Reference<TSkSkinEngine>("SkinEngine", [](T& c, TSkSkinEngine* e) { c.SetSkinEngine(e); })
        .Str("SkinObject", [](const T& c) { return c.SkinObject(); }, [](T& c, const QString& v) { c.SetSkinObject(v); },
             defaultObject)
        .template Enum<TSkPerformance>("Performance", kSkPerformanceNames, [](const T& c) { return c.Performance(); },
                                       [](T& c, TSkPerformance v) { c.SetPerformance(v); }, defaultPerformance)
        .Str("Version", [](const T&) { return Version(); }, [](T&, const QString&) {}, Version());
}
