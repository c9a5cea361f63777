#include "form.h"

#include "application.h"
#include "component_stream.h"
#include "exceptions.h"
#include "prepared_slot.h"

#include <QEventLoop>
#include <QFile>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <algorithm>
#include <functional>
#include <map>
#include <optional>

namespace {
struct PendingReference {
    TComponent* component;
    const PropertyInfo* info;
    QString target;
    int line;
};
}  // namespace

// What a description left for later: the children of some containers, and
// the references that may name them.
struct FormLaterParts {
    QString source;
    std::vector<std::pair<TComponent*, std::vector<ComponentData>>> parts;
    std::vector<PendingReference> references;
    QString failure;  // a later part that could not be built, said again on every try
};

namespace {

class FormBuilder {
public:
    using Defer = std::function<bool(const TComponent&)>;
    FormBuilder(TForm& form, FormLaterParts& later, Defer defer) : form_(form), later_(later), defer_(std::move(defer)) {}

    void Build(ComponentData& root) {
        if (root.className.compare(form_.ClassName(), Qt::CaseInsensitive) != 0)
            Fail(root.line, QStringLiteral("the description is of class %1, not %2").arg(root.className, form_.ClassName()));
        form_.BeginLoading();
        created_.push_back(&form_);
        Apply(form_, root);
        for (ComponentData& child : root.children) Create(child, &form_);
        Finish({&form_});
    }

    // The children that waited, each under the container it was read in.
    void BuildLater() {
        auto parts = std::move(later_.parts);
        later_.parts.clear();
        std::vector<QWidget*> containers;
        for (auto& [container, children] : parts) {
            for (ComponentData& child : children) Create(child, container);
            if (QWidget* w = container->AsWidget()) containers.push_back(w);
        }
        Finish(containers);
    }

private:
    [[noreturn]] void Fail(int line, const QString& what) {
        throw EReadError(QStringLiteral("%1(%2): %3").arg(later_.source).arg(line).arg(what));
    }

    void Finish(const std::vector<QWidget*>& containers) {
        std::vector<PendingReference> references = std::move(references_);
        if (later_.parts.empty()) {
            references.insert(references.end(), later_.references.begin(), later_.references.end());
            later_.references.clear();
        }
        for (const PendingReference& r : references) {
            const bool nil = r.target.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0;
            TComponent* target = nil ? nullptr : form_.FindDeep(r.target);
            if (!target && !nil) {
                // It may be among the children still to come.
                if (!later_.parts.empty()) {
                    later_.references.push_back(r);
                    continue;
                }
                Fail(r.line, QStringLiteral("property %1 names %2, which does not exist").arg(r.info->name, r.target));
            }
            try {
                r.info->setReference(*r.component, target);
            } catch (const std::bad_cast&) {
                Fail(r.line, QStringLiteral("property %1 cannot refer to %2").arg(r.info->name, r.target));
            }
        }
        for (TComponent* c : created_) c->Loaded();
        for (QWidget* w : containers) ApplyTabOrder(w);
    }

    void Create(ComponentData& d, TComponent* container) {
        if (!ComponentRegistry::Has(d.className)) Fail(d.line, QStringLiteral("class %1 is not known").arg(d.className));
        QWidget* parentWidget = nullptr;
        for (TComponent* c = container; c && !parentWidget; c = c->Owner()) parentWidget = c->AsWidget();
        TComponent* c = ComponentRegistry::Create(d.className, &form_, parentWidget);
        c->BeginLoading();
        c->SetName(d.name);
        created_.push_back(c);
        container->AdoptChild(c);
        Apply(*c, d);
        if (defer_ && !d.children.empty() && defer_(*c)) {
            later_.parts.emplace_back(c, std::move(d.children));
            return;
        }
        for (ComponentData& child : d.children) Create(child, c);
    }

    void Apply(TComponent& c, const ComponentData& d) {
        for (const PropEntry& e : d.props) {
            const PropertyInfo* info = c.Properties().Find(e.name);
            if (!info) Fail(e.line, QStringLiteral("property %1 does not exist in %2 (%3)").arg(e.name, d.className, d.name));
            if (info->type == PropertyInfo::Type::Event) {
                if (e.value.kind != PropValue::Kind::Ident) Fail(e.line, QStringLiteral("event %1 needs a handler name").arg(e.name));
                const std::any* h = form_.FindHandler(e.value.s);
                if (!h) Fail(e.line, QStringLiteral("handler %1 for %2.%3 does not exist").arg(e.value.s, d.name, e.name));
                try {
                    info->bindEvent(c, *h);
                } catch (const std::bad_any_cast&) {
                    Fail(e.line, QStringLiteral("handler %1 does not fit event %2").arg(e.value.s, e.name));
                }
                continue;
            }
            if (info->type == PropertyInfo::Type::Reference) {
                if (e.value.kind != PropValue::Kind::Ident) Fail(e.line, QStringLiteral("property %1 needs a component name").arg(e.name));
                references_.push_back({&c, info, e.value.s, e.line});
                continue;
            }
            try {
                info->set(c, e.value);
            } catch (const Exception& ex) {
                Fail(e.line, ex.Message());
            }
        }
    }

