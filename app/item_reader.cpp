#include "item_reader.h"

#include "score_reader.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <set>

namespace {

constexpr int kHeadRows = 10;  // a title and a subtitle above the header at most
constexpr int kMinQuestions = 2;
// Scores come in halves and tenths; sums of them differ from a typed total
// only by the binary representation.
constexpr double kSumTolerance = 1e-6;

QString Normal(const QString& text) { return text.normalized(QString::NormalizationForm_KC).trimmed(); }

QString Cell(const ScoreTable::Row& row, int column) {
    return column >= 0 && column < row.cells.size() ? row.cells[column].trimmed() : QString();
}

bool NamesATotal(const QString& header) {
    for (const char* word : {"总分", "合计", "总成绩"})
        if (header.contains(QString::fromUtf8(word))) return true;
    return false;
}

int FirstColumn(const QStringList& header, std::initializer_list<const char*> words) {
    for (const char* word : words)
        for (int c = 0; c < header.size(); ++c)
            if (header[c].contains(QString::fromUtf8(word))) return c;
    return -1;
}

// The question columns of a row taken as the header: two or more, named
// apart (a row of 0/1 answers repeats itself and is no header).
std::vector<int> QuestionColumns(const QStringList& cells) {
    std::vector<int> out;
    std::set<QString> seen;
    for (int c = 0; c < cells.size(); ++c) {
        const QString name = Normal(cells[c]);
        if (!NamesAQuestion(name)) continue;
        if (!seen.insert(name).second) return {};
        out.push_back(c);
    }
    return out.size() >= size_t(kMinQuestions) ? out : std::vector<int>{};
}

}  // namespace

double ItemRow::Sum() const {
    double s = 0;
    for (double v : values) s += v;
    return s;
}

bool NamesAQuestion(const QString& header) {
    static const QRegularExpression question(QStringLiteral(
        "^(?:第\\s*\\d{1,3}\\s*题|[TtQq]\\s*\\d{1,3}|"
        "(?:选择|填空|判断|单选|多选|简答|计算|解答|论述|阅读|作文|听力|实验|应用|证明|综合|名词解释)题?\\s*\\d{1,3}|"
        "\\d{1,3})(?:\\s*[\\(（]\\d{1,2}[\\)）]|[-_.]\\d{1,2})?$"));
    return question.match(Normal(header)).hasMatch();
}

