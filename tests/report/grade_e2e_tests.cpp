// A whole grade through the real window and the real office: workbooks the
// office saved, every report in one go checked cell for cell against the
// single-class command, a read-only report, 取消 in the middle, PDFs read
// back, and the comparison report's tables.
#include "app_fixture.h"
#include "office_env.h"
#include "sheet_files.h"

#include "grade_reports.h"
#include "grade_window.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class GradeReports : public AppTest {
protected:
    void SetUp() override {
        const QString program = TWordApplication::Settings().program;
        AppTest::SetUp();
        TWordApplication::Settings().program = program;
    }
    TGradeWindow* Window() {
        form->MbGrade->Click();
        return form->findChild<TGradeWindow*>();
    }
    static ClassData Class(const QString& name, const QStringList& scores, const QString& conclusion) {
        ClassData c;
        c.scores = scores;
        c.info.courseName = QStringLiteral("高等数学");
        c.info.teacher = QStringLiteral("王老师");
        c.info.courseNumber = QStringLiteral("0301");
        c.info.credits = QStringLiteral("4");
        c.info.hours = QStringLiteral("64");
        c.info.className = name;
        c.info.examDate = QDate(2026, 1, 8);
        c.info.beginTime = QTime(8, 30);
        c.info.endTime = QTime(10, 30);
        c.info.examMode = ExamMode::OpenBook;
        c.conclusion = conclusion;
        return c;
    }
    // Every table's cells of a document, "t.k: text", and its pictures' sizes.
    static QStringList Cells(const QString& doc) {
        TWordApplication app;
        app.Documents().Open(doc, EmptyParam, true);
        TWordDocument d;
        d.ConnectTo(app.Documents().Item(1));
        QStringList out;
        WordTables tables = d.Tables();
        for (int t = 1; t <= tables.Count(); ++t) {
            WordCells cells = tables.Item(t).Range().Cells();
            for (int k = 1; k <= cells.Count(); ++k) {
                WordRange r = cells.Item(k).Range();
                QString text = QStringLiteral("%1.%2: %3").arg(t).arg(k).arg(r.Text());
                for (const QSize& s : r.Pictures()) text += QStringLiteral(" [picture %1x%2]").arg(s.width()).arg(s.height());
                out << text;
            }
        }
        d.Close();
        app.Quit();
        return out;
    }
    static QString Folder(const QString& name) {
        const QString path = testoffice::Path(name);
        QDir().mkpath(path);
        return path;
    }
    static QString PdfText(const QString& pdf) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    static QString Shots() { return qEnvironmentVariable("MARKWISE_SHOT_DIR"); }
};

