// A whole grade: every report of 20 classes of 50 through the real grade
// window with the warm office, per report, against one convert-to of the
// template in the same run (with and without PDF); and the comparison of 50
// classes of 299 (figures and the grouped chart drawn) against a plain loop
// over the same numbers.
#include "median.h"
#include "application.h"
#include "chart.h"
#include "dialogs.h"
#include "framed_grid.h"
#include "grade_chart.h"
#include "grade_comparison.h"
#include "grade_reports.h"
#include "grade_window.h"
#include "main_window.h"
#include "office_baseline.h"
#include "report.h"
#include "skin_controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

QTemporaryDir& Temp() {
    static QTemporaryDir dir(QDir::tempPath() + "/markwise-grade-bench-XXXXXX");
    return dir;
}

// Answers every question with yes and notes what was shown.
class QuietDialogs : public Dialogs {
public:
    QStringList shown;
    MsgResult Message(QWidget*, const QString&, const QString& text, MsgIcon, MsgButtons buttons) override {
        shown << text;
        return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::OK;
    }
    std::optional<QString> SaveFile(QWidget*, const SaveDialogRequest&) override { return std::nullopt; }
};

std::vector<double> Scores(int count, quint32 seed) {
    QRandomGenerator random(seed);
    std::vector<double> s;
    for (int k = 0; k < count; ++k) s.push_back(std::round(std::clamp(random.bounded(40.0) + random.bounded(60.0), 0.0, 100.0) * 2) / 2);
    return s;
}

ClassData Class(int k, const std::vector<double>& scores) {
    ClassData c;
    for (double v : scores) c.scores << QString::number(v);
    c.info.courseName = QStringLiteral("高等数学");
    c.info.teacher = QStringLiteral("王老师");
    c.info.className = QStringLiteral("高一(%1)班").arg(k + 1);
    c.info.examDate = QDate(2026, 1, 8);
    c.conclusion = QStringLiteral("第%1班的结论。").arg(k + 1);
    return c;
}

std::vector<double> perReport, perReportPdf, convertTimes;

void Batch(benchmark::State& state, bool pdf, std::vector<double>& into) {
    QuietDialogs dialogs;
    Dialogs* previous = Dialogs::Install(&dialogs);
    {
        TForm2 help;
        TForm1 form(&help);
        Application().SetMainForm(&form);
        form.show();
        form.CompleteLoading();
        // The analysis starts the office, as a teacher's run starts it.
        form.strgrdscore->SetCells(0, 1, QStringLiteral("90"));
        QTest::mouseClick(form.btnAnalyse, Qt::LeftButton);
        TGradeWindow& w = *new TGradeWindow(form);
        w.show();
        for (int k = 0; k < 20; ++k) w.Grade().Add(QStringLiteral("高一(%1)班").arg(k + 1), Class(k, Scores(50, quint32(k))));
        w.Refresh();
        w.PdfBox()->setChecked(pdf);
        if (!officebaseline::OfficeUpTurningEvents()) {
            state.SkipWithError("the office did not come up");
        } else {
            officebaseline::ConvertOnce(Temp().path());
            int run = 0;
            for (auto _ : state) {
                const double convert = officebaseline::ConvertOnce(Temp().path());
                const QString folder = Temp().filePath(QStringLiteral("batch%1_%2").arg(pdf).arg(run++));
                QDir().mkpath(folder);
                QElapsedTimer t;
                t.start();
                const BatchOutcome outcome = MakeReportsInto(w, folder);
                const double ms = t.nsecsElapsed() / 1e6;
                if (convert < 0 || outcome.made.size() != 21) {
                    std::fprintf(stderr, "convert-to %.0f ms; %s\n", convert, qPrintable(dialogs.shown.join(" | ")));
                    state.SkipWithError("a run failed");
                    break;
                }
                state.SetIterationTime(ms / 1000);
                into.push_back(ms / 20);
                convertTimes.push_back(convert);
            }
        }
        Application().SetMainForm(nullptr);
    }
    Dialogs::Install(previous);
}

void BM_BatchOf20(benchmark::State& state) { Batch(state, false, perReport); }
void BM_BatchOf20WithPdf(benchmark::State& state) { Batch(state, true, perReportPdf); }
BENCHMARK(BM_BatchOf20)->Iterations(3)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_BatchOf20WithPdf)->Iterations(2)->Unit(benchmark::kMillisecond)->UseManualTime();

// 50 classes of 299.
struct Fifty {
    std::vector<std::vector<double>> scores;
    std::vector<ComparedClass> classes;
    std::vector<QString> names;
    Fifty() {
        for (int k = 0; k < 50; ++k) {
            scores.push_back(Scores(299, quint32(100 + k)));
            names.push_back(QStringLiteral("%1班").arg(k + 1));
        }
        for (int k = 0; k < 50; ++k) classes.push_back({names[size_t(k)], &scores[size_t(k)]});
    }
};
Fifty& Data() {
    static Fifty f;
    return f;
}

std::vector<double> oursMs, loopMs;

void BM_ComparisonComputedAndDrawn(benchmark::State& state) {
    TChart chart(nullptr, nullptr);
    chart.resize(640, 360);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const GradeComparison c = CompareClasses(Data().classes, 100);
        FillGradeChart(chart, c, clRed);
        const QImage picture = chart.RenderToBitmap(clWhite, {0, 0, 640, 360});
        benchmark::DoNotOptimize(picture.constBits());
        oursMs.push_back(t.nsecsElapsed() / 1e6);
    }
}
BENCHMARK(BM_ComparisonComputedAndDrawn)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The same figures in one plain loop per class, no texts, no chart.
void BM_PlainLoop(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        double out = 0;
        for (const auto& s : Data().scores) {
            double sum = 0, sq = 0;
            int bands[5] = {};
            for (double x : s) {
                sum += x;
                const double r = std::nearbyint(x);
                ++bands[r >= 90 ? 0 : r >= 80 ? 1 : r >= 70 ? 2 : r >= 60 ? 3 : 4];
            }
            const double mean = sum / double(s.size());
            for (double x : s) sq += (x - mean) * (x - mean);
            std::vector<double> sorted = s;
            std::sort(sorted.begin(), sorted.end());
            out += mean + std::sqrt(sq / double(s.size())) + sorted[s.size() / 2] + bands[0];
        }
        benchmark::DoNotOptimize(out);
        loopMs.push_back(t.nsecsElapsed() / 1e6);
    }
}
BENCHMARK(BM_PlainLoop)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    officebaseline::UseOwnOffice("markwise_grade_bench", Temp().path());

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double convert = Median(convertTimes);
    const auto line = [&](const char* path, const std::vector<double>& ours) {
        if (ours.empty()) return;
        std::printf("%s: ours %.0f ms per report, baseline %.0f ms (one convert-to), ratio %.2f\n", path, Median(ours),
                    convert, convert > 0 ? Median(ours) / convert : 0.0);
    };
    line("batch", perReport);
    line("batch with PDF", perReportPdf);
    if (!oursMs.empty())
        std::printf("comparison: ours %.1f ms, baseline %.1f ms (a plain loop over the same numbers), ratio %.2f\n",
                    Median(oursMs), Median(loopMs), Median(loopMs) > 0 ? Median(oursMs) / Median(loopMs) : 0.0);
    return 0;
}
