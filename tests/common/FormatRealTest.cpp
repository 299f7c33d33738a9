#include "FormatReal.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::string Fmt(long double value, const char* pattern)
{
    return FormatReal(value, pattern, QChar('.')).toStdString();
}

TEST(FormatRealRounding, HalvesGoAwayFromZero)
{
    EXPECT_EQ(Fmt(2.5, "0"), "3");
    EXPECT_EQ(Fmt(-2.5, "0"), "-3");
    EXPECT_EQ(Fmt(0.5, "0"), "1");
    EXPECT_EQ(Fmt(1.5, "0"), "2");
    EXPECT_EQ(Fmt(0.125, "0.00"), "0.13");
    EXPECT_EQ(Fmt(-0.125, "0.00"), "-0.13");
    EXPECT_EQ(Fmt(0.375, "0.00"), "0.38");
    EXPECT_EQ(Fmt(0.03125, "0.0000"), "0.0313");
}

TEST(FormatRealRounding, UsesTheExactValuePassedNotItsShortestDecimal)
{
    // 2.675 and 1.005 are stored a little below the decimal text.
    EXPECT_EQ(Fmt(2.675, "0.00"), "2.67");
    EXPECT_EQ(Fmt(1.005, "0.00"), "1.00");
    // 0.1f lies a little above 0.1; as a float it still rounds to 0.10.
    EXPECT_EQ(Fmt(0.1f, "0.00"), "0.10");
    // 0.15f is 0.1500000059604645 and rounds up, 0.15 (double) is below half.
    EXPECT_EQ(Fmt(0.15f, "0.0"), "0.2");
    EXPECT_EQ(Fmt(0.15, "0.0"), "0.1");
    EXPECT_EQ(Fmt(9.996f, "0.00"), "10.00");
}

TEST(FormatRealRounding, CarriesIntoNewIntegerDigit)
{
    EXPECT_EQ(Fmt(9.99999, "0.0000"), "10.0000");
    EXPECT_EQ(Fmt(999.95, "0.0"), "1000.0"); // 999.95 is stored just above .95
    EXPECT_EQ(Fmt(-99.5, "0"), "-100");
}

TEST(FormatRealSign, NegativeThatRoundsToZeroHasNoMinus)
{
    EXPECT_EQ(Fmt(-0.004, "0.00"), "0.00");
    EXPECT_EQ(Fmt(-0.4, "0"), "0");
    EXPECT_EQ(Fmt(-0.0, "0.0"), "0.0");
    EXPECT_EQ(Fmt(-1e-30L, "0.00000"), "0.00000");
    EXPECT_EQ(Fmt(-0.005, "0.00"), "-0.01"); // stored a hair above 0.005
    EXPECT_EQ(Fmt(-0.000005, "0.00000"), "-0.00001");
}

TEST(FormatRealPatterns, EachPatternGivesItsDecimals)
{
    const long double v = 3.14159265358979L;
    EXPECT_EQ(Fmt(v, "0"), "3");
    EXPECT_EQ(Fmt(v, "0.0"), "3.1");
    EXPECT_EQ(Fmt(v, "0.00"), "3.14");
    EXPECT_EQ(Fmt(v, "0.000"), "3.142");
    EXPECT_EQ(Fmt(v, "0.0000"), "3.1416");
    EXPECT_EQ(Fmt(v, "0.00000"), "3.14159");
    EXPECT_EQ(Fmt(0.25, "0.00000"), "0.25000");
    EXPECT_EQ(Fmt(0.0, "0.000"), "0.000");
}

TEST(FormatRealPatterns, AtLeastOneIntegerDigitAndNoGrouping)
{
    EXPECT_EQ(Fmt(0.5, "0.0"), "0.5");
    EXPECT_EQ(Fmt(-0.75, "0.00"), "-0.75");
    EXPECT_EQ(Fmt(1234567.0, "0.0"), "1234567.0");
    EXPECT_EQ(Fmt(-2500000.298, "0.00"), "-2500000.30");
    EXPECT_EQ(Fmt(16777215.0, "0"), "16777215");
}

TEST(FormatRealPatterns, LargeValuesAreWrittenInFull)
{
    EXPECT_EQ(Fmt(1e20L, "0"), "100000000000000000000");
    EXPECT_EQ(Fmt(-1e15L, "0.00"), "-1000000000000000.00");
    EXPECT_EQ(Fmt(static_cast<long double>(std::numeric_limits<float>::max()), "0"),
              "340282346638528859811704183484516925440");
}

TEST(FormatRealPatterns, NonFiniteValuesAreNamed)
{
    EXPECT_EQ(Fmt(std::numeric_limits<long double>::quiet_NaN(), "0.0"), "NAN");
    EXPECT_EQ(Fmt(std::numeric_limits<long double>::infinity(), "0.0"), "INF");
    EXPECT_EQ(Fmt(-std::numeric_limits<long double>::infinity(), "0"), "-INF");
}

class FormatRealLocale : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(FormatRealLocale, UsesTheLocaleDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatReal(1234.5, "0.00").toStdString(), "1234,50");
    EXPECT_EQ(FormatReal(-0.004, "0.00").toStdString(), "0,00");
    EXPECT_EQ(FormatReal(7.0, "0").toStdString(), "7");
}

TEST_F(FormatRealLocale, JapaneseAndCLocalesUseAFullStop)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(FormatReal(12.345f, "0.00").toStdString(), "12.35"); // 12.345f is stored above the half
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(FormatReal(-3.2, "0.00").toStdString(), "-3.20");
}

} // namespace