ItemReading ReadItemTable(const ScoreTable& table) {
    ItemReading out;
    for (const ScoreTable::Row& row : table.rows)
        for (const QString& cell : row.cells)
            if (cell.size() > kMaxCellChars) {
                out.outcome = ItemReading::Outcome::CellTooLong;
                out.longCellRow = row.sourceRow;
                return out;
            }
    int headerRow = -1;
    for (int r = 0; r < int(table.rows.size()) && r < kHeadRows && headerRow < 0; ++r) {
        out.columns = QuestionColumns(table.rows[r].cells);
        if (!out.columns.empty()) headerRow = r;
    }
    if (headerRow < 0) return out;  // NoQuestions
    QStringList header;
    for (const QString& c : table.rows[headerRow].cells) header << Normal(c);
    for (int c : out.columns) out.questions << header[c];
    const auto isQuestion = [&](int c) { return std::find(out.columns.begin(), out.columns.end(), c) != out.columns.end(); };
    for (int c = 0; c < header.size() && out.totalColumn < 0; ++c)
        if (!isQuestion(c) && NamesATotal(header[c])) out.totalColumn = c;
    const int numberColumn = FirstColumn(header, {"学号", "考号", "编号", "序号"});
    const int nameColumn = FirstColumn(header, {"姓名", "名字"});

    int first = headerRow + 1;
    // A row of full marks under the header says so in a cell of its own.
    if (first < table.rows.size()) {
        const ScoreTable::Row& row = table.rows[first];
        bool labelled = false;
        for (int c = 0; c < row.cells.size(); ++c)
            if (!isQuestion(c) && Normal(row.cells[c]).contains(QStringLiteral("满分"))) labelled = true;
        if (labelled) {
            std::vector<double> marks;
            for (int c : out.columns) {
                const auto v = CellNumber(Cell(row, c), table.decimalComma);
                if (!v || !(*v > 0)) {
                    marks.clear();
                    break;
                }
                marks.push_back(*v);
            }
            if (marks.size() == out.columns.size()) out.fullMarks = marks;
            ++first;  // a row of full marks is never a student, whole or not
        }
    }

    out.largest.assign(out.columns.size(), 0.0);
    for (qsizetype r = first; r < table.rows.size(); ++r) {
        const ScoreTable::Row& row = table.rows[r];
        ItemRow item;
        item.sourceRow = row.sourceRow;
        item.student = {Cell(row, numberColumn), Cell(row, nameColumn)};
        item.total = Cell(row, out.totalColumn);
        bool any = false, refused = false;
        for (size_t q = 0; q < out.columns.size(); ++q) {
            const QString text = Cell(row, out.columns[q]);
            if (text.isEmpty()) {
                item.texts << QString();
                item.values.push_back(0);
                continue;
            }
            any = true;
            const auto v = CellNumber(text, table.decimalComma);
            if (!v || *v < 0) {
                out.refused.push_back({row.sourceRow, QStringLiteral("%1题“%2”").arg(out.questions[qsizetype(q)], text), item.student});
                refused = true;
                continue;
            }
            item.texts << ScoreText(*v);
            item.values.push_back(*v);
            out.largest[q] = std::max(out.largest[q], *v);
        }
        // A row without any question's score is an absent student, or a note.
        if (any && !refused) out.rows.push_back(std::move(item));
    }
    if (!out.refused.empty()) out.outcome = ItemReading::Outcome::BadCells;
    else out.outcome = out.rows.empty() ? ItemReading::Outcome::NoRows : ItemReading::Outcome::Ready;
    return out;
}

std::vector<RefusedValue> CellsAboveMarks(const ItemReading& reading, const std::vector<double>& fullMarks) {
    std::vector<RefusedValue> out;
    for (const ItemRow& row : reading.rows)
        for (size_t q = 0; q < row.values.size() && q < fullMarks.size(); ++q)
            if (row.values[q] > fullMarks[q] + kSumTolerance)
                out.push_back({row.sourceRow,
                               QStringLiteral("%1题“%2”超过满分%3").arg(reading.questions[qsizetype(q)], row.texts[qsizetype(q)],
                                                                     ScoreText(fullMarks[q])),
                               row.student});
    return out;
}

std::vector<ItemMismatch> TotalMismatches(const ItemReading& reading) {
    std::vector<ItemMismatch> out;
    if (reading.totalColumn < 0) return out;
    for (const ItemRow& row : reading.rows) {
        const double sum = row.Sum();
        const auto total = CellNumber(row.total, true);
        if (total && std::fabs(*total - sum) <= kSumTolerance) continue;
        out.push_back({row.sourceRow, row.student, row.total, sum});
    }
    return out;
}

QString CheckQuestionMarks(const std::vector<double>& fullMarks) {
    double sum = 0;
    for (double m : fullMarks) {
        if (!(m > 0) || !std::isfinite(m)) return QStringLiteral("每道小题的满分都要大于0。");
        sum += m;
    }
    const double whole = std::round(sum);
    if (std::fabs(sum - whole) > kSumTolerance)
        return QStringLiteral("各小题满分之和是%1，不是整数，不能作为试卷满分。").arg(ScoreText(sum));
    if (whole < kMinFullMarks || whole > kMaxFullMarks)
        return QStringLiteral("各小题满分之和是%1，试卷满分要在%2~%3之间。").arg(ScoreText(sum)).arg(kMinFullMarks).arg(kMaxFullMarks);
    return QString();
}
