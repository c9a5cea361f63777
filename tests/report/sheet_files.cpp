#include "sheet_files.h"

#include "office_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace sheetfiles {

QString Convert(const QString& name, const QString& csv, const QString& format) {
    const QDir dir(testoffice::Path("sheets"));
    dir.mkpath(".");
    const QString source = dir.filePath(name + ".csv");
    QFile f(source);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(csv.toUtf8());
    f.close();
    // A profile of its own: this office never meets the one the tests drive.
    const QString profile = QUrl::fromLocalFile(testoffice::Path("convert-profile")).toString();
    QProcess office;
    office.start(QStringLiteral("soffice"),
                 {"-env:UserInstallation=" + profile, "--headless", "--norestore",
                  "--infilter=CSV:44,34,76,1", "--convert-to", format, "--outdir", dir.path(), source});
    if (!office.waitForFinished(180000) || office.exitCode() != 0) return {};
    const QString out = dir.filePath(name + "." + format);
    return QFileInfo::exists(out) ? out : QString();
}

QString WorkedExampleCsv() {
    return QStringLiteral("学号,姓名,成绩\n2006010101,张三,95\n2006010102,李四,89.5\n2006010103,王五,72\n"
                          "2006010104,赵六,60\n2006010105,孙七,59.4\n2006010106,周八,100\n");
}

}  // namespace sheetfiles
