#include "BoardFirmware.h"

#include "CaptureOutput.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace std::chrono_literals;

namespace {

class BoardFirmwareTest : public ::testing::Test {
protected:
    std::string Answer(const std::string& bytes, BoardTime t = 0ms)
    {
        out.Clear();
        firmware.Receive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), t, out);
        return out.Bytes();
    }

    std::vector<std::int32_t> ProduceUntil(BoardTime until)
    {
        out.Clear();
        firmware.Produce(until, out);
        return DecodeCodes(out.Bytes());
    }

    BoardFirmware firmware{CounterBoard()};
    CaptureOutput out;
};

TEST_F(BoardFirmwareTest, IdentifiesItself)
{
    EXPECT_EQ(Answer("?\r"), "OK\r");
    EXPECT_EQ(Answer("U?\r"), "KORVADEX\r");
    EXPECT_EQ(Answer("V?\r"), "V1.00\r");
}

TEST_F(BoardFirmwareTest, AcknowledgesBothFiltersAndAllSeventeenRates)
{
    EXPECT_EQ(Answer("S3\r"), "OK\r");
    EXPECT_EQ(Answer("S5\r"), "OK\r");
    for (char digit : std::string("0123456789ABCDEFG"))
        EXPECT_EQ(Answer(std::string("F") + digit + "\r"), "OK\r") << digit;
}

TEST_F(BoardFirmwareTest, RefusesEveryOtherLineWithNG)
{
    for (const char* line : {"", "X", "s3", "S4", "FH", "Fa", "F", "F10", "U", "?U", " ?", "?\n", "V", "A",
                             "A3000010", "A00003e8", "A0003E", "A0003E8X", "A0G03E8", "AXX"})
        EXPECT_EQ(Answer(std::string(line) + "\r"), "NG\r") << '"' << line << '"';
    EXPECT_EQ(Answer(std::string(40, '?') + "\r"), "NG\r");
    EXPECT_FALSE(firmware.Running());
}

TEST_F(BoardFirmwareTest, AnswersOnlyOnceTheCRHasArrived)
{
    EXPECT_EQ(Answer("U"), "");
    EXPECT_EQ(Answer("?"), "");
    EXPECT_EQ(Answer("\r"), "KORVADEX\r");
    EXPECT_EQ(Answer("?\rV?\rS5"), "OK\rV1.00\r");
    EXPECT_EQ(Answer("\r"), "OK\r");
}

TEST_F(BoardFirmwareTest, StopWhileIdleAndEmptyRunSendNothing)
{
    EXPECT_EQ(Answer("AX\r"), "");
    EXPECT_EQ(Answer("A000000\r"), "");
    EXPECT_FALSE(firmware.Running());
    EXPECT_TRUE(ProduceUntil(10s).empty());
}

TEST_F(BoardFirmwareTest, RunSendsItsSamplesAtTheRateAndStopsByItself)
{
    Answer("F8\r");  // 1 ksps
    EXPECT_EQ(Answer("A0003E8\r", 1s), "");
    EXPECT_TRUE(firmware.Running());

    // Sample k is ready k milliseconds after the command.
    EXPECT_EQ(ProduceUntil(1s + 499us).size(), 0u);
    EXPECT_EQ(ProduceUntil(1s + 500ms).size(), 500u);
    EXPECT_EQ(out.LastWrite(), 1s + 500ms);
    const auto rest = ProduceUntil(5s);
    ASSERT_EQ(rest.size(), 500u);
    EXPECT_EQ(rest.front(), CounterStart + 500);
    EXPECT_EQ(rest.back(), CounterStart + 999);
    EXPECT_EQ(out.LastWrite(), 2s);
    EXPECT_FALSE(firmware.Running());
    EXPECT_EQ(Answer("?\r"), "OK\r");
}

TEST_F(BoardFirmwareTest, ChannelOneRunCarriesTheChannelOneSignal)
{
    Answer("FG\r");
    Answer("A10000A\r");
    const auto codes = ProduceUntil(1s);
    ASSERT_EQ(codes.size(), 10u);
    EXPECT_EQ(codes.front(), CounterStart + CounterCh1Offset);
    EXPECT_EQ(FirstBreak(codes), -1);
}

TEST_F(BoardFirmwareTest, TwoChannelRunSendsFramesAtTheFrameRate)
{
    Answer("FG\r");  // 125 ksps, 15625 frames a second
    Answer("A2186A0\r");
    const auto codes = ProduceUntil(64ms);
    ASSERT_EQ(codes.size(), 2000u);  // 1000 frames of CH0, CH1
    EXPECT_EQ(codes[0], CounterStart);
    EXPECT_EQ(codes[1], CounterStart + CounterCh1Offset);
    EXPECT_EQ(codes[1998], CounterStart + 999);
    EXPECT_EQ(codes[1999], CounterStart + 999 + CounterCh1Offset);
    ProduceUntil(6400ms - 1us);
    EXPECT_TRUE(firmware.Running());
    EXPECT_EQ(ProduceUntil(6400ms).size(), 2u);
    EXPECT_FALSE(firmware.Running());
}

TEST_F(BoardFirmwareTest, StopEndsTheRunAndOnlyStopIsHeardWhileStreaming)
{
    Answer("F8\r");
    Answer("A0003E8\r");
    ProduceUntil(100ms);
    EXPECT_EQ(Answer("?\r", 100ms), "");
    EXPECT_EQ(Answer("U?\rS3\rA000010\r", 100ms), "");
    EXPECT_EQ(Answer("AX\r", 100ms), "");
    EXPECT_FALSE(firmware.Running());
    EXPECT_TRUE(ProduceUntil(10s).empty());
    EXPECT_EQ(Answer("?\r", 10s), "OK\r");
}

