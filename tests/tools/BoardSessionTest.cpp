#include "BoardSession.h"
#include "MeasureItems.h"
#include "RunData.h"
#include "WindowTexts.h"

#include "QtPrinting.h"
#include "ScriptedBoard.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class BoardSessionTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureTestApplication(); }

    ExitCode Measure(int spsSel, int countSel, int chSel, std::function<bool()> interrupted = [] { return false; })
    {
        run->Settings.spsSel = spsSel;
        run->Settings.DataCountSel = countSel;
        run->Settings.CHSel = chSel;
        RunControl control;
        control.Progress = [this](std::int32_t taken, std::int32_t) { progress.push_back(taken); };
        control.Interrupted = std::move(interrupted);
        control.StallTimeout = std::chrono::milliseconds(200);
        return session.Measure(*run, control);
    }

    ScriptedBoard board;
    WindowTexts texts;
    BoardSession session{board, texts};
    std::unique_ptr<RunData> run = std::make_unique<RunData>();
    std::vector<std::int32_t> progress;
};

TEST_F(BoardSessionTest, IdentifiesAsTheWindowDoes)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    EXPECT_EQ(board.Commands, (std::vector<std::string>{"?", "U?", "V?"}));
    EXPECT_EQ(session.Identity(), QStringLiteral("KORVADEX / V9.99"));
}

TEST_F(BoardSessionTest, AnotherNameIsNotTheBoard)
{
    board.Replies["U?"] = "KORVADEX2\r";
    EXPECT_EQ(session.Connect(), ExitNotFound);
    EXPECT_EQ(board.Commands, (std::vector<std::string>{"?", "U?"}));
}

TEST_F(BoardSessionTest, ReadsEachRateInTheWindowsChunkSizes)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    for (int spsSel : {0, 5, 7, 12, 16}) {
        SCOPED_TRACE(spsSel);
        board.StreamReadSizes.clear();
        progress.clear();
        ASSERT_EQ(Measure(spsSel, 3, ModeCh0), ExitDone);
        const std::int32_t chunk = MeasureItems::ReadChunk(spsSel);
        EXPECT_EQ(board.StreamReadSizes, std::vector<DWORD>(static_cast<std::size_t>(1000 / chunk), chunk * 3u));
        EXPECT_EQ(progress.size(), static_cast<std::size_t>(1000 / chunk));
        EXPECT_EQ(progress.back(), 1000);
        EXPECT_EQ(run->Ch0Data.Count, 1000);
        EXPECT_EQ(run->Ch1Data.Count, 0);
        EXPECT_EQ(run->Ch0Codes[0], ScriptedBoard::Ch0Base);
        EXPECT_EQ(run->Ch0Codes[999], ScriptedBoard::Ch0Base + 999);
    }
    // Filter, rate digit, then mode and count in hex; a complete run sends no "AX".
    EXPECT_EQ(std::vector<std::string>(board.Commands.end() - 3, board.Commands.end()),
              (std::vector<std::string>{"S3", "FG", "A0003E8"}));
}

TEST_F(BoardSessionTest, PairsLandInBothChannelsAtTheSameIndex)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    run->Settings.fSinc5 = 1;
    ASSERT_EQ(Measure(11, 0, ModeDual), ExitDone);
    EXPECT_EQ(board.StreamReadSizes, std::vector<DWORD>(1, 600u));
    EXPECT_EQ(board.Commands.back(), "A200064");
    EXPECT_EQ(board.Commands[board.Commands.size() - 3], "S5");
    EXPECT_EQ(run->Ch0Data.Count, 100);
    EXPECT_EQ(run->Ch1Data.Count, 100);
    EXPECT_EQ(run->Ch0Codes[42], ScriptedBoard::Ch0Base + 42);
    EXPECT_EQ(run->Ch1Codes[42], ScriptedBoard::Ch1Base + 42);
}

TEST_F(BoardSessionTest, RefusedFilterIsABoardError)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    board.Replies["S3"] = "NG\r";
    EXPECT_EQ(Measure(5, 0, ModeCh1), ExitBoardError);
    EXPECT_EQ(texts.Panel(WindowTexts::BoardPanel), QStringLiteral("KORVADEX Board がエラーです"));
    EXPECT_EQ(board.Commands.back(), "S3");
    EXPECT_EQ(run->Ch1Data.Count, 0);
}

TEST_F(BoardSessionTest, StopSendsAXAndKeepsTenSamples)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    EXPECT_EQ(Measure(0, 0, ModeCh1, [this] { return progress.size() == 10; }), ExitStopped);
    EXPECT_EQ(board.Commands.back(), "AX");
    EXPECT_EQ(texts.Panel(WindowTexts::RunPanel), QStringLiteral("計測中止しました"));
    EXPECT_EQ(run->Ch0Data.Count, 0);
    EXPECT_EQ(run->Ch1Data.Count, 10);
}

TEST_F(BoardSessionTest, StopDropsNineSamples)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    EXPECT_EQ(Measure(0, 0, ModeCh0, [this] { return progress.size() == 9; }), ExitStopped);
    EXPECT_EQ(board.Commands.back(), "AX");
    EXPECT_EQ(run->Ch0Data.Count, 0);
}

TEST_F(BoardSessionTest, SilentStreamEndsAsAReadErrorAfterTheStallTimeout)
{
    ASSERT_EQ(session.Connect(), ExitDone);
    board.StallAfter = 50;
    EXPECT_EQ(Measure(0, 0, ModeCh0), ExitReadError);
    EXPECT_EQ(board.Commands.back(), "AX");
    EXPECT_EQ(texts.Panel(WindowTexts::InfoPanel), QStringLiteral("計測エラーで終了"));
    EXPECT_EQ(progress.size(), 50u);
    EXPECT_EQ(run->Ch0Data.Count, 0);
}

} // namespace
