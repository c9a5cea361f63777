// The roster: kept from an import or a paste, shown beside the scores, and
// the failing and excellent lists of 统计指标 against a computation of their own.
#include "app_fixture.h"

#include "framed_grid.h"
#include "led_display.h"
#include "memo.h"
#include "roster_column.h"
#include "skin_controls.h"
#include "skin_menu.h"
#include "statistics_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>

namespace {

struct Pupil { QString number, name, score; };

// Scores that reach every band edge of 100 and of 150, and ties.
std::vector<Pupil> Class() {
    const char* scores[] = {"59.5", "59.4", "89.5", "90", "100", "0", "60.5", "88.5", "95", "95",
                            "134.5", "135", "89.4", "120", "72", "45", "59.5", "99.9"};
    std::vector<Pupil> out;
    int k = 0;
    for (const char* s : scores) {
        ++k;
        out.push_back({QStringLiteral("20240%1").arg(k, 2, 10, QChar('0')), QStringLiteral("学生%1").arg(k), s});
    }
    return out;
}

// The lists worked out apart from the program: whole-number rounding with
// ties to even done by hand, compared in tenths.
std::pair<QStringList, QStringList> Expected(const std::vector<Pupil>& pupils, int fullMarks) {
    struct Row { double v; int order; QString line; };
    std::vector<Row> failing, excellent;
    int order = 0;
    for (const Pupil& p : pupils) {
        const double v = p.score.toDouble();
        if (v > fullMarks) continue;
        double r = std::floor(v);
        const double frac = v - r;
        if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2) != 0)) r += 1;
        const QString line = p.number + '\t' + p.name + '\t' + p.score;
        if (r * 10 < 6.0 * fullMarks) failing.push_back({v, order, line});
        else if (r * 10 >= 9.0 * fullMarks) excellent.push_back({v, order, line});
        ++order;
    }
    const auto sorted = [](std::vector<Row> rows) {
        std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.v != b.v ? a.v > b.v : a.order < b.order; });
        QStringList out;
        for (const Row& r : rows) out << r.line;
        return out;
    };
    return {sorted(failing), sorted(excellent)};
}

QStringList TableLines(QTableWidget* t) {
    QStringList out;
    for (int r = 0; r < t->rowCount(); ++r) out << t->item(r, 0)->text() + '\t' + t->item(r, 1)->text() + '\t' + t->item(r, 2)->text();
    return out;
}

}  // namespace

class Roster : public AppTest {
protected:
    QString WriteCsv(const std::vector<Pupil>& pupils) {
        QString csv = QStringLiteral("学号,姓名,成绩\n");
        for (const Pupil& p : pupils) csv += p.number + ',' + p.name + ',' + p.score + '\n';
        QFile f(dir.filePath("class.csv"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(csv.toUtf8());
        return f.fileName();
    }
    void OpenStatistics(const std::function<void(TStatisticsDialog*)>& inspect) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<TStatisticsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            seen = true;
            inspect(d);
            d->reject();
        });
        form->MbStatistics->Click();
        EXPECT_TRUE(seen);
    }
    TRosterColumn* Column() const { return form->findChild<TRosterColumn*>("rosterColumn"); }
    QTemporaryDir dir;
};

TEST_F(Roster, ImportKeepsNamesBesideTheScoresAndTypedRowsHaveNone) {
    std::vector<Pupil> pupils = Class();
    pupils.resize(3);
    ImportFile(WriteCsv(pupils));
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(form->Student(2), (ClassStudent{"2024002", QStringLiteral("学生2")}));
    ASSERT_NE(Column(), nullptr);
    EXPECT_TRUE(Column()->isVisible());
    EXPECT_EQ(Column()->TextOf(3), QStringLiteral("学生3"));
    // The names sit right of the grid, row for row, and the counter moved out of their way.
    EXPECT_EQ(Column()->geometry().left(), form->strgrdscore->geometry().right() + 1);
    EXPECT_GE(form->LED->geometry().left(), Column()->geometry().right());
    const QString shot = qEnvironmentVariable("MARKWISE_SHOT_DIR");
    if (!shot.isEmpty()) form->grab().save(shot + "/roster_grid.png");
    // Typed below: no name; the class file sees the roster.
    FocusScoreGrid();
    ClickCell(4);
    Type("77\t");
    EXPECT_TRUE(form->Student(4).IsEmpty());
    const ClassData c = form->CurrentClass();
    ASSERT_EQ(c.roster.size(), 4u);
    EXPECT_EQ(c.roster[0].name, QStringLiteral("学生1"));
    EXPECT_TRUE(c.roster[3].IsEmpty());
    // A reset forgets the roster and puts the page back as it was.
    dialogs.answers.push_back(MsgResult::OK);
    QTest::mouseClick(form->btnClear, Qt::LeftButton);
    EXPECT_FALSE(Column()->isVisible());
    EXPECT_EQ(form->LED->geometry(), QRect(217, 120, 38, 24));
}

