#include "main_window.h"

#include "application.h"
#include "autosave.h"
#include "band_distribution.h"
#include "chart.h"
#include "chart_components.h"
#include "class_commands.h"
#include "class_file.h"
#include "controls.h"
#include "date_time_picker.h"
#include "dialogs.h"
#include "exceptions.h"
#include "framed_grid.h"
#include "grade_commands.h"
#include "histogram.h"
#include "item_commands.h"
#include "led_display.h"
#include "memo.h"
#include "number_format.h"
#include "open_dialog.h"
#include "program_icon.h"
#include "recovery_slot.h"
#include "roster_column.h"
#include "student_lists.h"
#include "report_commands.h"
#include "save_dialog.h"
#include "score_export.h"
#include "score_import.h"
#include "statistics_dialog.h"
#include "skin_controls.h"
#include "skin_menu.h"
#include "skin_engine.h"
#include "skin_form.h"
#include "styled_label.h"

#include <QCloseEvent>
#include <QScopeGuard>
#include <QTextCursor>
#include <algorithm>
#include <cmath>

namespace {
const char* const kInputErrorCaption = "错误操作";

template <class T>
T* Require(const TForm& form, const char* name) {
    T* c = dynamic_cast<T*>(form.FindComponent(QString::fromLatin1(name)));
    if (!c) throw EReadError(QStringLiteral("The window description lacks %1").arg(QLatin1String(name)));
    return c;
}
}

void RegisterAllComponents() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterRuntimeComponents();
    RegisterFramedControls();
    RegisterSkinControls();
    RegisterSkinMenuComponents();
    RegisterSkinEngineComponents();
    RegisterSkinFormComponents();
    RegisterChartComponents();
}

// ---- main window -----------------------------------------------------------------------

namespace {
const QString kMainDescription = QStringLiteral(":/forms/form1.form");
}

void TForm1::Prepare() {
    RegisterAllComponents();
    PrepareDescription(kMainDescription);
}

TForm1::TForm1(TForm2* help, QWidget* parent) : TForm(parent), Form2(help) {
    RegisterAllComponents();
    RegisterHandlers();
    // Before the description: the frame's system-menu button draws it.
    setWindowIcon(ProgramIcon());
    LoadDescription(kMainDescription);
}

TForm1::~TForm1() {
    // Not a clean end (a termination request): the last changes go into
    // the recovery file, which stays for the next start to offer.
    if (autosave_) autosave_->Flush();
}

