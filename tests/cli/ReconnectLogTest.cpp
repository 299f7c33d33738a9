// log --reconnect run as a process across a pulled and replugged cable, on
// the driver path the test program is built for: the drop-in D2XX library,
// or libftdi on the libusb stand-in. Both read the same KORVADEX_SIM_*
// settings, so the cases are the same on both.

#include "CliProcess.h"
#include "DtaFiles.h"
#include "LogChecks.h"

#include <QRegularExpression>

#include "QtPrinting.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

class ReconnectLogTest : public ::testing::Test {
protected:
    DtaFiles files;
};

// "board lost at 2026-12-08T21:40:12.345Z: cable pulled ..."
const QRegularExpression LostComment(
    QStringLiteral("^board lost at \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z: cable pulled"));
// The closing comment's "; N reconnects, X s lost".
const QRegularExpression ReconnectSummary(QStringLiteral("; (\\d+) reconnects, (\\d+\\.\\d{3}) s lost$"));

QStringList Matching(const QStringList& comments, const QRegularExpression& pattern)
{
    QStringList found;
    for (const QString& comment : comments) {
        if (pattern.match(comment).hasMatch())
            found << comment;
    }
    return found;
}

// Four times real time at 10 ksps; the cable comes out 10000 samples into run 2
// (24 bytes of replies, then 3 bytes a sample) and goes back in a second later.
TEST_F(ReconnectLogTest, ReconnectedLogGoesOnWithTheSameBoardAfterAPulledCable)
{
    const QString path = files.Path(QStringLiteral("replugged.csv"));
    const CliResult r = CliProcess::Run(
        LogWords(path, QStringLiteral("10ksps"), {QStringLiteral("--runs"), QStringLiteral("3"), QStringLiteral("--reconnect")}),
        CountingBoard({{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("4")},
                       {QStringLiteral("KORVADEX_SIM_CABLE_PULL_AFTER"), QStringLiteral("330030")},
                       {QStringLiteral("KORVADEX_SIM_REPLUG_AFTER_MS"), QStringLiteral("1000")}}));
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const ParsedLog log = ParseLog(Contents(path));
    EXPECT_TRUE(log.Whole);
    ASSERT_EQ(log.Runs.size(), 3u);
    for (const std::vector<std::int32_t>& run : log.Runs)
        EXPECT_TRUE(CountsUpFromStart(run));
    EXPECT_EQ(log.Runs[0].size(), 100000u);
    EXPECT_EQ(log.Runs[2].size(), 100000u);
    const std::size_t broken = log.Runs[1].size();
    EXPECT_GT(broken, 9000u);
    EXPECT_LT(broken, 11000u);

    const QStringList& c = log.Comments;
    ASSERT_EQ(c.size(), 13) << c.join(QLatin1Char('\n')).toStdString();
    for (const int at : {4, 5, 10})
        EXPECT_TRUE(c[at].startsWith(QStringLiteral("run %1 started at ").arg(at == 10 ? 3 : at - 3))) << c[at].toStdString();
    EXPECT_TRUE(c[6].contains(QStringLiteral("between the last sample of run 1 and the first of run 2")));
    EXPECT_EQ(c[7], QStringLiteral("run 2 incomplete: %1 of 100000 samples").arg(broken));
    EXPECT_TRUE(LostComment.match(c[8]).hasMatch()) << c[8].toStdString();
    EXPECT_TRUE(c[9].startsWith(QStringLiteral("board back at "))) << c[9].toStdString();
    EXPECT_TRUE(c[9].endsWith(QStringLiteral(": KORVADEX / V1.00"))) << c[9].toStdString();
    EXPECT_TRUE(c[11].contains(QStringLiteral("between the last sample of run 2 and the first of run 3")));
    EXPECT_TRUE(c[12].startsWith(QStringLiteral("ended after 3 runs, %1 samples").arg(200000 + broken)));
    const QRegularExpressionMatch summary = ReconnectSummary.match(c[12]);
    ASSERT_TRUE(summary.hasMatch()) << c[12].toStdString();
    EXPECT_EQ(summary.captured(1), QStringLiteral("1"));
    // The board was away for a second.
    EXPECT_GE(summary.captured(2).toDouble(), 0.9);
}

