#include "score_column.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kShownValues = 5;
// A title, a subtitle and the header: more than this above the data is no class list.
constexpr int kHeadRows = 10;

bool NamesAScore(const QString& header) {
    for (const char* word : {"成绩", "分数", "得分", "总分"})
        if (header.contains(QString::fromUtf8(word))) return true;
    for (const char* word : {"score", "mark"})
        if (header.contains(QLatin1String(word), Qt::CaseInsensitive)) return true;
    return false;
}

// Headers of columns that hold numbers but never scores.
bool NamesSomethingElse(const QString& header) {
    for (const char* word : {"学号", "序号", "编号", "考号", "座号", "姓名", "名字", "班级", "名次", "排名", "等级"})
        if (header.contains(QString::fromUtf8(word))) return true;
    return false;
}

// The first column whose header holds one of words, tried in their order.
int RosterColumn(const QStringList& header, std::initializer_list<const char*> words) {
    for (const char* word : words)
        for (int c = 0; c < header.size(); ++c)
            if (header[c].trimmed().contains(QString::fromUtf8(word))) return c;
    return -1;
}

QString Cell(const ScoreTable::Row& row, int column) {
    return column >= 0 && column < row.cells.size() ? row.cells[column].trimmed() : QString();
}

int ColumnCount(const ScoreTable& t) {
    qsizetype n = 0;
    for (const auto& r : t.rows) n = std::max(n, r.cells.size());
    return int(n);
}

int FilledFields(const QStringList& cells) {
    int last = int(cells.size());
    while (last > 0 && cells[last - 1].trimmed().isEmpty()) --last;
    return last;
}

struct ColumnFacts {
    int values = 0, numbers = 0, scores = 0;
    bool runningNumbers = true;  // 1, 2, 3, ... : a row number, not a score
    double previous = 0;
    QStringList first;

    void Take(const QString& text, bool decimalComma, int fullMarks) {
        ++values;
        if (first.size() < kShownValues) first << text;
        const auto v = CellNumber(text, decimalComma);
        if (!v) {
            runningNumbers = false;
            return;
        }
        ++numbers;
        if (*v >= 0 && *v <= fullMarks) ++scores;
        if (*v != (numbers == 1 ? std::floor(*v) : previous + 1)) runningNumbers = false;
        previous = *v;
    }
};

// What each column holds, in one pass over the cells that are there: a ragged
// table costs its cells, not its widest row times its row count.
std::vector<ColumnFacts> Examine(const ScoreTable& t, int firstRow, int fullMarks) {
    std::vector<ColumnFacts> facts(std::size_t(ColumnCount(t)));
    for (qsizetype r = firstRow; r < t.rows.size(); ++r) {
        const QStringList& cells = t.rows[r].cells;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const QString text = cells[c].trimmed();
            if (!text.isEmpty()) facts[std::size_t(c)].Take(text, t.decimalComma, fullMarks);
        }
    }
    for (ColumnFacts& f : facts)
        if (f.numbers < 3) f.runningNumbers = false;
    return facts;
}

// The header is within the rows above the first row of numbers: the last of
// them that names a column, so a title above it (even one that says 成绩单)
// is passed over. Without any, a first row with no number still names the
// columns, as a header of words the program does not know would.
int HeaderRow(const ScoreTable& t) {
    int named = -1, head = -1;
    for (int r = 0; r < t.rows.size() && r < kHeadRows; ++r) {
        const QStringList& cells = t.rows[r].cells;
        bool anyNumber = false, anyName = false;
        int filled = 0;
        for (const QString& c : cells) {
            const QString text = c.trimmed();
            if (text.isEmpty()) continue;
            ++filled;
            if (NamesAScore(text) || NamesSomethingElse(text)) anyName = true;
            else if (CellNumber(text, t.decimalComma)) anyNumber = true;
        }
        if (anyNumber && !anyName) break;
        head = r;
        // A lone cell above a wider row is a title, whatever it says.
        const bool title = filled == 1 && r + 1 < t.rows.size() && FilledFields(t.rows[r + 1].cells) > 1;
        if (anyName && !title) named = r;
        if (anyNumber) break;
    }
    if (named >= 0) return named;
    return head >= 0 ? 0 : -1;
}

}  // namespace

