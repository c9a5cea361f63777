#include "exceptions.h"
#include "number_format.h"
#include "qt_print.h"
#include "scoped_locale.h"

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

// The same conversions in a comma locale, in Chinese and in C: the display
// follows the locale's separator, reading takes that separator or ".".
struct LocaleCase {
    const char* name;
    const char* third;  // 100 / 3 as the grid shows it
};

class NumberFormatInLocale : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(NumberFormatInLocale, FormatsWithTheLocaleSeparatorAndReadsItOrAPoint) {
    ScopedLocale locale(QString::fromLatin1(GetParam().name));
    ASSERT_TRUE(locale.Active()) << GetParam().name;
    EXPECT_EQ(FormatFixed2(100.0L / 3), QString::fromLatin1(GetParam().third));
    EXPECT_EQ(FormatFixed2(-0.005L), QStringLiteral("-0") + DecimalSeparator() + "01");
    const QChar sep = DecimalSeparator();
    EXPECT_DOUBLE_EQ(StrToFloat("85.5"), 85.5);
    EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("85") + sep + "5"), 85.5);
    EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("100") + sep + "7"), 100.7);
    // what the grid shows reads back as the same value
    EXPECT_DOUBLE_EQ(StrToFloat(FormatFixed2(33.33L)), 33.33);
    EXPECT_THROW(StrToFloat(QStringLiteral("8.5") + sep + "5"), EConvertError);
    EXPECT_THROW(StrToFloat(QStringLiteral("1,000.5")), EConvertError);
}

INSTANTIATE_TEST_SUITE_P(Locales, NumberFormatInLocale,
                         ::testing::Values(LocaleCase{"de_DE.UTF-8", "33,33"}, LocaleCase{"zh_CN.UTF-8", "33.33"},
                                           LocaleCase{"C", "33.33"}),
                         [](const auto& info) { return QString::fromLatin1(info.param.name).section('.', 0, 0).toStdString(); });
