// Per-question scores without the window: the sheet read, the totals and
// their mismatches, the class file that keeps them and the export that
// gives them back.
#include "class_file.h"
#include "item_reader.h"
#include "score_export.h"
#include "score_table.h"

#include <gtest/gtest.h>

namespace {

ScoreTable Table(const char* text) { return ParseTextTable(QString::fromUtf8(text)); }

ClassData ItemClass() {
    ClassData c;
    c.fullMarks = 20;
    c.scores = {"17.5", "", "9"};
    c.roster = {{"01", QStringLiteral("张三")}, {}, {"03", QStringLiteral("王五")}};
    c.items.questions = {"1", QStringLiteral("第2题"), "T3"};
    c.items.fullMarks = {5, 5, 10};
    c.items.rows = {{"5", "2.5", "10"}, {}, {"0", "", "9"}};
    return c;
}

}  // namespace

TEST(ItemSheet, QuestionHeadersAreRecognisedAndOthersAreNot) {
    for (const char* h : {"1", "12", "第1题", "第 3 题", "T1", "q2", "选择1", "填空题3", "17(1)", "17（2）", "３"})
        EXPECT_TRUE(NamesAQuestion(QString::fromUtf8(h))) << h;
    for (const char* h : {"成绩", "总分", "学号", "姓名", "2023001", "第一题", "T", "1a", ""})
        EXPECT_FALSE(NamesAQuestion(QString::fromUtf8(h))) << h;
}

TEST(ItemSheet, MarksRowTotalsAndMismatches) {
    const ItemReading r = ReadItemTable(Table(
        "高一(3)班期中\n"
        "学号,姓名,1,2,第3题,总分\n"
        ",满分,5,5,10,20\n"
        "01,张三,5,4,10,19\n"
        "02,李四,3,,6,10\n"   // the empty cell is a 0, and the 总分 says otherwise
        "03,缺考,,,,\n"       // no question scored: an absent student, not a 0
        "04,赵六,0.5,1.5,2,\n"));  // no 总分 at all
    ASSERT_EQ(r.outcome, ItemReading::Outcome::Ready);
    EXPECT_EQ(r.questions, (QStringList{"1", "2", QStringLiteral("第3题")}));
    ASSERT_TRUE(r.fullMarks);
    EXPECT_EQ(*r.fullMarks, (std::vector<double>{5, 5, 10}));
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].student.name, QStringLiteral("张三"));
    EXPECT_DOUBLE_EQ(r.rows[0].Sum(), 19);
    EXPECT_EQ(r.rows[1].texts, (QStringList{"3", "", "6"}));
    EXPECT_DOUBLE_EQ(r.rows[1].Sum(), 9);
    EXPECT_DOUBLE_EQ(r.rows[2].Sum(), 4);
    const auto mismatches = TotalMismatches(r);
    ASSERT_EQ(mismatches.size(), 2u);
    EXPECT_EQ(mismatches[0].sourceRow, 5);
    EXPECT_EQ(mismatches[0].student.name, QStringLiteral("李四"));
    EXPECT_EQ(mismatches[0].total, "10");
    EXPECT_DOUBLE_EQ(mismatches[0].sum, 9);
    EXPECT_EQ(mismatches[1].student.name, QStringLiteral("赵六"));
    EXPECT_TRUE(mismatches[1].total.isEmpty());
    EXPECT_EQ(r.largest, (std::vector<double>{5, 4, 10}));
    EXPECT_TRUE(CellsAboveMarks(r, *r.fullMarks).empty());
    // With smaller full marks the 4 and the 10 are beyond them.
    const auto above = CellsAboveMarks(r, {5, 3, 8});
    ASSERT_EQ(above.size(), 2u);
    EXPECT_EQ(above[0].sourceRow, 4);
    EXPECT_TRUE(above[0].text.contains(QStringLiteral("超过满分3")));
}

TEST(ItemSheet, SheetsThatAreNoItemSheetAndCellsThatAreNoScore) {
    EXPECT_EQ(ReadItemTable(Table("姓名,成绩\n张三,90\n")).outcome, ItemReading::Outcome::NoQuestions);
    // A sheet of answers without a header: its first row repeats itself.
    EXPECT_EQ(ReadItemTable(Table("1,0,1,1\n0,0,1,0\n")).outcome, ItemReading::Outcome::NoQuestions);
    // One question is no item analysis.
    EXPECT_EQ(ReadItemTable(Table("姓名,1,总分\n张三,5,5\n")).outcome, ItemReading::Outcome::NoQuestions);
    EXPECT_EQ(ReadItemTable(Table("姓名,1,2\n张三,,\n")).outcome, ItemReading::Outcome::NoRows);
    const ItemReading bad = ReadItemTable(Table("姓名,1,2\n张三,5,x\n李四,-1,3\n"));
    ASSERT_EQ(bad.outcome, ItemReading::Outcome::BadCells);
    ASSERT_EQ(bad.refused.size(), 2u);
    EXPECT_EQ(bad.refused[0].sourceRow, 2);
    EXPECT_EQ(bad.refused[1].student.name, QStringLiteral("李四"));
    // A row labelled 满分 with a gap gives no full marks, and is no student either.
    const ItemReading gap = ReadItemTable(Table("姓名,1,2\n满分,5,\n张三,5,3\n"));
    ASSERT_EQ(gap.outcome, ItemReading::Outcome::Ready);
    EXPECT_FALSE(gap.fullMarks);
    EXPECT_EQ(gap.rows.size(), 1u);
}

