#include "sheet_files.h"

#include "office_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace sheetfiles {

namespace {
// source converted by the office to format beside it; the path, or empty.
QString ConvertFile(const QString& source, const QString& format, const QStringList& options) {
    const QFileInfo in(source);
    // A profile of its own: this office never meets the one the tests drive.
    const QString profile = QUrl::fromLocalFile(testoffice::Path("convert-profile")).toString();
    QProcess office;
    office.start(QStringLiteral("soffice"), QStringList{"-env:UserInstallation=" + profile, "--headless", "--norestore"} + options +
                                                QStringList{"--convert-to", format, "--outdir", in.path(), source});
    if (!office.waitForFinished(180000) || office.exitCode() != 0) return {};
    const QString out = in.path() + "/" + in.completeBaseName() + "." + format;
    return QFileInfo::exists(out) ? out : QString();
}

QString WriteSource(const QString& fileName, const QString& text) {
    const QDir dir(testoffice::Path("sheets"));
    dir.mkpath(".");
    QFile f(dir.filePath(fileName));
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(text.toUtf8());
    return f.fileName();
}
}  // namespace

QString Convert(const QString& name, const QString& csv, const QString& format) {
    const QString source = WriteSource(name + ".csv", csv);
    return source.isEmpty() ? QString() : ConvertFile(source, format, {"--infilter=CSV:44,34,76,1"});
}

QString ConvertText(const QString& name, const QString& text, const QString& format) {
    const QString source = WriteSource(name + ".txt", text);
    return source.isEmpty() ? QString() : ConvertFile(source, format, {"--infilter=Text (encoded):UTF8,LF,,,"});
}

QString WorkedExampleCsv() {
    return QStringLiteral("学号,姓名,成绩\n2006010101,张三,95\n2006010102,李四,89.5\n2006010103,王五,72\n"
                          "2006010104,赵六,60\n2006010105,孙七,59.4\n2006010106,周八,100\n");
}

}  // namespace sheetfiles
