#include "report.h"

#include "application.h"
#include "office.h"
#include "dialogs.h"
#include "report_draft.h"
#include "report_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

QString TrimControls(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() < 33) ++b;
    while (e > b && s[e - 1].unicode() < 33) --e;
    return s.mid(b, e - b);
}

QString ExamModeLine(const ReportFields& f) {
    if (f.closedBook) return QStringLiteral("√ 闭卷     □ 开卷     □ 论文     □ 其他");
    if (f.openBook) return QStringLiteral("□ 闭卷     √ 开卷     □ 论文     □ 其他");
    if (f.paper) return QStringLiteral("□ 闭卷     □ 开卷     √ 论文     □ 其他");
    return QStringLiteral("□ 闭卷     □ 开卷     □ 论文     √ 其他");
}

QString ExamTimeText(const QDate& date, const QTime& begin, const QTime& end) {
    const auto hm = [](const QTime& t) { return QStringLiteral("%1:%2").arg(t.hour()).arg(t.minute()); };
    return QStringLiteral("%1-%2-%3 %4-%5")
        .arg(date.year() % 100, 2, 10, QChar('0'))
        .arg(date.month())
        .arg(date.day())
        .arg(hm(begin), hm(end));
}

std::array<QString, 7> InformationTexts(const ReportFields& f) {
    return {TrimControls(f.courseName),
            TrimControls(f.teacher),
            TrimControls(f.courseNumber),
            TrimControls(f.credits) + "/" + TrimControls(f.hours),
            TrimControls(f.className),
            ExamModeLine(f),
            ExamTimeText(f.examDate, f.beginTime, f.endTime)};
}

QString ReportNameFromDialog(const QString& dialogName) {
    QString name = dialogName;
    const qsizetype sep = name.lastIndexOf('/');
    const qsizetype dot = name.lastIndexOf('.');
    if (dot > sep && name.mid(dot) == QLatin1String(".doc")) name.chop(4);
    return name + ".doc";
}

QString PdfNameOf(const QString& reportName) {
    QString name = reportName;
    if (name.endsWith(QLatin1String(".doc"))) name.chop(4);
    return name + ".pdf";
}

std::optional<QByteArray> FindResource(const QString& type, const QString& name) {
    const QDir root(QStringLiteral(":/"));
    for (const QString& t : root.entryList(QDir::Dirs)) {
        if (t.compare(type, Qt::CaseInsensitive) != 0) continue;
        const QDir dir(root.filePath(t));
        for (const QString& n : dir.entryList(QDir::Files)) {
            if (n.compare(name, Qt::CaseInsensitive) != 0) continue;
            QFile f(dir.filePath(n));
            if (f.open(QIODevice::ReadOnly)) return f.readAll();
        }
    }
    return std::nullopt;
}

namespace {
// Writes a file that must not exist yet; 0, or the errno of the step that
// failed (the partial file is then removed).
int WriteNewFile(const QString& path, const QByteArray& data) {
    if (path.isEmpty()) return ENOENT;
    const QByteArray name = QFile::encodeName(path);
    const int fd = open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    qsizetype done = 0;
    int err = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        done += n;
    }
    if (close(fd) != 0 && err == 0) err = errno;
    if (err) unlink(name.constData());
    return err;
}
}  // namespace

// ---- the session ----

TReportSession::TReportSession() = default;

TReportSession::~TReportSession() {
    delete WordDoc.data();
    delete WordApp.data();
    // The program's office never outlives it, preview or not.
    try {
        EndOffice(false);
    } catch (...) {
    }
}

void TReportSession::PrepareOffice() {
    TWordApplication::SetOfficeKept(true);
    try {
        office::Connection::StartInBackground();
    } catch (const std::exception&) {
        return;  // the command that needs the office says what went wrong
    }
    if (keeper_) return;
    keeper_ = std::make_unique<QTimer>();
    keeper_->setInterval(TWordApplication::Settings().keeperIntervalMs);
    // The office ends by itself when the teacher closes its last window.
    // One that cannot stay up (a broken installation, a damaged profile) is
    // not started again and again: the command that needs it starts its own
    // and says what is wrong.
    quickEnds_ = 0;
    keptStart_.start();
    QObject::connect(keeper_.get(), &QTimer::timeout, [this] {
        if (office::Connection::Running()) {
            if (keptStart_.elapsed() > 10000) quickEnds_ = 0;
            return;
        }
        if (keptStart_.elapsed() < 10000 && ++quickEnds_ >= 3) {
            keeper_->stop();
            return;
        }
        try {
            office::Connection::StartInBackground();
            keptStart_.start();
        } catch (const std::exception&) {
            keeper_->stop();
        }
    });
    keeper_->start();
}

