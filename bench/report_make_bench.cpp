// Making the report (template out, office up, 25 cells and the picture, save,
// quit) against the office's own load-and-save of the same template
// (soffice --headless --convert-to doc), both with a warm profile of their own.
#include "report.h"

#include "dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

QTemporaryDir& Temp() {
    static QTemporaryDir dir(QDir::tempPath() + "/markwise-bench-XXXXXX");
    return dir;
}

class SilentDialogs : public Dialogs {
public:
    QString answer;
    QStringList shown;
    MsgResult Message(QWidget*, const QString&, const QString& text, MsgIcon, MsgButtons) override {
        shown << text;
        return MsgResult::OK;
    }
    std::optional<QString> SaveFile(QWidget*, const SaveDialogRequest&) override { return answer; }
};

ReportContent Content() {
    ReportContent c;
    c.fields = {QStringLiteral("高等数学"), QStringLiteral("王晓明"), QStringLiteral("070112"), "3", "48",
                QStringLiteral("数学0601班"), false, true, false, QDate(2006, 2, 18), QTime(8, 5), QTime(9, 30)};
    static const QString grid[3][8] = {{},
                                       {"", "3", "0", "1", "1", "1", "6", "79.32"},
                                       {"", "50.00", "0.00", "16.67", "16.67", "16.66", "", ""}};
    c.grid = [](int col, int row) { return grid[col][row]; };
    c.copyPicture = [] {
        QImage img(393, 313, QImage::Format_RGB32);
        img.fill(Qt::white);
        QGuiApplication::clipboard()->setImage(img);
    };
    c.conclusion = QStringLiteral("函数极限部分错误率较高。\r\n建议加强练习。");
    return c;
}

std::vector<double> makeTimes, convertTimes;

// The office's own load and save of the template, as a separate process.
double ConvertOnce() {
    const QString in = Temp().filePath("template.doc");
    if (!QFile::exists(in)) {
        QFile f(in);
        f.open(QIODevice::WriteOnly);
        f.write(FindResource("doc", "docTemplate").value_or(QByteArray()));
    }
    const QString out = Temp().filePath("converted");
    QDir().mkpath(out);
    const QStringList args{"--headless", "--norestore", "--nolockcheck",
                           "-env:UserInstallation=file://" + Temp().filePath("convert-profile"),
                           "--convert-to", "doc:MS Word 97", "--outdir", out, in};
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(QStringLiteral("soffice"), args);
    p.waitForFinished(120000);
    const double ms = t.nsecsElapsed() / 1e6;
    return p.exitCode() == 0 && QFile::exists(out + "/template.doc") ? ms : -1;
}

// Baseline and command take turns, so that load on the machine falls on both
// alike. The first round only makes the two profiles and is not counted.
void BM_MakeReportAgainstConvertTo(benchmark::State& state) {
    SilentDialogs dialogs;
    Dialogs* previous = Dialogs::Install(&dialogs);
    dialogs.answer = Temp().filePath("made");
    TReportSession session;
    bool warm = false;
    for (auto _ : state) {
        const double convert = ConvertOnce();
        dialogs.shown.clear();
        QElapsedTimer t;
        t.start();
        session.MakeDocument(nullptr, Content);
        const double make = t.nsecsElapsed() / 1e6;
        state.SetIterationTime(make / 1000);
        if (convert < 0 || dialogs.shown != QStringList{reporttext::kSaved}) {
            state.SkipWithError("a run failed");
            break;
        }
        if (!warm) {
            warm = true;
            continue;
        }
        makeTimes.push_back(make);
        convertTimes.push_back(convert);
    }
    Dialogs::Install(previous);
}
BENCHMARK(BM_MakeReportAgainstConvertTo)->Iterations(6)->Unit(benchmark::kMillisecond)->UseManualTime();

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("DISPLAY").isEmpty() && qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto& s = TWordApplication::Settings();
    s.pipeName = QStringLiteral("markwise_bench_%1").arg(getpid());
    s.userInstallation = Temp().filePath("make-profile");

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double make = Median(makeTimes), convert = Median(convertTimes);
    std::printf("median of %zu: make report %.0f ms, convert-to %.0f ms, ratio %.2f\n", makeTimes.size(), make,
                convert, convert > 0 ? make / convert : 0.0);
    return 0;
}