void TForm1::RegisterHandlers() {
    using namespace std::placeholders;
    RegisterHandler<TNotifyEvent>("FormCreate", [this](TComponent* s) { FormCreate(s); });
    RegisterHandler<TKeyPressEvent>("strgrdscoreKeyPress", [this](TComponent* s, QChar& k) { strgrdscoreKeyPress(s, k); });
    RegisterHandler<TSetEditEvent>("strgrdscoreSetEditText", [this](TComponent* s, int c, int r, const QString& v) {
        strgrdscoreSetEditText(s, c, r, v);
    });
    RegisterHandler<TMouseEvent>("strgrdscoreMouseDown", [this](TComponent* s, TMouseButton b, TShiftState sh, int x, int y) {
        strgrdscoreMouseDown(s, b, sh, x, y);
    });
    RegisterHandler<TPasteEvent>("strgrdscorePasteText", [this](TComponent* s, int c, int r, const QString& t, bool& h) {
        strgrdscorePasteText(s, c, r, t, h);
    });
    RegisterHandler<TKeyPressEvent>("edtgradeKeyPress", [this](TComponent* s, QChar& k) { edtgradeKeyPress(s, k); });
    RegisterHandler<TKeyPressEvent>("edttimeKeyPress", [this](TComponent* s, QChar& k) { edttimeKeyPress(s, k); });
    RegisterHandler<TKeyPressEvent>("edtclassnumberKeyPress", [this](TComponent* s, QChar& k) { edtclassnumberKeyPress(s, k); });
    RegisterHandler<TKeyPressEvent>("edtfullmarksKeyPress", [this](TComponent* s, QChar& k) { edtfullmarksKeyPress(s, k); });
    RegisterHandler<TNotifyEvent>("btnAnalyseClick", [this](TComponent* s) { btnAnalyseClick(s); });
    RegisterHandler<TNotifyEvent>("btnClearClick", [this](TComponent* s) { btnClearClick(s); });
    RegisterHandler<TNotifyEvent>("MbMakeClick", [this](TComponent* s) { MbMakeClick(s); });
    RegisterHandler<TNotifyEvent>("MbPreviewClick", [this](TComponent* s) { MbPreviewClick(s); });
    RegisterHandler<TNotifyEvent>("MbPrintClick", [this](TComponent* s) { MbPrintClick(s); });
    RegisterHandler<TNotifyEvent>("MbImportClick", [this](TComponent* s) { MbImportClick(s); });
    RegisterHandler<TNotifyEvent>("MbClassFileBeforeDropDown", [this](TComponent* s) { MbClassFileBeforeDropDown(s); });
    RegisterHandler<TNotifyEvent>("MbOpenClick", [this](TComponent* s) { MbOpenClick(s); });
    RegisterHandler<TNotifyEvent>("MbSaveClick", [this](TComponent* s) { MbSaveClick(s); });
    RegisterHandler<TNotifyEvent>("MbSaveAsClick", [this](TComponent* s) { MbSaveAsClick(s); });
    RegisterHandler<TNotifyEvent>("MbExportClick", [this](TComponent* s) { MbExportClick(s); });
    RegisterHandler<TNotifyEvent>("MbRecentRemoveMissingClick", [this](TComponent* s) { MbRecentRemoveMissingClick(s); });
    RegisterHandler<TNotifyEvent>("MbRecentClearClick", [this](TComponent* s) { MbRecentClearClick(s); });
    RegisterHandler<TNotifyEvent>("MbStatisticsClick", [this](TComponent* s) { MbStatisticsClick(s); });
    RegisterHandler<TNotifyEvent>("MbImportItemsClick", [this](TComponent* s) { MbImportItemsClick(s); });
    RegisterHandler<TNotifyEvent>("MbItemsClick", [this](TComponent* s) { MbItemsClick(s); });
    RegisterHandler<TNotifyEvent>("MbGradeClick", [this](TComponent* s) { MbGradeClick(s); });
    RegisterHandler<TNotifyEvent>("MbAlsoPdfClick", [this](TComponent* s) { MbAlsoPdfClick(s); });
    RegisterHandler<TNotifyEvent>("CustomItem1Click", [this](TComponent* s) { CustomItem1Click(s); });
}

bool TForm1::BuildsChildrenLater(const TComponent& container) const {
    auto* sheet = dynamic_cast<const TSkCustomTabSheet*>(&container);
    return sheet && sheet->PageIndex() != kScoreEntryPage;
}