TEST_F(Roster, ListsMatchAnIndependentComputationAndCopyAsTabSeparatedText) {
    const std::vector<Pupil> pupils = Class();
    for (int fullMarks : {100, 150}) {
        form->edtfullmarks->SetText(QString::number(fullMarks));
        ASSERT_TRUE(form->ApplyFullMarks());
        dialogs.answers.push_back(MsgResult::OK);  // replace, and refused rows beyond 100
        dialogs.answers.push_back(MsgResult::OK);
        ImportFile(WriteCsv(pupils));
        QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
        const auto [failing, excellent] = Expected(pupils, fullMarks);
        OpenStatistics([&](TStatisticsDialog* d) {
            EXPECT_EQ(TableLines(d->FailingTable()), failing) << fullMarks;
            EXPECT_EQ(TableLines(d->ExcellentTable()), excellent) << fullMarks;
            d->CopyFailingButton()->click();
            EXPECT_EQ(QGuiApplication::clipboard()->text(), "学号\t姓名\t成绩\n" + failing.join('\n') + '\n');
            d->CopyExcellentButton()->click();
            EXPECT_EQ(QGuiApplication::clipboard()->text(), "学号\t姓名\t成绩\n" + excellent.join('\n') + '\n');
            const QString shot = qEnvironmentVariable("MARKWISE_SHOT_DIR");
            if (!shot.isEmpty()) d->grab().save(shot + QStringLiteral("/statistics_lists_%1.png").arg(fullMarks));
        });
        dialogs.messages.clear();
    }
}

TEST_F(Roster, RowsTypedByHandAreListedByRow) {
    SetScores({"50", "95"});
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    OpenStatistics([](TStatisticsDialog* d) {
        ASSERT_EQ(d->FailingTable()->rowCount(), 1);
        EXPECT_EQ(d->FailingTable()->item(0, 1)->text(), QStringLiteral("第1行"));
        EXPECT_EQ(d->ExcellentTable()->item(0, 2)->text(), "95");
    });
}

TEST_F(Roster, APastedBlockKeepsItsNames) {
    FocusScoreGrid();
    ClickCell(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("考号\t名字\t得分\r\nK01\t甲\t85\r\nK02\t乙\t93\r\n"));
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(ScoreCells(1, 2), (QStringList{"85", "93"}));
    EXPECT_EQ(form->Student(2), (ClassStudent{"K02", QStringLiteral("乙")}));
}

TEST_F(Roster, WriteTwiceReplacesTheSentence) {
    SetScores({"95", "50"});
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    form->mmadvice->setPlainText(QStringLiteral("第一段。"));
    for (int k = 0; k < 2; ++k) {
        QTimer::singleShot(0, [] { qobject_cast<TStatisticsDialog*>(QApplication::activeModalWidget())->WriteButton()->click(); });
        form->MbStatistics->Click();
    }
    const QStringList lines = form->mmadvice->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 2) << form->mmadvice->toPlainText().toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("第一段。"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("本次考试共2人")));
    // After a change of scores the sentence is replaced, the teacher's text stays.
    form->mmadvice->appendPlainText(QStringLiteral("我的补充。"));
    form->strgrdscore->SetCells(0, 3, "70");
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    QTimer::singleShot(0, [] { qobject_cast<TStatisticsDialog*>(QApplication::activeModalWidget())->WriteButton()->click(); });
    form->MbStatistics->Click();
    const QStringList after = form->mmadvice->toPlainText().split('\n');
    ASSERT_EQ(after.size(), 3);
    EXPECT_TRUE(after[1].startsWith(QStringLiteral("本次考试共3人")));
    EXPECT_EQ(after[2], QStringLiteral("我的补充。"));
    form->mmadvice->undo();
    EXPECT_TRUE(form->mmadvice->toPlainText().contains(QStringLiteral("本次考试共2人")));
}
