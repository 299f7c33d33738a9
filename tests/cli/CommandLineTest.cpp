#include "CommandLine.h"
#include "LogCommand.h"
#include "LogSession.h"
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

// "--reconnect" waits for ever, "--reconnect=SECONDS" that long; the value
// comes only after "=".
TEST(CommandLineTest, ReconnectTakesItsSecondsOnlyAfterAnEqualsSign)
{
    struct Case {
        std::initializer_list<const char*> Words;
        bool Parses;
        bool Good;
        bool Enabled;
        std::optional<double> Seconds;
        int Positional;
    };
    const Case cases[] = {
        {{}, true, true, false, std::nullopt, 0},
        {{"--reconnect"}, true, true, true, std::nullopt, 0},
        {{"--reconnect=2"}, true, true, true, 2.0, 0},
        {{"--reconnect=0.5"}, true, true, true, 0.5, 0},
        {{"--reconnect", "5"}, true, true, true, std::nullopt, 1},
        {{"--reconnect=0"}, true, false, true, std::nullopt, 0},
        {{"--reconnect=two"}, true, false, true, std::nullopt, 0},
        {{"--reconnect="}, false, false, false, std::nullopt, 0},
        {{"--reconnect", "--reconnect=1"}, false, false, false, std::nullopt, 0},
    };
    const std::vector<CommandLine::Option> known = {{LogCommand::ReconnectOption, true, true}};
    for (const Case& c : cases) {
        const QStringList words = Words(c.Words);
        SCOPED_TRACE(words.join(QLatin1Char(' ')).toStdString());
        CommandLine line;
        ASSERT_EQ(line.Parse(words, known), c.Parses) << line.Error().toStdString();
        if (!c.Parses)
            continue;
        EXPECT_EQ(line.Positional().size(), c.Positional);
        ReconnectPolicy policy;
        const QString error = LogCommand::ReconnectFrom(line, policy);
        EXPECT_EQ(error.isEmpty(), c.Good) << error.toStdString();
        EXPECT_EQ(policy.Enabled, c.Enabled);
        if (c.Good) {
            EXPECT_EQ(policy.Seconds, c.Seconds);
        }
    }
}

TEST(CommandLineTest, DataFileNamesFollowTheWindowsExtensionRule)
{
    EXPECT_EQ(MeasureCommand::WithDtaExtension(QStringLiteral("run1")), QStringLiteral("run1.DTA"));
    EXPECT_EQ(MeasureCommand::WithDtaExtension(QStringLiteral("run1.DTA")), QStringLiteral("run1.DTA"));
    EXPECT_EQ(MeasureCommand::WithDtaExtension(QStringLiteral("run1.dta")), QStringLiteral("run1.dta.DTA"));
    EXPECT_EQ(MeasureCommand::WithDtaExtension(QStringLiteral("run1.txt")), QStringLiteral("run1.txt.DTA"));
}

} // namespace
