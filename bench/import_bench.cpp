// The first .xlsx import of a session, through the real main window, from
// the file dialog's answer to the filled grid, against the office's own cold
// `soffice --headless --convert-to csv` of the same file in the same run;
// then a warm import (the same window, a second file) against the same.
//   import: ours X ms, baseline Y ms, ratio R
//   import (warm): ours X ms, baseline Y ms, ratio R
#include "median.h"
#include "application.h"
#include "dialogs.h"
#include "framed_grid.h"
#include "main_window.h"
#include "report.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QTemporaryDir& Temp() {
    static QTemporaryDir dir(QDir::tempPath() + "/markwise-import-bench-XXXXXX");
    return dir;
}

QString Profile(const char* name) { return "-env:UserInstallation=file://" + Temp().filePath(name); }

// A class of 45 out of 150 under a title row, saved as .xlsx by the office.
QString MakeWorkbook(const QString& name) {
    QString csv = QStringLiteral("高一(3)班期中考试成绩单,,\n学号,姓名,语文\n");
    for (int k = 1; k <= 45; ++k)
        csv += QStringLiteral("2024%1,学生%2,%3\n").arg(k, 3, 10, QChar('0')).arg(k).arg(60 + (k * 37) % 90);
    const QString source = Temp().filePath(name + ".csv");
    QFile f(source);
    f.open(QIODevice::WriteOnly);
    f.write(csv.toUtf8());
    f.close();
    QProcess p;
    p.start("soffice", {Profile("make-profile"), "--headless", "--norestore", "--infilter=CSV:44,34,76,1",
                        "--convert-to", "xlsx", "--outdir", Temp().path(), source});
    p.waitForFinished(180000);
    const QString out = Temp().filePath(name + ".xlsx");
    return QFile::exists(out) ? out : QString();
}

// A new office process on a profile set up beforehand: the cold start a
// teacher's first import would otherwise wait for.
double ConvertOnce(const QString& xlsx) {
    const QString out = Temp().filePath("csv");
    QDir().mkpath(out);
    QFile::remove(out + "/" + QFileInfo(xlsx).completeBaseName() + ".csv");
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start("soffice", {Profile("convert-profile"), "--headless", "--norestore", "--nolockcheck", "--convert-to", "csv",
                        "--outdir", out, xlsx});
    p.waitForFinished(180000);
    const double ms = t.nsecsElapsed() / 1e6;
    return p.exitCode() == 0 ? ms : -1;
}

class TimedDialogs : public Dialogs {
public:
    QString answer;
    QElapsedTimer clock;
    qint64 answeredNs = 0;
    QStringList shown;
    MsgResult Message(QWidget*, const QString&, const QString& text, MsgIcon, MsgButtons) override {
        shown << text;
        return MsgResult::OK;
    }
    std::optional<QString> OpenFile(QWidget*, const OpenDialogRequest&) override {
        answeredNs = clock.nsecsElapsed();
        return answer;
    }
    std::optional<QString> SaveFile(QWidget*, const SaveDialogRequest&) override { return std::nullopt; }
    // Each run imports a new class over the last one, which is not kept.
    SaveAnswer AskToSave(QWidget*, const QString&, const QString&) override { return SaveAnswer::Discard; }
};

void Line(const char* path, double ours, double baseline) {
    std::printf("%s: ours %.1f ms, baseline %.0f ms, ratio %.3f\n", path, ours, baseline, baseline > 0 ? ours / baseline : -1);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Application().SetTitle(QStringLiteral("Markwise2006版"));
    const QString first = MakeWorkbook("一班"), second = MakeWorkbook("二班");
    if (first.isEmpty() || second.isEmpty()) {
        std::printf("import: not measured (the office made no workbook)\n");
        return 1;
    }
    ConvertOnce(first);  // sets the baseline's profile up, untimed
    std::vector<double> cold;
    for (int k = 0; k < 3; ++k) cold.push_back(ConvertOnce(first));
    const double baseline = Median(cold);

    TimedDialogs dialogs;
    Dialogs* previous = Dialogs::Install(&dialogs);
    double ours = -1;
    std::vector<double> warm;
    {
        TForm2 help;
        TForm1 form{&help};
        Application().SetMainForm(&form);
        form.show();
        form.CompleteLoading();
        // The workbooks are out of 150, as the teacher sets before importing them.
        form.edtfullmarks->SetText(QStringLiteral("150"));
        if (!form.ApplyFullMarks()) {
            std::printf("import: not measured (full marks 150 refused)\n");
            return 1;
        }
        QApplication::processEvents();
        dialogs.clock.start();
        for (int k = 0; k < 6; ++k) {
            dialogs.answer = k % 2 ? second : first;
            form.MbImport->Click();
            const double ms = (dialogs.clock.nsecsElapsed() - dialogs.answeredNs) / 1e6;
            if (form.strgrdscore->Cells(0, 45).isEmpty()) {
                std::printf("import: not measured (the grid was not filled: %s)\n", qPrintable(dialogs.shown.join(" | ")));
                return 1;
            }
            if (k == 0) ours = ms;
            else warm.push_back(ms);
        }
        Application().SetMainForm(nullptr);
    }
    Dialogs::Install(previous);
    Line("import", ours, baseline);
    Line("import (warm)", Median(warm), baseline);
    return 0;
}
