#include "save_dialog.h"

#include "image_list.h"
#include "open_dialog.h"

namespace {
const EnumNames<TOpenOption> kOptionNames{{"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofEnableSizing"}};
}

TSaveDialog::TSaveDialog(TComponent* owner) : TFileNameDialog(owner) {}

bool TSaveDialog::Execute(QWidget* owner) {
    SaveDialogRequest r;
    r.filter = filter_;
    r.fileName = fileName_;
    r.defaultExt = defaultExt_;
    r.overwritePrompt = options_ & ofOverwritePrompt;
    r.hideReadOnly = options_ & ofHideReadOnly;
    r.resizable = options_ & ofEnableSizing;
    return Remember(Dialogs::Current().SaveFile(owner, r));
}

const PropertyTable& TSaveDialog::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TFileNameDialog::StaticProperties());
        PropertyBuilder<TSaveDialog>(t)
            .Str("DefaultExt", [](const TSaveDialog& d) { return d.DefaultExt(); }, [](TSaveDialog& d, const QString& v) { d.SetDefaultExt(v); })
            .SetOf<TOpenOption>("Options", kOptionNames, [](const TSaveDialog& d) { return d.Options(); },
                                [](TSaveDialog& d, unsigned v) { d.SetOptions(v); });
        return t;
    }();
    return table;
}

void RegisterRuntimeComponents() {
    RegisterComponent<TSaveDialog>(QStringLiteral("TSaveDialog"));
    RegisterComponent<TOpenDialog>(QStringLiteral("TOpenDialog"));
    RegisterComponent<TImageList>(QStringLiteral("TImageList"));
}
