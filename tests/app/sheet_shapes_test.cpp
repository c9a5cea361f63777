// Shapes of teachers' real score lists, as text files: a title above the
// header, a total beyond the full marks, two score columns, a value split by
// its comma, a hostile cell, and the reader's findings on their own.
#include "app_fixture.h"

#include "column_dialog.h"
#include "framed_grid.h"
#include "score_reader.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

namespace {
ScoreTable Table(const char* utf8) { return ParseTextTable(QString::fromUtf8(utf8)); }
}

TEST(ScoreReading, ATitleAboveTheHeaderIsPassedOver) {
    const ScoreTable t = Table("高一(3)班期中考试成绩单\n\n学号,姓名,语文\n2024001,张三,95\n2024002,李四,88\n");
    const ScoreReading r = ReadScoreTable(t, 100);
    ASSERT_EQ(r.outcome, ScoreReading::Outcome::Ready);
    EXPECT_EQ(r.list.scores, (QStringList{"95", "88"}));
    EXPECT_EQ(r.list.students[1], (ClassStudent{"2024002", QStringLiteral("李四")}));
    // Two title lines, one of them a date.
    const ScoreReading two = ReadScoreTable(Table("期末考试\n2024-01-15\n姓名,成绩\n张三,70\n"), 100);
    EXPECT_EQ(two.list.scores, QStringList{"70"});
    EXPECT_EQ(two.list.students[0].name, QStringLiteral("张三"));
}

TEST(ScoreReading, ANamedColumnBeyondTheFullMarksGivesWayToTheSubjects) {
    const ScoreTable t = Table("姓名,语文,数学,英语,总分\n张三,95,88,76,259\n李四,60,72,81,213\n");
    const ScoreReading r = ReadScoreTable(t, 100);
    ASSERT_EQ(r.outcome, ScoreReading::Outcome::ChooseColumn);
    ASSERT_EQ(r.choices.size(), 3u);
    EXPECT_EQ(r.choices[2].header, QStringLiteral("英语"));
    ASSERT_EQ(r.setAside.size(), 1u);
    EXPECT_EQ(r.setAside[0].header, QStringLiteral("总分"));
    // Out of 300 the total is the column.
    const ScoreReading of300 = ReadScoreTable(t, 300);
    ASSERT_EQ(of300.outcome, ScoreReading::Outcome::Ready);
    EXPECT_EQ(of300.list.scores, (QStringList{"259", "213"}));
}

TEST(ScoreReading, TwoColumnsNamedAsScoresAreAQuestion) {
    const ScoreReading r = ReadScoreTable(Table("姓名,Score,成绩\n张三,80,81\n"), 100);
    ASSERT_EQ(r.outcome, ScoreReading::Outcome::ChooseColumn);
    EXPECT_EQ(r.choices.size(), 2u);
    const ScoreReading chosen = ReadScoreTable(Table("姓名,Score,成绩\n张三,80,81\n"), 100, 2);
    EXPECT_EQ(chosen.list.scores, QStringList{"81"});
}

TEST(ScoreReading, AnExtraFieldRefusesTheRowAndNamesIt) {
    const ScoreReading r = ReadScoreTable(Table("学号,姓名,成绩\n1001,张三,90\n1002,李四,85,5\n1003,王五,77\n"), 100);
    ASSERT_EQ(r.outcome, ScoreReading::Outcome::Ready);
    EXPECT_EQ(r.list.scores, (QStringList{"90", "77"}));
    ASSERT_EQ(r.list.refused.size(), 1u);
    EXPECT_EQ(r.list.refused[0].sourceRow, 3);
    EXPECT_EQ(r.list.refused[0].extraFields, 1);
    EXPECT_EQ(r.list.refused[0].text, "1002,李四,85,5");
    EXPECT_EQ(r.list.refused[0].student.name, QStringLiteral("李四"));
    // Trailing empty fields, as spreadsheets write them, are no extra field.
    EXPECT_TRUE(ReadScoreTable(Table("姓名,成绩\n张三,90,,\n"), 100).list.refused.empty());
}

TEST(ScoreReading, AHostileCellIsSaidToBeTooLong) {
    const QString cell = QString(15 * 1024 * 1024, QChar('9'));
    const ScoreReading r = ReadScoreTable(ParseTextTable("成绩\n" + cell + "\n88\n"), 100);
    EXPECT_EQ(r.outcome, ScoreReading::Outcome::CellTooLong);
    EXPECT_EQ(r.longCellRow, 2);
    EXPECT_EQ(r.longCellLength, cell.size());
}

class SheetShapes : public AppTest {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QTemporaryDir dir;
};

TEST_F(SheetShapes, TheTotalIsSetAsideAndTheTeacherPicksASubject) {
    const QString csv = Write("三科.csv", QStringLiteral("姓名,语文,数学,总分\n张三,95,88,183\n李四,60,72,132\n").toUtf8());
    QString note;
    OnDialog<TColumnDialog>([&](TColumnDialog* d) {
        note = d->findChild<QLabel*>("note")->text();
        d->Choose(1);
        d->accept();
    });
    ImportFile(csv);
    EXPECT_TRUE(note.contains(QStringLiteral("“总分”列的数值大多超出0~100的范围"))) << note.toStdString();
    EXPECT_EQ(ScoreCells(1, 3), (QStringList{"88", "72", ""}));
    EXPECT_EQ(form->Student(1).name, QStringLiteral("张三"));
}

TEST_F(SheetShapes, MessagesNameTheRowTheStudentAndTheLongCell) {
    dialogs.answers.push_back(MsgResult::Cancel);
    ImportFile(Write("逗号.csv", QStringLiteral("学号,姓名,成绩\n1001,张三,90\n1002,李四,85,5\n").toUtf8()));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(
        QStringLiteral("文件第3行：比表头多1项（1002,李四,85,5），数值里可能有逗号（1002 李四）")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(ScoreCells(1, 1), QStringList{""});
    dialogs.messages.clear();
    ImportFile(Write("长.csv", "成绩\n" + QByteArray(15 * 1024 * 1024, '7') + "\n"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("第2行有一个单元格长达15728640个字符，太长了")))
        << dialogs.messages[0].text.left(200).toStdString();
    // Out of range for 100, in range once the full marks say so.
    dialogs.messages.clear();
    ImportFile(Write("总分.csv", QStringLiteral("姓名,总分\n张三,259\n李四,213\n").toUtf8()));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("如果满分不是100"))) << dialogs.messages[0].text.toStdString();
}
