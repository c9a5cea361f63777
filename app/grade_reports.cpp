#include "grade_reports.h"

#include "application.h"
#include "chart.h"
#include "comparison_report.h"
#include "dialogs.h"
#include "grade_chart.h"
#include "grade_window.h"
#include "main_window.h"
#include "report.h"
#include "report_commands.h"
#include "student_lists.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace {

// Bytes of a name, so that with ".doc.pdf" or a "（20）" it stays within
// the 255 bytes file systems allow.
constexpr int kMaxNameBytes = 200;
// How long the window waits for the office to come up before a batch.
constexpr int kOfficeWaitMs = 60000;

QString Shown(const QString& path) { return QFileInfo(path).fileName(); }

void Tell(QWidget* owner, const QString& text, MsgIcon icon) {
    Dialogs::Current().Message(owner, Application().Title(), text, icon, MsgButtons::OK);
}

// What the batch shows while it runs: the class being made, how far it is,
// and 取消, which stops once the class in hand is done.
class TBatchProgress : public QDialog {
public:
    TBatchProgress(QWidget* owner, int steps) : QDialog(owner) {
        setObjectName(QStringLiteral("batchProgress"));
        setWindowTitle(QStringLiteral("生成全部报告"));
        setWindowModality(Qt::WindowModal);
        auto* layout = new QVBoxLayout(this);
        text_ = new QLabel;
        text_->setObjectName(QStringLiteral("batchText"));
        text_->setMinimumWidth(360);
        bar_ = new QProgressBar;
        bar_->setObjectName(QStringLiteral("batchBar"));
        bar_->setRange(0, steps);
        bar_->setValue(0);
        cancel_ = new QPushButton(QStringLiteral("取消"));
        cancel_->setObjectName(QStringLiteral("cancelBatch"));
        // Only a deliberate click or Escape stops the batch, never the Enter
        // that closed the folder dialog before.
        cancel_->setAutoDefault(false);
        cancel_->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(text_);
        layout->addWidget(bar_);
        layout->addWidget(cancel_, 0, Qt::AlignRight);
        connect(cancel_, &QPushButton::clicked, this, [this] {
            cancelled_ = true;
            cancel_->setEnabled(false);
            text_->setText(text_->text() + QStringLiteral("\n完成这一份后停止……"));
        });
    }
    void Step(int done, const QString& text) {
        bar_->setValue(done);
        if (!cancelled_) text_->setText(text);
        // The window paints and 取消 is heard between the reports.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    bool Cancelled() const { return cancelled_; }

protected:
    void closeEvent(QCloseEvent* e) override {
        cancelled_ = true;
        e->ignore();
    }
    void reject() override {
        cancelled_ = true;
    }

private:
    QLabel* text_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    bool cancelled_ = false;
};

// Waits, with the window answering, until the kept office takes calls:
// a report started before would wait for it without a word. False when the
// teacher cancelled; an office that does not come up is left to the first
// report to explain.
bool WaitForOffice(TBatchProgress& progress, const TReportSession& session) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kOfficeWaitMs) {
        {
            TWordApplication probe;
            if (probe.Attach()) return true;
        }
        if (!session.KeepingOffice()) return true;
        progress.Step(0, QStringLiteral("正在启动 LibreOffice……"));
        if (progress.Cancelled()) return false;
        QThread::msleep(50);
    }
    return true;
}

struct Target {
    int index;  // in the grade
    QString doc, pdf;
};

// A file the teacher made read-only is not replaced, even where the account
// could (root may write anything): the write bits say what she meant.
bool Writable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return true;
    const auto bits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isWritable() && (info.permissions() & bits);
}

QString ReadOnlyReason(const Target& t, bool pdf) {
    for (const QString& p : pdf ? QStringList{t.doc, t.pdf} : QStringList{t.doc})
        if (!Writable(p)) return QStringLiteral("文件“%1”是只读的，没有替换。").arg(Shown(p));
    return QString();
}

// The grouped chart as the comparison report shows it, at a size of its own.
void CopyComparisonChart(TForm1& form, const GradeComparison& comparison) {
    TChart chart(nullptr, nullptr);
    chart.resize(640, 360);
    const auto* histogram = form.Find<TCustomChart>(QStringLiteral("Chart1"));
    if (histogram) StyleLikeHistogram(chart, *histogram);
    FillGradeChart(chart, comparison, HistogramColor(histogram));
    chart.CopyBitmapToClipboard();
}

