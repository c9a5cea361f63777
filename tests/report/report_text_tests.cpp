// The texts the report is made of, and the template resource; no office needed.
#include "report.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(ReportName, DropsOnlyAnExactDocExtensionThenAppendsIt) {
    EXPECT_EQ(ReportNameFromDialog("/home/t/report"), "/home/t/report.doc");
    EXPECT_EQ(ReportNameFromDialog("/home/t/report.doc"), "/home/t/report.doc");
    EXPECT_EQ(ReportNameFromDialog("/home/t/report.DOC"), "/home/t/report.DOC.doc");
    EXPECT_EQ(ReportNameFromDialog("/home/t/report.txt"), "/home/t/report.txt.doc");
    EXPECT_EQ(ReportNameFromDialog("/home/t/report.docx"), "/home/t/report.docx.doc");
    // a dot in a folder name is no extension
    EXPECT_EQ(ReportNameFromDialog("/home/t.doc/report"), "/home/t.doc/report.doc");
    EXPECT_EQ(ReportNameFromDialog("/home/t/.doc"), "/home/t/.doc");
}

TEST(ReportFieldsText, TrimsJoinsAndFormatsTheInformationCells) {
    ReportFields f;
    f.courseName = QStringLiteral("  高等数学\t");
    f.teacher = QStringLiteral("\n王老师 ");
    f.courseNumber = QStringLiteral(" 0701 ");
    f.credits = QStringLiteral(" 3");
    f.hours = QStringLiteral("48 ");
    f.className = QString();
    f.openBook = true;
    f.examDate = QDate(2006, 2, 18);
    f.beginTime = QTime(8, 5);
    f.endTime = QTime(9, 30);
    const auto t = InformationTexts(f);
    EXPECT_EQ(t[0], "高等数学");
    EXPECT_EQ(t[1], "王老师");
    EXPECT_EQ(t[2], "0701");
    EXPECT_EQ(t[3], "3/48");
    EXPECT_EQ(t[4], "");
    EXPECT_EQ(t[5], "□ 闭卷     √ 开卷     □ 论文     □ 其他");
    EXPECT_EQ(t[6], "06-2-18 8:5-9:30");

    f.credits = f.hours = QStringLiteral("   ");
    EXPECT_EQ(InformationTexts(f)[3], "/");
    // an ideographic space is text, not padding
    EXPECT_EQ(TrimControls(QStringLiteral("\u3000课\u3000")), QStringLiteral("\u3000课\u3000"));
    EXPECT_EQ(ExamTimeText(QDate(2010, 12, 1), QTime(0, 0), QTime(23, 59)), "10-12-1 0:0-23:59");
}

TEST(ReportFieldsText, ExamModeLinePrefersTheFirstCheckedButton) {
    ReportFields f;
    EXPECT_EQ(ExamModeLine(f), "□ 闭卷     □ 开卷     □ 论文     √ 其他");
    f.paper = true;
    EXPECT_EQ(ExamModeLine(f), "□ 闭卷     □ 开卷     √ 论文     □ 其他");
    f.openBook = true;
    EXPECT_EQ(ExamModeLine(f), "□ 闭卷     √ 开卷     □ 论文     □ 其他");
    f.closedBook = true;
    EXPECT_EQ(ExamModeLine(f), "√ 闭卷     □ 开卷     □ 论文     □ 其他");
}

TEST(ReportTemplateResource, IsFoundWithoutRegardToCaseAndIsTheCommittedDocument) {
    const auto data = FindResource("DOC", "DOCTEMPLATE");
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(FindResource("doc", "docTemplate"), data);
    EXPECT_FALSE(FindResource("doc", "docTemplat").has_value());
    EXPECT_FALSE(FindResource("rtf", "docTemplate").has_value());
    QFile committed(MARKWISE_TEMPLATE_FILE);
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    EXPECT_EQ(*data, committed.readAll());
    EXPECT_EQ(data->left(8), QByteArray::fromHex("d0cf11e0a1b11ae1"));
}

}  // namespace
