#pragma once
// The main window: score entry, analysis, histogram, reset, and the menu that
// makes, previews and prints the report.
#include "class_data.h"
#include "class_document.h"
#include "form.h"
#include "recent_files.h"
#include "exam_statistics.h"
#include "grade_bands.h"
#include "report.h"

#include <QHash>
#include <QRect>
#include <QString>
#include <array>
#include <memory>
#include <vector>

class TFrStringGrid;
class TFrLEDDisplay;
class TFrDateTimePicker;
class TFrMemo;
class TSkSkinEdit;
class TSkSkinRadioButton;
class TSkSkinStringGrid;
class TSkSkinPageControl;
class TSkSkinItem;
class TSkSkinButton;
class TSkSkinEngine;
class TSaveDialog;
class TOpenDialog;
class TForm2;
class TAutosave;

constexpr int kScoreRows = 299;  // score rows 1 to 299 below the header row
constexpr int kScoreEntryPage = 4;  // the page the window opens on

// One score of an analysis, with the row it came from and its student.
struct AnalysedScore {
    int row;
    double value;
    QString text;  // as typed, trimmed
    ClassStudent student;
};
class TRosterColumn;

class TForm1 : public TForm {
    Q_OBJECT
public:
    explicit TForm1(TForm2* help, QWidget* parent = nullptr);
    ~TForm1() override;
    // Reads the window's description and decodes its skin before the window
    // is made: start-up calls it while it waits for the font list.
    static void Prepare();
    QString ClassName() const override { return QStringLiteral("TForm1"); }

    // Controls the workflow reads and writes.
    TFrStringGrid* strgrdscore = nullptr;
    TFrLEDDisplay* LED = nullptr;
    TSkSkinStringGrid* sgrdAnalyse = nullptr;
    TSkSkinPageControl* SkSkinPageControl1 = nullptr;
    TSkSkinItem* MbMake = nullptr;
    TSkSkinItem* MbPreview = nullptr;
    TSkSkinItem* MbPrint = nullptr;
    TSkSkinItem* MbClassFile = nullptr;  // the "成绩单" popup
    TSkSkinItem* MbOpen = nullptr;
    TSkSkinItem* MbSave = nullptr;
    TSkSkinItem* MbSaveAs = nullptr;
    TSkSkinItem* MbImport = nullptr;
    TSkSkinItem* MbExport = nullptr;
    TSkSkinItem* MbRecent = nullptr;
    TSkSkinItem* MbRecentNone = nullptr;
    TSkSkinItem* MbRecentRemoveMissing = nullptr;
    TSkSkinItem* MbRecentClear = nullptr;
    // The recent files' own items, made hidden by FormCreate and shown as
    // the list has them.
    std::array<TSkSkinItem*, TRecentFiles::kMax> MbRecentFiles{};
    TSkSkinItem* MbImportItems = nullptr;  // 导入小题成绩…
    TSkSkinItem* MbItems = nullptr;        // 小题分析…
    TSkSkinItem* MbGrade = nullptr;  // 年级对比…
    TSkSkinItem* MbAlsoPdf = nullptr;  // checked: every report also as PDF
    TSkSkinItem* MbStatistics = nullptr;
    TSkSkinItem* CustomItem1 = nullptr;
    TSkSkinButton* btnAnalyse = nullptr;
    TSkSkinButton* btnClear = nullptr;
    TSkSkinEdit* edtclassname = nullptr;
    TSkSkinEdit* edtteacher = nullptr;
    TSkSkinEdit* edtclassnumber = nullptr;
    TSkSkinEdit* edtgrade = nullptr;
    TSkSkinEdit* edttime = nullptr;
    TSkSkinEdit* edtclass = nullptr;
    TSkSkinEdit* edtfullmarks = nullptr;
    TSkSkinRadioButton* rdbtnbijuan = nullptr;
    TSkSkinRadioButton* rdbtnkaijuan = nullptr;
    TSkSkinRadioButton* rdbtnpaper = nullptr;
    TSkSkinRadioButton* rdbtnother = nullptr;
    TFrDateTimePicker* tmExam = nullptr;
    TFrDateTimePicker* tmBeginTime = nullptr;
    TFrDateTimePicker* tmEndTime = nullptr;
    TFrMemo* mmadvice = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSkSkinEngine* SkSkinEngine1 = nullptr;
    TForm2* Form2 = nullptr;
    // The help window, made when first asked for unless one was given.
    TForm2* HelpWindow();

    // Workflow state.
    std::vector<double> Scores;                  // one slot per grid row
    std::array<double, kBandCount> BandCounts{}; // counts of the last analysis
    std::vector<AnalysedScore> Analysed;         // the scores of the last analysis
    // ReportFileName, SaveSucceeded and the office wrappers have their one owner here.
    TReportSession Report;
    // The class file the class on screen belongs to, and what it last held.
    TClassDocument Document;
    TRecentFiles Recent;

