#include "score_export.h"

#include "application.h"
#include "atomic_file.h"
#include "busy_work.h"
#include "dialogs.h"
#include "main_window.h"
#include "number_format.h"
#include "score_column.h"
#include "sheet_export.h"
#include "word.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QString kFilter = QStringLiteral("Excel 工作簿(*.xlsx)|*.xlsx|CSV 文件(*.csv)|*.csv");

QByteArray CsvField(const QVariant& v) {
    QString text = v.toString();
    // =, +, - and @ start a formula in a spreadsheet: a name from a hostile
    // sheet must not run as one when the export is opened.
    if (!text.isEmpty() && QStringLiteral("=+-@").contains(text.front())) text.prepend('\'');
    const bool quote = text.contains(',') || text.contains('"') || text.contains('\n') || text.contains('\r') ||
                       text != text.trimmed();
    if (!quote) return text.toUtf8();
    return '"' + text.replace('"', QStringLiteral("\"\"")).toUtf8() + '"';
}

void Tell(TForm1& form, const QString& text, MsgIcon icon) {
    Dialogs::Current().Message(&form, Application().Title(), text, icon, MsgButtons::OK);
}

QString OfferedExportName(TForm1& form) {
    const QString file = form.Document.FileName();
    if (!file.isEmpty()) {
        const QFileInfo info(file);
        return info.absolutePath() + "/" + info.completeBaseName() + ".xlsx";
    }
    return QString();
}

}  // namespace

namespace {

QVariant Cell(const QString& text, bool numbers) {
    double value = 0;
    return numbers && !text.isEmpty() && TryStrToFloat(text, value) ? QVariant(value) : QVariant(text);
}

// With per-question scores: 学号, 姓名, a column per question and 总分, the
// row under the header giving each question's full marks, as the import of
// per-question scores reads them back.
QList<QVariantList> ItemRows(const ClassData& data, bool numbers) {
    const ClassItems& items = data.items;
    QVariantList header{QStringLiteral("学号"), QStringLiteral("姓名")};
    QVariantList marks{QString(), QStringLiteral("满分")};
    for (qsizetype q = 0; q < items.questions.size(); ++q) {
        header << items.questions[q];
        const double m = size_t(q) < items.fullMarks.size() ? items.fullMarks[size_t(q)] : 0;
        marks << (numbers ? QVariant(m) : QVariant(ScoreText(m)));
    }
    header << QStringLiteral("总分");
    marks << (numbers ? QVariant(data.fullMarks) : QVariant(QString::number(data.fullMarks)));
    QList<QVariantList> rows{header, marks};
    for (qsizetype k = 0; k < data.scores.size(); ++k) {
        const QString score = Trim(data.scores[k]);
        const ClassStudent s = size_t(k) < data.roster.size() ? data.roster[size_t(k)] : ClassStudent{};
        const QStringList texts = size_t(k) < items.rows.size() ? items.rows[size_t(k)] : QStringList();
        if (score.isEmpty() && s.IsEmpty() && texts.isEmpty()) continue;
        QVariantList row{s.number, s.name};
        for (qsizetype q = 0; q < items.questions.size(); ++q) row << Cell(q < texts.size() ? texts[q] : QString(), numbers);
        row << Cell(score, numbers);
        rows << row;
    }
    return rows;
}

}  // namespace

QList<QVariantList> ExportRows(const ClassData& data, bool numbers) {
    if (!data.items.IsEmpty()) return ItemRows(data, numbers);
    const bool roster = !data.roster.empty();
    QList<QVariantList> rows;
    rows << (roster ? QVariantList{QStringLiteral("学号"), QStringLiteral("姓名"), QStringLiteral("成绩")}
                    : QVariantList{QStringLiteral("成绩")});
    for (qsizetype k = 0; k < data.scores.size(); ++k) {
        const QString score = Trim(data.scores[k]);
        const ClassStudent s = roster && size_t(k) < data.roster.size() ? data.roster[size_t(k)] : ClassStudent{};
        if (score.isEmpty() && s.IsEmpty()) continue;
        const QVariant cell = Cell(score, numbers);
        rows << (roster ? QVariantList{s.number, s.name, cell} : QVariantList{cell});
    }
    return rows;
}

QByteArray CsvBytes(const QList<QVariantList>& rows) {
    QByteArray out = "\xEF\xBB\xBF";
    for (const QVariantList& row : rows) {
        QByteArrayList fields;
        for (const QVariant& v : row) fields << CsvField(v);
        out += fields.join(',') + "\r\n";
    }
    return out;
}

void ExportScores(TForm1& form) {
    const ClassData data = form.CurrentClass();
    if (ExportRows(data, false).size() < 2) {
        Tell(form, QStringLiteral("成绩表中还没有成绩，没有可以导出的内容。"), MsgIcon::Information);
        return;
    }
    SaveDialogRequest request;
    request.filter = kFilter;
    request.fileName = OfferedExportName(form);
    request.defaultExt = QStringLiteral("xlsx");
    request.overwritePrompt = true;
    const std::optional<QString> chosen = Dialogs::Current().SaveFile(&form, request);
    if (!chosen) return;
    QString path = *chosen;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool csv = suffix == QLatin1String("csv");
    if (!csv && suffix != QLatin1String("xlsx")) path += ".xlsx";

    const QList<QVariantList> rows = ExportRows(data, !csv);
    bool written = false;
    try {
        RunBusy(
            &form, QStringLiteral("正在导出成绩……"),
            [&](const CancelFlag& cancel) {
                if (csv) {
                    WriteFileAtomically(path, CsvBytes(rows));
                    written = true;
                } else {
                    written = WriteWorkbook(path, SheetTable{rows}, &cancel);
                }
            },
            csv ? BusyCancel::None : BusyCancel::Wait);
    } catch (const Exception& e) {
        Tell(form, QStringLiteral("成绩没有导出到“%1”。\r").arg(QFileInfo(path).fileName()) + e.Message(), MsgIcon::Error);
        return;
    }
    if (!written) return;
    const qsizetype scores = std::count_if(data.scores.begin(), data.scores.end(), [](const QString& s) { return !Trim(s).isEmpty(); });
    Tell(form, QStringLiteral("已把%1个成绩导出到“%2”。").arg(scores).arg(QFileInfo(path).fileName()), MsgIcon::Information);
}