TEST_F(BoardFirmwareTest, NextRunStartsItsCounterAfresh)
{
    Answer("FG\r");
    Answer("A000003\r");
    ProduceUntil(1s);
    Answer("A000003\r", 1s);
    EXPECT_EQ(ProduceUntil(2s), (std::vector<std::int32_t>{CounterStart, CounterStart + 1, CounterStart + 2}));
}

TEST_F(BoardFirmwareTest, WithoutRoomSamplesAreLostCountedAndTheRunStillSendsItsCount)
{
    Answer("F8\r");
    Answer("A00000A\r");
    out.Room = 9;
    firmware.Produce(5ms, out);  // three fit, two are lost
    EXPECT_EQ(firmware.LostSamples(), 2u);
    out.Room = 1000;
    firmware.Produce(1s, out);
    const auto codes = DecodeCodes(out.Bytes());
    ASSERT_EQ(codes.size(), 10u);
    EXPECT_EQ(FirstBreak(codes), 3);
    EXPECT_EQ(codes[3], CounterStart + 5);
    EXPECT_FALSE(firmware.Running());
}

TEST_F(BoardFirmwareTest, AnHourWithoutRoomIsCountedNotWalked)
{
    Answer("FG\r");
    Answer("A000010\r");
    out.Room = 0;
    firmware.Produce(3600s, out);
    EXPECT_EQ(firmware.LostSamples(), 450000000u);
    out.Room = 1000;
    const auto codes = ProduceUntil(3600s + 8us);
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0], (CounterStart + 450000000) % 16777216);
}

TEST_F(BoardFirmwareTest, ReplyThatFindsNoRoomIsDropped)
{
    out.Room = 2;
    out.Clear();
    const std::string bytes = "?\r";
    firmware.Receive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), 0ms, out);
    EXPECT_EQ(out.Bytes(), "");
}

TEST_F(BoardFirmwareTest, SilentBoardNeitherAnswersNorStreams)
{
    firmware.SetFaults(FaultsWith([](BoardFaults& f) { f.Silent = true; }));
    EXPECT_EQ(Answer("?\rU?\rXYZ\rA0003E8\r"), "");
    EXPECT_FALSE(firmware.Running());
}

TEST_F(BoardFirmwareTest, NgToEverythingRefusesEvenTheRun)
{
    firmware.SetFaults(FaultsWith([](BoardFaults& f) { f.NgToAll = true; }));
    EXPECT_EQ(Answer("?\rU?\rS3\rF5\rA0003E8\rAX\r"), "NG\rNG\rNG\rNG\rNG\rNG\r");
    EXPECT_FALSE(firmware.Running());
}

TEST_F(BoardFirmwareTest, NgToSettingsIdentifiesButRefusesFilterAndRate)
{
    firmware.SetFaults(FaultsWith([](BoardFaults& f) { f.NgToSettings = true; }));
    EXPECT_EQ(Answer("?\rU?\rS3\rS5\rF5\r"), "OK\rKORVADEX\rNG\rNG\rNG\r");
}

TEST_F(BoardFirmwareTest, WrongNameIsCloseToTheRightOne)
{
    firmware.SetFaults(FaultsWith([](BoardFaults& f) { f.WrongName = true; }));
    EXPECT_EQ(Answer("U?\r"), "KORVADEX2\r");
    EXPECT_EQ(Answer("?\r"), "OK\r");
}

TEST_F(BoardFirmwareTest, GarbledReplyFlipsTheTopBitOfEveryCharacterButTheCR)
{
    firmware.SetFaults(FaultsWith([](BoardFaults& f) { f.Garbled = true; }));
    EXPECT_EQ(Answer("?\r"), "\xCF\xCB\r");
    EXPECT_EQ(Answer("ZZ\r"), "\xCE\xC7\r");
}

TEST_F(BoardFirmwareTest, SplitReplySendsItsCRInAPacketOfItsOwn)
{
    firmware.SetFaults(FaultsWith([](BoardFaults& f) { f.SplitReply = true; }));
    Answer("?\r");
    EXPECT_EQ(out.Packets(), (std::vector<std::string>{"OK", "\r"}));
    Answer("U?\r");
    EXPECT_EQ(out.Packets(), (std::vector<std::string>{"KORVADEX", "\r"}));
}

TEST_F(BoardFirmwareTest, ExtraBytesFollowTheReply)
{
    firmware.SetFaults(FaultsWith([](BoardFaults& f) { f.ExtraBytes = true; }));
    EXPECT_EQ(Answer("?\r"), "OK\r\n");
    EXPECT_EQ(Answer("V?\r"), "V1.00\r\n");
}

TEST_F(BoardFirmwareTest, StalledRunStopsSendingButStillHearsStop)
{
    firmware.SetFaults(FaultsWith([](BoardFaults& f) { f.StallAfterSamples = 250; }));
    Answer("F8\r");
    Answer("A0003E8\r");
    EXPECT_EQ(ProduceUntil(10s).size(), 250u);
    EXPECT_TRUE(firmware.Running());
    EXPECT_EQ(firmware.LostSamples(), 0u);
    Answer("AX\r", 10s);
    EXPECT_FALSE(firmware.Running());
}

}  // namespace
