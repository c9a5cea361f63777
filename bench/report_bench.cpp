// The report's two office paths through the real main window, each against
// the office's own load-and-save of the template (soffice --headless
// --convert-to doc) in the same run:
//   make-document: from the save dialog's answer to the outcome message,
//   preview: from the click to a visible read-only Writer window.
// The office is warmed as a teacher's run warms it: the analysis starts it,
// and the teacher takes a while over the description before making the report.
#include "median.h"
#include "application.h"
#include "dialogs.h"
#include "framed_grid.h"
#include "main_window.h"
#include "office_baseline.h"
#include "skin_menu.h"
#include "report.h"
#include "skin_controls.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QTemporaryDir& Temp() {
    static QTemporaryDir dir(QDir::tempPath() + "/markwise-bench-XXXXXX");
    return dir;
}

// Answers the save dialog and notes when; notes when the outcome is shown.
class TimedDialogs : public Dialogs {
public:
    QString answer;
    QStringList shown;
    QElapsedTimer clock;
    qint64 answeredNs = 0, outcomeNs = 0;
    MsgResult Message(QWidget*, const QString&, const QString& text, MsgIcon, MsgButtons) override {
        if (text == reporttext::kSaved || text == reporttext::kFailed) outcomeNs = clock.nsecsElapsed();
        shown << text;
        return MsgResult::OK;
    }
    std::optional<QString> SaveFile(QWidget*, const SaveDialogRequest&) override {
        answeredNs = clock.nsecsElapsed();
        return answer;
    }
};

std::vector<double> makeTimes, previewTimes, convertTimes;

double ConvertOnce() { return officebaseline::ConvertOnce(Temp().path()); }

bool WindowShows(const QString& titlePart) {
    QProcess x;
    x.start("xwininfo", {"-root", "-tree"});
    x.waitForFinished(5000);
    return QString::fromUtf8(x.readAllStandardOutput()).contains(titlePart);
}

using officebaseline::OfficeUp;

// Closes the preview windows, as the teacher would after reading.
void ClosePreviews() {
    TWordApplication app;
    if (!app.Attach()) return;
    for (int i = app.Documents().Count(); i >= 1; --i) {
        TWordDocument d;
        d.ConnectTo(app.Documents().Item(i));
        d.Close();
    }
}

struct Window {
    TimedDialogs dialogs;
    Dialogs* previous = Dialogs::Install(&dialogs);
    TForm2 help;
    TForm1 form{&help};
    Window() {
        Application().SetMainForm(&form);
        form.show();
        form.CompleteLoading();  // as the program does once the window is up
        const QStringList scores{"95", "89.5", "72", "60", "59.4", "100", "83", "77"};
        for (int i = 0; i < scores.size(); ++i) form.strgrdscore->SetCells(0, i + 1, scores[i]);
        QTest::mouseClick(form.btnAnalyse, Qt::LeftButton);
        dialogs.clock.start();
    }
    ~Window() {
        Application().SetMainForm(nullptr);
        Dialogs::Install(previous);
    }
};

// Baseline and command take turns, so that load on the machine falls on both
// alike. Every make counts, the first in the fresh office too; the baseline
// gets one uncounted run first that makes its profile.
void BM_ReportThroughTheWindow(benchmark::State& state) {
    Window w;
    if (!OfficeUp()) {
        state.SkipWithError("the office did not come up");
        return;
    }
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY");
    ConvertOnce();
    for (auto _ : state) {
        const double convert = ConvertOnce();
        w.dialogs.shown.clear();
        w.dialogs.answer = Temp().filePath("made");
        w.form.MbMake->Click();
        const double make = (w.dialogs.outcomeNs - w.dialogs.answeredNs) / 1e6;
        if (convert < 0 || w.dialogs.shown != QStringList{reporttext::kSaved}) {
            std::fprintf(stderr, "convert-to %.0f ms; shown: %s\n", convert, qPrintable(w.dialogs.shown.join(" | ")));
            state.SkipWithError("a run failed");
            break;
        }
        double preview = -1;
        if (display) {
            QElapsedTimer t;
            t.start();
            w.form.MbPreview->Click();
            while (!WindowShows("made.doc (read-only)") && t.elapsed() < 60000) QThread::msleep(5);
            preview = t.nsecsElapsed() / 1e6;
            ClosePreviews();
        }
        state.SetIterationTime(make / 1000);
        makeTimes.push_back(make);
        convertTimes.push_back(convert);
        if (preview >= 0) previewTimes.push_back(preview);
    }
}
BENCHMARK(BM_ReportThroughTheWindow)->Iterations(6)->Unit(benchmark::kMillisecond)->UseManualTime();

void Line(const char* path, double ours, double baseline) {
    std::printf("%s: ours %.0f ms, baseline %.0f ms, ratio %.2f\n", path, ours, baseline,
                baseline > 0 ? ours / baseline : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    // Our window off screen; the display, when there is one, is the preview's.
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    officebaseline::UseOwnOffice("markwise_bench", Temp().path());

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double convert = Median(convertTimes);
    Line("make-document", Median(makeTimes), convert);
    std::printf("make-document, each run in ms:");
    for (double t : makeTimes) std::printf(" %.0f", t);
    std::printf("\n");
    if (!previewTimes.empty()) Line("preview", Median(previewTimes), convert);
    else std::printf("preview: not measured (no display)\n");
    return 0;
}
