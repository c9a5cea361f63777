// Number formats of axis labels, legend items and marks.
#include "value_format.h"

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