TEST_F(GradeReports, AWorkbookOfThreeSheetsAndOneWithAClassColumnComeIn) {
    const QString sheets = sheetfiles::ConvertText(
        QStringLiteral("三个班"),
        sheetfiles::SheetsXml({
            {QStringLiteral("高一(1)班"), {{"学号", "姓名", "成绩"}, {"1", "甲", "95"}, {"2", "乙", "81"}, {"3", "丙", "58"}}},
            {QStringLiteral("高一(2)班"), {{"姓名", "成绩"}, {"丁", "72"}, {"戊", "66"}}},
            {QStringLiteral("高一(3)班"), {{"姓名", "成绩"}, {"己", "88"}, {"庚", "105"}, {"辛", "90"}, {"壬", "61"}}},
        }),
        "fods", "xlsx");
    ASSERT_FALSE(sheets.isEmpty());
    TGradeWindow* w = Window();
    ASSERT_NE(w, nullptr);
    dialogs.openAnswers = {sheets};
    dialogs.answers = {MsgResult::OK};  // the teacher confirms the split
    w->ImportButton()->click();
    ASSERT_FALSE(dialogs.messages.empty());
    const QString asked = dialogs.messages.back().text;
    EXPECT_TRUE(asked.contains(QStringLiteral("有3个班级（每个工作表是一个班级）"))) << asked.toStdString();
    EXPECT_TRUE(asked.contains(QStringLiteral("高一(3)班：3个成绩（另有1行")));  // 105 is beyond the full marks
    ASSERT_EQ(w->Grade().Count(), 3);
    EXPECT_EQ(w->Grade().At(0).name, QStringLiteral("高一(1)班"));
    EXPECT_EQ(w->Grade().At(0).data.roster.size(), 3u);
    EXPECT_EQ(w->Grade().At(0).data.roster[2].name, QStringLiteral("丙"));
    EXPECT_EQ(w->Grade().At(2).scores, (std::vector<double>{88, 90, 61}));
    // The description on the information tab is the one they share.
    EXPECT_EQ(w->Grade().At(1).data.info.className, QStringLiteral("高一(2)班"));
    if (!Shots().isEmpty()) {
        w->resize(1000, 700);
        w->grab().save(Shots() + "/grade_window_three_sheets.png");
    }

    // Every report in one go, into a folder the teacher picks, each read back.
    const QString folder = Folder("three");
    dialogs.folderAnswers = {folder};
    w->MakeAllButton()->click();
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("生成4份，失败0份，跳过0份")))
        << dialogs.messages.back().text.toStdString();
    for (const QString& name : {QStringLiteral("高一(1)班"), QStringLiteral("高一(2)班"), QStringLiteral("高一(3)班")}) {
        const QString text = Cells(folder + "/" + name + ".doc").join('\n');
        EXPECT_TRUE(text.contains("1.10: " + name)) << text.toStdString();
    }
    EXPECT_TRUE(Cells(folder + "/" + kComparisonReportName).contains(QStringLiteral("1.25: 高一(2)班")));

    const QString column = sheetfiles::Convert(
        QStringLiteral("分班"), QStringLiteral("姓名,班级,成绩\n子,四班,91\n丑,五班,62\n寅,四班,77\n卯,,80\n"), "xlsx");
    ASSERT_FALSE(column.isEmpty());
    dialogs.openAnswers = {column};
    dialogs.answers = {MsgResult::OK};
    w->ImportButton()->click();
    const QString split = dialogs.messages.back().text;
    EXPECT_TRUE(split.contains(QStringLiteral("按“班级”列分班"))) << split.toStdString();
    EXPECT_TRUE(split.contains(QStringLiteral("另有1行没有填写班级")));
    ASSERT_EQ(w->Grade().Count(), 5);
    EXPECT_EQ(w->Grade().At(3).name, QStringLiteral("四班"));
    EXPECT_EQ(w->Grade().At(3).scores, (std::vector<double>{91, 77}));
    EXPECT_EQ(w->Grade().At(4).scores, (std::vector<double>{62}));

    // Said no to: the grade stays as it was.
    dialogs.openAnswers = {column};
    dialogs.answers = {MsgResult::Cancel};
    w->ImportButton()->click();
    EXPECT_EQ(w->Grade().Count(), 5);
    EXPECT_EQ(w->Table()->rowCount(), 6);
    if (!Shots().isEmpty()) {
        w->resize(1000, 700);
        w->grab().save(Shots() + "/grade_window_five_classes.png");
    }
}

TEST_F(GradeReports, EveryReportIsTheSingleClassReportCellForCell) {
    TGradeWindow* w = Window();
    ASSERT_NE(w, nullptr);
    const ClassData classes[] = {
        Class(QStringLiteral("一班"), {"95", "89.5", "72", "60", "59.4", "100"}, QStringLiteral("一班总体不错。\r\n继续努力。")),
        Class(QStringLiteral("二班"), {"66", "", "70.5", "81"}, QStringLiteral("二班中等。")),
        Class(QStringLiteral("三/班"), {"45", "91", "93"}, QString()),
    };
    for (const ClassData& c : classes) w->Grade().Add(c.info.className, c);
    w->Refresh();
    const QString folder = Folder("batch");
    const BatchOutcome outcome = MakeReportsInto(*w, folder);
    EXPECT_EQ(outcome.made, (QStringList{"一班", "二班", "三/班", kComparisonReportName})) << dialogs.Texts().join("|").toStdString();
    EXPECT_TRUE(outcome.failed.empty());
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("生成4份，失败0份，跳过0份")));
    EXPECT_TRUE(QFile::exists(folder + "/三_班.doc"));

    // The same classes one at a time through the window's own command.
    for (const ClassData& c : classes) {
        form->ShowClass(c);
        QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
        const QString single = testoffice::Path("single_" + SafeFileName(c.info.className));
        dialogs.saveAnswers = {single};
        form->MbMake->Click();
        ASSERT_EQ(dialogs.Texts().back(), QStringLiteral("试卷分析保存成功！"));
        const QStringList expected = Cells(single + ".doc");
        const QStringList batch = Cells(folder + "/" + SafeFileName(c.info.className) + ".doc");
        EXPECT_EQ(batch, expected) << c.info.className.toStdString();
        EXPECT_TRUE(batch.join('\n').contains(c.info.className));
        EXPECT_TRUE(batch.join('\n').contains(QStringLiteral("[picture")));
    }

    // The comparison report: the measures, then the bands, then the chart.
    const QStringList comparison = Cells(folder + "/" + kComparisonReportName);
    const QString all = comparison.join('\n');
    EXPECT_TRUE(comparison.contains(QStringLiteral("1.1: 班级")));
    EXPECT_TRUE(comparison.contains(QStringLiteral("1.3: 平均分")));
    EXPECT_TRUE(comparison.contains(QStringLiteral("1.13: 一班")));   // the first class row, 12 columns
    EXPECT_TRUE(comparison.contains(QStringLiteral("1.15: 79.32")));  // 一班's mean
    EXPECT_TRUE(comparison.contains(QStringLiteral("1.49: 全年级")));
    EXPECT_TRUE(all.contains(QStringLiteral("2.2: 优")));
    EXPECT_TRUE(all.contains(QStringLiteral("3.1:  [picture 640x360]")) || all.contains(QStringLiteral("3.1: [picture 640x360]")))
        << all.toStdString();
}