bool WriteComparisonReport(TGradeWindow& w, const QString& path, QStringList& problems) {
    TForm1& form = w.Form();
    const GradeComparison comparison = w.Comparison();
    return form.Report.MakePageDocument(path,
                                        ComparisonPage(comparison, form.CurrentClass().info, w.Grade().FullMarks()),
                                        kComparisonPictureTable,
                                        [&form, &comparison] { CopyComparisonChart(form, comparison); }, problems);
}

}  // namespace

QString SafeFileName(const QString& name) {
    QString out;
    for (QChar c : name.trimmed()) {
        const char16_t u = c.unicode();
        if (u < 32 || u == 127 || QStringLiteral("/\\:*?\"<>|").contains(c)) out += QLatin1Char('_');
        else out += c;
    }
    // A leading dot hides the file; trailing dots and blanks trouble other systems.
    while (out.startsWith(QLatin1Char('.'))) out.remove(0, 1);
    while (out.endsWith(QLatin1Char('.')) || out.endsWith(QLatin1Char(' '))) out.chop(1);
    while (out.toUtf8().size() > kMaxNameBytes) out.chop(out.size() >= 2 && out.at(out.size() - 1).isLowSurrogate() ? 2 : 1);
    if (out.isEmpty()) out = QStringLiteral("班级");
    return out;
}

QString BatchSummary(const BatchOutcome& o, const QString& folder) {
    QString text = QStringLiteral("报告在文件夹“%1”中：生成%2份，失败%3份，跳过%4份。")
                       .arg(QDir::toNativeSeparators(folder))
                       .arg(o.made.size())
                       .arg(o.failed.size())
                       .arg(o.skipped.size());
    if (!o.made.isEmpty()) text += QStringLiteral("\r\r已生成：") + o.made.join(QStringLiteral("、"));
    if (!o.failed.empty()) {
        QStringList lines;
        for (const auto& [name, reason] : o.failed) lines << name + QStringLiteral("：") + reason;
        text += QStringLiteral("\r\r没有生成（原有的文件保持原样）：\r") + ListedLines(lines);
    }
    if (!o.skipped.isEmpty())
        text += (o.cancelled ? QStringLiteral("\r\r已取消，没有生成：") : QStringLiteral("\r\r跳过：")) + o.skipped.join(QStringLiteral("、"));
    return text;
}

void MakeAllReports(TGradeWindow& w) {
    static QString lastFolder;
    const auto folder = Dialogs::Current().ChooseFolder(&w, QStringLiteral("选择存放报告的文件夹"),
                                                        lastFolder.isEmpty() ? QDir::homePath() : lastFolder);
    if (!folder) return;
    lastFolder = *folder;
    MakeReportsInto(w, *folder);
}

