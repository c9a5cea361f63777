// Text files and pasted text as tables, and the choice of the score column.
#include "score_column.h"
#include "score_table.h"

#include "gbk.h"

#include <gtest/gtest.h>

namespace {

QStringList Cells(const ScoreTable& t, int row) { return t.rows[row].cells; }

ScoreTable Table(const char* utf8) { return ParseTextTable(QString::fromUtf8(utf8)); }

std::vector<QString> Headers(const ColumnSearch& s) {
    std::vector<QString> out;
    for (const auto& c : s.candidates) out.push_back(c.header);
    return out;
}

}  // namespace

TEST(TextDecoding, Utf8WithAndWithoutMarkGbkAndUtf16) {
    const QString text = QStringLiteral("学号,姓名,成绩\n1,张三,85.5\n");
    EXPECT_EQ(DecodeText(text.toUtf8()), text);
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF" + text.toUtf8()), text);
    EXPECT_EQ(DecodeText(gbk::encode(text)), text);
    QByteArray utf16("\xFF\xFE", 2);
    utf16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    EXPECT_EQ(DecodeText(utf16), text);
    EXPECT_THROW(DecodeText(QByteArray("PK\x03\x04\0\0\x08", 7)), ETextTableError);
}

TEST(TextTable, SeparatorsAndQuotedFields) {
    EXPECT_EQ(Cells(Table("a,b,c\n1,2,3\n"), 1), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(Cells(Table("a;b;c\r\n1;2;3\r\n"), 1), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(Cells(Table("a\tb\tc\n1\t2\t3"), 1), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(Cells(Table("学号  姓名 成绩\n2006001   张三  85\n"), 1),
              (QStringList{"2006001", QStringLiteral("张三"), "85"}));
    // A quoted field keeps its separator, doubled quotes and line break; the
    // next record still knows its line.
    const ScoreTable t = Table("姓名,备注,成绩\n\"王,五\",\"说\"\"好\"\"\n两行\",90\n赵六,,75\n");
    ASSERT_EQ(t.rows.size(), 3);
    EXPECT_EQ(Cells(t, 1), (QStringList{QStringLiteral("王,五"), QStringLiteral("说\"好\"\n两行"), "90"}));
    EXPECT_EQ(t.rows[2].sourceRow, 4);
    EXPECT_EQ(Cells(t, 2), (QStringList{QStringLiteral("赵六"), "", "75"}));
    // Blank lines go, the others keep their line numbers.
    const ScoreTable gaps = Table("85\n\n  \n90\n");
    ASSERT_EQ(gaps.rows.size(), 2);
    EXPECT_EQ(gaps.rows[1].sourceRow, 4);
    // Commas inside numbers split nothing when semicolons separate the cells.
    const ScoreTable european = Table("Nr;Punkte\n1;85,5\n2;90\n");
    EXPECT_EQ(Cells(european, 1), (QStringList{"1", "85,5"}));
    EXPECT_TRUE(european.decimalComma);
    EXPECT_FALSE(Table("a,b\n1,2\n").decimalComma);
}

TEST(ScoreColumnChoice, TheHeaderNamesTheColumn) {
    const ColumnSearch s = FindScoreColumns(Table("学号,姓名,成绩\n2006001,张三,95\n2006002,李四,缺考\n"));
    EXPECT_TRUE(s.hasHeader);
    ASSERT_EQ(Headers(s), std::vector<QString>{QStringLiteral("成绩")});
    EXPECT_EQ(s.candidates[0].index, 2);
    EXPECT_EQ(s.candidates[0].firstValues, (QStringList{"95", QStringLiteral("缺考")}));
    for (const char* header : {"分数", "期末得分", "总分"})
        EXPECT_EQ(FindScoreColumns(Table((QByteArray("姓名,") + header + "\n张三,88\n").constData())).candidates.size(), 1u)
            << header;
    // A ranking is numbered, but it is no score.
    EXPECT_EQ(Headers(FindScoreColumns(Table("姓名,成绩,成绩排名\n张三,88,1\n李四,70,2\n"))),
              std::vector<QString>{QStringLiteral("成绩")});
}

TEST(ScoreColumnChoice, WithoutANamingHeaderTheColumnOfScoresOnly) {
    // Student numbers are too large, names are no numbers, seat numbers run 1, 2, 3.
    const ColumnSearch s = FindScoreColumns(Table("序,学号,姓名,卷面\n1,2006001,张三,95\n2,2006002,李四,60\n3,2006003,王五,72\n"));
    EXPECT_EQ(Headers(s), std::vector<QString>{QStringLiteral("卷面")});
    const ColumnSearch noHeader = FindScoreColumns(Table("2006001,张三,95\n2006002,李四,60\n"));
    EXPECT_FALSE(noHeader.hasHeader);
    ASSERT_EQ(noHeader.candidates.size(), 1u);
    EXPECT_EQ(noHeader.candidates[0].index, 2);
    // Two columns of scores: the teacher picks.
    EXPECT_EQ(FindScoreColumns(Table("姓名,语文,数学\n张三,95,60\n李四,80,70\n")).candidates.size(), 2u);
    EXPECT_EQ(FindScoreColumns(Table("期中成绩,期末成绩\n90,80\n")).candidates.size(), 2u);
    // The only column is the scores, refused values and all.
    const ColumnSearch one = FindScoreColumns(Table("95\n105\n72\n"));
    ASSERT_EQ(one.candidates.size(), 1u);
    EXPECT_FALSE(one.hasHeader);
    EXPECT_TRUE(FindScoreColumns(Table("姓名,学号\n张三,2006001\n")).candidates.empty());
    EXPECT_TRUE(FindScoreColumns(Table("张三\n李四\n")).candidates.empty());
}

TEST(ScoreCollection, ScoresAsTypedAndRefusalsWithTheirRows) {
    const ScoreTable t = Table("姓名,成绩\n张三,85.50\n李四,\n王五,缺考\n赵六,90.0\n孙七,100.5\n周八,-1\n吴九,８６．５\n郑十,0\n");
    const ColumnSearch s = FindScoreColumns(t);
    ASSERT_EQ(s.candidates.size(), 1u);
    const ScoreList list = CollectScores(t, s.candidates[0].index, s.hasHeader);
    EXPECT_EQ(list.scores, (QStringList{"85.5", "90", "86.5", "0"}));
    ASSERT_EQ(list.refused.size(), 3u);
    EXPECT_EQ(list.refused[0].sourceRow, 4);
    EXPECT_EQ(list.refused[0].text, QStringLiteral("缺考"));
    EXPECT_EQ(list.refused[1].text, "100.5");
    EXPECT_EQ(list.refused[2].sourceRow, 7);
    EXPECT_EQ(ScoreText(59.4), "59.4");
    EXPECT_EQ(ScoreText(25.650000000000002), "25.65");  // a spreadsheet formula's float noise
    EXPECT_EQ(ScoreText(0.00001), "0.00001");
    EXPECT_FALSE(CellNumber("1e2", true));
    EXPECT_FALSE(CellNumber("85.5.1", true));
    EXPECT_EQ(CellNumber("85,5", true), 85.5);
    EXPECT_FALSE(CellNumber("85,5", false));
}

TEST(TextTable, DamagedTextStaysBounded) {
    // Quotes inside a long field are plain characters, looked at once each.
    const ScoreTable quotes = ParseTextTable(QString("a\"").repeated(500000) + "\n85\n");
    ASSERT_EQ(quotes.rows.size(), 2);
    EXPECT_EQ(quotes.rows[0].cells[0].size(), 1000000);
    // An unclosed quote runs to the end of the text and no further.
    EXPECT_EQ(Cells(Table("\"85\n90\n"), 0), QStringList{"85\n90\n"});
    // A grid of a million cells is no class list.
    const QString line = QString("1,").repeated(999) + "1\n";
    EXPECT_THROW(ParseTextTable(line.repeated(400)), ETextTableError);
    // Nor is a line of nothing but separators: empty fields count too.
    EXPECT_THROW(ParseTextTable("a,b\n" + QString(",").repeated(400000)), ETextTableError);
}
