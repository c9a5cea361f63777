// Real exams through the real window and the real office: full marks of 150
// and 75 down to the report's labels and counts, and workbooks the office
// saved with a title row, several subjects, two score columns, several
// sheets and a roster.
#include "app_fixture.h"
#include "office_env.h"
#include "sheet_files.h"

#include "column_dialog.h"
#include "framed_grid.h"
#include "roster_column.h"
#include "sheet_dialog.h"
#include "skin_controls.h"
#include "skin_menu.h"
#include "statistics_dialog.h"

#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Exams : public AppTest {
protected:
    void SetUp() override {
        const QString program = TWordApplication::Settings().program;
        AppTest::SetUp();
        TWordApplication::Settings().program = program;
    }
    void SetFullMarks(int value) {
        form->edtfullmarks->SetText(QString::number(value));
        ASSERT_TRUE(form->ApplyFullMarks());
    }
    // Table 2 of the report just made: cells 1 to 23.
    QStringList GradeTable(const QString& doc) {
        TWordApplication app;
        app.Documents().Open(doc, EmptyParam, true);
        TWordDocument d;
        d.ConnectTo(app.Documents().Item(1));
        WordCells cells = d.Tables().Item(2).Range().Cells();
        QStringList out;
        for (int k = 1; k <= 23; ++k) out << cells.Item(k).Range().Text();
        app.Quit();
        return out;
    }
    QStringList MakeReport(const QString& name) {
        const QString chosen = testoffice::Path(name);
        dialogs.saveAnswers = {chosen};
        form->MbMake->Click();
        EXPECT_EQ(dialogs.Texts().back(), QStringLiteral("试卷分析保存成功！"));
        return GradeTable(chosen + ".doc");
    }
    static QString Shots() { return qEnvironmentVariable("MARKWISE_SHOT_DIR"); }
};

TEST_F(Exams, FullMarks150And75ReachTheReportWithTheirLabelsAndEdges) {
    struct Case {
        int fullMarks;
        QStringList scores, labels, counts;
    };
    const Case cases[] = {
        {150,
         {"135", "134.5", "120", "119.5", "105", "104.5", "90", "89.5", "89.4", "150"},
         {"优(135+)", "良(120-135)", "中(105-120)", "及格(90-105)", "不及格(90-)"},
         {"2", "3", "1", "3", "1"}},
        {75,
         {"67.5", "67.4", "60", "59.9", "52.6", "52.5", "45", "44.5", "75"},
         {"优(67.5+)", "良(60-67.5)", "中(52.5-60)", "及格(45-52.5)", "不及格(45-)"},
         {"2", "3", "1", "2", "1"}},
    };
    for (const Case& c : cases) {
        form->ClearScores();
        SetFullMarks(c.fullMarks);
        SetScores(c.scores);
        QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
        for (int b = 0; b < 5; ++b) {
            EXPECT_EQ(Result(0, b + 1), c.labels[b]) << c.fullMarks;
            EXPECT_EQ(Result(1, b + 1), c.counts[b]) << c.fullMarks << " band " << b;
        }
        if (!Shots().isEmpty()) {
            form->SkSkinPageControl1->SetActivePageIndex(1);
            form->grab().save(Shots() + QStringLiteral("/result_grid_%1.png").arg(c.fullMarks));
        }
        const QStringList table = MakeReport(QStringLiteral("满分%1").arg(c.fullMarks));
        for (int b = 0; b < 5; ++b) {
            EXPECT_EQ(table[3 * b + 3], c.labels[b]) << c.fullMarks;          // cells 4, 7, 10, 13, 16
            EXPECT_EQ(table[3 * b + 4], c.counts[b]) << c.fullMarks;          // 5, 8, 11, 14, 17
        }
        EXPECT_EQ(table[19], QString::number(c.scores.size()));
        dialogs.messages.clear();
    }
    // Back at 100 the template's own labels stand, as they always did.
    form->ClearScores();
    SetFullMarks(100);
    SetScores({"95"});
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    const QStringList table = MakeReport(QStringLiteral("满分100"));
    EXPECT_EQ(table[3], QStringLiteral("优〔90+)"));
    EXPECT_EQ(table[15], QStringLiteral("不及格(60-)"));
}

