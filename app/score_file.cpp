#include "score_file.h"

#include "sheet_archive.h"
#include "score_column.h"
#include "spreadsheet.h"
#include "workbook_readers.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Larger than any class list saved as text or as a workbook.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
constexpr qint64 kPiece = 256 * 1024;

ScoreTable FromSheet(const SheetCells& sheet) {
    ScoreTable table;
    int row = sheet.firstRow;
    for (const QVariantList& cells : sheet.rows) {
        ScoreTable::Row r{row++, {}};
        bool any = false;
        for (const QVariant& v : cells) {
            const QString text = v.typeId() == QMetaType::Double ? ScoreText(v.toDouble()) : v.toString();
            any = any || !text.trimmed().isEmpty();
            r.cells << text;
        }
        if (any) table.rows << r;
    }
    return table;
}

}  // namespace

QByteArray ReadFileBytes(const QString& path, qint64 maxBytes, const std::atomic<bool>& cancelled) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw ESheetFileError(QStringLiteral("文件打不开（%1）。").arg(file.errorString()));
    if (!file.isSequential() && file.size() > maxBytes)
        throw ESheetFileError(QStringLiteral("文件太大（%1 MB），不像是一个班级的成绩表。").arg(file.size() >> 20));
    QByteArray bytes;
    for (;;) {
        if (cancelled) throw EReadCancelled(QStringLiteral("cancelled"));
        const QByteArray piece = file.read(kPiece);
        if (file.error() != QFileDevice::NoError)
            throw ESheetFileError(QStringLiteral("读文件时出错（%1）。").arg(file.errorString()));
        if (piece.isEmpty()) break;
        bytes += piece;
        if (bytes.size() > maxBytes)
            throw ESheetFileError(QStringLiteral("文件太大（超过 %1 MB），不像是一个班级的成绩表。").arg(maxBytes >> 20));
    }
    return bytes;
}

ScoreFileKind KindOf(const QString& path, const QByteArray& head) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xls")) return ScoreFileKind::Office;
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("ods"))
        return SheetArchive::LooksLikeZip(head) ? ScoreFileKind::Workbook : ScoreFileKind::Office;
    return ScoreFileKind::Text;
}

std::vector<ScoreSheet> ReadScoreFile(const QString& path, const std::atomic<bool>& cancelled) {
    QByteArray head;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("ods")) {
        // Only a workbook is looked into first; a text may come from a pipe.
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly) && !probe.isSequential()) head = probe.read(4);
    }
    const QString name = QFileInfo(path).fileName();
    switch (KindOf(path, head)) {
    case ScoreFileKind::Office: {
        std::vector<ScoreSheet> out;
        for (const NamedSheet& s : ReadSheets(path)) out.push_back({s.name, FromSheet(s.cells)});
        return out;
    }
    case ScoreFileKind::Workbook: {
        const QByteArray bytes = ReadFileBytes(path, kMaxFileBytes, cancelled);
        if (cancelled) throw EReadCancelled(QStringLiteral("cancelled"));
        return QFileInfo(path).suffix().toLower() == QLatin1String("ods") ? ReadOdsBook(bytes) : ReadXlsxBook(bytes);
    }
    case ScoreFileKind::Text: break;
    }
    const QByteArray bytes = ReadFileBytes(path, kMaxFileBytes, cancelled);
    try {
        return {{name, ParseTextTable(DecodeText(bytes))}};
    } catch (const ETextTableError& e) {
        throw ESheetFileError(e.Message());
    }
}