void TForm1::FormCreate(TComponent*) {
    strgrdscore = Require<TFrStringGrid>(*this, "strgrdscore");
    LED = Require<TFrLEDDisplay>(*this, "LED");
    SkSkinPageControl1 = Require<TSkSkinPageControl>(*this, "SkSkinPageControl1");
    MbMake = Require<TSkSkinItem>(*this, "MbMake");
    MbPreview = Require<TSkSkinItem>(*this, "MbPreview");
    MbPrint = Require<TSkSkinItem>(*this, "MbPrint");
    MbClassFile = Require<TSkSkinItem>(*this, "MbClassFile");
    MbOpen = Require<TSkSkinItem>(*this, "MbOpen");
    MbSave = Require<TSkSkinItem>(*this, "MbSave");
    MbSaveAs = Require<TSkSkinItem>(*this, "MbSaveAs");
    MbImport = Require<TSkSkinItem>(*this, "MbImport");
    MbExport = Require<TSkSkinItem>(*this, "MbExport");
    MbRecent = Require<TSkSkinItem>(*this, "MbRecent");
    MbRecentNone = Require<TSkSkinItem>(*this, "MbRecentNone");
    MbRecentRemoveMissing = Require<TSkSkinItem>(*this, "MbRecentRemoveMissing");
    MbRecentClear = Require<TSkSkinItem>(*this, "MbRecentClear");
    for (size_t k = 0; k < MbRecentFiles.size(); ++k) {
        auto* item = new TSkSkinItem(MbRecent);
        item->SetVisible(false);
        // Through the form's handlers, so a failure is shown like any other.
        item->OnClick = [this](TComponent* s) {
            CompleteLoading();
            MbRecentFileClick(s);
        };
        MbRecent->Insert(int(k), item);
        MbRecentFiles[k] = item;
    }
    MbStatistics = Require<TSkSkinItem>(*this, "MbStatistics");
    MbImportItems = Require<TSkSkinItem>(*this, "MbImportItems");
    MbItems = Require<TSkSkinItem>(*this, "MbItems");
    MbGrade = Require<TSkSkinItem>(*this, "MbGrade");
    MbAlsoPdf = Require<TSkSkinItem>(*this, "MbAlsoPdf");
    CustomItem1 = Require<TSkSkinItem>(*this, "CustomItem1");
    btnAnalyse = Require<TSkSkinButton>(*this, "btnAnalyse");
    btnClear = Require<TSkSkinButton>(*this, "btnClear");
    SaveDialog1 = Require<TSaveDialog>(*this, "SaveDialog1");
    OpenDialog1 = Require<TOpenDialog>(*this, "OpenDialog1");
    SkSkinEngine1 = Require<TSkSkinEngine>(*this, "SkSkinEngine1");
    Report.SaveSucceeded = true;
    strgrdscore->SetCells(0, 0, QStringLiteral("成绩"));
    SkSkinPageControl1->SetActivePageIndex(kScoreEntryPage);
    LED->SetCaption(QStringLiteral("0"));
    rosterColumn_ = new TRosterColumn(strgrdscore, [this](int row) { return Student(row); });
    // The teacher types straight into the grid, as the welcome text says;
    // the page tabs come first in the focus chain and would take the keys.
    strgrdscore->setFocus();
}

void TForm1::Completed() {
    sgrdAnalyse = Require<TSkSkinStringGrid>(*this, "sgrdAnalyse");
    edtclassname = Require<TSkSkinEdit>(*this, "edtclassname");
    edtteacher = Require<TSkSkinEdit>(*this, "edtteacher");
    edtclassnumber = Require<TSkSkinEdit>(*this, "edtclassnumber");
    edtgrade = Require<TSkSkinEdit>(*this, "edtgrade");
    edttime = Require<TSkSkinEdit>(*this, "edttime");
    edtclass = Require<TSkSkinEdit>(*this, "edtclass");
    rdbtnbijuan = Require<TSkSkinRadioButton>(*this, "rdbtnbijuan");
    rdbtnkaijuan = Require<TSkSkinRadioButton>(*this, "rdbtnkaijuan");
    rdbtnpaper = Require<TSkSkinRadioButton>(*this, "rdbtnpaper");
    rdbtnother = Require<TSkSkinRadioButton>(*this, "rdbtnother");
    tmExam = Require<TFrDateTimePicker>(*this, "tmExam");
    tmBeginTime = Require<TFrDateTimePicker>(*this, "tmBeginTime");
    tmEndTime = Require<TFrDateTimePicker>(*this, "tmEndTime");
    mmadvice = Require<TFrMemo>(*this, "mmadvice");
    edtfullmarks = Require<TSkSkinEdit>(*this, "edtfullmarks");
    // Taken once the teacher has finished typing, never on the way to it
    // ("1" on the way to "150").
    connect(edtfullmarks, &QLineEdit::editingFinished, this, [this] { ApplyFullMarks(); });
    sgrdAnalyse->SetCells(0, 0, QStringLiteral("成绩分布"));
    WriteBandLabels();
    sgrdAnalyse->SetCells(0, 6, QStringLiteral("总数"));
    sgrdAnalyse->SetCells(0, 7, QStringLiteral("平均成绩"));
    sgrdAnalyse->SetCells(1, 0, QStringLiteral("人数"));
    sgrdAnalyse->SetCells(2, 0, QStringLiteral("百分比%"));
    tmExam->SetDate(QDate::currentDate());
    // What the window holds before anyone typed: nothing to lose.
    ClassData start = CurrentClass();
    start.scores.clear();
    start.roster.clear();
    Document.Began(start);
}

// ---- score entry ---------------------------------------------------------------------------

void TForm1::ShowInputError(const QString& text) {
    Dialogs::Current().Message(this, QString::fromUtf8(kInputErrorCaption), text, MsgIcon::None, MsgButtons::OK);
}

