// The class file through the window: 成绩单's commands and their keys, the
// question before unsaved work would go, recent files, the export, and a new
// class never showing the figures of the one before.
#include "app_fixture.h"
#include "qt_stream.h"

#include "class_commands.h"
#include "class_file.h"
#include "date_time_picker.h"
#include "framed_grid.h"
#include "led_display.h"
#include "memo.h"
#include "score_export.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class ClassFiles : public AppTest {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    static QByteArray Bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The description and the conclusion of a class, as a teacher fills them in.
    void Describe() {
        form->edtclassname->SetText(QStringLiteral("大学物理"));
        form->edtteacher->SetText(QStringLiteral("王老师"));
        form->edtclass->SetText(QStringLiteral("高一(3)班"));
        form->edtgrade->SetText("3");
        form->edttime->SetText("48");
        form->edtclassnumber->SetText("1024");
        form->rdbtnkaijuan->SetChecked(true);
        form->tmExam->SetDate(QDate(2026, 6, 18));
        form->tmBeginTime->SetTime(QTime(8, 30));
        form->tmEndTime->SetTime(QTime(10, 0));
        form->mmadvice->SetText(QStringLiteral("电磁学错误率较高。\r\n下学期加强练习。"));
    }
    QStringList Results() const {
        QStringList out;
        for (int col = 1; col <= 2; ++col)
            for (int row = 1; row <= 7; ++row) out << Result(col, row);
        return out;
    }
    // Keys sent where a person's keys go, then the posted click performed.
    void Shortcut(Qt::Key key) {
        Key(key, Qt::ControlModifier);
        QApplication::processEvents();
    }
    void Analyse() { QTest::mouseClick(form->btnAnalyse, Qt::LeftButton); }
    QString SaveAs(const QString& name) {
        dialogs.saveAnswers.push_back(Path(name));
        form->MbSaveAs->Click();
        return Path(name + ".mwclass");
    }
    QTemporaryDir dir;
};

TEST_F(ClassFiles, TypedSavedAndOpenedInAFreshWindowGivesTheSameAnalysis) {
    FocusScoreGrid();
    ClickCell(1);
    Type("95\t89.5\t72\t60\t59.4\t100\t");
    Describe();
    Analyse();
    const QStringList analysed = Results();
    ASSERT_EQ(analysed[5], "6");

    // Ctrl+S from the grid: never saved, so it asks where.
    FocusScoreGrid();
    dialogs.saveAnswers = {Path("高一3班")};
    Shortcut(Qt::Key_S);
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, kClassFileFilter);
    EXPECT_EQ(QFileInfo(dialogs.saveRequests[0].fileName).fileName(), QStringLiteral("高一(3)班.mwclass"));
    const QString file = Path("高一3班.mwclass");
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|');
    EXPECT_EQ(form->Document.FileName(), file);
    EXPECT_FALSE(form->Document.Modified(form->CurrentClass()));

    // A later change goes to the same file without a dialog.
    form->strgrdscore->SetCells(0, 7, "88");
    Shortcut(Qt::Key_S);
    EXPECT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(LoadClassFile(file).data.scores.size(), 7);
    form->strgrdscore->SetCells(0, 7, "");
    Shortcut(Qt::Key_S);

    TForm1 fresh(help.get());
    fresh.show();
    fresh.CompleteLoading();
    dialogs.openAnswers = {file};
    fresh.MbOpen->Click();
    EXPECT_EQ(fresh.CurrentClass(), form->CurrentClass());
    EXPECT_EQ(fresh.tmExam->Date(), QDate(2026, 6, 18));
    EXPECT_EQ(fresh.mmadvice->Text(), form->mmadvice->Text());
    EXPECT_EQ(fresh.LED->Caption(), "6");
    EXPECT_FALSE(fresh.MbMake->Enabled());
    QTest::mouseClick(fresh.btnAnalyse, Qt::LeftButton);
    QStringList again;
    for (int col = 1; col <= 2; ++col)
        for (int row = 1; row <= 7; ++row) again << fresh.sgrdAnalyse->Cells(col, row);
    EXPECT_EQ(again, analysed);
}

