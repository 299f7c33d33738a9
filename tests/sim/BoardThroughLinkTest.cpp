// The virtual board driven by the link's own board class, as the program
// drives the real one.

#include "Ad7175.h"

#include "ManualClock.h"
#include "QtApplication.h"
#include "SimTestUtil.h"
#include "VirtualBoard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr int FullRate = 16;  // 125 ksps
constexpr int OneKsps = 8;

class BoardThroughLinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApplication(); }

    std::string Name()
    {
        char name[TADC::NameLength + 1] = "";
        return adc.GetBoardName(name) ? name : "(failed)";
    }

    std::string Version()
    {
        char version[TADC::NameLength + 1] = "";
        return adc.GetVersion(version) ? version : "(failed)";
    }

    bool Prepare(int rateIndex) { return adc.SetSinc5() && adc.SetDataRate(rateIndex); }

    // Reads a run chunk by chunk as the window's idle loop does; mode 2 gives
    // CH0 and CH1 interleaved. Stops early on a read failure or when the
    // board has gone quiet for a long while.
    std::vector<std::int32_t> ReadRun(int mode, std::int32_t count, std::int32_t chunk)
    {
        std::vector<std::int32_t> ch0(static_cast<std::size_t>(count));
        std::vector<std::int32_t> ch1(static_cast<std::size_t>(count));
        std::int32_t done = 0;
        for (int idlePolls = 0; done < count && idlePolls < 100000; ++idlePolls) {
            const std::int32_t wanted = std::min(chunk, count - done);
            std::int32_t got = 0;
            const bool ok = mode == 2 ? adc.ReadData2(&ch0[done], &ch1[done], wanted, got)
                                      : adc.ReadData1(&ch0[done], got, wanted);
            if (!ok)
                break;
            if (got > 0)
                idlePolls = 0;
            done += got;
        }
        ch0.resize(static_cast<std::size_t>(done));
        if (mode != 2)
            return ch0;
        std::vector<std::int32_t> frames;
        for (std::int32_t i = 0; i < done; ++i) {
            frames.push_back(ch0[i]);
            frames.push_back(ch1[i]);
        }
        return frames;
    }

    // Every board reading moves the clock a millisecond, so the link's
    // polling loops see the board's time pass. With the bridge's latency
    // timer at that millisecond too, a reply is there at the wait's first
    // look: the board's time passes only as the host reads, so a host held
    // up past the link's time-out (a loaded machine) must not need more.
    static BoardConfig QuickReplies()
    {
        BoardConfig config = CounterBoard();
        config.LatencyTimer = 1ms;
        return config;
    }

    ManualClock clock{1ms};
    VirtualBoard board{clock, QuickReplies()};
    TADC adc{nullptr, board};
};

TEST_F(BoardThroughLinkTest, ConnectSequenceIdentifiesTheBoard)
{
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_TRUE(adc.CheckBoard());
    EXPECT_EQ(Name(), "KORVADEX");
    EXPECT_EQ(Version(), "V1.00");
}

TEST_F(BoardThroughLinkTest, EverySetCommandIsAcknowledged)
{
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_TRUE(adc.SetSinc3());
    EXPECT_TRUE(adc.SetSinc5());
    for (int index = 0; index <= TADC::HighestRateIndex; ++index)
        EXPECT_TRUE(adc.SetDataRate(index)) << "rate index " << index;
}

TEST_F(BoardThroughLinkTest, UnknownCommandIsRefusedWithNG)
{
    ASSERT_TRUE(adc.OpenBoard());
    adc.SetTimeOut(100);
    EXPECT_FALSE(adc.SendAndWaitOK("S7"));
    char line[24];
    adc.SetTimeOut(100);
    ASSERT_TRUE(adc.SendAndReadLine("HELLO", line, sizeof line));
    EXPECT_STREQ(line, "NG");
}

TEST_F(BoardThroughLinkTest, ThousandSampleRunInEachMode)
{
    ASSERT_TRUE(adc.OpenBoard());
    for (int mode = 0; mode <= 2; ++mode) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(Prepare(OneKsps));
        ASSERT_TRUE(adc.StartMeasure(mode, 1000));
        ExpectCounterRun(ReadRun(mode, 1000, 10), mode, 1000);
        EXPECT_FALSE(board.Running());
    }
    EXPECT_EQ(board.LostSamples(), 0u);
}

TEST_F(BoardThroughLinkTest, StopMidRunThenPurgeLeavesNothingQueued)
{
    ASSERT_TRUE(adc.OpenBoard());
    ASSERT_TRUE(Prepare(FullRate));
    ASSERT_TRUE(adc.StartMeasure(0, 100000));
    ASSERT_EQ(ReadRun(0, 5000, 1000).size(), 5000u);
    ASSERT_TRUE(adc.StopMeasure());
    ASSERT_TRUE(adc.Purge());
    clock.Advance(1s);
    std::uint8_t bytes[16];
    DWORD got = 99;
    ASSERT_TRUE(adc.ReadAvailable(bytes, sizeof bytes, got));
    EXPECT_EQ(got, 0u);
    EXPECT_FALSE(board.Running());
    EXPECT_TRUE(adc.CheckBoard());
}

