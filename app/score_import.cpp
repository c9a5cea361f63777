#include "score_import.h"

#include "application.h"
#include "column_dialog.h"
#include "dialogs.h"
#include "framed_grid.h"
#include "main_window.h"
#include "number_format.h"
#include "open_dialog.h"
#include "score_column.h"
#include "skin_controls.h"
#include "spreadsheet.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <functional>
#include <optional>

namespace {

// Larger than any class list saved as text; read whole, it would only waste memory.
constexpr qint64 kMaxTextFileBytes = 16 * 1024 * 1024;
constexpr size_t kListedRefusals = 10;

// How the messages name where the scores came from.
struct Source {
    QString name;      // 文件“成绩.xlsx” or 粘贴的内容
    QString rowLabel;  // 文件第%1行 or 粘贴内容第%1行
    QString verb;      // 导入 or 粘贴
};

void Warn(TForm1& form, const QString& text) {
    Dialogs::Current().Message(&form, Application().Title(), text, MsgIcon::Warning, MsgButtons::OK);
}

bool Confirm(TForm1& form, const QString& text) {
    return Dialogs::Current().Message(&form, Application().Title(), text, MsgIcon::Question, MsgButtons::OKCancel) ==
           MsgResult::OK;
}

QString RefusedLines(const std::vector<RefusedValue>& refused, const Source& source) {
    QStringList lines;
    for (size_t k = 0; k < refused.size() && k < kListedRefusals; ++k)
        lines << source.rowLabel.arg(refused[k].sourceRow) + QStringLiteral("：") + refused[k].text;
    if (refused.size() > kListedRefusals)
        lines << QStringLiteral("……另有%1处").arg(refused.size() - kListedRefusals);
    return lines.join('\r');
}

// The scores of the table's score column, once the teacher has chosen the
// column and agreed to leave out what is not a score; nothing when there is
// nothing to place or the teacher said no. room is the number of rows they
// may fill; tooMany says that their number does not fit.
std::optional<QStringList> TakeScores(TForm1& form, const ScoreTable& table, const Source& source, int room,
                                      const std::function<QString(qsizetype)>& tooMany) {
    const ColumnSearch search = FindScoreColumns(table);
    if (search.candidates.empty()) {
        Warn(form, QStringLiteral("%1中找不到成绩列。\r请让成绩所在列的表头含有“成绩”“分数”“得分”或“总分”，"
                                  "或者只留下成绩这一列。")
                       .arg(source.name));
        return std::nullopt;
    }
    int pick = 0;
    if (search.candidates.size() > 1) {
        const auto chosen = TColumnDialog::Ask(&form, source.name, search.candidates);
        if (!chosen) return std::nullopt;
        pick = *chosen;
    }
    const ScoreList list = CollectScores(table, search.candidates[size_t(pick)].index, search.hasHeader);
    if (list.scores.size() > room) {
        Warn(form, tooMany(list.scores.size()));
        return std::nullopt;
    }
    if (list.scores.isEmpty()) {
        Warn(form, QStringLiteral("%1中没有0~100范围的成绩，没有%2任何成绩。").arg(source.name, source.verb) +
                       (list.refused.empty() ? QString() : "\r" + RefusedLines(list.refused, source)));
        return std::nullopt;
    }
    if (!list.refused.empty() &&
        !Confirm(form, QStringLiteral("%1中以下内容不是0~100范围的分数，不能%2：\r%3\r\r"
                                      "是否%2其余的%4个成绩？不%2则成绩表保持原样。")
                           .arg(source.name, source.verb, RefusedLines(list.refused, source),
                                QString::number(list.scores.size()))))
        return std::nullopt;
    return list.scores;
}

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

QString SheetMessage(const ESheetError& e, const QString& name) {
    switch (e.reason()) {
    case ESheetError::Reason::NoOffice:
        return QStringLiteral("读取表格文件要用到 LibreOffice，但它没有安装或无法启动，%1没有读取。\r"
                              "可以在表格程序中把成绩另存为 CSV 文件后再导入。\r（%2）")
            .arg(name, e.Message());
    case ESheetError::Reason::NotASpreadsheet:
        return QStringLiteral("%1不是表格文件，无法导入。").arg(name);
    case ESheetError::Reason::TooLarge:
        return QStringLiteral("%1的第一个工作表太大，不像是一个班级的成绩表，没有读取。").arg(name);
    case ESheetError::Reason::Unreadable: break;
    }
    return QStringLiteral("无法打开%1。文件可能已损坏、设有密码，或者不是表格文件。").arg(name);
}

}  // namespace