TEST_F(ClassFiles, ShortcutsTriggerOnlyItemsThatCouldBeClicked) {
    // From the memo on another page, Ctrl+O opens the dialog.
    form->SkSkinPageControl1->SetActivePageIndex(3);
    form->mmadvice->setFocus();
    Shortcut(Qt::Key_O);
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filter, kClassFileFilter);
    EXPECT_TRUE(form->mmadvice->toPlainText().isEmpty());  // the key typed nothing

    form->MbOpen->SetEnabled(false);
    Shortcut(Qt::Key_O);
    form->MbOpen->SetEnabled(true);
    form->MbOpen->SetVisible(false);
    Shortcut(Qt::Key_O);
    form->MbOpen->SetVisible(true);
    // An item in a popup that cannot open is out of reach too.
    form->MbClassFile->SetEnabled(false);
    Shortcut(Qt::Key_O);
    form->MbClassFile->SetEnabled(true);
    EXPECT_EQ(dialogs.openRequests.size(), 1u);
    // Without Ctrl the letter is only a letter.
    Key(Qt::Key_O);
    QApplication::processEvents();
    EXPECT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(form->mmadvice->toPlainText(), "o");
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    Shortcut(Qt::Key_O);
    EXPECT_EQ(dialogs.openRequests.size(), 2u);
}

TEST_F(ClassFiles, TheQuestionBeforeClosingAndItsThreeAnswers) {
    // Never saved and empty: nothing to ask about.
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(dialogs.saveQuestions.isEmpty());
    form->show();

    SetScores({"95"});
    dialogs.saveQuestionAnswers = {SaveAnswer::Cancel};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(dialogs.saveQuestions, QStringList{kSaveQuestion});
    EXPECT_TRUE(form->isVisible());

    // 保存 with the dialog cancelled saves nothing and closes nothing.
    dialogs.saveQuestionAnswers = {SaveAnswer::Save};
    dialogs.saveAnswers = {std::nullopt};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());

    dialogs.saveQuestionAnswers = {SaveAnswer::Save};
    dialogs.saveAnswers = {Path("closing")};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(LoadClassFile(Path("closing.mwclass")).data.scores, QStringList{"95"});
    form->show();

    // Saved: not asked. Changed again: asked every time.
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.saveQuestions.size(), 3);
    form->show();
    SetScores({"96"});
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard, SaveAnswer::Discard};
    EXPECT_TRUE(form->close());
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.saveQuestions.size(), 5);
    EXPECT_EQ(LoadClassFile(Path("closing.mwclass")).data.scores, QStringList{"95"});
    EXPECT_TRUE(dialogs.saveQuestionAnswers.empty());
}

TEST_F(ClassFiles, ASaveThatFailsKeepsTheWindowOpenAndSaysWhy) {
    SetScores({"95"});
    dialogs.saveQuestionAnswers = {SaveAnswer::Save};
    dialogs.saveAnswers = {Path("no such folder/class")};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("班级文件“class.mwclass”没有保存。\r文件夹"))) << dialogs.messages[0].text;
    EXPECT_TRUE(form->Document.Modified(form->CurrentClass()));

    // An earlier file the save cannot replace stays as it was, and says so.
    const QString file = SaveAs("kept");
    const QByteArray before = Bytes(file);
    ASSERT_FALSE(before.isEmpty());
    SetScores({"97"});
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QDir().mkdir(file));  // a folder now stands where the file was
    dialogs.messages.clear();
    form->MbSave->Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("原有的文件保持原样"))) << dialogs.messages[0].text;
    EXPECT_TRUE(QFileInfo(file).isDir());
}