    // Handlers, bound by name in the window description.
    void FormCreate(TComponent* Sender);
    void strgrdscoreKeyPress(TComponent* Sender, QChar& Key);
    void strgrdscoreSetEditText(TComponent* Sender, int ACol, int ARow, const QString& Value);
    void strgrdscoreMouseDown(TComponent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void strgrdscorePasteText(TComponent* Sender, int ACol, int ARow, const QString& Text, bool& Handled);
    void edtgradeKeyPress(TComponent* Sender, QChar& Key);
    void edttimeKeyPress(TComponent* Sender, QChar& Key);
    void edtclassnumberKeyPress(TComponent* Sender, QChar& Key);
    void edtfullmarksKeyPress(TComponent* Sender, QChar& Key);
    void btnAnalyseClick(TComponent* Sender);
    void btnClearClick(TComponent* Sender);
    void MbMakeClick(TComponent* Sender);
    void MbPreviewClick(TComponent* Sender);
    void MbPrintClick(TComponent* Sender);
    void MbImportClick(TComponent* Sender);
    void MbClassFileBeforeDropDown(TComponent* Sender);
    void MbOpenClick(TComponent* Sender);
    void MbSaveClick(TComponent* Sender);
    void MbSaveAsClick(TComponent* Sender);
    void MbExportClick(TComponent* Sender);
    void MbRecentFileClick(TComponent* Sender);
    void MbRecentRemoveMissingClick(TComponent* Sender);
    void MbRecentClearClick(TComponent* Sender);
    void MbStatisticsClick(TComponent* Sender);
    void MbImportItemsClick(TComponent* Sender);
    void MbItemsClick(TComponent* Sender);
    void MbGradeClick(TComponent* Sender);
    void MbAlsoPdfClick(TComponent* Sender);
    void CustomItem1Click(TComponent* Sender);

    // The full marks scores are checked and banded against (100 by default).
    int FullMarks() const { return fullMarks_; }
    // Takes what the 满分 field holds, once the teacher has finished typing
    // it: a value out of range is refused; a new value re-checks the scores
    // and drops an analysis made with the old one. False when refused.
    bool ApplyFullMarks();

    // The number of filled score rows.
    int EnteredCount() const;
    // Shows EnteredCount in the LED.
    void RecountEntered();

    // The class on screen, as a class file keeps it.
    ClassData CurrentClass();
    // Puts a class on screen in place of the one there: its scores, roster,
    // description and conclusion, and no result of the class before.
    void ShowClass(const ClassData& data);
    // The one way scores arrive in bulk (import, paste, a class file): texts
    // into the rows from fromRow on, each with its student where one is
    // given, and the counter recounted. Rows past them stay as they are.
    void PlaceScores(int fromRow, const QStringList& texts, const std::vector<ClassStudent>& students = {});
    // Per-question scores for the rows from 1 on, in place of any there were.
    void PlaceItems(const ClassItems& items);
    // Empties every score row and forgets the roster and the per-question scores.
    void ClearScores();
    // Results, both charts and the report commands as after a reset: a
    // new class must never show or report the figures of the one before.
    void ClearResults();
    // Who the score of a row (from 1) belongs to; empty for a row typed by hand.
    ClassStudent Student(int row) const;
    // The per-question scores of a row (from 1); none for a row without.
    QStringList ItemTexts(int row) const;
    // The questions of the class on screen, without rows; empty for none.
    ClassItems Questions() const;
    // Writes a sentence into the conclusion at place, as one step of its undo.
    void WriteConclusionLine(const QString& sentence, const SentencePlace& place);

    // Before the class on screen is put aside (closed, reset, replaced):
    // with unsaved changes the teacher is asked whether to save them. False
    // when she cancels, or the save she asked for did not happen.
    bool MaySetClassAside();
    // From now on unsaved work is kept in a recovery file of this copy under
    // root, and what a copy that died left there is offered back first.
    void KeepWorkSafe(const QString& recoveryRoot);
    // The class may have changed outside of the teacher's input.
    void WorkChanged();
    // The recovery keeper, once KeepWorkSafe has run.
    TAutosave* Autosave() const { return autosave_.get(); }

protected:
    // The score entry page comes up first; the other pages are built once
    // the window is up, or when one of them is about to show.
    bool BuildsChildrenLater(const TComponent& container) const override;
    void Completed() override;
    void closeEvent(QCloseEvent* e) override;

private:
    std::unique_ptr<TForm2> ownHelp_;
    std::vector<ClassStudent> roster_;  // index row - 1; empty entries for rows typed by hand
    ClassItems items_;                  // rows index row - 1, as roster_
    // An import command, with the question first and a new class after it.
    void Import(void (*command)(TForm1&));
    std::unique_ptr<TAutosave> autosave_;
    // Whether any row other than fromRow to lastRow holds a score.
    bool ScoresOutside(int fromRow, int lastRow) const;
    int fullMarks_ = kDefaultFullMarks;
    bool applyingFullMarks_ = false;
    TRosterColumn* rosterColumn_ = nullptr;
    QHash<QByteArray, QRect> scorePage_;  // the score page's places without a roster
    // Shows the band labels of the full marks in the result grid.
    void WriteBandLabels();
    // Shows the roster beside the scores while there is one.
    void ShowRoster();
    // "第3行：105（张三）" lines for scores that fall in no band.
    QStringList OutOfRange() const;
    void RegisterHandlers();
    // Lets through digits, Backspace, Tab and Enter (and "." when allowed);
    // anything else is refused with a message.
    void FilterKey(QChar& key, bool allowPoint);
    void ShowInputError(const QString& text);
    std::vector<AnalysedScore> ReadScores();
    void ComputeDistribution(const std::vector<AnalysedScore>& scores);
    // Writes the figures' sentence into the conclusion, in place of the one
    // written before.
    void WriteConclusionSentence(const QString& sentence);
};

class TFrLabel;

// The help window: one label with the help text.
class TForm2 : public TForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    QString ClassName() const override { return QStringLiteral("TForm2"); }
    TFrLabel* FrLabel4 = nullptr;
};

// Registers every component class the window descriptions use.
void RegisterAllComponents();