void TForm1::FilterKey(QChar& key, bool allowPoint) {
    const char16_t k = key.unicode();
    if (k == 8 || k == 9 || k == 13 || (k >= '0' && k <= '9') || (allowPoint && k == '.')) return;
    ShowInputError(QStringLiteral("请输入数字！"));
    key = QChar(0);
}

void TForm1::strgrdscoreKeyPress(TComponent*, QChar& Key) { FilterKey(Key, true); }
void TForm1::edtgradeKeyPress(TComponent*, QChar& Key) { FilterKey(Key, false); }
void TForm1::edttimeKeyPress(TComponent*, QChar& Key) { FilterKey(Key, false); }
void TForm1::edtclassnumberKeyPress(TComponent*, QChar& Key) { FilterKey(Key, false); }
void TForm1::edtfullmarksKeyPress(TComponent*, QChar& Key) { FilterKey(Key, false); }

void TForm1::strgrdscoreSetEditText(TComponent*, int ACol, int ARow, const QString& Value) {
    if (Trim(Value).isEmpty()) return;
    const double score = StrToFloat(Value);
    if (score > fullMarks_ || score < 0) {
        ShowInputError(QStringLiteral("请输入0~%1范围的分值！").arg(fullMarks_));
        strgrdscore->SetCells(ACol, ARow, QString());
    }
    RecountEntered();
}

void TForm1::strgrdscoreMouseDown(TComponent*, TMouseButton, TShiftState, int, int) { RecountEntered(); }

void TForm1::strgrdscorePasteText(TComponent*, int, int ARow, const QString& Text, bool& Handled) {
    Handled = PasteScores(*this, ARow, Text);
}

int TForm1::EnteredCount() const {
    int count = 0;
    for (int row = 1; row <= kScoreRows; ++row)
        if (!Trim(strgrdscore->Cells(0, row)).isEmpty()) ++count;
    return count;
}

void TForm1::RecountEntered() { LED->SetCaption(IntToStr(EnteredCount())); }

// ---- analysis -----------------------------------------------------------------------------------

std::vector<AnalysedScore> TForm1::ReadScores() {
    // Every filled row counts, empty rows between scores are skipped; the
    // whole grid converts before anything changes, so a bad cell leaves the
    // last results standing.
    std::vector<double> rowValues(size_t(strgrdscore->RowCount()), 0.0);
    std::vector<AnalysedScore> filled;
    for (int row = 1; row <= kScoreRows && row < strgrdscore->RowCount(); ++row) {
        const QString text = strgrdscore->Cells(0, row);
        if (Trim(text).isEmpty()) continue;
        const double v = StrToFloat(text);
        rowValues[size_t(row - 1)] = v;
        filled.push_back({row, v, Trim(text), Student(row)});
    }
    Scores = std::move(rowValues);
    return filled;
}

void TForm1::ComputeDistribution(const std::vector<AnalysedScore>& scores) {
    std::vector<double> values;
    values.reserve(scores.size());
    for (const AnalysedScore& s : scores) values.push_back(s.value);
    const BandDistribution d = ComputeBandDistribution(values, fullMarks_);
    for (int row = 1; row <= 7; ++row)
        for (int col = 1; col <= 2; ++col)
            if (col == 1 || row <= kBandCount) sgrdAnalyse->SetCells(col, row, d.Cell(col, row));
    BandCounts = d.Counts();
}

void TForm1::btnAnalyseClick(TComponent*) {
    if (strgrdscore->Cells(0, 1).isEmpty()) {
        Application().Inform(QStringLiteral("请输入成绩!"));
        return;
    }
    if (!ApplyFullMarks()) return;
    const std::vector<AnalysedScore> scores = ReadScores();
    if (scores.empty()) {
        // Only blanks in the grid: nothing to divide by.
        Application().Inform(QStringLiteral("请输入成绩!"));
        return;
    }
    // A score above the full marks (they were lowered after it was typed)
    // belongs to no band: counting it in none would be a wrong figure.
    const QStringList outside = OutOfRange();
    if (!outside.isEmpty()) {
        Dialogs::Current().Message(this, Application().Title(),
                                   QStringLiteral("以下成绩超出0~%1的范围，请修改后再进行成绩分析：\r").arg(fullMarks_) +
                                       ListedLines(outside),
                                   MsgIcon::Warning, MsgButtons::OK);
        return;
    }
    ComputeDistribution(scores);
    Analysed = scores;
    FillHistograms(*this);
    MbMake->SetEnabled(true);
    MbStatistics->SetEnabled(true);
    MbItems->SetEnabled(!Questions().IsEmpty());
    Report.PrepareOffice();
    SkSkinPageControl1->SetActivePageIndex(1);
}

