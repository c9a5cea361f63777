// Per-question scores through the real main window into a real report: a
// workbook of 45 students and 20 questions imported, analysed, and the item
// table read back from the document the office wrote.
#include "app_fixture.h"
#include "item_sheets.h"
#include "office_env.h"
#include "sheet_files.h"

#include "skin_controls.h"
#include "skin_menu.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ItemTeacher : public AppTest {
protected:
    // The window's own tests keep the office away; these read through the real one.
    void SetUp() override {
        const QString program = TWordApplication::Settings().program;
        AppTest::SetUp();
        TWordApplication::Settings().program = program;
    }
};

TEST_F(ItemTeacher, WorkbookOfQuestionsGivesTheReportItsItemTable) {
    const QString xlsx = sheetfiles::Convert(QStringLiteral("小题分"), QString::fromUtf8(itemsheets::FortyFiveByTwenty()), "xlsx");
    ASSERT_FALSE(xlsx.isEmpty());
    dialogs.openAnswers.push_back(xlsx);
    form->MbImportItems->Click();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    ASSERT_EQ(form->EnteredCount(), 45);
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    ASSERT_TRUE(form->MbMake->Enabled());

    const QString chosen = testoffice::Path("小题分析报告");
    dialogs.saveAnswers = {chosen};
    form->MbMake->Click();
    ASSERT_EQ(dialogs.Texts(), QStringList{QStringLiteral("试卷分析保存成功！")});
    const QString keep = qEnvironmentVariable("MARKWISE_SHOT_DIR");
    if (!keep.isEmpty()) QFile::copy(chosen + ".doc", keep + "/item_report.doc");

    TWordApplication app;
    app.Documents().Open(chosen + ".doc", EmptyParam, true);
    TWordDocument doc;
    doc.ConnectTo(app.Documents().Item(1));
    WordTables tables = doc.Tables();
    ASSERT_EQ(tables.Count(), 5);
    // The four tables of every report are where they were.
    EXPECT_EQ(tables.Item(2).Range().Cells().Item(20).Range().Text(), "45");
    EXPECT_EQ(tables.Item(4).Range().Cells().Count(), 1);
    WordCells items = tables.Item(5).Range().Cells();
    ASSERT_EQ(items.Count(), 21 * 9);
    const QStringList header{"题号", "满分", "平均分", "得分率P", "区分度D", "题总相关", "零分人数", "满分人数", "提示"};
    for (int c = 0; c < 9; ++c) EXPECT_EQ(items.Item(c + 1).Range().Text(), header[c]) << c;
    const auto cell = [&](int row, int column) { return items.Item(row * 9 + column + 1).Range().Text(); };
    EXPECT_EQ(cell(1, 0), QStringLiteral("第1题"));
    EXPECT_EQ(cell(3, 0), QStringLiteral("第3题"));
    EXPECT_EQ(cell(3, 1), "5");
    EXPECT_EQ(cell(3, 2), "5.00");
    EXPECT_EQ(cell(3, 3), "1.00");
    EXPECT_EQ(cell(3, 5), QStringLiteral("—"));
    EXPECT_EQ(cell(3, 6), "0");
    EXPECT_EQ(cell(3, 7), "45");
    EXPECT_TRUE(cell(3, 8).contains(QStringLiteral("偏易")));
    EXPECT_TRUE(cell(7, 8).contains(QStringLiteral("题总相关为负")));
    EXPECT_EQ(cell(12, 7), "2");
    app.Quit();
}

}  // namespace
