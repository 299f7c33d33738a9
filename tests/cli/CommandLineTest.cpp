#include "CommandLine.h"
#include "MeasureCommand.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

namespace {

const std::vector<CommandLine::Option> Known = {
    {QStringLiteral("--rate"), true},
    {QStringLiteral("-o"), true},
    {QStringLiteral("--force"), false},
};

QStringList Words(std::initializer_list<const char*> words)
{
    QStringList list;
    for (const char* word : words)
        list << QString::fromUtf8(word);
    return list;
}

TEST(CommandLineTest, TakesValuesFlagsAndPositionalWordsInAnyOrder)
{
    CommandLine line;
    ASSERT_TRUE(line.Parse(Words({"a.DTA", "--rate", "100sps", "--force", "-o=x", "b.DTA"}), Known));
    EXPECT_EQ(line.Value(QStringLiteral("--rate")), QStringLiteral("100sps"));
    EXPECT_EQ(line.Value(QStringLiteral("-o")), QStringLiteral("x"));
    EXPECT_TRUE(line.Has(QStringLiteral("--force")));
    EXPECT_EQ(line.Positional(), Words({"a.DTA", "b.DTA"}));
}

TEST(CommandLineTest, DoubleDashMakesTheRestPositional)
{
    CommandLine line;
    ASSERT_TRUE(line.Parse(Words({"--", "--force", "-o"}), Known));
    EXPECT_FALSE(line.Has(QStringLiteral("--force")));
    EXPECT_EQ(line.Positional(), Words({"--force", "-o"}));
}

TEST(CommandLineTest, RefusesWhatItCannotRead)
{
    CommandLine line;
    EXPECT_FALSE(line.Parse(Words({"--colour"}), Known));
    EXPECT_TRUE(line.Error().contains(QStringLiteral("--colour")));
    EXPECT_FALSE(line.Parse(Words({"--rate"}), Known));
    EXPECT_TRUE(line.Error().contains(QStringLiteral("needs a value")));
    EXPECT_FALSE(line.Parse(Words({"--force=1"}), Known));
    EXPECT_FALSE(line.Parse(Words({"-o", "a", "-o", "b"}), Known));
    EXPECT_TRUE(line.Error().contains(QStringLiteral("twice")));
}

TEST(CommandLineTest, SecondsArePositiveFiniteNumbers)
{
    EXPECT_EQ(CommandLine::ParseSeconds(QStringLiteral("20")), 20.0);
    EXPECT_EQ(CommandLine::ParseSeconds(QStringLiteral("0.5")), 0.5);
    for (const char* bad : {"0", "-1", "inf", "nan", "", "1s", "1e300"})
        EXPECT_FALSE(CommandLine::ParseSeconds(QString::fromLatin1(bad))) << bad;
}

TEST(CommandLineTest, DataFileNamesFollowTheWindowsExtensionRule)
{
    EXPECT_EQ(MeasureCommand::WithDtaExtension(QStringLiteral("run1")), QStringLiteral("run1.DTA"));
    EXPECT_EQ(MeasureCommand::WithDtaExtension(QStringLiteral("run1.DTA")), QStringLiteral("run1.DTA"));
    EXPECT_EQ(MeasureCommand::WithDtaExtension(QStringLiteral("run1.dta")), QStringLiteral("run1.dta.DTA"));
    EXPECT_EQ(MeasureCommand::WithDtaExtension(QStringLiteral("run1.txt")), QStringLiteral("run1.txt.DTA"));
}

} // namespace
