#include "score_column.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kShownValues = 5;

bool NamesAScore(const QString& header) {
    for (const char* word : {"成绩", "分数", "得分", "总分"})
        if (header.contains(QString::fromUtf8(word))) return true;
    return false;
}

// Headers of columns that hold numbers but never scores.
bool NamesSomethingElse(const QString& header) {
    for (const char* word : {"学号", "序号", "编号", "考号", "座号", "姓名", "班级", "名次", "排名", "等级"})
        if (header.contains(QString::fromUtf8(word))) return true;
    return false;
}

QString Cell(const ScoreTable::Row& row, int column) {
    return column < row.cells.size() ? row.cells[column].trimmed() : QString();
}

bool IsScore(double v) { return v >= 0 && v <= 100; }

int ColumnCount(const ScoreTable& t) {
    qsizetype n = 0;
    for (const auto& r : t.rows) n = std::max(n, r.cells.size());
    return int(n);
}

struct ColumnFacts {
    int values = 0, numbers = 0, scores = 0;
    bool runningNumbers = true;  // 1, 2, 3, ... : a row number, not a score
    double previous = 0;
    QStringList first;

    void Take(const QString& text, bool decimalComma) {
        ++values;
        if (first.size() < kShownValues) first << text;
        const auto v = CellNumber(text, decimalComma);
        if (!v) {
            runningNumbers = false;
            return;
        }
        ++numbers;
        if (IsScore(*v)) ++scores;
        if (*v != (numbers == 1 ? std::floor(*v) : previous + 1)) runningNumbers = false;
        previous = *v;
    }
};

// What each column holds, in one pass over the cells that are there: a ragged
// table costs its cells, not its widest row times its row count.
std::vector<ColumnFacts> Examine(const ScoreTable& t, bool hasHeader) {
    std::vector<ColumnFacts> facts(std::size_t(ColumnCount(t)));
    for (qsizetype r = hasHeader ? 1 : 0; r < t.rows.size(); ++r) {
        const QStringList& cells = t.rows[r].cells;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const QString text = cells[c].trimmed();
            if (!text.isEmpty()) facts[std::size_t(c)].Take(text, t.decimalComma);
        }
    }
    for (ColumnFacts& f : facts)
        if (f.numbers < 3) f.runningNumbers = false;
    return facts;
}

bool HeaderRow(const ScoreTable& t) {
    if (t.rows.isEmpty()) return false;
    const QStringList& cells = t.rows.front().cells;
    bool anyNumber = false;
    for (const QString& c : cells) {
        const QString text = c.trimmed();
        if (NamesAScore(text) || NamesSomethingElse(text)) return true;
        if (CellNumber(text, t.decimalComma)) anyNumber = true;
    }
    return !anyNumber;
}

}  // namespace

ColumnSearch FindScoreColumns(const ScoreTable& table) {
    ColumnSearch out;
    out.hasHeader = HeaderRow(table);
    const std::vector<ColumnFacts> facts = Examine(table, out.hasHeader);
    std::vector<ScoreColumn> named, allScores, withNumbers;
    int used = 0;
    for (int c = 0; c < int(facts.size()); ++c) {
        const QString header = out.hasHeader ? Cell(table.rows.front(), c) : QString();
        const ColumnFacts& f = facts[std::size_t(c)];
        if (f.values == 0) continue;
        ++used;
        if (NamesSomethingElse(header) || f.numbers == 0) continue;
        const ScoreColumn column{c, header, f.first};
        withNumbers.push_back(column);
        if (NamesAScore(header)) named.push_back(column);
        else if (f.scores == f.values && !f.runningNumbers) allScores.push_back(column);
    }
    if (!named.empty()) out.candidates = named;
    else if (!allScores.empty()) out.candidates = allScores;
    else if (used == 1) out.candidates = withNumbers;  // a list of scores alone, refused values and all
    return out;
}

ScoreList CollectScores(const ScoreTable& table, int column, bool hasHeader) {
    ScoreList out;
    for (qsizetype r = hasHeader ? 1 : 0; r < table.rows.size(); ++r) {
        const QString text = Cell(table.rows[r], column);
        if (text.isEmpty()) continue;
        const auto v = CellNumber(text, table.decimalComma);
        if (v && IsScore(*v)) out.scores << ScoreText(*v);
        else out.refused.push_back({table.rows[r].sourceRow, text});
    }
    return out;
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
