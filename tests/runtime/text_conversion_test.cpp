// Texts handed to the toolkit and to GBK bytes, where they cannot be taken
// as they stand.
#include "dialogs.h"
#include "gbk.h"
#include "qt_print.h"

#include <gtest/gtest.h>

TEST(QtNameFilter, PairsBecomeToolkitFiltersAndNamedPatternsStayAsWritten) {
    // The report's filter already names its pattern at its end.
    EXPECT_EQ(QtNameFilter(QStringLiteral("Word文档(*.doc)|*.doc")), QStringLiteral("Word文档(*.doc)"));
    EXPECT_EQ(QtNameFilter(QStringLiteral("成绩表格(*.xlsx *.xls *.ods *.csv *.txt)|*.xlsx;*.xls;*.ods;*.csv;*.txt")),
              QStringLiteral("成绩表格(*.xlsx *.xls *.ods *.csv *.txt)"));
    // A bare description gets its patterns, separated by blanks, in parentheses.
    EXPECT_EQ(QtNameFilter(QStringLiteral("文本|*.txt;*.csv")), QStringLiteral("文本 (*.txt *.csv)"));
    // Parentheses that name something else are no pattern, nor is the
    // pattern anywhere but in the closing ones: the toolkit reads only those.
    EXPECT_EQ(QtNameFilter(QStringLiteral("成绩(旧)|*.txt")), QStringLiteral("成绩(旧) (*.txt)"));
    EXPECT_EQ(QtNameFilter(QStringLiteral("成绩(*.txt)旧版|*.txt")), QStringLiteral("成绩(*.txt)旧版 (*.txt)"));
    EXPECT_EQ(QtNameFilter(QStringLiteral("Word文档(*.doc)|*.doc|所有文件|*")),
              QStringLiteral("Word文档(*.doc);;所有文件 (*)"));
    // A description without its pattern is dropped; nothing gives nothing.
    EXPECT_EQ(QtNameFilter(QStringLiteral("文本|*.txt|半个")), QStringLiteral("文本 (*.txt)"));
    EXPECT_EQ(QtNameFilter(QString()), QString());
}

TEST(Gbk, ChineseAndAsciiRoundTrip) {
    const QString text = QStringLiteral("成绩 85.5 分，优");
    const QByteArray bytes = gbk::encode(text);
    EXPECT_EQ(bytes, QByteArray("\xB3\xC9\xBC\xA8 85.5 \xB7\xD6\xA3\xAC\xD3\xC5"));
    EXPECT_EQ(gbk::decode(bytes), text);
    EXPECT_TRUE(gbk::isAscii(QByteArrayView("plain text of twenty bytes")));
    EXPECT_FALSE(gbk::isAscii(QByteArrayView("plain text of\xB3\xC9 bytes")));
    EXPECT_FALSE(gbk::isAscii(QByteArrayView("ninebyte\xB3")));  // past the last whole eight
}

// What GBK cannot hold becomes one '?' per character; the rest is kept.
TEST(Gbk, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(gbk::encode(QStringLiteral("优ก良")), QByteArray("\xD3\xC5?\xC1\xBC"));
    EXPECT_EQ(gbk::encode(QStringLiteral("ก")), QByteArray("?"));
    EXPECT_EQ(gbk::encode(QStringLiteral("a\u0E01\u0E02b")), QByteArray("a??b"));
}

// Bytes that are no GBK become U+FFFD each, and the decoding goes on.
TEST(Gbk, InvalidSequencesBecomeReplacementCharacters) {
    // A lead byte at the very end, a lead byte before a byte that cannot follow it, a byte no character starts with.
    EXPECT_EQ(gbk::decode(QByteArray("\xD3\xC5\xB3")), QStringLiteral("优\uFFFD"));
    EXPECT_EQ(gbk::decode(QByteArray("\xD3\x20\xC1\xBC")), QStringLiteral("\uFFFD 良"));
    EXPECT_EQ(gbk::decode(QByteArray("a\xFF" "b")), QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(gbk::decode(QByteArray("\xC1\x7F\xC1\xBC")), QStringLiteral("\uFFFD\x7F良"));
}
