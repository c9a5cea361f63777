#include "toolkit_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallChineseToolkitTexts(QObject* owner) {
    auto* translator = new QTranslator(owner);
    // "qt_zh_CN" gathers the translations of every Qt module the program uses.
    if (!translator->load(QStringLiteral("qt_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
