// What a teacher does, through the real main window: type the scores, analyse,
// describe the course, write a conclusion, make the report; then the office
// reads the produced document back.
#include "office_env.h"
#include "scripted_dialogs.h"

#include "application.h"
#include "date_time_picker.h"
#include "framed_grid.h"
#include "main_window.h"
#include "memo.h"
#include "office_process.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace {

class Teacher : public ::testing::Test {
protected:
    void SetUp() override {
        Application().SetTitle(QStringLiteral("Markwise2006版"));
        help = std::make_unique<TForm2>();
        form = std::make_unique<TForm1>(help.get());
        Application().SetMainForm(form.get());
        form->show();
        form->CompleteLoading();  // as the program does once the window is up
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override {
        Application().SetMainForm(nullptr);
        form.reset();
        help.reset();
    }
    void Keys(const QString& text) {
        for (QChar c : text) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            if (c == '\t') QTest::keyClick(target, Qt::Key_Tab);
            else QTest::keyClick(target, c.toLatin1());
        }
    }
    // Chinese arrives through the input method, as it does from a real one.
    void Compose(QWidget* w, const QString& text) {
        w->setFocus();
        QInputMethodEvent e;
        e.setCommitString(text);
        QApplication::sendEvent(w, &e);
    }
    void TypeInto(QWidget* w, const QString& digits) {
        w->setFocus();
        Keys(digits);
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<TForm2> help;
    std::unique_ptr<TForm1> form;
};

TEST_F(Teacher, MakesTheReportAndTheOfficeReadsEveryCellBack) {
    form->SkSkinPageControl1->SetActivePageIndex(4);
    form->strgrdscore->setFocus();
    Keys("95\t89.5\t72\t60\t59.4\t100\t");
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    ASSERT_TRUE(form->MbMake->Enabled());
    EXPECT_FALSE(form->MbPreview->Enabled());

    form->SkSkinPageControl1->SetActivePageIndex(0);
    Compose(form->edtclassname, QStringLiteral("  高等数学 "));
    Compose(form->edtteacher, QStringLiteral("王晓明"));
    Compose(form->edtclass, QStringLiteral("数学0601班"));
    TypeInto(form->edtgrade, "3");
    TypeInto(form->edttime, "48");
    TypeInto(form->edtclassnumber, "070112");
    form->rdbtnkaijuan->click();
    ASSERT_TRUE(form->rdbtnkaijuan->Checked());
    form->tmExam->setDate(QDate(2006, 2, 18));
    form->tmBeginTime->setTime(QTime(8, 5));
    form->tmEndTime->setTime(QTime(9, 30));

    Compose(form->mmadvice, QStringLiteral("函数极限部分错误率较高。"));
    QTest::keyClick(form->mmadvice, Qt::Key_Return);
    Compose(form->mmadvice, QStringLiteral("原因：概念理解不透。"));
    QTest::keyClick(form->mmadvice, Qt::Key_Return);
    Compose(form->mmadvice, QStringLiteral("建议加强练习。"));

    const QString chosen = testoffice::Path("高数分析");
    dialogs.saveAnswers = {chosen};
    form->MbMake->Click();
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, "Word文档(*.doc)|*.doc");
    EXPECT_TRUE(dialogs.saveRequests[0].overwritePrompt);
    EXPECT_EQ(dialogs.Texts(), QStringList{QStringLiteral("试卷分析保存成功！")});
    EXPECT_EQ(dialogs.messages.back().caption, QStringLiteral("Markwise2006版"));
    EXPECT_TRUE(form->MbPreview->Enabled());
    EXPECT_TRUE(form->MbPrint->Enabled());
    const QString report = chosen + ".doc";
    EXPECT_EQ(form->Report.ReportFileName, report);

    {
        TWordApplication app;
        app.Documents().Open(report, EmptyParam, true);
        TWordDocument doc;
        doc.ConnectTo(app.Documents().Item(1));
        WordTables tables = doc.Tables();
        ASSERT_EQ(tables.Count(), 4);
        const QStringList info{"高等数学", "王晓明", "070112", "3/48", "数学0601班",
                               "□ 闭卷     √ 开卷     □ 论文     □ 其他", "06-2-18 8:5-9:30"};
        WordCells t1 = tables.Item(1).Range().Cells();
        ASSERT_EQ(t1.Count(), 14);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(t1.Item(2 * i + 2).Range().Text(), info[i]) << "cell " << 2 * i + 2;
        WordCells t2 = tables.Item(2).Range().Cells();
        ASSERT_EQ(t2.Count(), 23);
        const QStringList counts{"3", "0", "1", "1", "1"}, shares{"50.00", "0.00", "16.67", "16.67", "16.66"};
        for (int row = 1; row <= 5; ++row) {
            EXPECT_EQ(t2.Item(3 * row + 2).Range().Text(), counts[row - 1]);
            EXPECT_EQ(t2.Item(3 * row + 3).Range().Text(), shares[row - 1]);
        }
        EXPECT_EQ(t2.Item(20).Range().Text(), "6");
        EXPECT_EQ(t2.Item(23).Range().Text(), "79.32");
        EXPECT_EQ(tables.Item(3).Range().Pictures(), (QList<QSize>{QSize(393, 313)}));
        EXPECT_EQ(tables.Item(4).Range().Cells().Item(1).Range().Text(),
                  QStringLiteral("函数极限部分错误率较高。\n原因：概念理解不透。\n建议加强练习。"));
        app.Quit();
    }

