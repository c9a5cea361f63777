// The import command with text files: what reaches the grid, what the
// teacher is asked, and that nothing changes when she says no.
#include "app_fixture.h"

#include "column_dialog.h"
#include "framed_grid.h"
#include "gbk.h"
#include "led_display.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class ScoreImport : public AppTest {
protected:
    QString Write(const QString& name, const QByteArray& bytes) { return WriteTestFile(dir, name, bytes); }
    void Import(const QString& path) { ImportFile(path); }
    QStringList Grid(int rows) const { return ScoreCells(1, rows); }
    QTemporaryDir dir;
};

TEST_F(ScoreImport, Utf8CsvFillsTheGridInFileOrder) {
    form->SkSkinPageControl1->SetActivePageIndex(0);
    const QString csv = Write("三班.csv", QStringLiteral("学号,姓名,成绩\r\n2006001,张三,95\r\n2006002,李四,89.50\r\n"
                                                         "2006003,王五,\r\n2006004,赵六,72\r\n")
                                              .toUtf8());
    Import(csv);
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filter,
              QStringLiteral("成绩表格(*.xlsx *.xls *.ods *.csv *.txt)|*.xlsx;*.xls;*.ods;*.csv;*.txt"));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(Grid(4), (QStringList{"95", "89.5", "72", ""}));
    EXPECT_EQ(form->LED->Caption(), "3");
    EXPECT_EQ(form->SkSkinPageControl1->ActivePageIndex(), 4);
    EXPECT_FALSE(form->MbMake->Enabled());  // no analysis by itself
    // The next dialog opens where this file was (the imported class is not kept).
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    Import(QString());
    EXPECT_EQ(dialogs.openRequests[1].fileName, csv);
}

TEST_F(ScoreImport, GbkAndMarkedUtf8Files) {
    // Each import after the first puts an unsaved class aside.
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard, SaveAnswer::Discard};
    Import(Write("gbk.txt", gbk::encode(QStringLiteral("姓名 分数\n张三 60\n李四 59.4\n"))));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(Grid(3), (QStringList{"60", "59.4", ""}));
    dialogs.answers = {MsgResult::OK, MsgResult::OK};  // each file replaces the one before
    Import(Write("gbk.csv", gbk::encode(QStringLiteral("\"姓名\";\"总分\"\r\n\"张三\";\"88\"\r\n"))));
    EXPECT_EQ(Grid(2), (QStringList{"88", ""}));
    Import(Write("bom.csv", "\xEF\xBB\xBF" + QStringLiteral("成绩\n77\n").toUtf8()));
    EXPECT_EQ(Grid(2), (QStringList{"77", ""}));
    // Each replaced the grid after asking.
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(ScoreImport, MoreThanTheGridHoldsImportsNothing) {
    SetScores({"88"});
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard, SaveAnswer::Discard};
    QByteArray csv = "成绩\n";
    for (int k = 0; k < 300; ++k) csv += QByteArray::number(k % 101) + "\n";
    Import(Write("300.csv", csv));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("文件“300.csv”中有300个成绩，超过了成绩表的299行，没有导入任何成绩。"));
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(Grid(2), (QStringList{"88", ""}));
    // 299 fit exactly.
    csv = csv.left(csv.lastIndexOf('\n', csv.size() - 2) + 1);
    dialogs.answers = {MsgResult::OK};  // in place of the score typed before
    Import(Write("299.csv", csv));
    EXPECT_EQ(form->strgrdscore->Cells(0, 299), "96");
    EXPECT_EQ(form->LED->Caption(), "299");
}

TEST_F(ScoreImport, RefusedValuesAreListedAndTheTeacherDecides) {
    const QString csv = Write("refused.csv", QStringLiteral("姓名,成绩\n张三,95\n李四,缺考\n王五,105\n赵六,60\n").toUtf8());
    dialogs.answers.push_back(MsgResult::Cancel);
    Import(csv);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const ShownMessage& m = dialogs.messages[0];
    EXPECT_EQ(m.buttons, MsgButtons::OKCancel);
    // Each refused row is named by its student as well.
    EXPECT_TRUE(m.text.contains(QStringLiteral("文件第3行：缺考（李四）\r文件第4行：105（王五）"))) << m.text.toStdString();
    EXPECT_TRUE(m.text.contains(QStringLiteral("是否导入其余的2个成绩"))) << m.text.toStdString();
    EXPECT_EQ(Grid(1), QStringList{""});
    EXPECT_EQ(form->LED->Caption(), "0");

    dialogs.answers.push_back(MsgResult::OK);
    Import(csv);
    EXPECT_EQ(Grid(3), (QStringList{"95", "60", ""}));
}