bool TReportSession::KeepingOffice() const { return keeper_ && keeper_->isActive(); }

void TReportSession::EndOffice(bool keepPreview) {
    keeper_.reset();
    TWordApplication::SetOfficeKept(false);
    if (!office::Connection::Running()) return;
    TWordApplication app;
    if (!app.Attach()) {
        office::Connection::Kill();  // still starting: nothing is open in it
        return;
    }
    if (keepPreview) {
        for (int i = 1; i <= app.Documents().Count(); ++i)
            if (!app.Documents().Item(i).Hidden()) return;  // let go; it ends with its window or with us
    }
    app.Quit();
}

void TReportSession::CloseStalePreviews() {
    if (!WordApp) return;
    const QString report = QFileInfo(ReportFileName).canonicalFilePath();
    try {
        WordDocuments docs = WordApp->Documents();
        for (int i = docs.Count(); i >= 1; --i) {
            WordDocument d = docs.Item(i);
            if (!d.ReadOnly() || QFileInfo(d.FullName()).canonicalFilePath() != report) continue;
            TWordDocument view;
            view.ConnectTo(d);
            view.Close();
        }
    } catch (const std::exception&) {
        // a view that will not close is no reason to call the report failed
    }
}

bool TReportSession::ExtractTemplate(const QString& type, const QString& name, const QString& fileName) {
    const auto data = FindResource(type, name);
    if (!data) {
        SaveSucceeded = false;
        return false;
    }
    if (const int err = WriteNewFile(fileName, *data)) {
        SaveSucceeded = false;
        // What went wrong first; a new name alone would not help.
        if (!fileName.isEmpty())
            Complain(reporterror::FileError(
                err, fileName, QStringLiteral("template: %1").arg(QString::fromLocal8Bit(strerror(err)))));
        Tell(reporttext::kChooseOtherName);
        return false;
    }
    return true;
}

namespace {
void FillExtraTable(WordTables& tables, int after, const ReportExtraTable& t) {
    const int columns = int(t.header.size());
    WordCells cells = tables.Add(after, t.heading, int(t.rows.size()) + 1, columns).Range().Cells();
    int k = 1;
    for (const QString& text : t.header) cells.Item(k++).Range().SetText(text);
    for (const QStringList& row : t.rows)
        for (int c = 0; c < columns; ++c) cells.Item(k++).Range().SetText(c < row.size() ? row[c] : QString());
}
}  // namespace

bool TReportSession::FillReport(const QString& fileName, const ReportContent& c) {
    try {
        if (!WordApp) {
            WordApp = new TWordApplication(nullptr);
            WordApp->SetVisible(false);
        }
        if (!WordDoc) WordDoc = new TWordDocument(nullptr);
        WordApp->Documents().Open(fileName, EmptyParam, false);
        WordDoc->ConnectTo(WordApp->Documents().Item(1));
        WordTables tables = WordDoc->Tables();

        const auto info = InformationTexts(c.fields);
        WordCells t1 = tables.Item(1).Range().Cells();
        for (int i = 0; i < 7; ++i) t1.Item(2 * i + 2).Range().SetText(info[i]);

        WordCells t2 = tables.Item(2).Range().Cells();
        for (int row = 1; row <= 5; ++row) {
            t2.Item(3 * row + 2).Range().SetText(c.grid(1, row));
            t2.Item(3 * row + 3).Range().SetText(c.grid(2, row));
        }
        if (c.bandLabels)
            for (int row = 1; row <= 5; ++row) t2.Item(3 * row + 1).Range().SetText((*c.bandLabels)[size_t(row - 1)]);
        t2.Item(20).Range().SetText(c.grid(1, 6));
        t2.Item(23).Range().SetText(c.grid(1, 7));

        if (c.copyPicture) c.copyPicture();
        tables.Item(3).Range().Cells().Item(1).Range().Paste();

        tables.Item(4).Range().Cells().Item(1).Range().SetText(c.conclusion);
        if (c.items) FillExtraTable(tables, 4, *c.items);
        return true;
    } catch (const std::exception& e) {
        SaveSucceeded = false;
        Complain(e);
        Tell(reporttext::kChooseOtherName);
        return false;
    }
}

