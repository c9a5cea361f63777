#include "report_commands.h"

#include "main_window.h"

#include "band_distribution.h"
#include "chart.h"
#include "chart_series.h"
#include "histogram.h"
#include "date_time_picker.h"
#include "exceptions.h"
#include "item_commands.h"
#include "memo.h"
#include "report.h"
#include "save_dialog.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <memory>

namespace {

// The histogram picture: the hidden chart's own export.
void CopyChartPicture(TForm1& form) {
    auto* chart = form.Find<TCustomChart>(QStringLiteral("Chart2"));
    if (!chart) throw EReadError(QStringLiteral("The window description lacks Chart2"));
    chart->CopyBitmapToClipboard();
}

ReportContent Content(TForm1& form) {
    ReportContent c;
    ReportFields& f = c.fields;
    f.courseName = form.edtclassname->Text();
    f.teacher = form.edtteacher->Text();
    f.courseNumber = form.edtclassnumber->Text();
    f.credits = form.edtgrade->Text();
    f.hours = form.edttime->Text();
    f.className = form.edtclass->Text();
    f.closedBook = form.rdbtnbijuan && form.rdbtnbijuan->Checked();
    f.openBook = form.rdbtnkaijuan && form.rdbtnkaijuan->Checked();
    f.paper = form.rdbtnpaper && form.rdbtnpaper->Checked();
    f.examDate = form.tmExam->Date();
    f.beginTime = form.tmBeginTime->Time();
    f.endTime = form.tmEndTime->Time();
    TSkSkinStringGrid* grid = form.sgrdAnalyse;
    c.grid = [grid](int col, int row) { return grid->Cells(col, row); };
    // The template's labels are those of 100 points; other full marks write their own.
    if (form.FullMarks() != kDefaultFullMarks) {
        std::array<QString, 5> labels;
        for (int b = 0; b < 5; ++b) labels[size_t(b)] = grid->Cells(0, b + 1);
        c.bandLabels = labels;
    }
    c.copyPicture = [&form] { CopyChartPicture(form); };
    c.conclusion = form.mmadvice->Text();
    if (const auto figures = AnalyseClassItems(form)) {
        const ItemAnalysis& a = figures->analysis;
        ReportExtraTable items;
        items.heading = QStringLiteral("4.小题分析（共%1人，%2道小题；%3）").arg(a.count).arg(a.items.size()).arg(ReliabilityText(a));
        items.header = ItemTableHeader();
        for (const ItemFigures& f : a.items) items.rows.push_back(ItemTableRow(f));
        c.items = std::move(items);
    }
    return c;
}

}  // namespace

ReportContent ClassReportContent(TForm1& form, const ClassData& data, const QString& name,
                                 const std::vector<double>& scores) {
    ReportContent c;
    ReportFields& f = c.fields;
    const ClassInfo& i = data.info;
    f.courseName = i.courseName;
    f.teacher = i.teacher;
    f.courseNumber = i.courseNumber;
    f.credits = i.credits;
    f.hours = i.hours;
    f.className = name;
    f.closedBook = i.examMode == ExamMode::ClosedBook;
    f.openBook = i.examMode == ExamMode::OpenBook;
    f.paper = i.examMode == ExamMode::Paper;
    f.examDate = i.examDate;
    f.beginTime = i.beginTime;
    f.endTime = i.endTime;
    const auto bands = std::make_shared<BandDistribution>(ComputeBandDistribution(scores, data.fullMarks));
    c.grid = [bands](int col, int row) { return bands->Cell(col, row); };
    if (data.fullMarks != kDefaultFullMarks) {
        std::array<QString, 5> labels;
        for (int b = 0; b < 5; ++b) labels[size_t(b)] = BandLabel(GradeBand(b), data.fullMarks);
        c.bandLabels = labels;
    }
    c.copyPicture = [&form, bands] {
        form.CompleteLoading();
        auto* chart = form.Find<TCustomChart>(QStringLiteral("Chart2"));
        if (!chart) throw EReadError(QStringLiteral("The window description lacks Chart2"));
        FillHistogram(*chart, bands->Counts(), kChart2Layout);
        chart->CopyBitmapToClipboard();
    };
    c.conclusion = data.conclusion;
    return c;
}

void RedrawReportChart(TForm1& form) {
    auto* chart = form.Find<TCustomChart>(QStringLiteral("Chart2"));
    if (!chart) return;
    if (form.Analysed.empty()) chart->SeriesAt(0)->ClearPoints();
    else FillHistogram(*chart, form.BandCounts, kChart2Layout);
}

void MakeReport(TForm1& form) {
    const bool ran = form.Report.MakeDocument(&form, [&form] { return Content(form); }, [&form]() -> std::optional<QString> {
        if (!form.SaveDialog1->Execute(&form)) return std::nullopt;
        return form.SaveDialog1->FileName();
    });
    if (!ran) return;
    form.MbPreview->SetEnabled(true);
    form.MbPrint->SetEnabled(true);
}

void PreviewReport(TForm1& form) { form.Report.Preview(); }

void PrintReport(TForm1& form) { form.Report.Print(&form); }