// ---- reset ---------------------------------------------------------------------------------------

void TForm1::btnClearClick(TComponent*) {
    if (!MaySetClassAside()) return;
    const MsgResult answer = Dialogs::Current().Message(
        this, QStringLiteral("Confirm"),
        QStringLiteral("您确认要清空所有成绩以及分析结果吗？\r信息录入和试卷分析的内容不会改变！"), MsgIcon::Question,
        MsgButtons::OKCancel);
    if (answer != MsgResult::OK) return;
    ClearScores();
    ClearResults();
    LED->SetCaption(QStringLiteral("0"));
    // The next class starts here, in no file; the kept description is no change.
    Document.Began(CurrentClass());
    WorkChanged();
}

void TForm1::ClearResults() {
    CompleteLoading();
    for (int col = 1; col <= 2; ++col)
        for (int row = 1; row <= 7; ++row) sgrdAnalyse->SetCells(col, row, QString());
    ClearHistograms(*this);
    Analysed.clear();
    MbMake->SetEnabled(false);
    MbStatistics->SetEnabled(false);
    MbItems->SetEnabled(false);
    MbPreview->SetEnabled(false);
    MbPrint->SetEnabled(false);
    Report.EndOffice(true);
}

// ---- the class on screen ---------------------------------------------------------------------

void TForm1::ClearScores() {
    for (int row = 1; row <= kScoreRows; ++row) strgrdscore->SetCells(0, row, QString());
    roster_.clear();
    items_ = ClassItems{};
    ShowRoster();
}

void TForm1::PlaceItems(const ClassItems& items) {
    items_ = ClassItems{};
    if (items.IsEmpty()) return;
    items_.questions = items.questions;
    items_.fullMarks = items.fullMarks;
    items_.rows.assign(size_t(kScoreRows), QStringList());
    for (size_t k = 0; k < items.rows.size() && k < size_t(kScoreRows); ++k) items_.rows[k] = items.rows[k];
    WorkChanged();
}

QStringList TForm1::ItemTexts(int row) const {
    return row >= 1 && size_t(row) <= items_.rows.size() ? items_.rows[size_t(row - 1)] : QStringList();
}

ClassItems TForm1::Questions() const {
    const bool any = std::any_of(items_.rows.begin(), items_.rows.end(), [](const QStringList& r) { return !r.isEmpty(); });
    if (!any) return {};
    ClassItems out;
    out.questions = items_.questions;
    out.fullMarks = items_.fullMarks;
    return out;
}

bool TForm1::ScoresOutside(int fromRow, int lastRow) const {
    for (int row = 1; row <= kScoreRows; ++row)
        if ((row < fromRow || row > lastRow) && !Trim(strgrdscore->Cells(0, row)).isEmpty()) return true;
    return false;
}

void TForm1::PlaceScores(int fromRow, const QStringList& texts, const std::vector<ClassStudent>& students) {
    const int last = std::min(kScoreRows, fromRow + int(texts.size()) - 1);
    // Scores in place of every score there was are another class: the
    // figures of the one before must not stay beside them.
    const bool newClass = last >= fromRow && !ScoresOutside(fromRow, last);
    if (roster_.size() < size_t(kScoreRows)) roster_.resize(size_t(kScoreRows));
    for (int row = fromRow; row <= last; ++row) {
        const size_t k = size_t(row - fromRow);
        strgrdscore->SetCells(0, row, texts[qsizetype(k)]);
        roster_[size_t(row - 1)] = k < students.size() ? students[k] : ClassStudent{};
        // A total typed or pasted over is no longer the sum of its questions.
        if (size_t(row) <= items_.rows.size()) items_.rows[size_t(row - 1)].clear();
    }
    RecountEntered();
    if (newClass && !Analysed.empty()) ClearResults();
    WorkChanged();
    ShowRoster();
}

