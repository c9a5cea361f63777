#include "skin_engine.h"

#include "application.h"
#include "exceptions.h"
#include "prepared_slot.h"

#include <QApplication>
#include <QPointer>
#include <QSet>
#include <QWidget>

// ---- skin list ------------------------------------------------------------------

QByteArray TSkSkinStream::SkinStream() {
    if (source_.Empty()) return QByteArray(1, '\0');
    return QByteArray(1, '\1') + source_.SaveToBytes();
}

void TSkSkinStream::SetSkinStream(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes[0] == '\0') return;
    source_.LoadFromBytes(bytes.mid(1));
}

// ---- engine -----------------------------------------------------------------------

TSkSkinEngine::TSkSkinEngine(TComponent* owner) : TComponent(owner), source_(std::make_unique<TSkSkinSource>()) {}
TSkSkinEngine::~TSkSkinEngine() = default;

const PropertyTable& TSkSkinEngine::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkSkinEngine;
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<T>(t)
            .Int("DeltaHue", [](const T& e) { return e.DeltaHue(); }, [](T& e, int v) { e.SetDeltaHue(v); }, 0)
            .Reference<TSkSkinList>("SkinList", [](T& e, TSkSkinList* l) { e.SetSkinList(l); })
            .Int("SkinIndex", [](const T& e) { return e.SkinIndex(); }, [](T& e, int v) { e.SetSkinIndex(v); }, -1)
            .Str("SkinFile", [](const T& e) { return e.SkinFile(); }, [](T& e, const QString& v) { e.SetSkinFile(v); }, QString())
            .Binary("SkinStream", [](const T& e) { return e.SkinStream(); },
                    [](T& e, const QByteArray& v) { e.SetSkinStream(v); })
            // Display values only: what the designer showed is not ours to keep.
            .Str("SkinStore", [](const T&) { return QStringLiteral("(none)"); }, [](T&, const QString&) {},
                 QStringLiteral("(none)"))
            .Str("Version", [](const T&) { return T::Version(); }, [](T&, const QString&) {}, T::Version())
            .Event<TNotifyEvent>("OnBeforeChange", [](T& e, const TNotifyEvent& h) { e.OnBeforeChange = h; })
            .Event<TNotifyEvent>("OnAfterChange", [](T& e, const TNotifyEvent& h) { e.OnAfterChange = h; });
        return t;
    }();
    return table;
}

QByteArray TSkSkinEngine::SkinStream() const {
    if (source_->Empty()) return QByteArray(1, '\0');
    return QByteArray(1, '\2') + source_->SaveToBytes();
}

namespace {
void Decode(TSkSkinSource& into, const QByteArray& bytes) {
    TSkSkinFilterCompressed codec(&into);
    codec.LoadFromBytes(bytes.constData() + 1, bytes.size() - 1);
    into.AfterLoadFixUp();
}

using PredecodedSkin = PreparedSlot<QByteArray, std::unique_ptr<TSkSkinSource>>;
PredecodedSkin& Predecoded() {
    static PredecodedSkin skin;
    return skin;
}
}  // namespace

void TSkSkinEngine::Predecode(const QByteArray& bytes) {
    Predecoded().Clear();
    if (bytes.isEmpty() || bytes[0] == '\0') return;
    auto source = std::make_unique<TSkSkinSource>();
    try {
        Decode(*source, bytes);
    } catch (const Exception&) {
        return;
    }
    Predecoded().Put(bytes, std::move(source));
}

void TSkSkinEngine::SetSkinStream(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes[0] == '\0') return;
    auto load = [&] { Decode(*source_, bytes); };
    if (IsLoading()) {
        std::optional<std::unique_ptr<TSkSkinSource>> ready;
        if (source_->Empty()) ready = Predecoded().Take(bytes);
        if (ready) source_ = std::move(*ready);
        else load();
        source_->SetDeltaHue(deltaHue_);
    } else {
        ChangeSkin(load);
    }
    skinFile_.clear();
}

void TSkSkinEngine::SetSkinFile(const QString& fileName) {
    skinFile_ = fileName;
    if (fileName.isEmpty()) return;
    ChangeSkin([&] { source_->LoadFromFile(fileName); });
}

void TSkSkinEngine::SetSkinList(TSkSkinList* list) {
    skinList_ = list;
    if (!list) skinIndex_ = -1;
}

