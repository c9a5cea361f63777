#include "score_import.h"

#include "application.h"
#include "busy_work.h"
#include "column_dialog.h"
#include "dialogs.h"
#include "framed_grid.h"
#include "main_window.h"
#include "number_format.h"
#include "open_dialog.h"
#include "score_file.h"
#include "score_reader.h"
#include "sheet_archive.h"
#include "sheet_dialog.h"
#include "skin_controls.h"
#include "skin_menu.h"
#include "spreadsheet.h"
#include "student_lists.h"

#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <optional>

namespace {

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
    for (const RefusedValue& r : refused) {
        const QString what = r.extraFields > 0
                                 ? QStringLiteral("比表头多%1项（%2），数值里可能有逗号").arg(r.extraFields).arg(r.text)
                                 : r.text;
        lines << source.rowLabel.arg(r.sourceRow) + QStringLiteral("：") + what + StudentSuffix(r.student);
    }
    return ListedLines(lines);
}

QString Headers(const std::vector<ScoreColumn>& columns) {
    QStringList names;
    for (const ScoreColumn& c : columns) names << QStringLiteral("“%1”").arg(c.header);
    return names.join(QStringLiteral("、"));
}

// The scores of the table, with their students, once the teacher has chosen
// the column and agreed to leave out what is not a score; nothing when there
// is nothing to place or the teacher said no. room is the number of rows
// they may fill; tooMany says that their number does not fit.
std::optional<ScoreList> TakeScores(TForm1& form, const ScoreTable& table, const Source& source, int room,
                                    const std::function<QString(qsizetype)>& tooMany) {
    const int fullMarks = form.FullMarks();
    ScoreReading reading = ReadScoreTable(table, fullMarks);
    if (reading.outcome == ScoreReading::Outcome::ChooseColumn) {
        const QString note =
            reading.setAside.empty()
                ? QString()
                : QStringLiteral("%1列的数值大多超出0~%2的范围（满分%2），不是一次考试的成绩，没有列出。")
                      .arg(Headers(reading.setAside))
                      .arg(fullMarks);
        const auto chosen = TColumnDialog::Ask(&form, source.name, reading.choices, note);
        if (!chosen) return std::nullopt;
        reading = ReadScoreTable(table, fullMarks, reading.choices[size_t(*chosen)].index);
    }
    switch (reading.outcome) {
    case ScoreReading::Outcome::CellTooLong:
        Warn(form, QStringLiteral("%1第%2行有一个单元格长达%3个字符，太长了，不像是成绩表的内容，没有%4任何成绩。")
                       .arg(source.name)
                       .arg(reading.longCellRow)
                       .arg(reading.longCellLength)
                       .arg(source.verb));
        return std::nullopt;
    case ScoreReading::Outcome::NoScoreColumn:
        Warn(form, QStringLiteral("%1中找不到成绩列。\r请让成绩所在列的表头含有“成绩”“分数”“得分”或“总分”，"
                                  "或者只留下成绩这一列。")
                       .arg(source.name));
        return std::nullopt;
    case ScoreReading::Outcome::ChooseColumn:
    case ScoreReading::Outcome::NoScores:
    case ScoreReading::Outcome::Ready: break;
    }
    const ScoreList& list = reading.list;
    if (list.scores.size() > room) {
        Warn(form, tooMany(list.scores.size()));
        return std::nullopt;
    }
    if (list.scores.isEmpty()) {
        // Numbers beyond the full marks: most likely an exam out of more than it says.
        const bool beyond = std::any_of(list.refused.begin(), list.refused.end(), [&](const RefusedValue& r) {
            const auto v = CellNumber(r.text, table.decimalComma);
            return v && *v > fullMarks;
        });
        Warn(form, QStringLiteral("%1中没有0~%3范围的成绩，没有%2任何成绩。").arg(source.name, source.verb).arg(fullMarks) +
                       (list.refused.empty() ? QString() : "\r" + RefusedLines(list.refused, source)) +
                       (beyond ? QStringLiteral("\r\r如果满分不是%1，请先在“信息录入”中填写满分再%2。").arg(fullMarks).arg(source.verb)
                               : QString()));
        return std::nullopt;
    }
    if (!list.refused.empty() &&
        !Confirm(form, QStringLiteral("%1中以下内容不是0~%5范围的分数，不能%2：\r%3\r\r"
                                      "是否%2其余的%4个成绩？不%2则成绩表保持原样。")
                           .arg(source.name, source.verb, RefusedLines(list.refused, source),
                                QString::number(list.scores.size()))
                           .arg(fullMarks)))
        return std::nullopt;
    return list;
}

