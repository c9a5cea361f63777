#pragma once
// The exam-analysis report: the template the program carries, the output
// file's name, filling the template's four tables through the office, and
// preview and print of the finished report.
#include "word.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QPointer>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QTimer;
class QWidget;
class ReportDraft;

// Texts of the report's outcome messages.
namespace reporttext {
inline const QString kSaved = QStringLiteral("试卷分析保存成功！");
inline const QString kFailed = QStringLiteral("试卷分析保存失败！");
inline const QString kChooseOtherName = QStringLiteral("请重新输入文件名！避免使用相同文件名！");
inline const QString kFilter = QStringLiteral("Word文档(*.doc)|*.doc");
}

// The description of the course and exam as typed on the information tab.
struct ReportFields {
    QString courseName, teacher, courseNumber, credits, hours, className;
    bool closedBook = false, openBook = false, paper = false;  // the exam-mode radio buttons
    QDate examDate;
    QTime beginTime, endTime;
};

// A table the report adds after the conclusion's: a heading line, then the
// header row and the rows, all of the same number of cells.
struct ReportExtraTable {
    QString heading;
    QStringList header;
    std::vector<QStringList> rows;
};

// Everything one report is filled with.
struct ReportContent {
    ReportFields fields;
    // The result grid's texts, cells (column, row): counts in column 1 and
    // percentages in column 2 for rows 1-5, the total at (1,6), the average at (1,7).
    std::function<QString(int col, int row)> grid;
    // Labels for the five band cells of table 2 (4, 7, 10, 13, 16) when they
    // differ from the template's own, as with full marks other than 100.
    std::optional<std::array<QString, 5>> bandLabels;
    // Puts the histogram picture on the clipboard.
    std::function<void()> copyPicture;
    QString conclusion;  // lines separated by CR LF
    // The per-question table, for a class that has per-question scores.
    std::optional<ReportExtraTable> items;
};

// Drops leading and trailing characters with codes below 33.
QString TrimControls(const QString& s);
QString ExamModeLine(const ReportFields& f);
// "yy-m-d h:m-h:m", e.g. 06-2-18 8:5-9:30.
QString ExamTimeText(const QDate& date, const QTime& begin, const QTime& end);
// The seven value cells of table 1 (cells 2, 4, ..., 14), in that order.
std::array<QString, 7> InformationTexts(const ReportFields& f);
// ".doc" is dropped only when the name ends in exactly ".doc"; then ".doc" is appended.
QString ReportNameFromDialog(const QString& dialogName);
// The PDF that goes beside a report: its name with ".pdf" for ".doc".
QString PdfNameOf(const QString& reportName);

// The data of a resource of the program, type and name matched without regard
// to case; nothing when there is none.
std::optional<QByteArray> FindResource(const QString& type, const QString& name);

// The state the report commands share: the report's path, the outcome of the
// last make run, the office wrappers while they live, and the office itself,
// which is ended with the session.
class TReportSession {
public:
    TReportSession();
    ~TReportSession();

    QString ReportFileName;
    bool SaveSucceeded = true;
    // Guarded: the print command's application belongs to the main window.
    QPointer<TWordApplication> WordApp;
    QPointer<TWordDocument> WordDoc;
    // The name the save dialog offers: the last one confirmed.
    QString DialogFileName;

    // The whole make-document command. askName runs the save dialog (by
    // default one built here that offers DialogFileName). Returns false when
    // the dialog was cancelled (nothing changed); otherwise the outcome has
    // been reported.
    bool MakeDocument(QWidget* owner, const std::function<ReportContent()>& content,
                      const std::function<std::optional<QString>()>& askName = {});
    // The same report for a name already chosen (ending in ".doc"), with no
    // message shown: what the command would show goes into problems. True
    // when the report stands (and its PDF, with AlsoPdf).
    bool MakeReportFile(const QString& fileName, const std::function<ReportContent()>& content, QStringList& problems);
    // A document of our own rather than the template: the office reads the
    // HTML page (text and tables), the picture copyPicture puts on the
    // clipboard goes into the first cell of table pictureTable, and it is
    // saved at fileName as MakeReportFile saves, messages into problems.
    bool MakePageDocument(const QString& fileName, const QByteArray& html, int pictureTable,
                          const std::function<void()>& copyPicture, QStringList& problems);
    // Reports are also written as PDF beside the .doc, through the office's
    // PDF export; off unless the teacher asks for it.
    bool AlsoPdf = false;
    // Writes the template resource to the new file fileName; false (and a
    // message when the file could not be written) on failure.
    bool ExtractTemplate(const QString& type, const QString& name, const QString& fileName);
    // Opens fileName in an invisible office and fills the four tables.
    bool FillReport(const QString& fileName, const ReportContent& content);
    // Opens the report read-only in a visible office window and lets go of it.
    void Preview();
    // Prints a copy of the report on the default printer (or into
    // outputFile when given) through an invisible office.
    void Print(QObject* owner, const QString& outputFile = QString());

    // A report became possible: the office starts in the background (the
    // window does not wait for it) and is kept between commands, started
    // again should it end. Returns at once.
    void PrepareOffice();
    // True while the kept office is looked after (and started again should it end).
    bool KeepingOffice() const;
    // The office is no longer needed: it is ended, but with keepPreview not
    // while it shows a preview, which the teacher may still be reading.
    void EndOffice(bool keepPreview = false);

private:
    // Has fill make the document in the draft beside ReportFileName, then
    // saves it there; SaveSucceeded tells the outcome.
    void WriteReport(const std::function<void(const QString& draft)>& fill);
    void FillTemplate(const QString& draft, const std::function<ReportContent()>& content);
    // Shows a failure, or notes it while MakeReportFile runs.
    void Complain(const std::exception& e);
    void Tell(const QString& text);
    QStringList* problems_ = nullptr;
    // Has the office save the filled draft, closes it and puts the draft in
    // the report's place; a failure is reported and leaves the report as it was.
    void SaveReport(ReportDraft& draft);
    void ReleaseDocument(bool quiet);
    void ReleaseApplication(bool quiet);
    // Closes read-only views of the report, which show what it was before.
    void CloseStalePreviews();
    std::unique_ptr<QTimer> keeper_;  // starts the kept office again should it end
    QElapsedTimer keptStart_;         // when the kept office was last started
    int quickEnds_ = 0;               // kept offices in a row that ended soon after starting
};