void TSkSkinEngine::SetSkinIndex(int index) {
    skinIndex_ = index;
    if (!IsLoading()) ApplySkinIndex();
}

void TSkSkinEngine::ApplySkinIndex() {
    if (skinIndex_ < 0 || !skinList_ || skinList_->Count() < 1) return;
    skinIndex_ = std::min(skinIndex_, skinList_->Count() - 1);
    TSkSkinStream* item = skinList_->Item(skinIndex_);
    if (item->Source().Empty()) return;
    const QByteArray bytes = item->Source().SaveToBytes();
    ChangeSkin([&] { source_->LoadFromBytes(bytes); });
}

void TSkSkinEngine::SetDeltaHue(int value) {
    if (value == deltaHue_) return;
    deltaHue_ = value;
    if (IsLoading() || source_->Empty() || source_->Locked()) return;
    BroadcastSkinChanging();
    source_->SetDeltaHue(value);
    BroadcastSkinChanged();
}

template <class F>
void TSkSkinEngine::ChangeSkin(F&& load) {
    if (source_->Empty()) {
        load();
        source_->SetDeltaHue(deltaHue_);
        if (!source_->Empty()) BroadcastSkinChanged();
        return;
    }
    source_->SetLocked(true);
    BroadcastSkinChanging();
    try {
        load();
    } catch (...) {
        source_->SetLocked(false);
        BroadcastSkinChanged();
        throw;
    }
    source_->SetLocked(false);
    source_->SetDeltaHue(deltaHue_);
    BroadcastSkinChanged();
}

void TSkSkinEngine::Loaded() {
    TComponent::Loaded();
    if (!source_->Empty() && source_->AppliedHue() != deltaHue_) source_->SetDeltaHue(deltaHue_);
    if (!source_->Empty()) Fire(OnAfterChange, this);
    if (skinList_ && skinIndex_ >= 0) ApplySkinIndex();
}

namespace {

void CollectComponents(TComponent* c, QSet<const void*>& seen, std::vector<TSkSkinClient*>& out) {
    for (TComponent* child : c->Components()) {
        if (auto* client = dynamic_cast<TSkSkinClient*>(child); client && !seen.contains(client)) {
            seen.insert(client);
            out.push_back(client);
        }
        CollectComponents(child, seen, out);
    }
}

// The form first, then every control inside it, then its other components.
std::vector<TSkSkinClient*> ClientsOf(QWidget* form) {
    QSet<const void*> seen;
    std::vector<TSkSkinClient*> out;
    auto add = [&](QObject* o) {
        if (auto* client = dynamic_cast<TSkSkinClient*>(o); client && !seen.contains(client)) {
            seen.insert(client);
            out.push_back(client);
        }
    };
    add(form);
    for (QWidget* w : form->findChildren<QWidget*>()) add(w);
    if (auto* c = dynamic_cast<TComponent*>(form)) CollectComponents(c, seen, out);
    return out;
}

template <class F>
void ToEveryForm(F&& send) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    QList<QPointer<QWidget>> forms;
    for (QWidget* w : QApplication::topLevelWidgets()) forms << w;
    for (const QPointer<QWidget>& form : forms) {
        if (!form) continue;
        for (TSkSkinClient* client : ClientsOf(form)) send(client);
        QCoreApplication::processEvents();
    }
}

}  // namespace

void TSkSkinEngine::BroadcastSkinChanging() {
    Fire(OnBeforeChange, this);
    ToEveryForm([this](TSkSkinClient* c) { c->SkinChanging(this); });
}

void TSkSkinEngine::BroadcastSkinChanged() {
    ToEveryForm([this](TSkSkinClient* c) { c->SkinChanged(this); });
    Fire(OnAfterChange, this);
}

void RegisterSkinEngineComponents() {
    RegisterComponent<TSkSkinEngine>(QStringLiteral("TSkSkinEngine"));
    ComponentRegistry::RegisterPreparer(QStringLiteral("TSkSkinEngine"), [](const ComponentData& described) {
        if (const PropEntry* stream = described.Find(QStringLiteral("SkinStream")))
            TSkSkinEngine::Predecode(stream->value.bin);
    });
    RegisterComponent<TSkSkinList>(QStringLiteral("TSkSkinList"));
}
