#include "file_name_dialog.h"

const PropertyTable& TFileNameDialog::StaticProperties() {
    static PropertyTable table = [] {
        using D = TFileNameDialog;
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<D>(t)
            .Str("Filter", [](const D& d) { return d.Filter(); }, [](D& d, const QString& v) { d.SetFilter(v); })
            .Str("FileName", [](const D& d) { return d.FileName(); }, [](D& d, const QString& v) { d.SetFileName(v); });
        return t;
    }();
    return table;
}