Source ImportSource(const QString& path) {
    return {QStringLiteral("文件“%1”").arg(QFileInfo(path).fileName()), QStringLiteral("文件第%1行"), QStringLiteral("导入")};
}

// The sheet the class is on: the only one with rows, or the teacher's choice.
const ScoreTable* ChooseSheet(TForm1& form, const std::vector<ScoreSheet>& sheets, const Source& source) {
    std::vector<int> filled;
    for (int k = 0; k < int(sheets.size()); ++k)
        if (!sheets[size_t(k)].table.rows.isEmpty()) filled.push_back(k);
    if (filled.size() <= 1) {
        if (!filled.empty()) return &sheets[size_t(filled.front())].table;
        Warn(form, QStringLiteral("%1中没有任何内容，没有导入任何成绩。").arg(source.name));
        return nullptr;
    }
    const auto chosen = TSheetDialog::Ask(&form, source.name, sheets);
    return chosen ? &sheets[size_t(*chosen)].table : nullptr;
}

}  // namespace

QString SheetMessage(const ESheetError& e, const QString& name) {
    switch (e.reason()) {
    case ESheetError::Reason::NoOffice:
        return QStringLiteral("读取表格文件要用到 LibreOffice，但它没有安装或无法启动，%1没有读取。\r"
                              "可以在表格程序中把成绩另存为 CSV 文件后再导入。\r（%2）")
            .arg(name, e.Message());
    case ESheetError::Reason::NotASpreadsheet:
        return QStringLiteral("%1不是表格文件，无法导入。").arg(name);
    case ESheetError::Reason::TooLarge:
        return QStringLiteral("%1的工作表太大，不像是一个班级的成绩表，没有读取。").arg(name);
    case ESheetError::Reason::Unreadable: break;
    }
    return QStringLiteral("无法打开%1。文件可能已损坏、设有密码，或者不是表格文件。").arg(name);
}

std::optional<ImportedTable> ReadImportTable(TForm1& form) {
    if (!form.OpenDialog1->Execute(&form)) return std::nullopt;
    if (!form.ApplyFullMarks()) return std::nullopt;
    const QString path = form.OpenDialog1->FileName();
    const Source source = ImportSource(path);
    std::optional<std::vector<ScoreSheet>> sheets;
    try {
        sheets = RunBusyFor<std::vector<ScoreSheet>>(
            &form, QStringLiteral("正在读取%1……").arg(source.name),
            [path](const std::atomic<bool>& cancelled) { return ReadScoreFile(path, cancelled); });
    } catch (const ESheetError& e) {
        Warn(form, SheetMessage(e, source.name));
        return std::nullopt;
    } catch (const ESheetFileError& e) {
        Warn(form, QStringLiteral("无法读取%1：%2").arg(source.name, e.Message()));
        return std::nullopt;
    } catch (const EReadCancelled&) {
        return std::nullopt;
    }
    if (!sheets) return std::nullopt;  // cancelled: nothing changes
    const ScoreTable* table = ChooseSheet(form, *sheets, source);
    if (!table) return std::nullopt;
    return ImportedTable{source.name, *table};
}

void ImportScores(TForm1& form) {
    const std::optional<ImportedTable> imported = ReadImportTable(form);
    if (!imported) return;
    const Source source = ImportSource(form.OpenDialog1->FileName());
    const ScoreTable* table = &imported->table;
    const auto scores = TakeScores(form, *table, source, kScoreRows, [&](qsizetype count) {
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
    form.PlaceScores(1, scores->scores, scores->HasRoster() ? scores->students : std::vector<ClassStudent>{});
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
    const int last = row + int(scores->scores.size()) - 1;
    int filled = 0;
    for (int r = row; r <= last; ++r)
        if (!Trim(form.strgrdscore->Cells(0, r)).isEmpty()) ++filled;
    if (filled > 0 &&
        !Confirm(form, QStringLiteral("第%1行到第%2行中已有%3个成绩，粘贴后将被替换。是否继续？").arg(row).arg(last).arg(filled)))
        return true;
    // Pasted rows typed by hand before keep no name of the class before.
    form.PlaceScores(row, scores->scores, scores->students);
    return true;
}