TEST_F(BoardThroughLinkTest, CounterSurvivesAHundredThousandFrameRun)
{
    ASSERT_TRUE(adc.OpenBoard());
    ASSERT_TRUE(Prepare(FullRate));
    ASSERT_TRUE(adc.StartMeasure(2, 100000));
    ExpectCounterRun(ReadRun(2, 100000, 1000), 2, 100000);
    EXPECT_EQ(board.LostSamples(), 0u);
}

TEST_F(BoardThroughLinkTest, AbsentBoardIsNotFound)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.Absent = true; }));
    EXPECT_FALSE(adc.OpenBoard());
}

TEST_F(BoardThroughLinkTest, SilentBoardDoesNotRespond)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.Silent = true; }));
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_FALSE(adc.CheckBoard());
    EXPECT_EQ(Name(), "(failed)");
}

TEST_F(BoardThroughLinkTest, BoardRefusingEverythingFailsEveryCommand)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.NgToAll = true; }));
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_FALSE(adc.CheckBoard());
    EXPECT_EQ(Name(), "(failed)");
    EXPECT_EQ(Version(), "(failed)");
    EXPECT_FALSE(adc.SetSinc5());
    EXPECT_FALSE(adc.SetDataRate(3));
}

TEST_F(BoardThroughLinkTest, WrongBoardAnswersWithAnotherName)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.WrongName = true; }));
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_TRUE(adc.CheckBoard());
    EXPECT_EQ(Name(), "KORVADEX2");
}

TEST_F(BoardThroughLinkTest, GarbledRepliesAreNotTakenForGoodOnes)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.Garbled = true; }));
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_FALSE(adc.CheckBoard());
    EXPECT_FALSE(adc.SetSinc3());
    const std::string name = Name();
    EXPECT_NE(name, "KORVADEX");
    EXPECT_EQ(name.size(), 8u);
}

TEST_F(BoardThroughLinkTest, RepliesSplitOverPacketsAreStillWhole)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.SplitReply = true; }));
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_TRUE(adc.CheckBoard());
    EXPECT_EQ(Name(), "KORVADEX");
    EXPECT_EQ(Version(), "V1.00");
    EXPECT_TRUE(Prepare(OneKsps));
}

TEST_F(BoardThroughLinkTest, ExtraBytesAfterTheCRSpoilAReplyLine)
{
    // The acknowledgement is judged on its first three bytes; a reply line
    // must end with its CR.
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.ExtraBytes = true; }));
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_TRUE(adc.CheckBoard());
    EXPECT_EQ(Name(), "(failed)");
}

TEST_F(BoardThroughLinkTest, PulledCableFailsTheRunAndEveryCommandAfter)
{
    // The replies "OK", "KORVADEX", "V1.00", "OK", "OK" with their CRs, then
    // a chunk and a third of samples.
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.CablePullAfterBytes = 3 + 9 + 6 + 3 + 3 + 4000; }));
    ASSERT_TRUE(adc.OpenBoard());
    ASSERT_TRUE(adc.CheckBoard());
    ASSERT_EQ(Name(), "KORVADEX");
    ASSERT_EQ(Version(), "V1.00");
    ASSERT_TRUE(Prepare(FullRate));
    ASSERT_TRUE(adc.StartMeasure(0, 100000));
    EXPECT_EQ(ReadRun(0, 100000, 1000).size(), 1000u);
    std::int32_t codes[1000];
    std::int32_t got = 0;
    EXPECT_FALSE(adc.ReadData1(codes, got, 1000));
    EXPECT_FALSE(adc.StopMeasure());
    adc.CloseBoard();
    EXPECT_FALSE(adc.OpenBoard());

    board.ReplugCable();
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_TRUE(adc.CheckBoard());
}

TEST_F(BoardThroughLinkTest, StalledStreamLeavesTheReadsEmptyUntilStopped)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.StallAfterSamples = 2500; }));
    ASSERT_TRUE(adc.OpenBoard());
    ASSERT_TRUE(Prepare(FullRate));
    ASSERT_TRUE(adc.StartMeasure(0, 10000));
    EXPECT_EQ(ReadRun(0, 10000, 1000).size(), 2000u);
    std::int32_t codes[500];
    std::int32_t got = -1;
    EXPECT_TRUE(adc.ReadData1(codes, got, 500));
    EXPECT_EQ(got, 500);
    EXPECT_TRUE(adc.ReadData1(codes, got, 1));
    EXPECT_EQ(got, 0);
    EXPECT_TRUE(board.Running());
    EXPECT_TRUE(adc.StopMeasure());
    EXPECT_FALSE(board.Running());
}

}  // namespace