BatchOutcome MakeReportsInto(TGradeWindow& w, const QString& folder) {
    BatchOutcome outcome;
    const TGrade& grade = w.Grade();
    if (grade.Count() == 0) return outcome;  // nothing to compare, nothing to make
    TForm1& form = w.Form();
    const bool pdf = w.PdfWanted();
    const QDir dir(folder);

    // One file per class, never two classes into one file (nor into the comparison's).
    std::vector<Target> targets;
    QStringList taken{kComparisonReportName.toLower()};
    for (int k = 0; k < grade.Count(); ++k) {
        const QString base = SafeFileName(grade.At(k).name);
        QString file = base + QStringLiteral(".doc");
        for (int n = 2; taken.contains(file.toLower()); ++n) file = QStringLiteral("%1（%2）.doc").arg(base).arg(n);
        taken << file.toLower();
        const QString doc = dir.absoluteFilePath(file);
        targets.push_back({k, doc, PdfNameOf(doc)});
    }
    QStringList existing;
    const QString comparison = dir.absoluteFilePath(kComparisonReportName);
    const Target whole{-1, comparison, PdfNameOf(comparison)};
    std::vector<Target> all = targets;
    all.push_back(whole);
    for (const Target& t : all) {
        if (QFileInfo::exists(t.doc)) existing << Shown(t.doc);
        if (pdf && QFileInfo::exists(t.pdf)) existing << Shown(t.pdf);
    }
    bool replace = true;
    if (!existing.isEmpty())
        replace = Dialogs::Current().Message(&w, Application().Title(),
                                             QStringLiteral("文件夹中已经有以下文件：\r") + ListedLines(existing) +
                                                 QStringLiteral("\r\r是否替换它们？选“否”则这些班级跳过，原有的文件保持原样。"),
                                             MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes;

    TBatchProgress progress(&w, int(targets.size()) + 1);
    progress.show();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const bool pdfBefore = form.Report.AlsoPdf;
    form.Report.AlsoPdf = pdf;
    form.Report.PrepareOffice();
    bool go = WaitForOffice(progress, form.Report);
    for (size_t i = 0; i < targets.size(); ++i) {
        const Target& t = targets[i];
        const GradeClass& c = grade.At(t.index);
        if (!go || progress.Cancelled()) {
            outcome.cancelled = true;
            outcome.skipped << c.name;
            continue;
        }
        progress.Step(int(i), QStringLiteral("正在生成“%1”的报告（%2/%3）……").arg(c.name).arg(i + 1).arg(targets.size()));
        const bool there = QFileInfo::exists(t.doc) || (pdf && QFileInfo::exists(t.pdf));
        if (there && !replace) {
            outcome.skipped << c.name;
            continue;
        }
        if (const QString reason = ReadOnlyReason(t, pdf); !reason.isEmpty()) {
            outcome.failed.emplace_back(c.name, reason);
            continue;
        }
        QStringList problems;
        const bool made = form.Report.MakeReportFile(
            t.doc, [&] { return ClassReportContent(form, c.data, c.name, c.scores); }, problems);
        if (made) outcome.made << c.name;
        else outcome.failed.emplace_back(c.name, problems.isEmpty() ? reporttext::kFailed : problems.join(QLatin1Char(' ')));
    }
    // The comparison of them all comes last, into the same folder.
    const bool there = QFileInfo::exists(whole.doc) || (pdf && QFileInfo::exists(whole.pdf));
    if (!go || progress.Cancelled()) {
        outcome.cancelled = true;
        outcome.skipped << Shown(comparison);
    } else if (there && !replace) {
        outcome.skipped << Shown(comparison);
    } else if (const QString reason = ReadOnlyReason(whole, pdf); !reason.isEmpty()) {
        outcome.failed.emplace_back(Shown(comparison), reason);
    } else {
        progress.Step(int(targets.size()), QStringLiteral("正在生成年级对比报告……"));
        QStringList problems;
        if (WriteComparisonReport(w, comparison, problems)) outcome.made << Shown(comparison);
        else outcome.failed.emplace_back(Shown(comparison), problems.isEmpty() ? reporttext::kFailed : problems.join(QLatin1Char(' ')));
    }
    progress.Step(int(targets.size()) + 1, QString());
    form.Report.AlsoPdf = pdfBefore;
    RedrawReportChart(form);
    QApplication::restoreOverrideCursor();
    progress.hide();
    Tell(&w, BatchSummary(outcome, folder), outcome.failed.empty() ? MsgIcon::Information : MsgIcon::Warning);
    return outcome;
}

void MakeComparisonReport(TGradeWindow& w) {
    if (w.Grade().Count() == 0) return;
    static QString last;
    SaveDialogRequest request;
    request.filter = reporttext::kFilter;
    request.fileName = last.isEmpty() ? QDir::home().absoluteFilePath(kComparisonReportName) : last;
    request.overwritePrompt = true;
    const auto chosen = Dialogs::Current().SaveFile(&w, request);
    if (!chosen) return;
    last = *chosen;
    const QString path = ReportNameFromDialog(*chosen);
    TForm1& form = w.Form();
    const bool pdfBefore = form.Report.AlsoPdf;
    form.Report.AlsoPdf = w.PdfWanted();
    QStringList problems;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const bool made = WriteComparisonReport(w, path, problems);
    QApplication::restoreOverrideCursor();
    form.Report.AlsoPdf = pdfBefore;
    if (made) {
        Tell(&w, reporttext::kSaved, MsgIcon::Information);
        return;
    }
    Tell(&w, reporttext::kFailed + '\r' + problems.join('\r'), MsgIcon::Error);
}
