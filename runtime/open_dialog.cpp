#include "open_dialog.h"

bool TOpenDialog::Execute(QWidget* owner) {
    auto chosen = Dialogs::Current().OpenFile(owner, OpenDialogRequest{filter_, fileName_});
    if (!chosen) return false;
    fileName_ = *chosen;
    return true;
}

const PropertyTable& TOpenDialog::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<TOpenDialog>(t)
            .Str("Filter", [](const TOpenDialog& d) { return d.Filter(); }, [](TOpenDialog& d, const QString& v) { d.SetFilter(v); })
            .Str("FileName", [](const TOpenDialog& d) { return d.FileName(); },
                 [](TOpenDialog& d, const QString& v) { d.SetFileName(v); });
        return t;
    }();
    return table;
}