    // The report gone: preview reports the error and stays available.
    ASSERT_TRUE(QFile::remove(report));
    dialogs.messages.clear();
    form->MbPreview->Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
    EXPECT_TRUE(form->MbPreview->Enabled());
}

// The office comes up with the analysis, serves the commands that follow,
// and never outlives its use: a reset or the end of the program ends it.
TEST_F(Teacher, TheOfficeWarmsWithTheAnalysisAndEndsWithTheWindow) {
    const QString profile = TWordApplication::Settings().userInstallation;
    {
        // A profile's very first start may hand itself over to a second
        // process; the teacher's profile has long been set up.
        TWordApplication first;
        first.Connect();
        first.Quit();
    }
    ASSERT_TRUE(testoffice::OfficesOn(profile).isEmpty());
    auto analyse = [&] {
        form->strgrdscore->SetCells(0, 1, "88");
        QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    };
    analyse();
    EXPECT_FALSE(testoffice::OfficesOn(profile).isEmpty()) << "no office was started in the background";
    // The teacher describes the course meanwhile; the office comes up.
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
            TWordApplication probe;
            return probe.Attach();
        },
        90000))
        << "the office started in the background never answered";
    const QList<int> warm = testoffice::OfficesOn(profile);
    ASSERT_FALSE(warm.isEmpty());
    const pid_t group = office::Process::Instance().Pid();
    ASSERT_GT(group, 0);

    dialogs.saveAnswers = {testoffice::Path("warm")};
    form->MbMake->Click();
    EXPECT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    // Made in the warm office: it is still the one of this copy, none was started beside it.
    EXPECT_EQ(office::Process::Instance().Pid(), group) << "the report was not made in the warm office";
    for (int pid : warm) EXPECT_TRUE(testoffice::Alive(pid)) << "the warm office ended with the report";
    for (int pid : testoffice::OfficesOn(profile)) EXPECT_TRUE(warm.contains(pid)) << "another office came up: " << pid;

    // An office that died in the meantime is started again by the command.
    for (int pid : warm) kill(pid, SIGKILL);
    for (int pid : warm) EXPECT_TRUE(QTest::qWaitFor([pid] { return !testoffice::Alive(pid); }, 10000));
    dialogs.messages.clear();
    dialogs.saveAnswers = {testoffice::Path("warm")};
    form->MbMake->Click();
    EXPECT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    const QList<int> again = testoffice::OfficesOn(profile);
    EXPECT_FALSE(again.isEmpty());
    for (int pid : warm) EXPECT_FALSE(again.contains(pid));

    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    dialogs.answers = {MsgResult::OK};
    QTest::mouseClick(form->btnClear, Qt::LeftButton);
    EXPECT_TRUE(testoffice::OfficesOn(profile).isEmpty()) << "the reset left the office running";

    analyse();
    EXPECT_FALSE(testoffice::OfficesOn(profile).isEmpty());
    form.reset();
    EXPECT_TRUE(testoffice::OfficesOn(profile).isEmpty()) << "the office outlived the window";
}

// The help text's own road: make, preview, change something, make again
// under the same name while the preview still shows the first report.
TEST_F(Teacher, RemakesTheReportUnderTheNameOpenInPreview) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "the preview window needs a display";
    auto analyse = [&](const QStringList& scores) {
        for (int row = 1; row <= 299; ++row) form->strgrdscore->SetCells(0, row, row <= scores.size() ? scores[row - 1] : "");
        QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    };
    // A Latin name: the window title is looked up through xwininfo.
    const QString chosen = testoffice::Path("second-class");
    const QString report = chosen + ".doc";
    analyse({"95", "85"});
    dialogs.saveAnswers = {chosen};
    form->MbMake->Click();
    ASSERT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    form->MbPreview->Click();
    ASSERT_TRUE(testoffice::WaitForWindow(QStringLiteral("second-class.doc"))) << "no preview window";

    analyse({"95", "85", "75", "65", "55"});
    dialogs.messages.clear();
    dialogs.saveAnswers = {chosen};
    form->MbMake->Click();
    EXPECT_EQ(dialogs.Texts(), QStringList{reporttext::kSaved});
    EXPECT_TRUE(testoffice::WaitForWindow(QStringLiteral("second-class.doc"), false)) << "the old report is still shown";

    // The new report is the one at that name, and the preview shows it.
    dialogs.messages.clear();
    form->MbPreview->Click();
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join(' ').toStdString();
    ASSERT_TRUE(testoffice::WaitForWindow(QStringLiteral("second-class.doc")));
    TWordApplication app;
    ASSERT_TRUE(app.Attach());
    bool found = false;
    for (int i = 1; i <= app.Documents().Count(); ++i) {
        WordDocument d = app.Documents().Item(i);
        if (d.FullName() != report) continue;
        found = true;
        TWordDocument doc;
        doc.ConnectTo(d);
        WordCells grades = doc.Tables().Item(2).Range().Cells();
        EXPECT_EQ(grades.Item(20).Range().Text(), "5");
        EXPECT_EQ(grades.Item(17).Range().Text(), "1");
    }
    EXPECT_TRUE(found);
    app.Quit();
}

}  // namespace
