#pragma once
// The skin engine component that carries the window's skin and the skin list
// it may choose from.
#include "component.h"
#include "events.h"
#include "skin_object.h"
#include "skin_source.h"

#include <memory>
#include <vector>

class TSkSkinEngine;

// Window messages of a skin change; we call the receivers directly.
constexpr int SKM_SKINCHANGED = 1702;   // 0x6A6
constexpr int SKM_SKINCHANGING = 1703;  // 0x6A7
constexpr int SKM_INVALIDATE = 2121;    // 0x849, an object asks for a repaint
constexpr int SKM_GETOWNER = 2122;      // 0x84A, the skinned frame of a window

// Anything that draws from an engine's skin: a form, a control, a frame.
class TSkSkinClient {
public:
    virtual ~TSkSkinClient() = default;
    // Drop every copy taken from engine: its skin is about to go.
    virtual void SkinChanging(TSkSkinEngine* engine) = 0;
    // Take the skin again.
    virtual void SkinChanged(TSkSkinEngine* engine) = 0;
};

// One stored skin of a skin list.
class TSkSkinStream {
public:
    TSkSkinSource& Source() { return source_; }
    const TSkSkinSource& Source() const { return source_; }
    // Flag 1 and the compressed skin, or flag 0 alone.
    QByteArray SkinStream();
    void SetSkinStream(const QByteArray& bytes);
    QString DisplayName() const { return source_.Empty() ? QStringLiteral("(empty)") : source_.SkinName(); }
private:
    TSkSkinSource source_;
};

class TSkSkinList : public TComponent {
public:
    explicit TSkSkinList(TComponent* owner = nullptr) : TComponent(owner) {}
    QString ClassName() const override { return QStringLiteral("TSkSkinList"); }
    int Count() const { return int(skins_.size()); }
    TSkSkinStream* Item(int k) const { return k >= 0 && k < Count() ? skins_[std::size_t(k)].get() : nullptr; }
    TSkSkinStream* Add() {
        skins_.push_back(std::make_unique<TSkSkinStream>());
        return skins_.back().get();
    }
    void Clear() { skins_.clear(); }
private:
    std::vector<std::unique_ptr<TSkSkinStream>> skins_;
};

class TSkSkinEngine : public TComponent {
public:
    explicit TSkSkinEngine(TComponent* owner);
    ~TSkSkinEngine() override;
    QString ClassName() const override { return QStringLiteral("TSkSkinEngine"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    TSkSkinSource& Source() { return *source_; }
    const TSkSkinSource& Source() const { return *source_; }
    static QString Version() { return QStringLiteral("3.4.0"); }

    // A flag byte (2 with a skin, 0 without) and the default codec's output.
    QByteArray SkinStream() const;
    void SetSkinStream(const QByteArray& bytes);
    // Decodes a skin stream before its window exists; the first engine given
    // the very same stream while its window is read takes the decoded skin.
    // A stream that fails to decode is left for that engine to report.
    static void Predecode(const QByteArray& bytes);

    const QString& SkinFile() const { return skinFile_; }
    void SetSkinFile(const QString& fileName);

    TSkSkinList* SkinList() const { return skinList_; }
    void SetSkinList(TSkSkinList* list);
    int SkinIndex() const { return skinIndex_; }
    void SetSkinIndex(int index);

    int DeltaHue() const { return deltaHue_; }
    void SetDeltaHue(int value);

    TNotifyEvent OnBeforeChange;
    TNotifyEvent OnAfterChange;

    void Loaded() override;

    // SkinChanging / SkinChanged to every form and every control inside it.
    void BroadcastSkinChanging();
    void BroadcastSkinChanged();

private:
    // Lock, tell everybody, load, unlock, hue, tell everybody again. On a
    // failed load the old skin stays and is handed out again.
    template <class F> void ChangeSkin(F&& load);
    void ApplySkinIndex();

    std::unique_ptr<TSkSkinSource> source_;
    QString skinFile_;
    TSkSkinList* skinList_ = nullptr;
    int skinIndex_ = -1;
    int deltaHue_ = 0;
};

void RegisterSkinEngineComponents();
