// The Office Open XML workbook: the package's relationships lead to the
// workbook, its sheets and the shared strings.
#include "workbook_readers.h"

#include "score_column.h"
#include "sheet_rows.h"
#include "sheet_xml.h"

#include <QLocale>
#include <vector>

namespace {

constexpr qint64 kMaxPartBytes = 4ll << 20;      // relationships, the workbook
constexpr qint64 kMaxStringsBytes = 48ll << 20;  // the shared strings
constexpr qint64 kMaxSheetBytes = 64ll << 20;    // one worksheet
constexpr qint64 kMaxStrings = 300000;
constexpr qint64 kMaxStringChars = 8ll << 20;

ESheetFileError TooMuchText() {
    return ESheetFileError(QStringLiteral("文件中的文字内容过多，不像是一个班级的成绩表，没有读取。"));
}

QString Attribute(const QXmlStreamReader& x, QLatin1String localName) {
    for (const QXmlStreamAttribute& a : x.attributes())
        if (a.name() == localName) return a.value().toString();
    return {};
}

QString DirOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

// A relationship's target as a path inside the package.
QString Resolve(const QString& base, const QString& target) {
    QStringList parts;
    const QString joined = target.startsWith('/') ? target.mid(1) : base + target;
    for (const QString& p : joined.split('/', Qt::SkipEmptyParts)) {
        if (p == QLatin1String("..")) {
            if (!parts.isEmpty()) parts.removeLast();
        } else if (p != QLatin1String(".")) {
            parts << p;
        }
    }
    return parts.join('/');
}

struct Relationship {
    QString type, target;
};

std::map<QString, Relationship> Relationships(SheetArchive& a, const QString& part) {
    std::map<QString, Relationship> out;
    const QString rels = DirOf(part) + QStringLiteral("_rels/") + part.mid(DirOf(part).size()) + QStringLiteral(".rels");
    if (!a.Contains(rels)) return out;
    ParseSheetXml(a, rels, kMaxPartBytes, [&](QXmlStreamReader& x) {
        if (x.isStartElement() && x.name() == QLatin1String("Relationship"))
            out[Attribute(x, QLatin1String("Id"))] = {Attribute(x, QLatin1String("Type")),
                                                      Resolve(DirOf(part), Attribute(x, QLatin1String("Target")))};
    });
    return out;
}

std::vector<QString> SharedStrings(SheetArchive& a, const QString& part) {
    std::vector<QString> out;
    qint64 chars = 0;
    QString current;
    bool inText = false, inPhonetic = false;
    ParseSheetXml(a, part, kMaxStringsBytes, [&](QXmlStreamReader& x) {
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("si")) current.clear();
            else if (x.name() == QLatin1String("rPh")) inPhonetic = true;  // a reading aid, not the text
            else if (x.name() == QLatin1String("t")) inText = !inPhonetic;
        } else if (x.isEndElement()) {
            if (x.name() == QLatin1String("si")) {
                if (qint64(out.size()) >= kMaxStrings) throw TooMuchText();
                out.push_back(current);
            } else if (x.name() == QLatin1String("rPh")) {
                inPhonetic = false;
            } else if (x.name() == QLatin1String("t")) {
                inText = false;
            }
        } else if (inText) {
            chars += x.text().size();
            if (chars > kMaxStringChars) throw TooMuchText();
            current += x.text();
        }
    });
    return out;
}

// "C12" -> column 2 (from 0), row 12.
bool CellReference(const QString& ref, qint64& column, qint64& row) {
    qint64 c = 0, r = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isUpper() && ref[i].unicode() < 128; ++i) {
        c = c * 26 + (ref[i].unicode() - 'A' + 1);
        if (c > SheetRows::kMaxColumn) return false;
    }
    if (i == 0 || i == ref.size()) return false;
    for (; i < ref.size(); ++i) {
        if (!ref[i].isDigit() || ref[i].unicode() >= 128) return false;
        r = r * 10 + (ref[i].unicode() - '0');
        if (r > SheetRows::kMaxRow) return false;
    }
    column = c - 1;
    row = r;
    return true;
}

