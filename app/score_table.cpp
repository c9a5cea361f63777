#include "score_table.h"

#include "gbk.h"

#include <QStringDecoder>
#include <algorithm>
#include <map>
#include <optional>

namespace {

// Far more than any class list; the column search looks at every cell.
constexpr qsizetype kMaxCells = 300000;

ETextTableError TooManyCells() {
    return ETextTableError(QStringLiteral("它的单元格超过%1个，不像是一个班级的成绩表。").arg(kMaxCells));
}

bool IsBlank(QChar c) { return c == ' ' || c == '\t' || c == QChar(0x3000); }

// One record of the text: its first line and its fields.
struct Record {
    int line;
    QStringList fields;
};

// Splits text into records. sep is the cell separator; nullopt splits on
// runs of blanks. maxRecords bounds the work when only a sample is needed.
// Every field counts against the cell limit, empty ones too, so a line of
// nothing but separators cannot fill the memory before any check.
QList<Record> Split(const QString& text, std::optional<QChar> sep, int maxRecords = -1) {
    QList<Record> out;
    const qsizetype n = text.size();
    qsizetype i = 0, fields = 0;
    int line = 1;
    while (i < n && (maxRecords < 0 || out.size() < maxRecords)) {
        Record rec{line, {}};
        QString field;
        bool fieldStarted = false, fieldHasText = false;
        auto endField = [&] {
            if (++fields > kMaxCells) throw TooManyCells();
            rec.fields << field;
            field.clear();
            fieldStarted = fieldHasText = false;
        };
        bool endOfRecord = false;
        while (i < n && !endOfRecord) {
            const QChar c = text[i];
            if (c == '\r' || c == '\n') {
                i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
                ++line;
                endOfRecord = true;
                break;
            }
            if (!sep && IsBlank(c)) {
                if (fieldStarted) endField();
                ++i;
                continue;
            }
            if (sep && c == *sep) {
                endField();
                ++i;
                continue;
            }
            if (c == '"' && !fieldHasText) {
                // A quoted field: up to the quote that is not doubled.
                field.clear();
                ++i;
                while (i < n) {
                    const QChar q = text[i];
                    if (q == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (q == '\n' || (q == '\r' && !(i + 1 < n && text[i + 1] == '\n'))) ++line;
                    field += q;
                    ++i;
                }
                fieldStarted = fieldHasText = true;
                continue;
            }
            field += c;
            fieldStarted = true;
            fieldHasText = fieldHasText || !IsBlank(c);
            ++i;
        }
        if (sep || fieldStarted) endField();
        out << rec;
    }
    return out;
}

bool HasText(const QStringList& fields) {
    return std::any_of(fields.begin(), fields.end(), [](const QString& f) { return !f.trimmed().isEmpty(); });
}

// How well sep splits a sample: the number of records that share the most
// common field count, when that count is above one.
int SplitScore(const QString& text, QChar sep) {
    std::map<qsizetype, int> counts;
    for (const Record& r : Split(text, sep, 200))
        if (HasText(r.fields)) ++counts[r.fields.size()];
    int best = 0;
    for (const auto& [fields, records] : counts)
        if (fields > 1) best = std::max(best, records);
    return best;
}

}  // namespace

QString DecodeText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    if (bytes.contains('\0')) throw ETextTableError(QStringLiteral("它不是文本文件。"));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return gbk::decode(bytes);
}

ScoreTable ParseTextTable(const QString& text) {
    std::optional<QChar> sep;
    int best = 0;
    for (QChar candidate : {QChar('\t'), QChar(','), QChar(';')}) {
        const int score = SplitScore(text, candidate);
        if (score > best) {
            best = score;
            sep = candidate;
        }
    }
    ScoreTable table;
    table.decimalComma = sep != QChar(',');
    table.fieldsFollowHeader = true;
    table.separator = sep.value_or(QChar());
    for (Record& r : Split(text, sep)) {
        if (!HasText(r.fields)) continue;
        table.rows << ScoreTable::Row{r.line, std::move(r.fields)};
    }
    return table;
}
