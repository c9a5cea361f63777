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

QString WriteSource(const QString& name, const QString& text, const QString& suffix) {
    const QDir dir(testoffice::Path("sheets"));
    dir.mkpath(".");
    const QString source = dir.filePath(name + "." + suffix);
    QFile f(source);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(text.toUtf8());
    return source;
}
}  // namespace

QString Convert(const QString& name, const QString& csv, const QString& format) {
    const QString source = WriteSource(name, csv, "csv");
    return source.isEmpty() ? QString() : ConvertFile(source, format, {"--infilter=CSV:44,34,76,1"});
}

QString ConvertText(const QString& name, const QString& text, const QString& suffix, const QString& format) {
    const QString source = WriteSource(name, text, suffix);
    if (source.isEmpty()) return {};
    // Plain text goes to the word processor as UTF-8; anything else the office recognises by itself.
    return ConvertFile(source, format, suffix == "txt" ? QStringList{"--infilter=Text (encoded):UTF8,LF,,,"} : QStringList{});
}

QString SheetsXml(const QList<QPair<QString, QList<QStringList>>>& sheets) {
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\" "
        "office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\"><office:body><office:spreadsheet>");
    for (const auto& [name, rows] : sheets) {
        xml += QStringLiteral("<table:table table:name=\"%1\">").arg(name.toHtmlEscaped());
        for (const QStringList& row : rows) {
            xml += QStringLiteral("<table:table-row>");
            for (const QString& cell : row) {
                bool number = false;
                cell.toDouble(&number);
                xml += number ? QStringLiteral("<table:table-cell office:value-type=\"float\" office:value=\"%1\"><text:p>%1</text:p></table:table-cell>").arg(cell)
                              : QStringLiteral("<table:table-cell office:value-type=\"string\"><text:p>%1</text:p></table:table-cell>").arg(cell.toHtmlEscaped());
            }
            xml += QStringLiteral("</table:table-row>");
        }
        xml += QStringLiteral("</table:table>");
    }
    return xml + QStringLiteral("</office:spreadsheet></office:body></office:document>");
}

QString WorkedExampleCsv() {
    return QStringLiteral("学号,姓名,成绩\n2006010101,张三,95\n2006010102,李四,89.5\n2006010103,王五,72\n"
                          "2006010104,赵六,60\n2006010105,孙七,59.4\n2006010106,周八,100\n");
}

}  // namespace sheetfiles
