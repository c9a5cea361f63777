// Per-question scores in the window: 导入小题成绩…, the totals it places,
// what it asks and refuses, the 小题分析 dialog and the sentence it writes.
#include "app_fixture.h"

#include "chart.h"
#include "class_file.h"
#include "framed_grid.h"
#include "item_analysis_dialog.h"
#include "item_marks_dialog.h"
#include "item_sheets.h"
#include "memo.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QFile>
#include <QPainter>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>



class ItemWindow : public AppTest {
protected:
    QString Write(const QString& name, const QByteArray& bytes) { return itemsheets::Save(dir.filePath(name), bytes); }
    void ImportItems(const QString& path) {
        dialogs.openAnswers.push_back(path);
        form->MbImportItems->Click();
    }
    void Analyse() { QTest::mouseClick(form->btnAnalyse, Qt::LeftButton); }
    QTemporaryDir dir;
};

TEST_F(ItemWindow, SheetWithFullMarksRowPlacesSumsAndListsWrongTotals) {
    const QString csv = Write("小题.csv", QStringLiteral("学号,姓名,1,2,3,总分\n,满分,5,5,10,20\n01,张三,5,4,10,19\n"
                                                         "02,李四,3,,6,10\n03,王五,1,1,1,3\n")
                                              .toUtf8());
    // Saying no to the wrong totals leaves the grid as it was.
    SetScores({"77"});
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard, SaveAnswer::Discard};
    dialogs.answers = {MsgResult::Cancel};
    ImportItems(csv);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("文件第4行：总分10，各小题之和9（02 李四）")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(ScoreCells(1, 2), (QStringList{"77", ""}));
    EXPECT_EQ(form->FullMarks(), 100);

    dialogs.messages.clear();
    dialogs.answers = {MsgResult::OK, MsgResult::OK};  // the totals, then replacing the 77
    ImportItems(csv);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(ScoreCells(1, 4), (QStringList{"19", "9", "3", ""}));
    EXPECT_EQ(form->FullMarks(), 20);
    EXPECT_EQ(form->Student(2).name, QStringLiteral("李四"));
    EXPECT_EQ(form->ItemTexts(2), (QStringList{"3", "", "6"}));
    const ClassData c = form->CurrentClass();
    EXPECT_EQ(c.items.questions, (QStringList{"1", "2", "3"}));
    EXPECT_EQ(c.items.fullMarks, (std::vector<double>{5, 5, 10}));
    EXPECT_TRUE(WriteClassFile(c).startsWith(QByteArray(kClassFileStart) + "2,"));

    EXPECT_FALSE(form->MbItems->Enabled());
    Analyse();
    EXPECT_TRUE(form->MbItems->Enabled());
    EXPECT_EQ(Result(1, 6), "3");
    // A class typed by hand has nothing for 小题分析.
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    dialogs.answers = {MsgResult::OK};
    QTest::mouseClick(form->btnClear, Qt::LeftButton);
    SetScores({"88"});
    Analyse();
    EXPECT_FALSE(form->MbItems->Enabled());
    EXPECT_TRUE(form->CurrentClass().items.IsEmpty());
}

TEST_F(ItemWindow, WithoutFullMarksRowTheTeacherGivesThem) {
    const QString csv = Write("无满分.csv", QStringLiteral("姓名,T1,T2\n张三,2.5,7\n李四,1,8\n").toUtf8());
    bool asked = false;
    OnDialog<TItemMarksDialog>([&](TItemMarksDialog* d) {
        asked = true;
        QTableWidget* t = d->Table();
        ASSERT_EQ(t->rowCount(), 2);
        EXPECT_EQ(t->item(0, 0)->text(), "T1");
        EXPECT_EQ(t->item(0, 1)->text(), "3");  // the highest score, rounded up
        EXPECT_EQ(t->item(1, 1)->text(), "8");
        t->item(0, 1)->setText("0");
        d->accept();
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(d->Problem().isEmpty());
        t->item(0, 1)->setText("2.5");  // 10.5 in all: no whole paper
        d->accept();
        EXPECT_TRUE(d->Problem().contains("10.5"));
        t->item(0, 1)->setText("5");
        t->item(1, 1)->setText("10");
        d->accept();
    });
    ImportItems(csv);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(ScoreCells(1, 3), (QStringList{"9.5", "9", ""}));
    EXPECT_EQ(form->FullMarks(), 15);
    EXPECT_EQ(form->CurrentClass().items.fullMarks, (std::vector<double>{5, 10}));

    // Cancelled: nothing changes.
    OnDialog<TItemMarksDialog>([](TItemMarksDialog* d) { d->reject(); });
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard};
    ImportItems(csv);
    EXPECT_EQ(ScoreCells(1, 3), (QStringList{"9.5", "9", ""}));
}

TEST_F(ItemWindow, ScoresBeyondTheirQuestionOrNoQuestionsChangeNothing) {
    SetScores({"60", "70"});
    dialogs.saveQuestionAnswers = {SaveAnswer::Discard, SaveAnswer::Discard};
    ImportItems(Write("超.csv", QStringLiteral("姓名,1,2\n满分,5,5\n张三,6,5\n").toUtf8()));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("1题“6”超过满分5"))) << dialogs.messages[0].text.toStdString();
    ImportItems(Write("无题.csv", QStringLiteral("姓名,成绩\n张三,90\n").toUtf8()));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[1].text.contains(QStringLiteral("找不到小题列")));
    EXPECT_EQ(ScoreCells(1, 2), (QStringList{"60", "70"}));
    EXPECT_EQ(form->FullMarks(), 100);
}

