// Full marks other than 100: the field, the bands and their labels, the
// score check, and a change of full marks after scores were typed.
#include "app_fixture.h"

#include "framed_grid.h"
#include "led_display.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QApplication>
#include <QTest>

TEST(FullMarksBands, EdgesOutOf150And75AfterRounding) {
    struct Case { double score; int fullMarks; GradeBand band; };
    const Case cases[] = {
        {135, 150, GradeBand::Excellent}, {134.5, 150, GradeBand::Good},   // 134.5 rounds to the even 134
        {134.6, 150, GradeBand::Excellent}, {119.5, 150, GradeBand::Good},  // 119.5 rounds to 120
        {119.4, 150, GradeBand::Medium}, {105, 150, GradeBand::Medium}, {104.5, 150, GradeBand::Pass},
        {89.5, 150, GradeBand::Pass}, {89.4, 150, GradeBand::Fail}, {150, 150, GradeBand::Excellent},
        // Out of 75 the excellent edge is 67.5: a rounded score reaches it from 68 on.
        {67.5, 75, GradeBand::Excellent}, {67.4, 75, GradeBand::Good}, {60, 75, GradeBand::Good},
        {52.5, 75, GradeBand::Pass}, {52.6, 75, GradeBand::Medium}, {44.5, 75, GradeBand::Fail},
        {45, 75, GradeBand::Pass},
    };
    for (const Case& c : cases) EXPECT_EQ(BandOf(c.score, c.fullMarks), int(c.band)) << c.score << " of " << c.fullMarks;
    EXPECT_EQ(BandOf(150.6, 150), -1);
    EXPECT_EQ(BandOf(75.4, 75), int(GradeBand::Excellent));
    EXPECT_EQ(BandOf(1, 1), int(GradeBand::Excellent));
    EXPECT_EQ(BandOf(0, 1), int(GradeBand::Fail));
}

TEST(FullMarksBands, LabelsShowTheThresholds) {
    QStringList l100, l150, l75;
    for (int b = 0; b < kBandCount; ++b) {
        l100 << BandLabel(GradeBand(b), 100);
        l150 << BandLabel(GradeBand(b), 150);
        l75 << BandLabel(GradeBand(b), 75);
    }
    EXPECT_EQ(l100, (QStringList{"优(90+)", "良(80-90)", "中(70-80)", "及格(60-70)", "不及格(60-)"}));
    EXPECT_EQ(l150, (QStringList{"优(135+)", "良(120-135)", "中(105-120)", "及格(90-105)", "不及格(90-)"}));
    EXPECT_EQ(l75, (QStringList{"优(67.5+)", "良(60-67.5)", "中(52.5-60)", "及格(45-52.5)", "不及格(45-)"}));
}

class FullMarks : public AppTest {
protected:
    // Types into the field as a teacher does and leaves it with Tab.
    void TypeFullMarks(const QString& text) {
        form->SkSkinPageControl1->SetActivePageIndex(0);
        form->edtfullmarks->setFocus();
        form->edtfullmarks->selectAll();
        Type(text);
        Key(Qt::Key_Tab);
    }
    QStringList Labels() const {
        QStringList out;
        for (int row = 1; row <= 5; ++row) out << Result(0, row);
        return out;
    }
};

TEST_F(FullMarks, TypedIntoTheFieldTheyRuleEntryBandsAndLabels) {
    EXPECT_EQ(form->edtfullmarks->Text(), "100");
    TypeFullMarks("150");
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(form->FullMarks(), 150);
    EXPECT_EQ(Labels(), (QStringList{"优(135+)", "良(120-135)", "中(105-120)", "及格(90-105)", "不及格(90-)"}));
    FocusScoreGrid();
    Type("140\t134.5\t151\t");
    EXPECT_EQ(dialogs.Texts(), QStringList{QStringLiteral("请输入0~150范围的分值！")});
    EXPECT_EQ(ScoreCells(1, 3), (QStringList{"140", "134.5", ""}));
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    EXPECT_EQ(Result(1, 1), "1");
    EXPECT_EQ(Result(1, 2), "1");
    EXPECT_EQ(Result(1, 7), "137.25");
    EXPECT_EQ(form->CurrentClass().fullMarks, 150);
}

TEST_F(FullMarks, OnlyWholeNumbersFromOneToAThousand) {
    for (const char* bad : {"0", "1001"}) {
        dialogs.messages.clear();
        TypeFullMarks(bad);
        EXPECT_EQ(dialogs.Texts(), QStringList{QStringLiteral("请输入1~1000范围的满分！")}) << bad;
        EXPECT_EQ(form->edtfullmarks->Text(), "100") << bad;
        EXPECT_EQ(form->FullMarks(), 100);
    }
    dialogs.messages.clear();
    TypeFullMarks("1.5");
    EXPECT_EQ(dialogs.Texts().first(), QStringLiteral("请输入数字！"));  // the point never gets in
    EXPECT_EQ(form->FullMarks(), 15);
    TypeFullMarks("1000");
    EXPECT_EQ(form->FullMarks(), 1000);
}

TEST_F(FullMarks, LoweredAfterScoresTheyAreCheckedAgainAndTheOldAnalysisGoes) {
    SetScores({"95", "55", "58"});
    form->PlaceScores(1, {"95"}, {{"2006001", QStringLiteral("张三")}});
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    ASSERT_TRUE(form->MbMake->Enabled());
    TypeFullMarks("60");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const QString text = dialogs.messages[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("第1行：95（2006001 张三）"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("第2行"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("按满分100计算的，已经清除"))) << text.toStdString();
    // Nothing of the old analysis stays, and nothing the teacher typed is lost.
    EXPECT_FALSE(form->MbMake->Enabled());
    EXPECT_FALSE(form->MbStatistics->Enabled());
    EXPECT_EQ(Result(1, 1), "");
    EXPECT_EQ(ScoreCells(1, 3), (QStringList{"95", "55", "58"}));
    // Until the score is mended, the analysis refuses to band it in nothing.
    dialogs.messages.clear();
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("以下成绩超出0~60的范围"))) << dialogs.messages[0].text.toStdString();
    EXPECT_FALSE(form->MbMake->Enabled());
    form->strgrdscore->SetCells(0, 1, "57");
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    EXPECT_EQ(Result(1, 1), "3");  // 57, 55 and 58 of 60 are all excellent (54+)
    EXPECT_EQ(Result(0, 1), QStringLiteral("优(54+)"));
}

TEST_F(FullMarks, AClassKeepsItsOwnFullMarks) {
    ClassData c;
    c.scores = {"70", "67.5"};
    c.fullMarks = 75;
    form->ShowClass(c);
    EXPECT_EQ(form->edtfullmarks->Text(), "75");
    EXPECT_EQ(Result(0, 1), QStringLiteral("优(67.5+)"));
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    EXPECT_EQ(Result(1, 1), "2");
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(form->CurrentClass().fullMarks, 75);
}