TEST_F(ClassFiles, ResetOpenAndImportAskFirstAndCancelChangesNothing) {
    SetScores({"95", "82"});
    Describe();
    Analyse();
    const ClassData before = form->CurrentClass();
    const QStringList results = Results();

    dialogs.saveQuestionAnswers = {SaveAnswer::Cancel, SaveAnswer::Cancel, SaveAnswer::Cancel};
    QTest::mouseClick(form->btnClear, Qt::LeftButton);
    form->MbOpen->Click();
    form->MbImport->Click();
    EXPECT_EQ(dialogs.saveQuestions.size(), 3);
    // Asked before anything else: no confirmation, no file dialog.
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|');
    EXPECT_TRUE(dialogs.openRequests.empty());
    EXPECT_EQ(form->CurrentClass(), before);
    EXPECT_EQ(Results(), results);
    EXPECT_TRUE(form->MbStatistics->Enabled());

    // 不保存, then the reset's own confirmation; the description stays, and
    // the next class starts in no file with nothing to lose.
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    dialogs.answers = {MsgResult::OK};
    QTest::mouseClick(form->btnClear, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, "Confirm");
    EXPECT_EQ(ScoreCells(1, 2), (QStringList{"", ""}));
    EXPECT_EQ(form->edtteacher->Text(), QStringLiteral("王老师"));
    EXPECT_FALSE(form->Document.Modified(form->CurrentClass()));
    EXPECT_TRUE(form->Document.FileName().isEmpty());
    EXPECT_TRUE(form->close());
    EXPECT_EQ(dialogs.saveQuestions.size(), 4);
}

TEST_F(ClassFiles, OpeningAFileReplacesTheClassAndItsResults) {
    ClassData other;
    other.scores = {"61", "", "99"};
    other.roster = {{"1", "张三"}, {"2", "李四"}, {"3", "王五"}};
    other.info.teacher = QStringLiteral("李老师");
    other.info.examDate = QDate(2025, 1, 9);
    other.info.beginTime = QTime(14, 0);
    other.info.endTime = QTime(16, 0);
    other.info.examMode = ExamMode::Other;
    other.conclusion = QStringLiteral("无");
    other.fullMarks = 150;
    const QString file = Path("other.mwclass");
    Write(file, WriteClassFile(other));

    SetScores({"95", "82"});
    Analyse();
    ASSERT_TRUE(form->MbMake->Enabled());
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    dialogs.openAnswers = {file};
    form->MbOpen->Click();
    EXPECT_EQ(form->CurrentClass(), other);  // full marks kept as the file had them
    EXPECT_EQ(form->Student(3).name, QStringLiteral("王五"));
    EXPECT_EQ(form->LED->Caption(), "2");
    EXPECT_EQ(Results(), QStringList(14, QString()));
    EXPECT_FALSE(form->MbMake->Enabled());
    EXPECT_FALSE(form->MbStatistics->Enabled());
    EXPECT_FALSE(form->MbPreview->Enabled());
    EXPECT_EQ(form->SkSkinPageControl1->ActivePageIndex(), 4);
    EXPECT_EQ(form->Document.FileName(), file);
    EXPECT_FALSE(form->Document.Modified(form->CurrentClass()));
    EXPECT_EQ(WriteClassFile(form->CurrentClass()), Bytes(file));
}

TEST_F(ClassFiles, ADamagedOrNewerFileChangesNothingInTheWindow) {
    SetScores({"95", "82"});
    Describe();
    Analyse();
    const ClassData before = form->CurrentClass();
    const QStringList results = Results();
    const QString damaged = Path("damaged.mwclass");
    Write(damaged, WriteClassFile(ClassData{{"61", "62"}}).left(120));
    const QString newer = Path("newer.mwclass");
    Write(newer, QByteArray(kClassFileStart) + "7,\n    \"rows\": []\n}\n");

    dialogs.saveQuestionAnswers = {SaveAnswer::Discard, SaveAnswer::Discard};
    dialogs.openAnswers = {damaged, newer};
    form->MbOpen->Click();
    form->MbOpen->Click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("无法打开班级文件“damaged.mwclass”。\r文件不完整或已经损坏。")))
        << dialogs.messages[0].text;
    EXPECT_TRUE(dialogs.messages[1].text.contains(QStringLiteral("更新版本"))) << dialogs.messages[1].text;
    EXPECT_EQ(form->CurrentClass(), before);
    EXPECT_EQ(Results(), results);
    EXPECT_TRUE(form->MbMake->Enabled());
    EXPECT_TRUE(form->Document.FileName().isEmpty());
}