// Four times real time at 10 ksps (a stream a loaded host keeps up with:
// a faster one overflows the board's FIFO there, as it would a real
// board's); the cable comes out after every 90024 bytes from power-up
// (about 30000 samples into each run) and goes back in 300 ms later, for
// ever. The log goes on through every pull: each run counts up from the
// start, no sample twice or out of order, and each run cut short is marked
// as such.
TEST_F(ReconnectLogTest, ALogGoesOnThroughPullAfterPull)
{
    const QString path = files.Path(QStringLiteral("pulled.csv"));
    const CliResult r = CliProcess::Run(
        LogWords(path, QStringLiteral("10ksps"), {QStringLiteral("--runs"), QStringLiteral("6"), QStringLiteral("--reconnect")}),
        CountingBoard({{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("4")},
                       {QStringLiteral("KORVADEX_SIM_REPLUG_EVERY"), QStringLiteral("90024:300")}}));
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const ParsedLog log = ParseLog(Contents(path));
    EXPECT_TRUE(log.Whole);
    ASSERT_EQ(log.Runs.size(), 6u);
    int cut = 0;
    for (std::size_t i = 0; i < log.Runs.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const std::vector<std::int32_t>& run = log.Runs[i];
        EXPECT_TRUE(CountsUpFromStart(run));
        const QString mark = QStringLiteral("run %1 incomplete: %2 of 100000 samples").arg(i + 1).arg(run.size());
        EXPECT_EQ(log.Comments.contains(mark), run.size() < 100000u);
        cut += run.size() < 100000u ? 1 : 0;
    }
    EXPECT_EQ(cut, 6);
    EXPECT_EQ(Matching(log.Comments, LostComment).size(), cut);
    ASSERT_FALSE(log.Comments.isEmpty());
    const QRegularExpressionMatch summary = ReconnectSummary.match(log.Comments.back());
    ASSERT_TRUE(summary.hasMatch()) << log.Comments.back().toStdString();
    // The log ends with its last run: the board pulled then is not waited for.
    EXPECT_EQ(summary.captured(1).toInt(), cut - 1);
}

struct ReconnectEnding {
    const char* Name;
    const char* Option;
    bool CtrlC;
    int ExitCode;
    const char* LastComment;
    double LeastLost;  // seconds
};

void PrintTo(const ReconnectEnding& ending, std::ostream* out)
{
    *out << ending.Name;
}

class ReconnectEndingTest : public ::testing::TestWithParam<ReconnectEnding> {
protected:
    DtaFiles files;
};

// A board that never comes back after its cable came out 10000 samples into
// the first run: the wait ends by its time or by Ctrl-C, with the rows taken
// kept and the reconnects counted.
TEST_P(ReconnectEndingTest, TheWaitForABoardThatNeverComesBackEnds)
{
    const ReconnectEnding ending = GetParam();
    const QString path = files.Path(QStringLiteral("gone.csv"));
    const QStringList words = LogWords(path, QStringLiteral("10ksps"), {QString::fromLatin1(ending.Option)});
    const CliProcess::Environment board = CountingBoard({{QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("4")},
                                                         {QStringLiteral("KORVADEX_SIM_CABLE_PULL_AFTER"), QStringLiteral("30024")}});
    const CliResult r = !ending.CtrlC ? CliProcess::Run(words, board)
                                      : CliProcess::RunSignalledWhen(
                                            words, board,
                                            [&path] { return Contents(path).contains("board lost at "); }, Stop::CtrlC);
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, ending.ExitCode) << r.Err.toStdString();
    const ParsedLog log = ParseLog(Contents(path));
    EXPECT_TRUE(log.Whole);
    ASSERT_EQ(log.Runs.size(), 1u);
    EXPECT_TRUE(CountsUpFromStart(log.Runs[0]));
    EXPECT_EQ(Matching(log.Comments, QRegularExpression(QStringLiteral("^run 1 incomplete: %1 of 100000 samples$")
                                                            .arg(log.Runs[0].size()))).size(), 1);
    EXPECT_EQ(Matching(log.Comments, LostComment).size(), 1);
    ASSERT_FALSE(log.Comments.isEmpty());
    const QString& last = log.Comments.back();
    EXPECT_TRUE(last.startsWith(QString::fromLatin1(ending.LastComment))) << last.toStdString();
    const QRegularExpressionMatch summary = ReconnectSummary.match(last);
    ASSERT_TRUE(summary.hasMatch()) << last.toStdString();
    EXPECT_EQ(summary.captured(1), QStringLiteral("0"));
    const double lost = summary.captured(2).toDouble();
    EXPECT_GE(lost, ending.LeastLost);
    EXPECT_LT(lost, ending.LeastLost + 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, ReconnectEndingTest,
    ::testing::Values(
        ReconnectEnding{"GivesUpAfterItsTime", "--reconnect=2", false, 7, "given up on the board after 1 runs", 2.0},
        ReconnectEnding{"CtrlCDuringTheWait", "--reconnect", true, 130, "stopped by Ctrl-C after 1 runs", 0.0}),
    [](const ::testing::TestParamInfo<ReconnectEnding>& info) { return std::string(info.param.Name); });

} // namespace