TEST(ItemSheet, QuestionMarksMustMakeAWholePaper) {
    EXPECT_TRUE(CheckQuestionMarks({2.5, 2.5, 5}).isEmpty());
    EXPECT_FALSE(CheckQuestionMarks({2.5, 5}).isEmpty());
    EXPECT_FALSE(CheckQuestionMarks({0, 5}).isEmpty());
    EXPECT_FALSE(CheckQuestionMarks({600, 600}).isEmpty());
    // Tenths that add up in binary to a hair off a whole number are whole.
    EXPECT_TRUE(CheckQuestionMarks(std::vector<double>(10, 0.1)).isEmpty());
}

TEST(ItemClassFile, VersionTwoOnlyWithPerQuestionScoresAndReadBackWhole) {
    ClassData plain = ItemClass();
    plain.items = ClassItems{};
    const QByteArray v1 = WriteClassFile(plain);
    EXPECT_TRUE(v1.startsWith(QByteArray(kClassFileStart) + "1,\n"));
    EXPECT_FALSE(v1.contains("questions"));
    EXPECT_FALSE(v1.contains("items"));

    const ClassData c = ItemClass();
    const QByteArray v2 = WriteClassFile(c);
    EXPECT_TRUE(v2.startsWith(QByteArray(kClassFileStart) + "2,\n"));
    EXPECT_TRUE(v2.contains("{\"name\": \"第2题\", \"fullMarks\": 5}"));
    EXPECT_TRUE(v2.contains("\"items\": [\"5\", \"2.5\", \"10\"]"));
    const ClassFileContents back = ReadClassFile(v2);
    EXPECT_EQ(back.data, c);
    EXPECT_EQ(WriteClassFile(back.data), v2);
    // Full marks that are no short decimal still come back exactly.
    ClassData odd = c;
    odd.items.fullMarks[0] = 0.1 + 0.2;
    EXPECT_EQ(ReadClassFile(WriteClassFile(odd)).data, odd);
}

TEST(ItemClassFile, DamagedQuestionsAreRefused) {
    const QByteArray good = WriteClassFile(ItemClass());
    const auto refused = [](QByteArray bytes) {
        try {
            ReadClassFile(bytes);
        } catch (const EClassFileError& e) {
            return e.Message();
        }
        return QString();
    };
    QByteArray wrongCount = good;
    wrongCount.replace("[\"5\", \"2.5\", \"10\"]", "[\"5\", \"2.5\"]");
    EXPECT_TRUE(refused(wrongCount).contains(QStringLiteral("3道小题"))) << refused(wrongCount).toStdString();
    QByteArray zeroMarks = good;
    zeroMarks.replace("\"fullMarks\": 10}", "\"fullMarks\": 0}");
    EXPECT_FALSE(refused(zeroMarks).isEmpty());
    QByteArray notText = good;
    notText.replace("[\"5\", \"2.5\", \"10\"]", "[5, 2.5, 10]");
    EXPECT_FALSE(refused(notText).isEmpty());
    // Questions without any row of their scores are no per-question class.
    QByteArray noRows = good;
    noRows.truncate(noRows.indexOf("    \"rows\""));
    noRows += "    \"other\": 1\n}\n";
    const ClassData bare = ReadClassFile(noRows).data;
    EXPECT_TRUE(bare.items.IsEmpty());
    EXPECT_EQ(ReadClassFile(WriteClassFile(bare)).data, bare);
    QByteArray later = good;
    later.replace("\"version\": 2", "\"version\": 3");
    EXPECT_TRUE(refused(later).contains(QStringLiteral("更新版本")));
}

TEST(ItemExport, PerQuestionColumnsWithTheirFullMarksComeBackThroughTheReader) {
    const ClassData c = ItemClass();
    const QList<QVariantList> rows = ExportRows(c, false);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], (QVariantList{QStringLiteral("学号"), QStringLiteral("姓名"), "1", QStringLiteral("第2题"), "T3",
                                     QStringLiteral("总分")}));
    EXPECT_EQ(rows[1], (QVariantList{QString(), QStringLiteral("满分"), "5", "5", "10", "20"}));
    const QByteArray csv = CsvBytes(rows);
    const ItemReading back = ReadItemTable(ParseTextTable(DecodeText(csv)));
    ASSERT_EQ(back.outcome, ItemReading::Outcome::Ready);
    EXPECT_EQ(back.questions, c.items.questions);
    ASSERT_TRUE(back.fullMarks);
    EXPECT_EQ(*back.fullMarks, c.items.fullMarks);
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(back.rows[0].texts, c.items.rows[0]);
    EXPECT_EQ(back.rows[1].student.name, QStringLiteral("王五"));
    EXPECT_TRUE(TotalMismatches(back).empty());
    // Numbers go to a workbook as numbers.
    EXPECT_EQ(ExportRows(c, true)[2][2].typeId(), QMetaType::Double);
}
