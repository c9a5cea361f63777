// Number formats of axis labels, legend items and marks.
#include "value_format.h"

#include <QLocale>
#include <gtest/gtest.h>

TEST(ValueFormat, AxisAndValueFormat) {
    const QString f = QStringLiteral("#,##0.###");
    EXPECT_EQ(FormatFloat(f, 0), QStringLiteral("0"));
    EXPECT_EQ(FormatFloat(f, 3), QStringLiteral("3"));
    EXPECT_EQ(FormatFloat(f, 2.5), QStringLiteral("2.5"));
    EXPECT_EQ(FormatFloat(f, 1234567.25), QStringLiteral("1,234,567.25"));
    EXPECT_EQ(FormatFloat(f, 0.0004), QStringLiteral("0"));
    EXPECT_EQ(FormatFloat(f, -12.5), QStringLiteral("-12.5"));
    EXPECT_EQ(FormatFloat(f, -0.0001), QStringLiteral("0"));  // no "-0"
}

TEST(ValueFormat, PercentFormatAndLiterals) {
    const QString f = QStringLiteral("##0.## %");
    EXPECT_EQ(FormatFloat(f, 50), QStringLiteral("50 %"));
    EXPECT_EQ(FormatFloat(f, 100.0 / 6), QStringLiteral("16.67 %"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00"), 3), QStringLiteral("3.00"));
    EXPECT_EQ(FormatFloat(QStringLiteral("000"), 7), QStringLiteral("007"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.0;(0.0)"), -2), QStringLiteral("(2.0)"));
}

// Texts are remembered between paints; a later change of the locale's
// decimal point, or the same value under another format, must not be
// answered from what was remembered.
TEST(ValueFormat, RememberedTextsFollowFormatAndDecimalPoint) {
    const QString f = QStringLiteral("0.0");
    EXPECT_EQ(FormatFloat(f, 2.5), QStringLiteral("2.5"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00"), 2.5), QStringLiteral("2.50"));
    EXPECT_EQ(FormatFloat(f, -0.0), QStringLiteral("0.0"));
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatFloat(f, 2.5), QStringLiteral("2,5"));
    QLocale::setDefault(before);
    EXPECT_EQ(FormatFloat(f, 2.5), QStringLiteral("2.5"));
}