ColumnSearch FindScoreColumns(const ScoreTable& table, int fullMarks) {
    ColumnSearch out;
    out.headerRow = HeaderRow(table);
    out.hasHeader = out.headerRow >= 0;
    const std::vector<ColumnFacts> facts = Examine(table, out.FirstDataRow(), fullMarks);
    QStringList header;
    if (out.hasHeader)
        for (int c = 0; c < int(facts.size()); ++c) header << Cell(table.rows[out.headerRow], c);
    if (out.hasHeader) {
        out.numberColumn = RosterColumn(header, {"学号", "考号", "编号", "序号"});
        out.nameColumn = RosterColumn(header, {"姓名", "名字"});
    }
    std::vector<ScoreColumn> named, namedInRange, allScores, withNumbers;
    int used = 0;
    for (int c = 0; c < int(facts.size()); ++c) {
        const QString h = out.hasHeader ? header[c] : QString();
        const ColumnFacts& f = facts[std::size_t(c)];
        if (f.values == 0) continue;
        ++used;
        if (NamesSomethingElse(h) || f.numbers == 0) continue;
        const ScoreColumn column{c, h, f.first};
        withNumbers.push_back(column);
        if (NamesAScore(h)) {
            named.push_back(column);
            // A stray value beyond the full marks is refused later; a column
            // of them holds something else (a total of several subjects).
            if (f.scores * 2 > f.numbers) namedInRange.push_back(column);
        } else if (f.scores == f.values && !f.runningNumbers) {
            allScores.push_back(column);
        }
    }
    if (!namedInRange.empty()) {
        out.candidates = namedInRange;
    } else if (!allScores.empty()) {
        out.candidates = allScores;
        out.setAside = named;
    } else if (!named.empty()) {
        out.candidates = named;
    } else if (used == 1) {
        out.candidates = withNumbers;  // a list of scores alone, refused values and all
    }
    return out;
}

bool ScoreList::HasRoster() const {
    return std::any_of(students.begin(), students.end(), [](const ClassStudent& s) { return !s.IsEmpty(); });
}

ScoreList CollectScores(const ScoreTable& table, int column, const ColumnSearch& search, int fullMarks) {
    ScoreList out;
    const int headerFields = search.hasHeader && table.fieldsFollowHeader
                                 ? FilledFields(table.rows[search.headerRow].cells)
                                 : -1;
    const QString joiner = table.separator.isNull() ? QStringLiteral(" ") : QString(table.separator);
    for (qsizetype r = search.FirstDataRow(); r < table.rows.size(); ++r) {
        const ScoreTable::Row& row = table.rows[r];
        const ClassStudent student{Cell(row, search.numberColumn), Cell(row, search.nameColumn)};
        const int fields = FilledFields(row.cells);
        if (headerFields > 0 && fields > headerFields) {
            out.refused.push_back({row.sourceRow, row.cells.mid(0, fields).join(joiner), student, fields - headerFields});
            continue;
        }
        const QString text = Cell(row, column);
        if (text.isEmpty()) continue;
        const auto v = CellNumber(text, table.decimalComma);
        if (v && *v >= 0 && *v <= fullMarks) {
            out.scores << ScoreText(*v);
            out.students.push_back(student);
        } else {
            out.refused.push_back({row.sourceRow, text, student});
        }
    }
    return out;
}

ScoreList CollectScores(const ScoreTable& table, int column, bool hasHeader) {
    ColumnSearch plain;
    plain.hasHeader = hasHeader;
    plain.headerRow = hasHeader ? 0 : -1;
    ScoreTable loose = table;
    loose.fieldsFollowHeader = false;
    return CollectScores(loose, column, plain);
}

QString ScoreText(double value) {
    QString s = QString::number(value, 'g', 15);
    if (s.contains('e')) {
        // Written out in full: the grid takes no exponents.
        const int decimals = std::clamp(14 - int(std::floor(std::log10(std::fabs(value)))), 0, 30);
        s = QString::number(value, 'f', decimals);
        if (s.contains('.')) {
            while (s.endsWith('0')) s.chop(1);
            if (s.endsWith('.')) s.chop(1);
        }
    }
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

std::optional<double> CellNumber(const QString& text, bool decimalComma) {
    // Full-width digits and points become plain ones.
    QString t = text.normalized(QString::NormalizationForm_KC).trimmed();
    static const QRegularExpression point(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    static const QRegularExpression comma(QStringLiteral("^[+-]?(\\d+(,\\d*)?|,\\d+)$"));
    if (decimalComma && comma.match(t).hasMatch()) t.replace(',', '.');
    else if (!point.match(t).hasMatch()) return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}
