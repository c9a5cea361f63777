// The OpenDocument spreadsheet: every table of content.xml, with its
// repeated rows and cells counted rather than written out.
#include "workbook_readers.h"

#include "score_column.h"
#include "sheet_rows.h"
#include "sheet_xml.h"

#include <QLocale>

#include <algorithm>
#include <optional>

namespace {

constexpr qint64 kMaxContentBytes = 64ll << 20;
constexpr qint64 kMaxCellChars = 1ll << 20;
constexpr qint64 kMaxSpaces = 1000;  // of one <text:s/>

const QLatin1String kTable("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QLatin1String kOffice("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QLatin1String kText("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

qint64 Repeat(const QXmlStreamReader& x, const char* name) {
    bool ok = false;
    const qint64 n = x.attributes().value(kTable, QLatin1String(name)).toLongLong(&ok);
    return ok && n > 0 ? n : 1;
}

bool Is(const QXmlStreamReader& x, const QLatin1String& ns, const char* name) {
    return x.namespaceUri() == ns && x.name() == QLatin1String(name);
}

}  // namespace

std::vector<ScoreSheet> ReadOdsBook(const QByteArray& bytes) {
    SheetArchive a(bytes);
    if (!a.Contains(QStringLiteral("content.xml"))) throw ESheetFileError(QStringLiteral("它不是 OpenDocument 表格。"));
    std::vector<ScoreSheet> out;
    qint64 budget = kMaxWorkbookCells;
    std::optional<SheetRows> rows;
    QString name, text, value;
    qint64 row = 0, column = 0, rowRepeat = 1, cellRepeat = 1;
    int paragraphs = 0;
    std::vector<std::pair<qint64, QString>> rowCells;  // of the row being read
    bool inCell = false, inParagraph = false;
    const auto tooLong = [] { return ESheetFileError(QStringLiteral("表格中有一个单元格太长，不像是一个班级的成绩表，没有读取。")); };
    ParseSheetXml(a, QStringLiteral("content.xml"), kMaxContentBytes, [&](QXmlStreamReader& x) {
        if (x.isStartElement()) {
            if (Is(x, kTable, "table")) {
                rows.emplace(budget);
                name = x.attributes().value(kTable, QLatin1String("name")).toString();
                row = 0;
            } else if (rows && Is(x, kTable, "table-row")) {
                rowRepeat = Repeat(x, "number-rows-repeated");
                ++row;
                column = 0;
                rowCells.clear();
            } else if (rows && (Is(x, kTable, "table-cell") || Is(x, kTable, "covered-table-cell"))) {
                cellRepeat = Repeat(x, "number-columns-repeated");
                const QXmlStreamAttributes at = x.attributes();
                const QStringView type = at.value(kOffice, QLatin1String("value-type"));
                value.clear();
                if (type == QLatin1String("float") || type == QLatin1String("percentage") || type == QLatin1String("currency")) {
                    bool ok = false;
                    const double d = QLocale::c().toDouble(at.value(kOffice, QLatin1String("value")), &ok);
                    if (ok) value = ScoreText(d);
                }
                text.clear();
                paragraphs = 0;
                inCell = true;
            } else if (inCell && Is(x, kText, "p")) {
                if (paragraphs++) text += QLatin1Char('\n');
                inParagraph = true;
            } else if (inParagraph && Is(x, kText, "s")) {
                bool ok = false;
                const qint64 n = x.attributes().value(kText, QLatin1String("c")).toLongLong(&ok);
                text += QString(int(std::clamp<qint64>(ok ? n : 1, 1, kMaxSpaces)), QLatin1Char(' '));
            } else if (inParagraph && Is(x, kText, "tab")) {
                text += QLatin1Char('\t');
            } else if (inParagraph && Is(x, kText, "line-break")) {
                text += QLatin1Char('\n');
            }
        } else if (x.isEndElement()) {
            if (rows && Is(x, kTable, "table")) {
                out.push_back({name, rows->Take()});
                rows.reset();
            } else if (rows && Is(x, kTable, "table-row")) {
                // Repeated rows: the empty ones only move on; a filled one
                // (equal scores one below the other) is written out again,
                // within the budget.
                for (qint64 k = 0; k < rowRepeat && !rowCells.empty(); ++k)
                    for (const auto& [c, t] : rowCells) rows->Put(row + k, c, t);
                row = std::min(row + rowRepeat - 1, SheetRows::kMaxRow * 8);
            } else if (rows && (Is(x, kTable, "table-cell") || Is(x, kTable, "covered-table-cell"))) {
                inCell = false;
                const QString cell = value.isEmpty() ? text : value;
                if (cell.trimmed().isEmpty()) {
                    column += cellRepeat;
                } else {
                    for (qint64 k = 0; k < cellRepeat; ++k) {
                        if (column >= SheetRows::kMaxColumn || qint64(rowCells.size()) >= kMaxWorkbookCells) throw TooManyCells();
                        rowCells.emplace_back(column++, cell);
                    }
                }
                if (column > SheetRows::kMaxColumn * 8) column = SheetRows::kMaxColumn * 8;
            } else if (Is(x, kText, "p")) {
                inParagraph = false;
            }
        } else if (inParagraph) {
            if (text.size() + x.text().size() > kMaxCellChars) throw tooLong();
            text += x.text();
        }
    });
    return out;
}