ClassStudent TForm1::Student(int row) const {
    return row >= 1 && size_t(row) <= roster_.size() ? roster_[size_t(row - 1)] : ClassStudent{};
}

ClassData TForm1::CurrentClass() {
    CompleteLoading();
    ClassData c;
    int last = 0;
    for (int row = 1; row <= kScoreRows; ++row)
        if (!strgrdscore->Cells(0, row).isEmpty() || !Student(row).IsEmpty()) last = row;
    const bool anyStudent = std::any_of(roster_.begin(), roster_.end(), [](const ClassStudent& s) { return !s.IsEmpty(); });
    const ClassItems questions = Questions();
    if (!questions.IsEmpty()) c.items = questions;
    for (int row = 1; row <= last; ++row) {
        c.scores << strgrdscore->Cells(0, row);
        if (anyStudent) c.roster.push_back(Student(row));
        if (!questions.IsEmpty()) c.items.rows.push_back(ItemTexts(row));
    }
    // Questions whose rows all lie past the last score are none the class has.
    if (std::all_of(c.items.rows.begin(), c.items.rows.end(), [](const QStringList& r) { return r.isEmpty(); }))
        c.items = ClassItems{};
    ClassInfo& i = c.info;
    i.courseName = edtclassname->Text();
    i.teacher = edtteacher->Text();
    i.courseNumber = edtclassnumber->Text();
    i.credits = edtgrade->Text();
    i.hours = edttime->Text();
    i.className = edtclass->Text();
    i.examDate = tmExam->Date();
    i.beginTime = tmBeginTime->Time();
    i.endTime = tmEndTime->Time();
    i.examMode = rdbtnbijuan->Checked()    ? ExamMode::ClosedBook
                 : rdbtnkaijuan->Checked() ? ExamMode::OpenBook
                 : rdbtnpaper->Checked()   ? ExamMode::Paper
                                           : ExamMode::Other;
    c.conclusion = mmadvice->Text();
    c.fullMarks = fullMarks_;
    return c;
}

void TForm1::ShowClass(const ClassData& data) {
    CompleteLoading();
    // Before the scores, so that they are checked against their own full marks.
    fullMarks_ = std::clamp(data.fullMarks, kMinFullMarks, kMaxFullMarks);
    edtfullmarks->SetText(QString::number(fullMarks_));
    WriteBandLabels();
    ClearScores();
    PlaceScores(1, data.scores, data.roster);
    PlaceItems(data.items);
    ClearResults();
    const ClassInfo& i = data.info;
    edtclassname->SetText(i.courseName);
    edtteacher->SetText(i.teacher);
    edtclassnumber->SetText(i.courseNumber);
    edtgrade->SetText(i.credits);
    edttime->SetText(i.hours);
    edtclass->SetText(i.className);
    // A file without a date or time leaves the picker as it is.
    if (i.examDate.isValid()) tmExam->SetDate(i.examDate);
    if (i.beginTime.isValid()) tmBeginTime->SetTime(i.beginTime);
    if (i.endTime.isValid()) tmEndTime->SetTime(i.endTime);
    TSkSkinRadioButton* mode = i.examMode == ExamMode::ClosedBook ? rdbtnbijuan
                               : i.examMode == ExamMode::OpenBook ? rdbtnkaijuan
                               : i.examMode == ExamMode::Paper    ? rdbtnpaper
                                                                  : rdbtnother;
    mode->SetChecked(true);
    mmadvice->SetText(data.conclusion);
    SkSkinPageControl1->SetActivePageIndex(kScoreEntryPage);
}

// ---- the class as a document ------------------------------------------------------------------

bool TForm1::MaySetClassAside() { return SetClassAside(*this); }

void TForm1::WorkChanged() {
    if (autosave_) autosave_->Touched();
}

void TForm1::KeepWorkSafe(const QString& recoveryRoot) {
    CompleteLoading();
    std::unique_ptr<TRecoverySlot> slot = TRecoverySlot::Claim(recoveryRoot);
    if (!slot) return;  // nowhere to keep it: the program works on without
    autosave_ = std::make_unique<TAutosave>(std::move(slot), [this]() -> std::optional<QByteArray> {
        const ClassData now = CurrentClass();
        if (!Document.Modified(now)) return std::nullopt;
        return WriteClassFile(now, Document.FileName());
    });
    OfferLeftWork(*this, autosave_->Slot());
    WorkChanged();
}

