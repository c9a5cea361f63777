// Through the real main window: scores imported from spreadsheets the office
// made, analysed, and the figures' sentence carried into a real report.
#include "app_fixture.h"
#include "office_env.h"
#include "sheet_files.h"

#include "framed_grid.h"
#include "led_display.h"
#include "main_window.h"
#include "memo.h"
#include "skin_controls.h"
#include "skin_menu.h"
#include "statistics_dialog.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class ImportTeacher : public AppTest {
protected:
    // The window's own tests keep the office away; these read through the real one.
    void SetUp() override {
        const QString program = TWordApplication::Settings().program;
        AppTest::SetUp();
        TWordApplication::Settings().program = program;
    }
    void Import(const QString& path) { ImportFile(path); }
    QStringList Grid(int rows) const { return ScoreCells(1, rows); }
};

TEST_F(ImportTeacher, XlsxAndXlsThroughTheMenuThenAnAnalysis) {
    for (const char* format : {"xlsx", "xls"}) {
        const QString path = sheetfiles::Convert(QStringLiteral("成绩表%1").arg(format), sheetfiles::WorkedExampleCsv(), format);
        ASSERT_FALSE(path.isEmpty()) << format;
        form->SkSkinPageControl1->SetActivePageIndex(0);
        if (form->EnteredCount() > 0) dialogs.answers.push_back(MsgResult::OK);  // the second file replaces the first one's scores
        if (format != std::string("xlsx")) dialogs.saveQuestionAnswers.push_back(SaveAnswer::Discard);  // the first class unkept
        Import(path);
        EXPECT_EQ(Grid(7), (QStringList{"95", "89.5", "72", "60", "59.4", "100", ""})) << format;
        EXPECT_EQ(form->LED->Caption(), "6") << format;
        EXPECT_EQ(form->SkSkinPageControl1->ActivePageIndex(), 4) << format;

        QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
        const QStringList counts{"3", "0", "1", "1", "1"}, shares{"50.00", "0.00", "16.67", "16.67", "16.66"};
        for (int row = 1; row <= 5; ++row) {
            EXPECT_EQ(Result(1, row), counts[row - 1]) << format;
            EXPECT_EQ(Result(2, row), shares[row - 1]) << format;
        }
        EXPECT_EQ(Result(1, 6), "6");
        EXPECT_EQ(Result(1, 7), "79.32");
    }
    // Only the replacement question was asked, once, for the second file.
    EXPECT_EQ(dialogs.Texts(), QStringList{QStringLiteral("成绩表中已有6个成绩，导入后将全部被替换。是否继续？")});
}

TEST_F(ImportTeacher, AHeaderlessColumnWithARefusedValue) {
    const QString path = sheetfiles::Convert("一列成绩", "88\n缺考\n76.5\n", "ods");
    ASSERT_FALSE(path.isEmpty());
    dialogs.answers.push_back(MsgResult::OK);  // the rest is imported
    Import(path);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::OKCancel);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("文件第2行：缺考"))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(Grid(3), (QStringList{"88", "76.5", ""}));
    EXPECT_EQ(form->LED->Caption(), "2");
}

TEST_F(ImportTeacher, WithoutAnOfficeTheGridStaysAsItWas) {
    // .xls still goes through the office; .xlsx and .ods no longer need it.
    const QString path = sheetfiles::Convert("无办公软件", sheetfiles::WorkedExampleCsv(), "xls");
    ASSERT_FALSE(path.isEmpty());
    form->strgrdscore->SetCells(0, 1, "77");
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    OfficeSettings& s = TWordApplication::Settings();
    const OfficeSettings saved = s;
    s.program = testoffice::Path("no-office-here/soffice");
    s.pipeName += QStringLiteral("_none");
    Import(path);
    s = saved;
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("读取表格文件要用到 LibreOffice")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(Grid(2), (QStringList{"77", ""}));
}

// Three files the office reads, none of them a class's scores: each is told
// apart in the teacher's words, and the grid stays as it was.
TEST_F(ImportTeacher, FilesThatAreNoScoreSheetSayWhy) {
    form->strgrdscore->SetCells(0, 1, "77");
    // A word processor's document under a spreadsheet's name.
    const QString text = sheetfiles::ConvertText("说明", QStringLiteral("这是一份说明，不是成绩表。\n"), "txt", "odt");
    ASSERT_FALSE(text.isEmpty());
    const QString document = QFileInfo(text).path() + QStringLiteral("/说明.ods");
    ASSERT_TRUE(QFile::copy(text, document));
    // A first sheet of more cells than any class list has.
    const QString big = sheetfiles::Convert("过大", "1\n" + QString(300000, QChar('\n')) + "1\n", "xlsx");
    ASSERT_FALSE(big.isEmpty());
    // A spreadsheet cut short.
    const QString damaged = testoffice::Path("损坏.xlsx");
    testoffice::WriteFile(damaged, QByteArray("PK\x03\x04 this zip ends here", 26));

    for (const QString& path : {document, big, damaged}) Import(path);
    EXPECT_EQ(dialogs.Texts(), (QStringList{QStringLiteral("文件“说明.ods”不是表格文件，无法导入。"),
                                            QStringLiteral("文件“过大.xlsx”的第一个工作表太大，不像是一个班级的成绩表，没有读取。"),
                                            QStringLiteral("无法打开文件“损坏.xlsx”。文件可能已损坏、设有密码，或者不是表格文件。")}));
    for (const ShownMessage& m : dialogs.messages) EXPECT_EQ(m.icon, MsgIcon::Warning);
    EXPECT_EQ(Grid(2), (QStringList{"77", ""}));
}

TEST_F(ImportTeacher, TheFiguresSentenceReachesTableFourOfTheReport) {
    const QString path = sheetfiles::Convert("报告成绩", sheetfiles::WorkedExampleCsv(), "xlsx");
    ASSERT_FALSE(path.isEmpty());
    Import(path);
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    ASSERT_TRUE(form->MbStatistics->Enabled());
    form->mmadvice->SetText(QStringLiteral("函数极限部分错误率较高。"));
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<TStatisticsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->WriteButton()->click();
    });
    form->MbStatistics->Click();
    const QString sentence = QStringLiteral("本次考试共6人，最高分100.00，最低分59.40，平均分79.32，中位数80.75，标准差16.33；"
                                            "及格率83.33%，优秀率50.00%；试卷难度P为0.79，区分度D为0.38（良好）。");
    ASSERT_EQ(form->mmadvice->Lines(), (QStringList{QStringLiteral("函数极限部分错误率较高。"), sentence}));

    const QString chosen = testoffice::Path("统计报告");
    dialogs.saveAnswers = {chosen};
    form->MbMake->Click();
    ASSERT_EQ(dialogs.Texts().back(), QStringLiteral("试卷分析保存成功！"));
    TWordApplication app;
    app.Documents().Open(chosen + ".doc", EmptyParam, true);
    TWordDocument doc;
    doc.ConnectTo(app.Documents().Item(1));
    EXPECT_EQ(doc.Tables().Item(4).Range().Cells().Item(1).Range().Text(),
              QStringLiteral("函数极限部分错误率较高。\n") + sentence);
    app.Quit();
}

}  // namespace