TEST_F(ClassFiles, ImportAndAReplacingPasteClearTheResultsOfTheClassBefore) {
    SetScores({"95", "82", "71"});
    Analyse();
    ASSERT_TRUE(form->MbStatistics->Enabled());
    const QString csv = Path("next.csv");
    Write(csv, "成绩\n60\n70\n");
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    dialogs.answers = {MsgResult::OK};  // replace the scores there
    ImportFile(csv);
    EXPECT_EQ(ScoreCells(1, 3), (QStringList{"60", "70", ""}));
    EXPECT_FALSE(form->MbStatistics->Enabled());
    EXPECT_FALSE(form->MbMake->Enabled());
    EXPECT_EQ(Results(), QStringList(14, QString()));
    EXPECT_TRUE(form->Document.Modified(form->CurrentClass()));
    Analyse();
    EXPECT_TRUE(form->MbStatistics->Enabled());
    EXPECT_EQ(Result(1, 6), "2");

    // Pasted below the scores, the class goes on: its figures stay.
    FocusScoreGrid();
    ClickCell(3);
    bool handled = false;
    form->strgrdscorePasteText(form->strgrdscore, 0, 3, "88\n77\n", handled);
    EXPECT_TRUE(handled);
    EXPECT_TRUE(form->MbStatistics->Enabled());
    // Pasted over every score there is, it is another class.
    dialogs.answers = {MsgResult::OK};
    form->strgrdscorePasteText(form->strgrdscore, 0, 1, "50\n51\n52\n53\n", handled);
    EXPECT_EQ(ScoreCells(1, 5), (QStringList{"50", "51", "52", "53", ""}));
    EXPECT_FALSE(form->MbStatistics->Enabled());
    EXPECT_EQ(Result(1, 6), "");
}

TEST_F(ClassFiles, RecentFilesNewestFirstMissingGreyedAndRemovable) {
    QStringList saved;
    for (int k = 0; k < 10; ++k) {
        SetScores({QString::number(50 + k)});
        saved << SaveAs(QStringLiteral("班%1").arg(k));
        form->Document.Began(form->CurrentClass());  // as if each were a class of its own
    }
    ASSERT_TRUE(QFile::remove(saved[8]));
    form->MbClassFile->OnBeforeDropDown(form->MbClassFile);
    QStringList shown;
    for (TSkSkinItem* item : form->MbRecentFiles)
        if (item->Visible()) shown << item->Hint();
    QStringList expected;
    for (int k = 9; k >= 2; --k) expected << QFileInfo(saved[k]).absoluteFilePath();
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(form->MbRecentFiles[0]->DisplayCaption().startsWith(QStringLiteral("班9.mwclass（")))
        << form->MbRecentFiles[0]->DisplayCaption();
    EXPECT_FALSE(form->MbRecentFiles[1]->Enabled());  // 班8 is gone
    EXPECT_TRUE(form->MbRecentFiles[2]->Enabled());
    EXPECT_FALSE(form->MbRecentNone->Visible());
    EXPECT_TRUE(form->MbRecentRemoveMissing->Enabled());

    // Opening one puts it on top.
    form->MbRecentFiles[3]->Click();  // 班6
    EXPECT_EQ(form->CurrentClass().scores, QStringList{"56"});
    EXPECT_EQ(form->Recent.Files().front(), QFileInfo(saved[6]).absoluteFilePath());

    form->MbRecentRemoveMissing->Click();
    EXPECT_EQ(form->Recent.Files().size(), 7);
    EXPECT_FALSE(form->Recent.Files().contains(QFileInfo(saved[8]).absoluteFilePath()));
    EXPECT_FALSE(form->MbRecentRemoveMissing->Enabled());
    form->MbRecentClear->Click();
    EXPECT_TRUE(form->Recent.Files().isEmpty());
    EXPECT_TRUE(form->MbRecentNone->Visible());
    EXPECT_FALSE(form->MbRecentFiles[0]->Visible());
    EXPECT_FALSE(form->MbRecentClear->Enabled());
}