TEST_F(GradeReports, AReadOnlyReportFailsAloneAndKeepsItsBytes) {
    TGradeWindow* w = Window();
    ASSERT_NE(w, nullptr);
    w->Grade().Add("一班", Class("一班", {"90", "80"}, QString()));
    w->Grade().Add("二班", Class("二班", {"70"}, QString()));
    w->Grade().Add("三班", Class("三班", {"60", "50"}, QString()));
    w->Refresh();
    const QString folder = Folder("readonly");
    const QString kept = folder + "/二班.doc";
    testoffice::WriteFile(kept, "the report of last term");
    QFile::setPermissions(kept, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    dialogs.answers = {MsgResult::Yes};  // replace what is there
    const BatchOutcome outcome = MakeReportsInto(*w, folder);
    EXPECT_TRUE(dialogs.messages.front().text.contains(QStringLiteral("二班.doc")));
    EXPECT_EQ(outcome.made, (QStringList{"一班", "三班", kComparisonReportName}));
    ASSERT_EQ(outcome.failed.size(), 1u);
    EXPECT_EQ(outcome.failed[0].first, QStringLiteral("二班"));
    EXPECT_TRUE(outcome.failed[0].second.contains(QStringLiteral("只读")));
    EXPECT_EQ(testoffice::Bytes(kept), QByteArray("the report of last term"));
    const QString summary = dialogs.messages.back().text;
    EXPECT_TRUE(summary.contains(QStringLiteral("生成3份，失败1份，跳过0份"))) << summary.toStdString();
    EXPECT_EQ(dialogs.messages.back().icon, MsgIcon::Warning);
    EXPECT_TRUE(QFile::exists(folder + "/一班.doc"));
    EXPECT_TRUE(QFile::exists(folder + "/三班.doc"));
    // Nothing of the drafts stays behind.
    for (const QString& entry : testoffice::Listing(folder)) EXPECT_FALSE(entry.startsWith('.')) << entry.toStdString();

    // Said no to replacing: the classes whose files are there are skipped.
    dialogs.answers = {MsgResult::No};
    const QByteArray before = testoffice::Bytes(folder + "/一班.doc");
    const BatchOutcome again = MakeReportsInto(*w, folder);
    EXPECT_TRUE(again.made.isEmpty());
    EXPECT_EQ(again.skipped.size(), 4);
    EXPECT_EQ(testoffice::Bytes(folder + "/一班.doc"), before);
}

TEST_F(GradeReports, CancelStopsOnceTheClassInHandIsDone) {
    TGradeWindow* w = Window();
    ASSERT_NE(w, nullptr);
    for (int k = 1; k <= 5; ++k) w->Grade().Add(QStringLiteral("%1班").arg(k), Class(QStringLiteral("%1班").arg(k), {"90", "70"}, QString()));
    w->Refresh();
    // 取消 as soon as the first report is done; the window answers while the batch runs.
    QTimer poll;
    bool painted = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* progress = w->findChild<QDialog*>(QStringLiteral("batchProgress"));
        if (!progress || !progress->isVisible()) return;
        auto* bar = progress->findChild<QProgressBar*>(QStringLiteral("batchBar"));
        if (bar && bar->value() >= 1) {
            painted = !progress->grab().isNull();
            progress->findChild<QPushButton*>(QStringLiteral("cancelBatch"))->click();
            poll.stop();
        }
    });
    poll.start(5);
    const QString folder = Folder("cancelled");
    const BatchOutcome outcome = MakeReportsInto(*w, folder);
    EXPECT_TRUE(painted);
    EXPECT_TRUE(outcome.cancelled);
    ASSERT_GE(outcome.made.size(), 1);
    EXPECT_LE(outcome.made.size(), 2);  // the first, and the one in hand at 取消
    EXPECT_EQ(outcome.made.size() + outcome.skipped.size(), 6);
    EXPECT_TRUE(outcome.skipped.contains(kComparisonReportName));
    for (const QString& name : outcome.skipped) EXPECT_FALSE(QFile::exists(folder + "/" + name + ".doc")) << name.toStdString();
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("已取消"))) << dialogs.messages.back().text.toStdString();
}

