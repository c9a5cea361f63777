#include "exceptions.h"
#include "number_format.h"
#include "qt_print.h"

#include <gtest/gtest.h>

TEST(FormatFixed2, RoundsHalfAwayFromZeroOnTheDecimalExpansion) {
    EXPECT_EQ(FormatFixed2(3.125L), "3.13");
    EXPECT_EQ(FormatFixed2(1.0L / 32 * 100), "3.13");
    EXPECT_EQ(FormatFixed2(-3.125L), "-3.13");
    EXPECT_EQ(FormatFixed2(2.675), "2.67");  // the double is 2.67499999999999982...
    EXPECT_EQ(FormatFixed2(16.665), "16.66");  // the double lies below the half
    EXPECT_EQ(FormatFixed2(99.995L), "100.00");
    EXPECT_EQ(FormatFixed2(0.0L), "0.00");
    EXPECT_EQ(FormatFixed2(100.0L), "100.00");
    EXPECT_EQ(FormatFixed2(0.004999L), "0.00");
}

TEST(FormatFixed2, ShowsARemainderThatRoundsToZeroUnsigned) {
    EXPECT_EQ(FormatFixed2(-1.4e-14L), "0.00");
    EXPECT_EQ(FormatFixed2(-0.005L), "-0.01");
}

TEST(StrToFloat, AcceptsDecimalTextAndBlanksAround) {
    EXPECT_DOUBLE_EQ(StrToFloat("85"), 85);
    EXPECT_DOUBLE_EQ(StrToFloat("85."), 85);
    EXPECT_DOUBLE_EQ(StrToFloat("85.5"), 85.5);
    EXPECT_DOUBLE_EQ(StrToFloat(" .5 "), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("-1e2"), -100);
}

TEST(StrToFloat, RefusesWhatIsNotANumberWithTheStandardMessage) {
    for (const char* bad : {".", "", "8.5.", "1e", "abc", "8 5", "--1"}) {
        try {
            StrToFloat(QString::fromLatin1(bad));
            ADD_FAILURE() << "accepted " << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("'%1' is not a valid floating point value").arg(QLatin1String(bad)));
        }
    }
}

TEST(Trim, RemovesControlCharactersAndBlanksOnlyAtTheEnds) {
    EXPECT_EQ(Trim(QStringLiteral("\t 8 5\r\n")), "8 5");
    EXPECT_EQ(Trim(QStringLiteral("  ")), "");
}
