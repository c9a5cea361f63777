// The report commands of the menu when no report could be made: what the
// teacher can do next, and what she reads. No office is installed here.
#include "app_fixture.h"

#include "framed_grid.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class ReportMenu : public AppTest {
protected:
    void Analyse() {
        SetScores({"95", "85", "55"});
        form->btnAnalyseClick(form->btnAnalyse);
        ASSERT_TRUE(form->MbMake->Enabled());
    }
    // Make, preview and print as the menu offers them.
    QList<bool> Enabled() const {
        return {form->MbMake->Enabled(), form->MbPreview->Enabled(), form->MbPrint->Enabled()};
    }
    QTemporaryDir dir;
};

const QString kNoOffice = QStringLiteral("无法启动办公软件 LibreOffice，请确认它已经安装。");

}  // namespace

TEST_F(ReportMenu, ACancelledMakeChangesNothing) {
    Analyse();
    dialogs.saveAnswers = {std::nullopt};
    form->MbMake->Click();
    EXPECT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(Enabled(), (QList<bool>{true, false, false}));
    EXPECT_TRUE(form->Report.ReportFileName.isEmpty());
    EXPECT_TRUE(dir.isValid() && QDir(dir.path()).isEmpty());
}

// The make fails, yet preview and print come on: the report of that name (an
// earlier one, here) is what they open, and without an office the teacher
// is told in words what is missing. (The print item stays hidden.)
TEST_F(ReportMenu, AFailedMakeOffersPreviewAndPrintOfTheEarlierReport) {
    const QString earlier = dir.filePath("report.doc");
    {
        QFile f(earlier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("an earlier report");
    }
    Analyse();
    dialogs.saveAnswers = {dir.filePath("report")};
    form->MbMake->Click();
    EXPECT_EQ(dialogs.Texts(),
              (QStringList{QStringLiteral("请重新输入文件名！避免使用相同文件名！"), QStringLiteral("试卷分析保存失败！")}));
    EXPECT_EQ(Enabled(), (QList<bool>{true, true, true}));
    EXPECT_FALSE(form->MbPrint->Visible());
    EXPECT_EQ(form->Report.ReportFileName, earlier);
    QFile f(earlier);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "an earlier report");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"report.doc"});

    dialogs.messages.clear();
    form->MbPreview->Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Markwise2006版"));
    EXPECT_EQ(dialogs.messages[0].text.section('\n', 0, 0), kNoOffice) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(Enabled(), (QList<bool>{true, true, true}));

    // Cancelling the next make leaves them on.
    dialogs.messages.clear();
    dialogs.saveAnswers = {std::nullopt};
    form->MbMake->Click();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Enabled(), (QList<bool>{true, true, true}));
    EXPECT_EQ(form->Report.ReportFileName, earlier);
}
