#include "app_fixture.h"

#include "framed_grid.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include "scoped_locale.h"

#include <QTest>

class Analysis : public AppTest {
protected:
    QStringList Column(int col) const {
        QStringList out;
        for (int row = 1; row <= 7; ++row) out << Result(col, row);
        return out;
    }
    // Through the real button, so a failure meets the standard error report.
    void Press() { QTest::mouseClick(form->btnAnalyse, Qt::LeftButton); }
    void Analyse(const QStringList& scores) {
        SetScores(scores);
        Press();
    }
};

TEST_F(Analysis, TheWorkedExampleTypedIntoTheGrid) {
    FocusScoreGrid();
    Type("95\t89.5\t72\t60\t59.4\t100\t");
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    EXPECT_EQ(Column(1), QStringList({"3", "0", "1", "1", "1", "6", "79.32"}));
    EXPECT_EQ(Column(2), QStringList({"50.00", "0.00", "16.67", "16.67", "16.66", "", ""}));
    EXPECT_EQ(form->BandCounts, (std::array<double, 5>{3, 0, 1, 1, 1}));
    EXPECT_TRUE(form->MbMake->Enabled());
    EXPECT_EQ(form->SkSkinPageControl1->ActivePageIndex(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Analysis, BandsFollowTheScoreRoundedHalfToEven) {
    EXPECT_EQ(BandOf(89.5), int(GradeBand::Excellent));
    EXPECT_EQ(BandOf(88.5), int(GradeBand::Good));
    EXPECT_EQ(BandOf(89.4), int(GradeBand::Good));
    EXPECT_EQ(BandOf(59.5), int(GradeBand::Pass));
    EXPECT_EQ(BandOf(60.5), int(GradeBand::Pass));
    EXPECT_EQ(BandOf(59.4), int(GradeBand::Fail));
    EXPECT_EQ(BandOf(69.5), int(GradeBand::Medium));
    EXPECT_EQ(BandOf(0), int(GradeBand::Fail));
    EXPECT_EQ(BandOf(100.4), int(GradeBand::Excellent));
    EXPECT_EQ(BandOf(100.6), -1);
    EXPECT_EQ(BandOf(-0.6), -1);
}

TEST_F(Analysis, TheFailBandShowsTheRemainderOfTheDisplayedPercentages) {
    struct Case { QStringList scores; QStringList percentages; };
    const Case cases[] = {
        {{"90"}, {"100.00", "0.00", "0.00", "0.00", "0.00"}},
        {{"95", "85", "50"}, {"33.33", "33.33", "0.00", "0.00", "33.34"}},
        {{"95", "85", "75"}, {"33.33", "33.33", "33.33", "0.00", "0.01"}},
        {{"91", "92", "93", "81", "82", "83", "71"}, {"42.86", "42.86", "14.29", "0.00", "-0.01"}},
    };
    for (const Case& c : cases) {
        for (int row = 1; row <= 299; ++row) form->strgrdscore->SetCells(0, row, "");
        Analyse(c.scores);
        EXPECT_EQ(Column(2).mid(0, 5), c.percentages) << c.scores.join(' ').toStdString();
    }
    EXPECT_EQ(Result(1, 6), "7");
}

TEST_F(Analysis, OneExcellentOf32Shows313) {
    QStringList scores{"95"};
    for (int i = 0; i < 31; ++i) scores << "65";
    Analyse(scores);
    EXPECT_EQ(Result(2, 1), "3.13");
    EXPECT_EQ(Result(1, 7), "65.94");
}

TEST_F(Analysis, EmptyRowsBetweenScoresAreSkippedAndNotCounted) {
    form->strgrdscore->SetCells(0, 1, "80");
    form->strgrdscore->SetCells(0, 4, "60");
    Press();
    EXPECT_EQ(Result(1, 6), "2");
    EXPECT_EQ(Result(1, 7), "70.00");
    EXPECT_EQ(Column(1).mid(0, 5), QStringList({"0", "1", "0", "1", "0"}));
}

TEST_F(Analysis, NoScoreInTheFirstRowAsksForScoresAndChangesNothing) {
    form->strgrdscore->SetCells(0, 2, "80");
    Press();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "请输入成绩!");
    EXPECT_EQ(dialogs.messages[0].caption, "Markwise2006版");
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Information);
    EXPECT_FALSE(form->MbMake->Enabled());
    EXPECT_EQ(Result(1, 6), "");
    // Blanks only in row 1 are no score either, and nothing is divided by zero.
    form->strgrdscore->SetCells(0, 1, " ");
    form->strgrdscore->SetCells(0, 2, "");
    Press();
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(Result(1, 7), "");
}

TEST_F(Analysis, ABadCellStopsTheAnalysisAndKeepsTheLastResults) {
    Analyse({"90", "80"});
    form->strgrdscore->SetCells(0, 3, "7.5.");
    Press();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "'7.5.' is not a valid floating point value.");
    EXPECT_EQ(Result(1, 6), "2");
    EXPECT_EQ(Result(1, 7), "85.00");
}

// The analysis reads and shows numbers with the locale's decimal separator,
// and a typed "." is read in every locale.
class AnalysisInLocale : public Analysis, public ::testing::WithParamInterface<const char*> {};

TEST_P(AnalysisInLocale, TextsFollowTheLocaleSeparator) {
    ScopedLocale locale(QString::fromLatin1(GetParam()));
    ASSERT_TRUE(locale.Active()) << GetParam();
    const QString sep = QLocale().decimalPoint();
    auto local = [&](QStringList texts) {
        for (QString& t : texts) t.replace('.', sep);
        return texts;
    };
    FocusScoreGrid();
    Type("95\t85\t75\t");
    Press();
    EXPECT_EQ(Column(2).mid(0, 5), local({"33.33", "33.33", "33.33", "0.00", "0.01"}));
    EXPECT_EQ(Result(1, 7), local({"85.00"})[0]);

    // "85.5" typed and "85,5" pasted in a comma locale are the same score
    for (int row = 1; row <= 3; ++row) form->strgrdscore->SetCells(0, row, "");
    Analyse({"85.5", QStringLiteral("100") + sep + "0"});
    EXPECT_EQ(Result(1, 7), local({"92.75"})[0]);
    EXPECT_EQ(Column(1).mid(0, 2), QStringList({"1", "1"}));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Locales, AnalysisInLocale, ::testing::Values("de_DE.UTF-8", "zh_CN.UTF-8", "C"),
                         [](const auto& info) { return QString::fromLatin1(info.param).section('.', 0, 0).toStdString(); });
