#include "report_commands.h"

#include "main_window.h"

#include "application.h"
#include "chart.h"
#include "date_time_picker.h"
#include "memo.h"
#include "report.h"
#include "save_dialog.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

// The report's state lives with the main window and goes with it.
class ReportState : public QObject {
public:
    explicit ReportState(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("ReportState")); }
    TReportSession session;
};

TReportSession& Session(TForm1& form) {
    auto* state = form.findChild<ReportState*>(QStringLiteral("ReportState"), Qt::FindDirectChildrenOnly);
    if (!state) state = new ReportState(&form);
    return state->session;
}

// The histogram picture: the hidden chart's own export when the window has
// one, else the same bars drawn plainly at the chart's size.
void CopyChartPicture(TForm1& form) {
    if (auto* chart = form.Find<TCustomChart>(QStringLiteral("Chart2"))) {
        chart->CopyBitmapToClipboard();
        return;
    }
    QImage img(393, 313, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    double top = 1;
    for (double c : form.BandCounts) top = std::max(top, c);
    for (int b = 0; b < kBandCount; ++b) {
        const int h = int(form.BandCounts[size_t(b)] / top * 250);
        p.fillRect(QRect(40 + b * 70, 290 - h, 40, h), QColor(192, 192, 192));
        p.drawRect(QRect(40 + b * 70, 290 - h, 40, h));
    }
    p.drawLine(30, 290, 380, 290);
    p.end();
    QGuiApplication::clipboard()->setImage(img);
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
    c.copyPicture = [&form] { CopyChartPicture(form); };
    c.conclusion = form.mmadvice->Text();
    return c;
}

}  // namespace

void MakeReport(TForm1& form) {
    TReportSession& s = Session(form);
    const bool ran = s.MakeDocument(&form, [&form] { return Content(form); }, [&form]() -> std::optional<QString> {
        if (!form.SaveDialog1->Execute(&form)) return std::nullopt;
        return form.SaveDialog1->FileName();
    });
    if (!ran) return;
    form.ReportFileName = s.ReportFileName;
    form.SaveSucceeded = s.SaveSucceeded;
    form.MbPreview->SetEnabled(true);
    form.MbPrint->SetEnabled(true);
}

void PreviewReport(TForm1& form) {
    TReportSession& s = Session(form);
    s.ReportFileName = form.ReportFileName;
    s.Preview();
}

void PrintReport(TForm1& form) {
    TReportSession& s = Session(form);
    s.ReportFileName = form.ReportFileName;
    s.Print(&form);
}