void TForm1::closeEvent(QCloseEvent* e) {
    if (!MaySetClassAside()) {
        e->ignore();
        return;
    }
    // A clean end: the work is saved, or the teacher let it go.
    if (autosave_) autosave_->Finish();
    TForm::closeEvent(e);
}

// ---- menu -----------------------------------------------------------------------------------------

void TForm1::MbMakeClick(TComponent*) { MakeReport(*this); }
void TForm1::MbPreviewClick(TComponent*) { PreviewReport(*this); }
void TForm1::MbPrintClick(TComponent*) { PrintReport(*this); }
void TForm1::MbImportClick(TComponent*) { Import(ImportScores); }
void TForm1::MbImportItemsClick(TComponent*) { Import(ImportItemScores); }
void TForm1::MbItemsClick(TComponent*) { ShowItemAnalysis(*this); }

void TForm1::Import(void (*command)(TForm1&)) {
    if (!MaySetClassAside()) return;
    const ClassData before = CurrentClass();
    command(*this);
    const ClassData after = CurrentClass();
    // An imported class is a new one: saving it never replaces the file of the class before.
    if (after.scores != before.scores || after.roster != before.roster || after.items != before.items) Document.Detach();
    WorkChanged();
}

void TForm1::MbClassFileBeforeDropDown(TComponent*) { ShowRecentFiles(*this); }
void TForm1::MbOpenClick(TComponent*) { OpenClass(*this); }
void TForm1::MbSaveClick(TComponent*) { SaveClass(*this); }
void TForm1::MbSaveAsClick(TComponent*) { SaveClassAs(*this); }
void TForm1::MbExportClick(TComponent*) { ExportScores(*this); }

void TForm1::MbRecentFileClick(TComponent* Sender) {
    if (auto* item = dynamic_cast<TSkCustomItem*>(Sender)) OpenRecentFile(*this, item->Hint());
}

void TForm1::MbRecentRemoveMissingClick(TComponent*) {
    Recent.RemoveMissing();
    ShowRecentFiles(*this);
}

void TForm1::MbRecentClearClick(TComponent*) {
    Recent.Clear();
    ShowRecentFiles(*this);
}

void TForm1::MbStatisticsClick(TComponent*) {
    if (Analysed.empty()) return;
    std::vector<double> values;
    for (const AnalysedScore& s : Analysed) values.push_back(s.value);
    const ExamStatistics figures = ComputeStatistics(values, fullMarks_);
    TStatisticsDialog dialog(figures, ListStudents(Analysed, fullMarks_), this);
    if (dialog.exec() != QDialog::Accepted || !dialog.WriteRequested()) return;
    WriteConclusionSentence(ConclusionSentence(figures));
    SkSkinPageControl1->SetActivePageIndex(3);
}

void TForm1::MbGradeClick(TComponent*) { ShowGradeWindow(*this); }

void TForm1::MbAlsoPdfClick(TComponent*) {
    Report.AlsoPdf = !Report.AlsoPdf;
    MbAlsoPdf->SetChecked(Report.AlsoPdf);
}

void TForm1::WriteConclusionSentence(const QString& sentence) {
    WriteConclusionLine(sentence, PlaceConclusionSentence(mmadvice->toPlainText()));
}

void TForm1::WriteConclusionLine(const QString& sentence, const SentencePlace& place) {
    // One step of the memo's undo, so Ctrl+Z takes the whole sentence back.
    QTextCursor cursor(mmadvice->document());
    cursor.beginEditBlock();
    cursor.setPosition(int(place.start));
    cursor.setPosition(int(place.start + place.length), QTextCursor::KeepAnchor);
    if (place.newLine) cursor.insertBlock();
    cursor.insertText(sentence);
    cursor.endEditBlock();
}

// ---- full marks -------------------------------------------------------------------------------

void TForm1::WriteBandLabels() {
    if (!sgrdAnalyse) return;
    for (int b = 0; b < kBandCount; ++b) sgrdAnalyse->SetCells(0, b + 1, BandLabel(GradeBand(b), fullMarks_));
}

