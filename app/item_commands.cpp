#include "item_commands.h"

#include "application.h"
#include "dialogs.h"
#include "item_analysis_dialog.h"
#include "item_marks_dialog.h"
#include "item_reader.h"
#include "main_window.h"
#include "memo.h"
#include "score_import.h"
#include "skin_controls.h"
#include "student_lists.h"

#include <cmath>

namespace {

void Warn(TForm1& form, const QString& text) {
    Dialogs::Current().Message(&form, Application().Title(), text, MsgIcon::Warning, MsgButtons::OK);
}

bool Confirm(TForm1& form, const QString& text) {
    return Dialogs::Current().Message(&form, Application().Title(), text, MsgIcon::Question, MsgButtons::OKCancel) ==
           MsgResult::OK;
}

QString Lines(const std::vector<RefusedValue>& refused) {
    QStringList lines;
    for (const RefusedValue& r : refused)
        lines << QStringLiteral("文件第%1行：%2").arg(r.sourceRow).arg(r.text) + StudentSuffix(r.student);
    return ListedLines(lines);
}

QString Lines(const std::vector<ItemMismatch>& mismatches) {
    QStringList lines;
    for (const ItemMismatch& m : mismatches)
        lines << QStringLiteral("文件第%1行：总分%2，各小题之和%3")
                         .arg(m.sourceRow)
                         .arg(m.total.isEmpty() ? QStringLiteral("（空）") : m.total, ScoreText(m.sum)) +
                     StudentSuffix(m.student);
    return ListedLines(lines);
}

// The full marks of each question: the sheet's row of them, or the teacher's.
std::optional<std::vector<double>> QuestionMarks(TForm1& form, const QString& source, const ItemReading& reading) {
    if (!reading.fullMarks) return TItemMarksDialog::Ask(&form, source, reading.questions, reading.largest);
    const QString problem = CheckQuestionMarks(*reading.fullMarks);
    if (problem.isEmpty()) return reading.fullMarks;
    Warn(form, QStringLiteral("%1中“满分”一行不能使用：%2没有导入任何成绩。").arg(source, problem));
    return std::nullopt;
}

}  // namespace

void ImportItemScores(TForm1& form) {
    const std::optional<ImportedTable> imported = ReadImportTable(form);
    if (!imported) return;
    const QString& source = imported->source;
    const ItemReading reading = ReadItemTable(imported->table);
    switch (reading.outcome) {
    case ItemReading::Outcome::CellTooLong:
        Warn(form, QStringLiteral("%1第%2行有一个单元格太长了，不像是成绩表的内容，没有导入任何成绩。").arg(source).arg(reading.longCellRow));
        return;
    case ItemReading::Outcome::NoQuestions:
        Warn(form, QStringLiteral("%1中找不到小题列，没有导入任何成绩。\r请让每道小题占一列，表头写题号，"
                                  "例如“1”“2”“第1题”“T1”“选择1”；各小题的满分可以写在表头下面一行，并在该行注明“满分”。")
                       .arg(source));
        return;
    case ItemReading::Outcome::BadCells:
        Warn(form, QStringLiteral("%1中以下小题分不是数字，没有导入任何成绩，请修改后再导入：\r").arg(source) + Lines(reading.refused));
        return;
    case ItemReading::Outcome::NoRows:
        Warn(form, QStringLiteral("%1中没有学生的小题分，没有导入任何成绩。").arg(source));
        return;
    case ItemReading::Outcome::Ready: break;
    }
    if (reading.rows.size() > size_t(kScoreRows)) {
        Warn(form, QStringLiteral("%1中有%2名学生，超过了成绩表的%3行，没有导入任何成绩。").arg(source).arg(reading.rows.size()).arg(kScoreRows));
        return;
    }
    const auto marks = QuestionMarks(form, source, reading);
    if (!marks) return;
    const std::vector<RefusedValue> above = CellsAboveMarks(reading, *marks);
    if (!above.empty()) {
        Warn(form, QStringLiteral("%1中以下小题分超过了该题的满分，没有导入任何成绩，请修改后再导入：\r").arg(source) + Lines(above));
        return;
    }
    const std::vector<ItemMismatch> mismatches = TotalMismatches(reading);
    if (!mismatches.empty() &&
        !Confirm(form, QStringLiteral("%1中以下学生的总分与各小题得分之和不符：\r%2\r\r"
                                      "成绩表中的总分将一律取各小题得分之和。是否继续导入？")
                           .arg(source, Lines(mismatches))))
        return;
    const int entered = form.EnteredCount();
    if (entered > 0 &&
        !Confirm(form, QStringLiteral("成绩表中已有%1个成绩，导入后将全部被替换。是否继续？").arg(entered)))
        return;

    ClassItems items;
    items.questions = reading.questions;
    items.fullMarks = *marks;
    QStringList totals;
    std::vector<ClassStudent> students;
    bool roster = false;
    for (const ItemRow& row : reading.rows) {
        totals << ScoreText(row.Sum());
        students.push_back(row.student);
        roster = roster || !row.student.IsEmpty();
        items.rows.push_back(row.texts);
    }
    double paper = 0;
    for (double m : *marks) paper += m;
    // A new class: nothing of the one before may stay in its figures.
    form.ClearScores();
    form.ClearResults();
    // The paper's full marks are the sum of its questions'; taken before the
    // totals so that they are checked against them.
    form.edtfullmarks->SetText(QString::number(std::lround(paper)));
    form.ApplyFullMarks();
    form.PlaceScores(1, totals, roster ? students : std::vector<ClassStudent>{});
    form.PlaceItems(items);
    form.SkSkinPageControl1->SetActivePageIndex(kScoreEntryPage);
}

std::optional<ClassItemFigures> AnalyseClassItems(TForm1& form) {
    const ClassItems questions = form.Questions();
    if (questions.IsEmpty() || form.Analysed.empty()) return std::nullopt;
    std::vector<std::vector<double>> scores;
    ClassItemFigures out;
    for (const AnalysedScore& s : form.Analysed) {
        const QStringList texts = form.ItemTexts(s.row);
        if (texts.isEmpty()) continue;
        std::vector<double> values;
        double sum = 0;
        for (const QString& t : texts) {
            const double v = CellNumber(t, false).value_or(0);
            values.push_back(v);
            sum += v;
        }
        if (std::fabs(sum - s.value) > 1e-6) {
            out.leftOut << QStringLiteral("第%1行").arg(s.row) + StudentSuffix(s.student);
            continue;
        }
        scores.push_back(std::move(values));
    }
    if (scores.empty()) return std::nullopt;
    out.analysis = AnalyseItems(questions.questions, questions.fullMarks, scores);
    return out;
}

void ShowItemAnalysis(TForm1& form) {
    const std::optional<ClassItemFigures> figures = AnalyseClassItems(form);
    if (!figures) {
        Warn(form, QStringLiteral("成绩表中的总分都已经改过，与小题分不再相符，无法进行小题分析。请重新导入小题成绩。"));
        return;
    }
    TItemAnalysisDialog dialog(figures->analysis, figures->leftOut, &form);
    if (dialog.exec() != QDialog::Accepted || !dialog.WriteRequested()) return;
    form.WriteConclusionLine(ItemSentence(figures->analysis), PlaceItemSentence(form.mmadvice->toPlainText()));
    form.SkSkinPageControl1->SetActivePageIndex(3);
}