ScoreTable ReadScoreFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("xls") || suffix == QLatin1String("ods"))
        return FromSheet(ReadFirstSheet(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ETextTableError(QStringLiteral("文件打不开（%1）。").arg(file.errorString()));
    if (file.size() > kMaxTextFileBytes)
        throw ETextTableError(QStringLiteral("文件太大（%1 MB），不像是一个班级的成绩表。").arg(file.size() >> 20));
    const QByteArray bytes = file.read(kMaxTextFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw ETextTableError(QStringLiteral("读文件时出错（%1）。").arg(file.errorString()));
    return ParseTextTable(DecodeText(bytes));
}

void ImportScores(TForm1& form) {
    if (!form.OpenDialog1->Execute(&form)) return;
    const QString path = form.OpenDialog1->FileName();
    const Source source{QStringLiteral("文件“%1”").arg(QFileInfo(path).fileName()), QStringLiteral("文件第%1行"),
                        QStringLiteral("导入")};
    ScoreTable table;
    try {
        // Starting the office for a spreadsheet takes a few seconds.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        table = ReadScoreFile(path);
    } catch (const ESheetError& e) {
        Warn(form, SheetMessage(e, source.name));
        return;
    } catch (const ETextTableError& e) {
        Warn(form, QStringLiteral("无法读取%1：%2").arg(source.name, e.Message()));
        return;
    }
    const auto scores = TakeScores(form, table, source, kScoreRows, [&](qsizetype count) {
        return QStringLiteral("%1中有%2个成绩，超过了成绩表的%3行，没有导入任何成绩。")
            .arg(source.name, QString::number(count), QString::number(kScoreRows));
    });
    if (!scores) return;
    const int entered = form.EnteredCount();
    if (entered > 0 &&
        !Confirm(form, QStringLiteral("成绩表中已有%1个成绩，导入后将全部被替换。是否继续？").arg(entered)))
        return;
    // A new class: nothing of the one before may stay in its figures.
    form.ClearScores();
    form.PlaceScores(1, *scores);
    form.ClearResults();
    form.SkSkinPageControl1->SetActivePageIndex(kScoreEntryPage);
}

bool PasteScores(TForm1& form, int row, const QString& text) {
    const Source source{QStringLiteral("粘贴的内容"), QStringLiteral("粘贴内容第%1行"), QStringLiteral("粘贴")};
    ScoreTable table;
    try {
        table = ParseTextTable(text);
    } catch (const ETextTableError& e) {
        Warn(form, QStringLiteral("%1没有粘贴：%2").arg(source.name, e.Message()));
        return true;
    }
    if (table.rows.size() < 2) return false;
    const int room = kScoreRows - row + 1;
    const auto scores = TakeScores(form, table, source, room, [&](qsizetype count) {
        return QStringLiteral("粘贴的%1个成绩从第%2行起放不下：成绩表只到第%3行，从这里起还能放%4个。没有粘贴任何成绩。")
            .arg(count)
            .arg(row)
            .arg(kScoreRows)
            .arg(room);
    });
    if (!scores) return true;
    const int last = row + int(scores->size()) - 1;
    int filled = 0;
    for (int r = row; r <= last; ++r)
        if (!Trim(form.strgrdscore->Cells(0, r)).isEmpty()) ++filled;
    if (filled > 0 &&
        !Confirm(form, QStringLiteral("第%1行到第%2行中已有%3个成绩，粘贴后将被替换。是否继续？").arg(row).arg(last).arg(filled)))
        return true;
    form.PlaceScores(row, *scores);
    return true;
}