void TReportSession::ReleaseDocument(bool quiet) {
    if (!WordDoc) return;
    TWordDocument* doc = WordDoc;
    WordDoc = nullptr;
    try {
        if (doc->Connected()) doc->Close();
    } catch (...) {
        doc->Disconnect();
        delete doc;
        if (!quiet) throw;
        return;
    }
    doc->Disconnect();
    delete doc;
}

void TReportSession::ReleaseApplication(bool quiet) {
    if (!WordApp) return;
    TWordApplication* app = WordApp;
    WordApp = nullptr;
    try {
        app->Quit();
    } catch (...) {
        delete app;  // disconnects, ending an office we started
        if (!quiet) throw;
        return;
    }
    app->Disconnect();
    delete app;
}

bool TReportSession::MakeDocument(QWidget* owner, const std::function<ReportContent()>& content,
                                  const std::function<std::optional<QString>()>& askName) {
    std::optional<QString> chosen;
    if (askName) {
        chosen = askName();
    } else {
        SaveDialogRequest request;
        request.filter = reporttext::kFilter;
        request.fileName = DialogFileName;
        request.overwritePrompt = true;
        request.hideReadOnly = true;
        request.resizable = true;
        chosen = Dialogs::Current().SaveFile(owner, request);
    }
    if (!chosen) return false;
    DialogFileName = *chosen;

    SaveSucceeded = true;
    ReportFileName = ReportNameFromDialog(*chosen);
    WriteReport([&](const QString& draft) { FillTemplate(draft, content); });
    Application().Inform(SaveSucceeded ? reporttext::kSaved : reporttext::kFailed);
    return true;
}

bool TReportSession::MakeReportFile(const QString& fileName, const std::function<ReportContent()>& content,
                                    QStringList& problems) {
    problems_ = &problems;
    const auto done = qScopeGuard([this] { problems_ = nullptr; });
    SaveSucceeded = true;
    ReportFileName = fileName;
    WriteReport([&](const QString& draft) { FillTemplate(draft, content); });
    return SaveSucceeded;
}

void TReportSession::FillTemplate(const QString& draft, const std::function<ReportContent()>& content) {
    if (ExtractTemplate(QStringLiteral("doc"), QStringLiteral("docTemplate"), draft)) FillReport(draft, content());
}

bool TReportSession::MakePageDocument(const QString& fileName, const QByteArray& html, int pictureTable,
                                      const std::function<void()>& copyPicture, QStringList& problems) {
    problems_ = &problems;
    const auto done = qScopeGuard([this] { problems_ = nullptr; });
    SaveSucceeded = true;
    ReportFileName = fileName;
    WriteReport([&](const QString& draft) {
        const QString page = draft + QStringLiteral(".html");
        if (const int err = WriteNewFile(page, html)) {
            SaveSucceeded = false;
            Complain(reporterror::FileError(err, fileName, QStringLiteral("page: %1").arg(QString::fromLocal8Bit(strerror(err)))));
            return;
        }
        try {
            if (!WordApp) {
                WordApp = new TWordApplication(nullptr);
                WordApp->SetVisible(false);
            }
            if (!WordDoc) WordDoc = new TWordDocument(nullptr);
            // Into Writer itself, not its web view, which cannot save a Word document.
            WordApp->Documents().Open(page, EmptyParam, false, EmptyParam, EmptyParam, EmptyParam, EmptyParam,
                                      EmptyParam, EmptyParam, QStringLiteral("HTML (StarWriter)"));
            WordDoc->ConnectTo(WordApp->Documents().Item(1));
            if (copyPicture) {
                copyPicture();
                WordDoc->Tables().Item(pictureTable).Range().Cells().Item(1).Range().Paste();
            }
        } catch (const std::exception& e) {
            SaveSucceeded = false;
            Complain(e);
        }
    });
    return SaveSucceeded;
}