// The sheet a teacher of a senior class has: a title, the roster and two
// subjects out of 150.
TEST_F(Exams, ATitledWorkbookOutOf150ThroughTheMenu) {
    QString csv = QStringLiteral("高一(3)班期中考试成绩单,,,\n学号,姓名,语文,数学\n");
    const char* names[] = {"张三", "李四", "王五", "赵六", "孙七", "周八", "吴九", "郑十"};
    const char* chinese[] = {"132", "88", "141", "97.5", "89.5", "120", "60", "135"};
    const char* maths[] = {"118", "75", "150", "102", "91", "89.4", "140", "99"};
    for (int k = 0; k < 8; ++k)
        csv += QStringLiteral("2024%1,%2,%3,%4\n").arg(k + 1, 3, 10, QChar('0')).arg(QString::fromUtf8(names[k]), chinese[k], maths[k]);
    const QString path = sheetfiles::Convert(QStringLiteral("高一3班"), csv, "xlsx");
    ASSERT_FALSE(path.isEmpty());
    SetFullMarks(150);
    form->SkSkinPageControl1->SetActivePageIndex(0);
    if (!Shots().isEmpty()) form->grab().save(Shots() + "/information_tab_150.png");

    QStringList offered;
    OnDialog<TColumnDialog>([&](TColumnDialog* d) {
        for (auto* b : d->findChildren<QAbstractButton*>()) offered << b->text();
        if (!Shots().isEmpty()) d->grab().save(Shots() + "/column_dialog_150.png");
        d->Choose(0);
        d->accept();
    });
    ImportFile(path);
    EXPECT_TRUE(offered.contains(QStringLiteral("语文")) && offered.contains(QStringLiteral("数学")))
        << offered.join('|').toStdString();
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(ScoreCells(1, 9), (QStringList{"132", "88", "141", "97.5", "89.5", "120", "60", "135", ""}));
    EXPECT_EQ(form->Student(2), (ClassStudent{"2024002", QStringLiteral("李四")}));
    auto* names_ = form->findChild<TRosterColumn*>("rosterColumn");
    ASSERT_TRUE(names_ && names_->isVisible());
    QApplication::processEvents();
    if (!Shots().isEmpty()) form->grab().save(Shots() + "/grid_with_names_150.png");

    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    EXPECT_EQ(Result(0, 1), QStringLiteral("优(135+)"));
    EXPECT_EQ(Result(1, 1), "2");  // 141, 135
    EXPECT_EQ(Result(1, 5), "2");  // 88, 60 (89.5 rounds to 90 and passes)
    if (!Shots().isEmpty()) form->grab().save(Shots() + "/result_grid_import_150.png");
    form->SkSkinPageControl1->SetActivePageIndex(2);
    QApplication::processEvents();
    if (!Shots().isEmpty()) form->grab().save(Shots() + "/histogram_150.png");

    QStringList failing;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<TStatisticsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        for (int r = 0; r < d->FailingTable()->rowCount(); ++r) failing << d->FailingTable()->item(r, 1)->text();
        if (!Shots().isEmpty()) d->grab().save(Shots() + "/statistics_failing_150.png");
        d->reject();
    });
    form->MbStatistics->Click();
    EXPECT_EQ(failing, (QStringList{QStringLiteral("李四"), QStringLiteral("吴九")}));
}

TEST_F(Exams, SeveralSheetsAreListedWithTheirRowsAndTwoScoreHeadersAsked) {
    const QString xml = sheetfiles::SheetsXml({
        {QStringLiteral("一班"), {{"姓名", "成绩"}, {"甲", "90"}, {"乙", "80"}, {"丙", "70"}}},
        {QStringLiteral("空表"), {}},
        {QStringLiteral("二班"), {{"姓名", "score", "成绩"}, {"丁", "61", "62"}, {"戊", "71", "72"}}},
    });
    const QString path = sheetfiles::ConvertText(QStringLiteral("两个班"), xml, "fods", "xlsx");
    ASSERT_FALSE(path.isEmpty());
    QStringList listed;
    bool columnAsked = false;
    OnDialog<TSheetDialog>([&](TSheetDialog* d) {
        listed = d->Entries();
        if (!Shots().isEmpty()) d->grab().save(Shots() + "/sheet_dialog.png");
        d->Choose(2);
        d->accept();
    });
    OnDialog<TColumnDialog>([&](TColumnDialog* c) {
        columnAsked = true;
        c->Choose(1);
        c->accept();
    });
    ImportFile(path);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("一班（4行）"), QStringLiteral("空表（0行）"), QStringLiteral("二班（3行）")}));
    EXPECT_TRUE(columnAsked);
    EXPECT_EQ(ScoreCells(1, 3), (QStringList{"62", "72", ""}));
    EXPECT_EQ(form->Student(1).name, QStringLiteral("丁"));
}

TEST_F(Exams, AnOdsWithATitleAndAnOutOfRangeTotal) {
    const QString path = sheetfiles::Convert(QStringLiteral("总分表"),
                                             QStringLiteral("期末成绩汇总,,\n姓名,英语,总分\n甲,95,280\n乙,59,190\n"), "ods");
    ASSERT_FALSE(path.isEmpty());
    QString note;
    OnDialog<TColumnDialog>([&](TColumnDialog* d) {
        note = d->findChild<QLabel*>("note")->text();
        d->accept();
    });
    ImportFile(path);
    EXPECT_TRUE(note.contains(QStringLiteral("“总分”"))) << note.toStdString();
    EXPECT_EQ(ScoreCells(1, 3), (QStringList{"95", "59", ""}));
}

}  // namespace
