// The exam-quality figures: small classes, the worked example by hand, and
// the dialog the menu item opens.
#include "app_fixture.h"

#include "exam_statistics.h"
#include "framed_grid.h"
#include "memo.h"
#include "skin_controls.h"
#include "skin_menu.h"
#include "statistics_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

std::map<QString, QString> Figures(const ExamStatistics& s) {
    std::map<QString, QString> out;
    for (const auto& [label, text] : StatisticsRows(s)) out[label] = text;
    return out;
}

}  // namespace

TEST(ExamStatisticsSmallClasses, GroupsAndFiguresForOneToFourStudents) {
    struct Case {
        std::vector<double> scores;
        int group;
        const char *median, *deviation, *discrimination;
    };
    const Case cases[] = {
        {{90}, 1, "90.00", "0.00", "0.00（差）"},              // both groups are the one student
        {{90, 50}, 1, "70.00", "20.00", "0.40（优秀）"},       // top one against bottom one
        {{90, 70, 50}, 1, "70.00", "16.33", "0.40（优秀）"},   // the middle one in neither group
        {{95, 40, 80, 65}, 1, "72.50", "20.31", "0.55（优秀）"},  // sorted, not in row order
    };
    for (const Case& c : cases) {
        const ExamStatistics s = ComputeStatistics(c.scores);
        auto f = Figures(s);
        EXPECT_EQ(s.groupSize, c.group) << c.scores.size();
        EXPECT_EQ(f["人数"], QString::number(c.scores.size()));
        EXPECT_EQ(f["中位数"], QString::fromUtf8(c.median)) << c.scores.size();
        EXPECT_EQ(f["标准差"], QString::fromUtf8(c.deviation)) << c.scores.size();
        EXPECT_EQ(f["区分度 D"], QString::fromUtf8(c.discrimination)) << c.scores.size();
    }
    EXPECT_TRUE(GroupNote(ComputeStatistics({90})).contains(QStringLiteral("同一个人")));
    // 27 % rounded: 6 students give groups of 2, 50 give 14 (13.5 rounds up).
    EXPECT_EQ(GroupSize(5), 1);
    EXPECT_EQ(GroupSize(6), 2);
    EXPECT_EQ(GroupSize(50), 14);
    EXPECT_EQ(GroupSize(299), 81);
}

TEST(ExamStatisticsReading, DiscriminationBandsOnTheShownValue) {
    EXPECT_EQ(DiscriminationReading(0.40L), QStringLiteral("优秀"));
    EXPECT_EQ(DiscriminationReading(0.395L), QStringLiteral("优秀"));  // shown as 0.40
    EXPECT_EQ(DiscriminationReading(0.39L), QStringLiteral("良好"));
    EXPECT_EQ(DiscriminationReading(0.30L), QStringLiteral("良好"));
    EXPECT_EQ(DiscriminationReading(0.2949L), QStringLiteral("尚可"));
    EXPECT_EQ(DiscriminationReading(0.20L), QStringLiteral("尚可"));
    EXPECT_EQ(DiscriminationReading(0.19L), QStringLiteral("差"));
}

TEST(ExamStatisticsRates, RatesAreCountsOverTheClass) {
    // Counted, not the remainder of rounded shares: 1 of 2 passed.
    EXPECT_EQ(Figures(ComputeStatistics({95, 50}))["及格率"], QStringLiteral("50.00%"));
    // 33.33 x 3 leaves 0.01 in an empty fail band; everybody passed all the same.
    EXPECT_EQ(Figures(ComputeStatistics({95, 85, 75}))["及格率"], QStringLiteral("100.00%"));
    EXPECT_EQ(Figures(ComputeStatistics({95, 85, 75}))["优秀率"], QStringLiteral("33.33%"));
    EXPECT_EQ(Figures(ComputeStatistics({50}))["及格率"], QStringLiteral("0.00%"));
    // 66 of 150 passed is 44.00 %, 4 of 7 is 57.14 %: not 44.01 and 57.15.
    std::vector<double> class150(150, 40);
    std::fill(class150.begin(), class150.begin() + 66, 75.0);
    EXPECT_EQ(Figures(ComputeStatistics(class150))["及格率"], QStringLiteral("44.00%"));
    EXPECT_EQ(Figures(ComputeStatistics({95, 91, 90, 89.5, 60, 59.4, 10}))["优秀率"], QStringLiteral("57.14%"));
    // Out of 150 the pass mark is 90: 89.5 rounds to 90 and passes, 89.4 does not.
    const ExamStatistics s = ComputeStatistics({89.5, 89.4, 135, 134.5}, 150);
    EXPECT_EQ(s.passCount, 3);
    EXPECT_EQ(s.excellentCount, 1);  // 134.5 rounds to 134
    EXPECT_TRUE(RateNote(s).contains(QStringLiteral("90 分"))) << RateNote(s).toStdString();
    EXPECT_TRUE(RateNote(s).contains(QStringLiteral("135 分"))) << RateNote(s).toStdString();
}

TEST(ExamStatisticsFullMarks, DifficultyAndDiscriminationAreDividedByTheFullMarks) {
    auto f = Figures(ComputeStatistics({150, 120, 90, 60}, 150));
    EXPECT_EQ(f["难度 P"], "0.70");                      // 105 / 150
    EXPECT_EQ(f["区分度 D"], QStringLiteral("0.60（优秀）"));  // (150 - 60) / 150
    EXPECT_TRUE(GroupNote(ComputeStatistics({150, 60}, 150)).contains(QStringLiteral("平均分 ÷ 150")));
    EXPECT_TRUE(GroupNote(ComputeStatistics({90, 60})).contains(QStringLiteral("平均分 ÷ 100")));
}