TEST_F(ScoreImport, ScoresInTheGridAreReplacedOnlyWhenTheTeacherAgrees) {
    SetScores({"70", "71", "72"});
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard, SaveAnswer::Discard};
    const QString csv = Write("new.csv", "成绩\n90\n");
    dialogs.answers.push_back(MsgResult::Cancel);
    Import(csv);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("成绩表中已有3个成绩，导入后将全部被替换。是否继续？"));
    EXPECT_EQ(Grid(3), (QStringList{"70", "71", "72"}));
    dialogs.answers.push_back(MsgResult::OK);
    Import(csv);
    EXPECT_EQ(Grid(3), (QStringList{"90", "", ""}));
    EXPECT_EQ(form->LED->Caption(), "1");
}

TEST_F(ScoreImport, TwoCandidateColumnsAskWhichOne) {
    const QString csv = Write("two.csv", QStringLiteral("姓名,期中成绩,期末成绩\n张三,80,91\n李四,70,62\n").toUtf8());
    bool asked = false;
    OnDialog<TColumnDialog>([&](TColumnDialog* d) {
        asked = true;
        const QString shot = qEnvironmentVariable("MARKWISE_SHOT_DIR");
        if (!shot.isEmpty()) d->grab().save(shot + "/column_dialog.png");
        const QStringList texts = [&] {
            QStringList out;
            for (auto* l : d->findChildren<QLabel*>()) out << l->text();
            return out;
        }();
        EXPECT_TRUE(texts.contains("91") && texts.contains("80")) << texts.join('|').toStdString();
        EXPECT_EQ(d->Chosen(), 0);
        d->Choose(1);
        d->accept();
    });
    Import(csv);
    EXPECT_TRUE(asked);
    EXPECT_EQ(Grid(3), (QStringList{"91", "62", ""}));

    // Cancelling the choice imports nothing.
    OnDialog<TColumnDialog>([](TColumnDialog* d) { d->close(); });
    SetScores({"", ""});
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};  // the names imported before are still there
    Import(csv);
    EXPECT_EQ(Grid(1), QStringList{""});
}

TEST_F(ScoreImport, UnreadableFilesSayWhyAndChangeNothing) {
    SetScores({"66"});
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard, SaveAnswer::Discard, SaveAnswer::Discard, SaveAnswer::Discard};
    Import(dir.filePath("missing.csv"));
    Import(Write("binary.csv", QByteArray("PK\x03\x04\0\0\0", 7)));
    Import(Write("names.csv", QStringLiteral("姓名\n张三\n").toUtf8()));
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("无法读取文件“missing.csv”：文件打不开")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("无法读取文件“binary.csv”：它不是文本文件。"));
    EXPECT_TRUE(dialogs.messages[2].text.startsWith(QStringLiteral("文件“names.csv”中找不到成绩列。")));
    EXPECT_EQ(Grid(2), (QStringList{"66", ""}));
    // Cancelling the file dialog does nothing at all.
    dialogs.messages.clear();
    dialogs.openAnswers.push_back(std::nullopt);
    form->MbImport->Click();
    EXPECT_TRUE(dialogs.messages.empty());
}

// A text file is read whole up to 16 MB; a larger one is no class list and is not read at all.
TEST_F(ScoreImport, TextFilesUpToSixteenMegabytes) {
    QByteArray text = QStringLiteral("成绩\n95\n").toUtf8();
    text += QByteArray((16 << 20) - text.size(), ' ');
    ASSERT_EQ(text.size(), 16 << 20);
    Import(Write("largest.csv", text));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(Grid(2), (QStringList{"95", ""}));

    text += ' ';
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    Import(Write("larger.csv", text));
    ASSERT_EQ(dialogs.Texts(), QStringList{QStringLiteral("无法读取文件“larger.csv”：文件太大（16 MB），不像是一个班级的成绩表。")});
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(Grid(2), (QStringList{"95", ""}));
}