    // Orders keyboard focus inside each container by the TabOrder values.
    static void ApplyTabOrder(QWidget* container) {
        std::vector<std::pair<int, QWidget*>> ordered;
        for (QObject* o : container->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w) continue;
            if (auto* c = dynamic_cast<TControl*>(w); c && c->TabOrder() >= 0) ordered.emplace_back(c->TabOrder(), w);
            ApplyTabOrder(w);
        }
        std::stable_sort(ordered.begin(), ordered.end(), [](auto& a, auto& b) { return a.first < b.first; });
        for (size_t k = 1; k < ordered.size(); ++k) QWidget::setTabOrder(ordered[k - 1].second, ordered[k].second);
    }

    TForm& form_;
    FormLaterParts& later_;
    Defer defer_;
    std::vector<TComponent*> created_;
    std::vector<PendingReference> references_;
};

}  // namespace

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window), TControl(nullptr, this) {
    SetColor(clBtnFace);
    setAutoFillBackground(true);
}

TForm::~TForm() {
    // Children go first, while the handlers they may still call are alive.
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) delete w;
}

const std::any* TForm::FindHandler(const QString& name) const {
    auto it = handlers_.constFind(name.toLower());
    return it == handlers_.constEnd() ? nullptr : &*it;
}

TComponent* TForm::FindDeep(const QString& name) const { return FindComponent(name); }

namespace {
// The one description prepared ahead of its window, by its path.
PreparedSlot<QString, ComponentData>& Prepared() {
    static PreparedSlot<QString, ComponentData> prepared;
    return prepared;
}
}  // namespace

void TForm::PrepareDescription(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return;
    try {
        ComponentData root = ReadComponentText(f.readAll(), path);
        ComponentRegistry::Prepare(root);
        Prepared().Put(path, std::move(root));
    } catch (const Exception&) {
        // Read again, and reported, by LoadDescription.
    }
}

void TForm::LoadDescription(const QString& path) {
    if (std::optional<ComponentData> prepared = Prepared().Take(path)) {
        LoadDescriptionData(std::move(*prepared), path);
        return;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw EReadError(QStringLiteral("Cannot open the window description %1").arg(path));
    LoadDescriptionText(f.readAll(), path);
}

void TForm::LoadDescriptionText(const QByteArray& text, const QString& sourceName) {
    LoadDescriptionData(ReadComponentText(text, sourceName), sourceName);
}

void TForm::LoadDescriptionData(ComponentData root, const QString& sourceName) {
    later_ = std::make_unique<FormLaterParts>();
    later_->source = sourceName;
    {
        QScopedValueRollback<bool> busy(loading_, true);
        try {
            FormBuilder(*this, *later_, [this](const TComponent& c) { return BuildsChildrenLater(c); }).Build(root);
        } catch (const Exception& e) {
            later_->failure = e.Message();  // nothing more is built on a broken description
            throw;
        }
        QPalette pal = palette();
        pal.setColor(QPalette::Window, ToQColor(Color()));
        setPalette(pal);
        Fire(OnCreate, this);
    }
    if (later_->parts.empty()) {
        later_.reset();
        Completed();
    }
}

void TForm::CompleteLoading() {
    if (loading_ || !later_) return;
    if (!later_->failure.isEmpty()) throw EReadError(later_->failure);
    {
        QScopedValueRollback<bool> busy(loading_, true);
        try {
            FormBuilder(*this, *later_, {}).BuildLater();
        } catch (const Exception& e) {
            later_->failure = e.Message();
            throw;
        }
    }
    later_.reset();
    Completed();
}

bool TForm::LoadingComplete() const { return !later_; }

void TForm::SetCaption(const QString& c) {
    TControl::SetCaption(c);
    setWindowTitle(c);
}

namespace {
class HideWatcher final : public QObject {
public:
    explicit HideWatcher(QEventLoop& loop) : loop_(loop) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide || e->type() == QEvent::Close) loop_.quit();
        return false;
    }
private:
    QEventLoop& loop_;
};
}

void TForm::ShowModal() {
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    HideWatcher watcher(loop);
    installEventFilter(&watcher);
    if (isVisible()) loop.exec();
    removeEventFilter(&watcher);
    hide();
}

void TForm::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    Fire(OnShow, this);
}

const PropertyTable& TForm::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<TForm>(t)
            .Int("ClientWidth", [](const TForm& f) { return f.ClientWidth(); }, [](TForm& f, int v) { f.SetClientWidth(v); })
            .Int("ClientHeight", [](const TForm& f) { return f.ClientHeight(); }, [](TForm& f, int v) { f.SetClientHeight(v); })
            .Event<TNotifyEvent>("OnCreate", [](TForm& f, const TNotifyEvent& h) { f.OnCreate = h; })
            .Event<TNotifyEvent>("OnShow", [](TForm& f, const TNotifyEvent& h) { f.OnShow = h; })
            .Ignored("BorderIcons")
            .Ignored("BorderStyle")
            .Ignored("Position")
            .Ignored("OldCreateOrder")
            .Ignored("PixelsPerInch")
            .Ignored("TextHeight")
            .Ignored("FormStyle")
            .Ignored("WindowState");
        return t;
    }();
    return table;
}