TEST_F(ItemWindow, FortyFiveStudentsTwentyQuestionsInTheDialog) {
    ImportItems(Write("高一3班.csv", itemsheets::FortyFiveByTwenty()));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(form->EnteredCount(), 45);
    Analyse();
    ASSERT_TRUE(form->MbItems->Enabled());

    bool shown = false;
    OnDialog<TItemAnalysisDialog>([&](TItemAnalysisDialog* d) {
        shown = true;
        QTableWidget* t = d->Table();
        ASSERT_EQ(t->rowCount(), 20);
        EXPECT_EQ(t->item(2, 0)->text(), QStringLiteral("第3题"));
        EXPECT_EQ(t->item(2, 3)->text(), "1.00");
        EXPECT_EQ(t->item(2, 5)->text(), QStringLiteral("—"));
        EXPECT_TRUE(t->item(2, 8)->text().contains(QStringLiteral("偏易")));
        EXPECT_TRUE(t->item(6, 8)->text().contains(QStringLiteral("题总相关为负")));
        EXPECT_TRUE(t->item(11, 8)->text().contains(QStringLiteral("偏难")));
        EXPECT_TRUE(d->Note().contains(QStringLiteral("P < 0.30")));
        EXPECT_TRUE(d->Note().contains(QStringLiteral("Ebel")));
        EXPECT_EQ(d->Chart()->SeriesCount(), 2);
        EXPECT_EQ(d->Chart()->SeriesAt(0)->Count(), 20);
        // Painted: question 3's P bar (navy) reaches 1, question 7's D bar (red) hangs below 0.
        TChart& chart = *d->Chart();
        QImage image(chart.width(), chart.height(), QImage::Format_RGB32);
        {
            QPainter p(&image);
            chart.PaintPicture(p, {0, 0, chart.width(), chart.height()});
        }
        const auto colourNear = [&](double x, double y, QColor colour) {
            const int cx = chart.BottomAxis.CalcPosValue(x), cy = chart.LeftAxis.CalcPosValue(y);
            for (int px = cx - 12; px <= cx + 12; ++px)
                if (px >= 0 && px < image.width() && image.pixelColor(px, cy) == colour) return true;
            return false;
        };
        EXPECT_TRUE(colourNear(3, 0.9, QColor(0, 0, 128)));
        EXPECT_FALSE(colourNear(3, 0.9, QColor(255, 0, 0)));  // its D is 0
        const double d7 = t->item(6, 4)->text().toDouble();
        EXPECT_TRUE(colourNear(7, d7 / 2, QColor(255, 0, 0)));
        EXPECT_FALSE(colourNear(7, d7 / 2, QColor(0, 0, 128)));
        const QString shot = qEnvironmentVariable("MARKWISE_SHOT_DIR");
        if (!shot.isEmpty()) d->grab().save(shot + "/item_dialog.png");
        // Sorted by P, numerically: the hardest question first, the one everyone got last.
        t->horizontalHeader()->setSortIndicator(3, Qt::AscendingOrder);
        EXPECT_EQ(t->item(0, 0)->text(), QStringLiteral("第12题"));
        EXPECT_EQ(t->item(19, 3)->text(), "1.00");
        d->WriteButton()->click();
    });
    form->MbItems->Click();
    EXPECT_TRUE(shown);
    const QString conclusion = form->mmadvice->toPlainText();
    EXPECT_TRUE(conclusion.startsWith(QStringLiteral("小题分析：第12题得分率低于0.30，偏难；第3题"))) << conclusion.toStdString();
    EXPECT_TRUE(conclusion.contains(QStringLiteral("第7题与其余各题的相关为负")));
    EXPECT_EQ(form->SkSkinPageControl1->ActivePageIndex(), 3);

    // Written again, the sentence replaces itself and leaves the teacher's lines.
    form->mmadvice->setPlainText(QStringLiteral("前言。\n") + conclusion + QStringLiteral("\n后记。"));
    OnDialog<TItemAnalysisDialog>([](TItemAnalysisDialog* d) { d->WriteButton()->click(); });
    form->MbItems->Click();
    EXPECT_EQ(form->mmadvice->toPlainText(), QStringLiteral("前言。\n") + conclusion + QStringLiteral("\n后记。"));
}

TEST_F(ItemWindow, TotalsChangedByHandAreLeftOutAndPastedRowsLoseTheirQuestions) {
    ImportItems(Write("小题.csv", QStringLiteral("姓名,1,2\n满分,5,5\n张三,5,4\n李四,3,2\n王五,1,0\n").toUtf8()));
    SetScores({"8"});  // 张三's 9, typed over
    Analyse();
    OnDialog<TItemAnalysisDialog>([](TItemAnalysisDialog* d) {
        EXPECT_TRUE(d->Note().contains(QStringLiteral("第1行（张三）"))) << d->Note().toStdString();
        EXPECT_EQ(d->Table()->rowCount(), 2);
        d->reject();
    });
    form->MbItems->Click();
    EXPECT_TRUE(form->mmadvice->toPlainText().isEmpty());

    // A row pasted over is a total of its own now, not the sum of its questions.
    form->PlaceScores(2, {"7"});
    EXPECT_TRUE(form->ItemTexts(2).isEmpty());
    EXPECT_EQ(form->ItemTexts(3), (QStringList{"1", "0"}));
    const ClassData c = form->CurrentClass();
    ASSERT_EQ(c.items.rows.size(), 3u);
    EXPECT_TRUE(c.items.rows[1].isEmpty());

    // What the class file keeps comes back whole.
    form->ShowClass(ReadClassFile(WriteClassFile(c)).data);
    EXPECT_EQ(form->CurrentClass(), c);
}