TEST(ConclusionSentencePlace, ReplacesTheSentenceWrittenBeforeAndNothingElse) {
    const QString old = QStringLiteral("本次考试共6人，最高分100.00，最低分59.40，平均分79.32，中位数80.75，标准差16.33；"
                                       "及格率83.34%，优秀率50.00%；试卷难度P为0.79，区分度D为0.38（良好）。");
    const QString text = QStringLiteral("函数极限部分错误率较高。\n") + old + QStringLiteral("\n下学期加强练习。");
    const SentencePlace p = PlaceConclusionSentence(text);
    EXPECT_EQ(text.mid(p.start, p.length), old);
    EXPECT_FALSE(p.newLine);
    // A teacher's own line that starts the same way but is not ours stays.
    const SentencePlace none = PlaceConclusionSentence(QStringLiteral("本次考试共6人参加。"));
    EXPECT_EQ(none.length, 0);
    EXPECT_TRUE(none.newLine);
    EXPECT_FALSE(PlaceConclusionSentence(QString()).newLine);
}

class StatisticsMenu : public AppTest {
protected:
    void AnalyseWorkedExample() {
        SetScores({"95", "89.5", "72", "60", "59.4", "100"});
        QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    }
    // Opens the dialog from the menu; inspect runs while it is open.
    void OpenDialog(const std::function<void(TStatisticsDialog*)>& inspect) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<TStatisticsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            seen = true;
            inspect(d);
            if (d->isVisible()) d->reject();
        });
        form->MbStatistics->Click();
        EXPECT_TRUE(seen);
    }
};

TEST_F(StatisticsMenu, EnabledAndDisabledWithTheMakeItem) {
    EXPECT_FALSE(form->MbStatistics->Enabled());
    AnalyseWorkedExample();
    EXPECT_TRUE(form->MbStatistics->Enabled());
    dialogs.saveQuestionAnswers.push_back(SaveAnswer::Discard);
    dialogs.answers.push_back(MsgResult::OK);
    QTest::mouseClick(form->btnClear, Qt::LeftButton);
    EXPECT_FALSE(form->MbStatistics->Enabled());
    EXPECT_FALSE(form->MbMake->Enabled());
}

TEST_F(StatisticsMenu, WorkedExampleShowsTheFiguresComputedByHand) {
    AnalyseWorkedExample();
    OpenDialog([&](TStatisticsDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("统计指标"));
        EXPECT_EQ(d->Figure("人数"), "6");
        EXPECT_EQ(d->Figure("最高分"), "100.00");
        EXPECT_EQ(d->Figure("最低分"), "59.40");
        EXPECT_EQ(d->Figure("平均分"), Result(1, 7));  // 475.9 / 6
        EXPECT_EQ(d->Figure("平均分"), "79.32");
        EXPECT_EQ(d->Figure("中位数"), "80.75");          // (72 + 89.5) / 2
        EXPECT_EQ(d->Figure("标准差"), "16.33");          // sqrt(1600.8083 / 6)
        EXPECT_EQ(d->Figure("及格率"), "83.33%");         // 5 of 6
        EXPECT_EQ(d->Figure("优秀率"), "50.00%");
        EXPECT_EQ(d->Figure("难度 P"), "0.79");
        EXPECT_EQ(d->Figure("区分度 D"), QStringLiteral("0.38（良好）"));  // (97.5 - 59.7) / 100
        const QString note = d->findChild<QLabel*>("note")->text();
        EXPECT_TRUE(note.contains(QStringLiteral("27%"))) << note.toStdString();
        EXPECT_TRUE(note.contains(QStringLiteral("本次每组 2 人"))) << note.toStdString();
        const QString shot = qEnvironmentVariable("MARKWISE_SHOT_DIR");
        if (!shot.isEmpty()) d->grab().save(shot + "/statistics_dialog.png");
    });
}

TEST_F(StatisticsMenu, WriteAppendsOneSentenceToTheConclusion) {
    AnalyseWorkedExample();
    form->mmadvice->SetText(QStringLiteral("函数极限部分错误率较高。"));
    OpenDialog([](TStatisticsDialog* d) { d->WriteButton()->click(); });
    EXPECT_EQ(form->mmadvice->Lines(),
              (QStringList{QStringLiteral("函数极限部分错误率较高。"),
                           QStringLiteral("本次考试共6人，最高分100.00，最低分59.40，平均分79.32，中位数80.75，标准差16.33；"
                                          "及格率83.33%，优秀率50.00%；试卷难度P为0.79，区分度D为0.38（良好）。")}));
    EXPECT_EQ(form->SkSkinPageControl1->ActivePageIndex(), 3);
    // Closing without writing leaves the memo alone; the sentence can be undone.
    const QString before = form->mmadvice->Text();
    OpenDialog([](TStatisticsDialog*) {});
    EXPECT_EQ(form->mmadvice->Text(), before);
    form->mmadvice->undo();
    EXPECT_EQ(form->mmadvice->Text(), QStringLiteral("函数极限部分错误率较高。"));
}

TEST_F(StatisticsMenu, FiguresBelongToTheLastAnalysisNotToLaterTyping) {
    AnalyseWorkedExample();
    form->strgrdscore->SetCells(0, 7, "10");
    OpenDialog([](TStatisticsDialog* d) { EXPECT_EQ(d->Figure("人数"), "6"); });
}