TEST_F(ClassFiles, CsvExportHasTheRosterAndNothingASpreadsheetWouldRun) {
    ClassData c;
    c.scores = {"95", "", "59.50", ""};
    c.roster = {{"001", "张三"}, {"002", "=HYPERLINK(\"x\")"}, {"003", "李, 四"}, {"", ""}};
    form->ShowClass(c);
    dialogs.saveAnswers = {Path("三班.csv")};
    form->MbExport->Click();
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_TRUE(dialogs.saveRequests[0].filter.contains("*.xlsx"));
    EXPECT_EQ(Bytes(Path("三班.csv")),
              "\xEF\xBB\xBF" + QStringLiteral("学号,姓名,成绩\r\n001,张三,95\r\n002,\"'=HYPERLINK(\"\"x\"\")\",\r\n003,\"李, 四\",59.50\r\n").toUtf8());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("已把2个成绩导出到“三班.csv”。"));

    // Typed scores only: one column.
    EXPECT_EQ(CsvBytes(ExportRows(ClassData{{"80", "", "70"}}, false)), "\xEF\xBB\xBF成绩\r\n80\r\n70\r\n");
    // Nothing to export.
    form->ShowClass(ClassData{});
    dialogs.messages.clear();
    form->MbExport->Click();
    EXPECT_EQ(dialogs.saveRequests.size(), 1u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("没有可以导出的内容")));
}

#ifdef MARKWISE_DIE_ON_SAVE_LIB
// A save interrupted for real: the program is killed after the new file is
// written and before it takes the old one's name (a library loaded into the
// copy below ends it at the rename). The earlier file is as it was, and the
// next save tidies the dead copy's temporary away.
TEST_F(ClassFiles, AKillBetweenTheWriteAndTheRenameLeavesTheEarlierFile) {
    SetScores({"95"});
    const QString file = SaveAs("interrupted");
    const QByteArray earlier = Bytes(file);
    ASSERT_FALSE(earlier.isEmpty());

    QProcess copy;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", MARKWISE_DIE_ON_SAVE_LIB);
    env.insert("MARKWISE_DIE_ON_RENAME_INTO", file);
    env.insert("MARKWISE_SAVE_TO", file);
    copy.setProcessEnvironment(env);
    // A group of its own: the library ends its whole group.
    copy.setChildProcessModifier([] { setsid(); });
    copy.start(QCoreApplication::applicationFilePath(),
               {"--gtest_also_run_disabled_tests", "--gtest_filter=ClassFiles.DISABLED_SavesAnotherClass"});
    ASSERT_TRUE(copy.waitForFinished(120000));
    EXPECT_EQ(copy.exitStatus(), QProcess::CrashExit) << copy.readAll().right(2000).toStdString();
    EXPECT_EQ(Bytes(file), earlier);
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(left.size(), 2) << left.join(',');  // the file, and the dead copy's temporary

    // The next save replaces the file and takes the leftover away.
    SetScores({"96"});
    form->MbSave->Click();
    EXPECT_EQ(LoadClassFile(file).data.scores, QStringList{"96"});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"interrupted.mwclass"});
}

TEST_F(ClassFiles, DISABLED_SavesAnotherClass) {
    SetScores({"12", "34"});
    dialogs.saveAnswers = {qEnvironmentVariable("MARKWISE_SAVE_TO")};
    form->MbSaveAs->Click();
    ADD_FAILURE() << "the save went through";
}
#endif