QStringList TForm1::OutOfRange() const {
    QStringList lines;
    for (int row = 1; row <= kScoreRows; ++row) {
        const QString text = Trim(strgrdscore->Cells(0, row));
        double v = 0;
        if (text.isEmpty() || !TryStrToFloat(text, v) || BandOf(v, fullMarks_) >= 0) continue;
        lines << QStringLiteral("第%1行：%2").arg(row).arg(text) + StudentSuffix(Student(row));
    }
    return lines;
}

bool TForm1::ApplyFullMarks() {
    if (!edtfullmarks || applyingFullMarks_) return true;
    applyingFullMarks_ = true;
    const auto done = qScopeGuard([this] { applyingFullMarks_ = false; });
    const QString text = Trim(edtfullmarks->Text());
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < kMinFullMarks || value > kMaxFullMarks) {
        ShowInputError(QStringLiteral("请输入%1~%2范围的满分！").arg(kMinFullMarks).arg(kMaxFullMarks));
        edtfullmarks->SetText(QString::number(fullMarks_));
        return false;
    }
    if (edtfullmarks->Text() != QString::number(value)) edtfullmarks->SetText(QString::number(value));
    if (value == fullMarks_) return true;
    const int before = fullMarks_;
    const bool hadResults = !Analysed.empty();
    fullMarks_ = value;
    WriteBandLabels();
    // Figures banded against the old full marks must not stay on screen or reach a report.
    if (hadResults) ClearResults();
    const QStringList outside = OutOfRange();
    if (outside.isEmpty() && !hadResults) return true;
    QString message = QStringLiteral("满分已改为%1。").arg(value);
    if (!outside.isEmpty())
        message += QStringLiteral("\r以下成绩超出0~%1的范围，请修改：\r").arg(value) + ListedLines(outside);
    if (hadResults)
        message += QStringLiteral("\r\r原来的分析结果是按满分%1计算的，已经清除，请重新进行成绩分析。").arg(before);
    Dialogs::Current().Message(this, Application().Title(), message, outside.isEmpty() ? MsgIcon::Information : MsgIcon::Warning,
                               MsgButtons::OK);
    return true;
}

void TForm1::ShowRoster() {
    if (!rosterColumn_) return;
    const bool shown =
        std::any_of(roster_.begin(), roster_.end(), [](const ClassStudent& s) { return !s.IsEmpty(); });
    if (shown == rosterColumn_->Shown()) return;
    rosterColumn_->SetShown(shown);
    // The names take the room of the welcome text; the counter and the two
    // buttons move right of them, and back when the roster goes.
    struct Place { const char* name; QRect roster; };
    static const Place kPlaces[] = {{"FrLabel2", {180, 126, 84, 17}}, {"LED", {264, 120, 38, 24}},
                                    {"FrLabel3", {304, 126, 25, 25}}, {"btnAnalyse", {180, 184, 80, 41}},
                                    {"btnClear", {265, 184, 80, 41}}};
    for (const Place& p : kPlaces) {
        auto* w = dynamic_cast<QWidget*>(FindComponent(QString::fromLatin1(p.name)));
        if (!w) continue;
        if (!scorePage_.contains(p.name)) scorePage_.insert(p.name, w->geometry());
        w->setGeometry(shown ? p.roster : scorePage_.value(p.name));
    }
    if (auto* welcome = dynamic_cast<QWidget*>(FindComponent(QStringLiteral("FrLabel4")))) welcome->setVisible(!shown);
}

void TForm1::CustomItem1Click(TComponent*) {
    HelpWindow()->ShowModal();
}

// ---- help window ----------------------------------------------------------------------------------

TForm2* TForm1::HelpWindow() {
    if (!Form2) {
        ownHelp_ = std::make_unique<TForm2>();
        Form2 = ownHelp_.get();
    }
    return Form2;
}

TForm2::TForm2(QWidget* parent) : TForm(parent) {
    RegisterAllComponents();
    LoadDescription(QStringLiteral(":/forms/form2.form"));
    FrLabel4 = dynamic_cast<TFrLabel*>(FindComponent(QStringLiteral("FrLabel4")));
}
