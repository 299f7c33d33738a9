#include "BoardSession.h"
#include "MeasureItems.h"
#include "RunData.h"
#include "ConsoleMessages.h"
#include "WindowTexts.h"

#include "FakeD2xx.h"
#include "QtPrinting.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr std::int32_t Ch0Base = 0x800000;
constexpr std::int32_t Ch1Base = 0x100000;

std::string Code(std::int32_t code)
{
    return {static_cast<char>(code >> 16), static_cast<char>(code >> 8), static_cast<char>(code)};
}

// What the board streams after "A": sample i of CH0 is Ch0Base + i, of CH1
// Ch1Base + i; a pair is CH0 then CH1.
std::string Stream(int mode, std::int32_t count)
{
    std::string bytes;
    for (std::int32_t i = 0; i < count; ++i) {
        bytes += Code((mode == 1 ? Ch1Base : Ch0Base) + i);
        if (mode == 2)
            bytes += Code(Ch1Base + i);
    }
    return bytes;
}

class BoardSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureTestApplication();
        board.Answer("?\r", {"OK\r"});
        board.Answer("U?\r", {"KORVADEX\r"});
        board.Answer("V?\r", {"V9.99\r"});
    }

    // Answers the filter and rate commands and streams `sent` samples (pairs).
    ExitCode Measure(int spsSel, int countSel, int chSel, std::int32_t sent = -1,
                     std::function<bool()> interrupted = [] { return false; })
    {
        const std::int32_t count = MeasureItems::CountValue(countSel);
        char start[8];
        std::snprintf(start, sizeof start, "A%d%05X", chSel, static_cast<unsigned>(count));
        board.Answer(run->Settings.fSinc5 ? "S5\r" : "S3\r", {"OK\r"});
        board.Answer(std::string("F") + "0123456789ABCDEFG"[spsSel] + "\r", {"OK\r"});
        board.Answer(std::string(start) + "\r", {Stream(chSel, sent < 0 ? count : sent)});
        run->Settings.spsSel = spsSel;
        run->Settings.DataCountSel = countSel;
        run->Settings.CHSel = chSel;
        progress.clear();
        RunControl control;
        control.Progress = [this](std::int32_t taken, std::int32_t) { progress.push_back(taken); };
        control.Interrupted = std::move(interrupted);
        control.StallTimeout = std::chrono::milliseconds(200);
        return session.Measure(*run, control);
    }

    std::vector<std::int32_t> Steps() const
    {
        std::vector<std::int32_t> steps;
        for (std::size_t i = 0; i < progress.size(); ++i)
            steps.push_back(progress[i] - (i == 0 ? 0 : progress[i - 1]));
        return steps;
    }

    std::string LastWrite() const { return board.Writes().back(); }

    FakeD2xx board;
    ConsoleMessages console;
    WindowTexts texts{console};
    BoardSession session{board, texts};
    std::unique_ptr<RunData> run = std::make_unique<RunData>();
    std::vector<std::int32_t> progress;
};

TEST_F(BoardSessionTest, IdentifiesAsTheWindowDoes)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    EXPECT_EQ(board.Written(), "?\rU?\rV?\r");
    EXPECT_EQ(session.Identity(), QStringLiteral("KORVADEX / V9.99"));
}

TEST_F(BoardSessionTest, AnotherNameIsNotTheBoard)
{
    FakeD2xx other;
    other.Answer("?\r", {"OK\r"});
    other.Answer("U?\r", {"KORVADEX2\r"});
    BoardSession session(other, texts);
    EXPECT_EQ(session.Connect(), ExitNotFound);
    EXPECT_EQ(other.Written(), "?\rU?\r");
    EXPECT_FALSE(other.IsOpen());
}

TEST_F(BoardSessionTest, ReadsEachRateInTheWindowsChunkSizes)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    for (int spsSel : {0, 5, 7, 12, 16}) {
        SCOPED_TRACE(spsSel);
        ASSERT_EQ(Measure(spsSel, 3, ModeCh0), ExitDone);
        const std::int32_t chunk = MeasureItems::ReadChunk(spsSel);
        EXPECT_EQ(Steps(), std::vector<std::int32_t>(static_cast<std::size_t>(1000 / chunk), chunk));
        EXPECT_EQ(run->Ch0Data.Count, 1000);
        EXPECT_EQ(run->Ch1Data.Count, 0);
        EXPECT_EQ(run->Ch0Codes[0], Ch0Base);
        EXPECT_EQ(run->Ch0Codes[999], Ch0Base + 999);
        // A complete run needs no "AX".
        EXPECT_EQ(LastWrite(), "A0003E8\r");
    }
    EXPECT_EQ(board.BlockingReads(), 0);
}

