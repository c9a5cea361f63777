#include "open_dialog.h"

bool TOpenDialog::Execute(QWidget* owner) {
    return Remember(Dialogs::Current().OpenFile(owner, OpenDialogRequest{filter_, fileName_}));
}
