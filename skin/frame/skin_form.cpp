#include "skin_form.h"

#include "application.h"
#include "form.h"
#include "skin_popup_menu.h"

TSkSkinForm::TSkSkinForm(TComponent* owner) : TSkCustomForm(owner) {}

TSkSkinForm::~TSkSkinForm() { ForgetObjects(); }

const PropertyTable& TSkSkinForm::StaticProperties() {
    static PropertyTable table = [] {
        using T = TSkSkinForm;
        PropertyTable t(&TSkCustomForm::StaticProperties());
        PropertyBuilder<T>(t)
            .Reference<TSkSkinEngine>("SkinEngine", [](T& f, TSkSkinEngine* e) { f.SetSkinEngine(e); })
            .Str("SkinObject", [](const T& f) { return f.SkinObject(); }, [](T& f, const QString& v) { f.SetSkinObject(v); },
                 QStringLiteral("Form"))
            .Str("Version", [](const T&) { return T::Version(); }, [](T&, const QString&) {}, T::Version())
            .Event<TSkCustomActionEvent>("OnCustomAction", [](T& f, const TSkCustomActionEvent& h) { f.OnCustomAction = h; });
        return t;
    }();
    return table;
}

TSkSkinObject* TSkSkinForm::FormObject() const { return copy_ ? copy_.get() : TSkCustomForm::FormObject(); }

void TSkSkinForm::SetSkinEngine(TSkSkinEngine* engine) {
    engine_ = engine;
    TakeSkin();
}

void TSkSkinForm::SetSkinObject(const QString& name) {
    if (skinObject_ == name) return;
    skinObject_ = name;
    TakeSkin();
}

void TSkSkinForm::TakeSkin() {
    const bool usable = engine_ && !engine_->Source().Locked() && !engine_->Source().Empty();
    if (engine_ && engine_->Source().Locked()) return;
    ForgetObjects();
    copy_.reset();
    if (usable) {
        const TSkSkinSource& source = engine_->Source();
        TSkSkinObject* found = skinObject_.compare(QLatin1String("Form"), Qt::CaseInsensitive) == 0
                                   ? source.GetFormObject()
                                   : source.GetObjectByName(skinObject_);
        if (!found) found = source.GetFormObject();
        if (found) copy_.reset(CloneSkinObject(*found));
        if (copy_ && !FrameFitsScreens(copy_.get())) copy_.reset();
    }
    if (TForm* form = HookedForm()) {
        if (copy_) {
            copy_->SetHost(this);
            form->SetFont(copy_->GetFont());
            form->SetColor(copy_->Color());
        } else {
            form->SetColor(clBtnFace);
        }
    }
    FrameChanged(std::exchange(clientBeforeChange_, std::nullopt).value_or(ClientSize()));
}

void TSkSkinForm::SkinChanging(TSkSkinEngine* engine) {
    if (engine != engine_) return;
    if (!clientBeforeChange_) clientBeforeChange_ = ClientSize();
    StopHover();
    ForgetObjects();
    copy_.reset();
    // The system menu is nobody's control: it hears of the change from here.
    if (TSkSkinPopupMenu* menu = SystemMenu()) menu->SkinChanging(engine);
}

void TSkSkinForm::SkinChanged(TSkSkinEngine* engine) {
    if (engine != engine_) return;
    TakeSkin();
    if (TSkSkinPopupMenu* menu = SystemMenu()) menu->SkinChanged(engine);
    RestartHover();
    if (WindowState() == TSkWindowState::kwsMaximized) {
        // The new frame may be thicker or thinner: fill the work area again.
        if (TForm* form = HookedForm()) form->setGeometry(WorkAreaFor(form->geometry(), form->screen()));
        RefreshFrame();
    }
}

void TSkSkinForm::SkCustomAction(TSkSkinObject* button) { Fire(OnCustomAction, this, button); }

void TSkSkinForm::Loaded() {
    TSkCustomForm::Loaded();
    if (BorderStyle() == TSkBorderStyle::kbsToolWindow) {
        skinObject_ = QStringLiteral("ToolWindow");
        TakeSkin();
    }
    if (TForm* form = HookedForm())
        for (QWidget* w : form->findChildren<QWidget*>()) w->update();
}

void RegisterSkinFormComponents() { RegisterComponent<TSkSkinForm>(QStringLiteral("TSkSkinForm")); }