TEST_F(BoardSessionTest, PairsLandInBothChannelsAtTheSameIndex)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    run->Settings.fSinc5 = 1;
    ASSERT_EQ(Measure(11, 0, ModeDual), ExitDone);
    EXPECT_EQ(Steps(), std::vector<std::int32_t>{100});
    const std::vector<std::string>& writes = board.Writes();
    EXPECT_EQ(std::vector<std::string>(writes.end() - 3, writes.end()),
              (std::vector<std::string>{"S5\r", "FB\r", "A200064\r"}));
    EXPECT_EQ(run->Ch0Data.Count, 100);
    EXPECT_EQ(run->Ch1Data.Count, 100);
    EXPECT_EQ(run->Ch0Codes[42], Ch0Base + 42);
    EXPECT_EQ(run->Ch1Codes[42], Ch1Base + 42);
}

TEST_F(BoardSessionTest, RefusedFilterIsABoardError)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    board.Answer("S3\r", {"NG\r"});
    run->Settings.spsSel = 5;
    run->Settings.CHSel = ModeCh1;
    RunControl control;
    control.Progress = [](std::int32_t, std::int32_t) {};
    control.Interrupted = [] { return false; };
    EXPECT_EQ(session.Measure(*run, control), ExitBoardError);
    EXPECT_EQ(texts.Panel(WindowTexts::BoardPanel), QStringLiteral("KORVADEX Board がエラーです"));
    EXPECT_EQ(LastWrite(), "S3\r");
    EXPECT_EQ(run->Ch1Data.Count, 0);
}

TEST_F(BoardSessionTest, StopSendsAXClosesAndKeepsTenSamples)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    EXPECT_EQ(Measure(0, 0, ModeCh1, -1, [this] { return progress.size() == 10; }), ExitStopped);
    EXPECT_EQ(LastWrite(), "AX\r");
    EXPECT_FALSE(board.IsOpen());
    EXPECT_EQ(texts.Panel(WindowTexts::RunPanel), QStringLiteral("計測中止しました"));
    EXPECT_EQ(run->Ch0Data.Count, 0);
    EXPECT_EQ(run->Ch1Data.Count, 10);
    EXPECT_EQ(run->Ch1Codes[9], Ch1Base + 9);
}

TEST_F(BoardSessionTest, StopDropsNineSamples)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    EXPECT_EQ(Measure(0, 0, ModeCh0, -1, [this] { return progress.size() == 9; }), ExitStopped);
    EXPECT_EQ(LastWrite(), "AX\r");
    EXPECT_EQ(run->Ch0Data.Count, 0);
}

TEST_F(BoardSessionTest, SilentStreamEndsAsAReadErrorAfterTheStallTimeout)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    EXPECT_EQ(Measure(0, 0, ModeCh0, 50), ExitReadError);
    EXPECT_EQ(LastWrite(), "AX\r");
    EXPECT_EQ(texts.Panel(WindowTexts::InfoPanel), QStringLiteral("計測エラーで終了"));
    EXPECT_EQ(progress.size(), 50u);
    EXPECT_EQ(run->Ch0Data.Count, 0);
}

TEST_F(BoardSessionTest, DriverFailingMidRunIsAReadError)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    // The first chunk arrives; then the cable comes out.
    const auto unplugAfterFirstChunk = [this] {
        if (!progress.empty())
            board.FailEveryCall(FakeD2xx::GetQueueStatus);
        return false;
    };
    EXPECT_EQ(Measure(12, 3, ModeCh0, -1, unplugAfterFirstChunk), ExitReadError);
    EXPECT_EQ(progress, std::vector<std::int32_t>{250});
    EXPECT_EQ(texts.Panel(WindowTexts::InfoPanel), QStringLiteral("計測エラーで終了"));
    EXPECT_EQ(run->Ch0Data.Count, 0);
}

} // namespace