// The Enter that closed the folder dialog reaches the progress window: it must not stop the batch.
TEST_F(GradeReports, EnterDuringTheBatchDoesNotStopIt) {
    TGradeWindow* w = Window();
    ASSERT_NE(w, nullptr);
    for (int k = 1; k <= 3; ++k) w->Grade().Add(QStringLiteral("%1班").arg(k), Class(QStringLiteral("%1班").arg(k), {"80"}, QString()));
    w->Refresh();
    QTimer poll;
    int pressed = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* progress = w->findChild<QDialog*>(QStringLiteral("batchProgress"));
        if (!progress || !progress->isVisible() || pressed >= 3) return;
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : progress, Qt::Key_Return);
        ++pressed;
    });
    poll.start(5);
    const BatchOutcome outcome = MakeReportsInto(*w, Folder("enter"));
    EXPECT_GT(pressed, 0);
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(outcome.made.size(), 4);
}

TEST_F(GradeReports, APdfBesideEveryReportHoldsItsClassTexts) {
    TGradeWindow* w = Window();
    ASSERT_NE(w, nullptr);
    w->Grade().Add("甲班", Class("甲班", {"90", "80", "55"}, QStringLiteral("甲班的结论")));
    w->Grade().Add("乙班", Class("乙班", {"70"}, QString()));
    w->Refresh();
    w->PdfBox()->setChecked(true);
    const QString folder = Folder("pdf");
    const BatchOutcome outcome = MakeReportsInto(*w, folder);
    EXPECT_EQ(outcome.made.size(), 3) << dialogs.Texts().join("|").toStdString();
    const QString first = PdfText(folder + "/甲班.pdf");
    EXPECT_TRUE(first.contains(QStringLiteral("甲班"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("高等数学")));
    EXPECT_TRUE(first.contains(QStringLiteral("甲班的结论")));
    EXPECT_TRUE(first.contains(QStringLiteral("75.00")));  // the average
    EXPECT_TRUE(PdfText(folder + "/乙班.pdf").contains(QStringLiteral("乙班")));
    const QString whole = PdfText(folder + "/年级对比报告.pdf");
    EXPECT_TRUE(whole.contains(QStringLiteral("全年级")));
    EXPECT_TRUE(QFile::exists(folder + "/甲班.doc"));
    // Without the box ticked, no PDF is made.
    w->PdfBox()->setChecked(false);
    const QString plain = Folder("nopdf");
    MakeReportsInto(*w, plain);
    EXPECT_FALSE(QFile::exists(plain + "/甲班.pdf"));
    EXPECT_TRUE(QFile::exists(plain + "/甲班.doc"));

    // The single-class command too, once the menu says so; and no longer after.
    form->MbAlsoPdf->Click();
    EXPECT_TRUE(form->MbAlsoPdf->Checked());
    form->ShowClass(Class(QStringLiteral("丙班"), {"88", "61"}, QString()));
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    const QString single = testoffice::Path("单班");
    dialogs.saveAnswers = {single};
    form->MbMake->Click();
    EXPECT_EQ(dialogs.Texts().back(), QStringLiteral("试卷分析保存成功！"));
    const QString text = PdfText(single + ".pdf");
    EXPECT_TRUE(text.contains(QStringLiteral("丙班")) && text.contains(QStringLiteral("74.50"))) << text.toStdString();
    form->MbAlsoPdf->Click();
    EXPECT_FALSE(form->MbAlsoPdf->Checked());
    const QString second = testoffice::Path("单班二");
    dialogs.saveAnswers = {second};
    form->MbMake->Click();
    EXPECT_TRUE(QFile::exists(second + ".doc"));
    EXPECT_FALSE(QFile::exists(second + ".pdf"));
}

}  // namespace