QString NumberText(const QString& v) {
    bool ok = false;
    const double d = QLocale::c().toDouble(v.trimmed(), &ok);
    return ok ? ScoreText(d) : v;
}

ScoreTable Worksheet(SheetArchive& a, const QString& part, const std::vector<QString>& strings, qint64& budget) {
    SheetRows rows(budget);
    qint64 row = 0, column = -1;
    QString type, value;
    bool inValue = false, inCell = false;
    ParseSheetXml(a, part, kMaxSheetBytes, [&](QXmlStreamReader& x) {
        if (x.isStartElement()) {
            const auto name = x.name();
            if (name == QLatin1String("row")) {
                bool ok = false;
                const qint64 r = Attribute(x, QLatin1String("r")).toLongLong(&ok);
                row = ok ? r : row + 1;
                column = -1;
            } else if (name == QLatin1String("c")) {
                qint64 c = 0, r = 0;
                if (CellReference(Attribute(x, QLatin1String("r")), c, r)) {
                    column = c;
                    row = r;
                } else {
                    ++column;
                }
                type = Attribute(x, QLatin1String("t"));
                value.clear();
                inCell = true;
            } else if (inCell && (name == QLatin1String("v") || name == QLatin1String("t"))) {
                inValue = true;
            }
        } else if (x.isEndElement()) {
            const auto name = x.name();
            if (name == QLatin1String("v") || name == QLatin1String("t")) {
                inValue = false;
            } else if (name == QLatin1String("c")) {
                inCell = false;
                QString text = value;
                if (type == QLatin1String("s")) {
                    bool ok = false;
                    const qint64 k = value.trimmed().toLongLong(&ok);
                    text = ok && k >= 0 && k < qint64(strings.size()) ? strings[size_t(k)] : QString();
                } else if (type.isEmpty() || type == QLatin1String("n")) {
                    text = NumberText(value);
                }
                rows.Put(row, column, text);
            }
        } else if (inValue) {
            if (value.size() + x.text().size() > kMaxStringChars) throw TooMuchText();
            value += x.text();
        }
    });
    return rows.Take();
}

}  // namespace

std::vector<ScoreSheet> ReadXlsxBook(const QByteArray& bytes) {
    SheetArchive a(bytes);
    QString workbook = QStringLiteral("xl/workbook.xml");
    for (const auto& [id, rel] : Relationships(a, QString()))
        if (rel.type.endsWith(QLatin1String("/officeDocument"))) workbook = rel.target;
    if (!a.Contains(workbook)) throw ESheetFileError(QStringLiteral("它不是 Excel 工作簿。"));
    const auto rels = Relationships(a, workbook);

    std::vector<QString> strings;
    for (const auto& [id, rel] : rels)
        if (rel.type.endsWith(QLatin1String("/sharedStrings")) && a.Contains(rel.target)) strings = SharedStrings(a, rel.target);

    std::vector<std::pair<QString, QString>> sheets;  // name, part
    ParseSheetXml(a, workbook, kMaxPartBytes, [&](QXmlStreamReader& x) {
        if (!x.isStartElement() || x.name() != QLatin1String("sheet")) return;
        const auto rel = rels.find(Attribute(x, QLatin1String("id")));
        if (rel != rels.end() && rel->second.type.endsWith(QLatin1String("/worksheet")))
            sheets.emplace_back(Attribute(x, QLatin1String("name")), rel->second.target);
    });
    std::vector<ScoreSheet> out;
    qint64 budget = kMaxWorkbookCells;
    for (const auto& [name, part] : sheets) {
        if (!a.Contains(part)) throw ESheetFileError(QStringLiteral("文件已损坏（缺少工作表“%1”）。").arg(name));
        out.push_back({name, Worksheet(a, part, strings, budget)});
    }
    return out;
}
