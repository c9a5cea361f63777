#include "scoped_locale.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUuid>

#include <clocale>
#include <cstdlib>

namespace {
// Builds name ("de_DE.UTF-8") into a folder of compiled locales and returns
// that folder; empty when localedef failed.
QString BuildLocale(const QString& name) {
    const QString root = QDir::tempPath() + "/markwise-locales";
    if (QFileInfo::exists(root + "/" + name)) return root;
    QDir().mkpath(root);
    // Built aside and renamed, so test programs running side by side never
    // see half a locale.
    const QString scratch = root + "/." + QUuid::createUuid().toString(QUuid::Id128);
    const QString lang = name.section('.', 0, 0), charset = name.section('.', 1);
    QProcess p;
    p.start("localedef", {"-i", lang, "-f", charset, scratch});
    p.waitForFinished(120000);
    if (p.exitStatus() != QProcess::NormalExit || !QFileInfo(scratch).isDir()) return {};
    if (!QDir().rename(scratch, root + "/" + name)) QDir(scratch).removeRecursively();
    return QFileInfo::exists(root + "/" + name) ? root : QString();
}

bool SetCLocale(const QString& name) {
    const QByteArray n = name.toLatin1();
    if (std::setlocale(LC_ALL, n.constData())) return true;
    const QString dir = BuildLocale(name);
    if (dir.isEmpty()) return false;
    const QByteArray old = qgetenv("LOCPATH");
    const bool hadOld = qEnvironmentVariableIsSet("LOCPATH");
    qputenv("LOCPATH", QFile::encodeName(dir));
    const bool ok = std::setlocale(LC_ALL, n.constData()) != nullptr;
    if (hadOld) qputenv("LOCPATH", old);
    else qunsetenv("LOCPATH");
    return ok;
}
}  // namespace

ScopedLocale::ScopedLocale(const QString& name) : savedC_(std::setlocale(LC_ALL, nullptr)) {
    active_ = SetCLocale(name);
    if (active_) QLocale::setDefault(QLocale(name.section('.', 0, 0)));
}

ScopedLocale::~ScopedLocale() {
    std::setlocale(LC_ALL, savedC_.constData());
    QLocale::setDefault(savedQt_);
}