void TReportSession::Complain(const std::exception& e) {
    if (!problems_) {
        Application().ShowException(e);
        return;
    }
    const QString text = QString::fromUtf8(e.what());
    if (!problems_->contains(text)) problems_->append(text);
}

void TReportSession::Tell(const QString& text) {
    // Advice for the save dialog means nothing without one.
    if (!problems_) Application().Inform(text);
}

void TReportSession::WriteReport(const std::function<void(const QString& draft)>& fill) {
    try {
        ReportDraft::CheckTarget(ReportFileName);
    } catch (const std::exception& e) {
        SaveSucceeded = false;
        Complain(e);
    }
    if (!SaveSucceeded) return;
    // The office fills and saves a copy beside the report; the report
    // itself is replaced only once that copy is known to be whole.
    ReportDraft draft(ReportFileName);
    if (draft.Path().isEmpty()) {
        SaveSucceeded = false;
        Complain(reporterror::FileError(
            draft.Error(), ReportFileName,
            QStringLiteral("draft folder: %1").arg(QString::fromLocal8Bit(strerror(draft.Error())))));
        Tell(reporttext::kChooseOtherName);
    } else {
        fill(draft.Path());
    }
    if (SaveSucceeded) {
        SaveReport(draft);
    } else {
        // A half-filled document is never saved.
        ReleaseDocument(true);
        ReleaseApplication(true);
    }
}

void TReportSession::SaveReport(ReportDraft& draft) {
    const QString pdfDraft = draft.Path() + QStringLiteral(".pdf");
    try {
        WordDoc->SaveAs(draft.Path());
        if (AlsoPdf) WordDoc->ExportPdf(pdfDraft);
        ReleaseDocument(false);
        draft.Commit();
        CloseStalePreviews();
    } catch (const std::exception& e) {
        SaveSucceeded = false;
        ReleaseDocument(true);
        ReleaseApplication(true);
        Complain(e);
        return;
    }
    if (AlsoPdf) {
        try {
            draft.CommitBeside(pdfDraft, PdfNameOf(ReportFileName));
        } catch (const std::exception& e) {
            // The report stands; its PDF did not follow, and that is a failure too.
            SaveSucceeded = false;
            Complain(e);
        }
    }
    // The report stands; ending the office cannot undo that.
    ReleaseApplication(true);
}

void TReportSession::Preview() {
    // A missing report would only leave an idle office window behind.
    if (!QFileInfo::exists(ReportFileName)) throw reporterror::Missing(ReportFileName);
    try {
        if (!WordApp) {
            WordApp = new TWordApplication(nullptr);
            WordApp->SetVisible(true);
        }
        WordApp->Documents().Open(ReportFileName, EmptyParam, true, EmptyParam, EmptyParam, EmptyParam,
                                  EmptyParam, EmptyParam, EmptyParam, EmptyParam, EmptyParam, true);
    } catch (...) {
        delete std::exchange(WordApp, nullptr).data();
        throw;
    }
    WordApp->Disconnect();
    delete std::exchange(WordApp, nullptr).data();
}

void TReportSession::Print(QObject* owner, const QString& outputFile) {
    delete std::exchange(WordApp, nullptr).data();
    WordApp = new TWordApplication(owner);
    try {
        WordApp->Connect();
        WordApp->SetVisible(false);
        WordDocument copy = WordApp->Documents().Add(ReportFileName, false);
        if (outputFile.isEmpty())
            WordApp->PrintOut();
        else
            WordApp->PrintOut(EmptyParam, EmptyParam, EmptyParam, outputFile, EmptyParam, EmptyParam,
                              EmptyParam, EmptyParam, EmptyParam, EmptyParam, true);
        // The copy served its purpose; do not leave it open in the office.
        TWordDocument printed;
        printed.ConnectTo(copy);
        printed.Close();
    } catch (...) {
        WordApp->Disconnect();
        throw;
    }
    WordApp->Disconnect();
}
