#pragma once
// The toolkit's own texts (the file dialog's labels, standard buttons) in
// Chinese, as the rest of the program is, whatever the user's locale.
class QObject;

// Installs Qt's Chinese translations, owned by owner; false when the
// translation files are missing.
bool InstallChineseToolkitTexts(QObject* owner);
