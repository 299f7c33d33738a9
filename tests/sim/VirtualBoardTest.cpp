#include "VirtualBoard.h"

#include "ManualClock.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

class VirtualBoardTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(board.FT_Open(0, &handle), FT_OK); }

    FT_STATUS Write(const std::string& text)
    {
        DWORD written = 0;
        const FT_STATUS status =
            board.FT_Write(handle, const_cast<char*>(text.data()), static_cast<DWORD>(text.size()), &written);
        EXPECT_TRUE(status != FT_OK || written == text.size());
        return status;
    }

    DWORD Queued()
    {
        DWORD queued = 0;
        EXPECT_EQ(board.FT_GetQueueStatus(handle, &queued), FT_OK);
        return queued;
    }

    std::string ReadAll()
    {
        std::string bytes(Queued(), '\0');
        DWORD got = 0;
        EXPECT_EQ(board.FT_Read(handle, &bytes[0], static_cast<DWORD>(bytes.size()), &got), FT_OK);
        bytes.resize(got);
        return bytes;
    }

    // Sends a command and returns what has arrived once the latency timer has
    // flushed the reply.
    std::string Ask(const std::string& command)
    {
        Write(command + "\r");
        clock.Advance(UsbBridge::DefaultLatencyTimer);
        return ReadAll();
    }

    // Starts a run and reads it in polls step apart until it is over and
    // its last partial packet has come.
    std::string Stream(const std::string& startCommand, BoardTime step)
    {
        Write(startCommand + "\r");
        std::string stream;
        while (board.Running()) {
            clock.Advance(step);
            stream += ReadAll();
        }
        clock.Advance(UsbBridge::DefaultLatencyTimer);
        return stream + ReadAll();
    }

    ManualClock clock;
    VirtualBoard board{clock, CounterBoard()};
    FT_HANDLE handle = nullptr;
};

TEST_F(VirtualBoardTest, OpensOnlyTheFirstDeviceAndOnlyOnce)
{
    FT_HANDLE other = nullptr;
    EXPECT_EQ(board.FT_Open(0, &other), FT_DEVICE_NOT_OPENED);
    EXPECT_EQ(board.FT_Open(1, &other), FT_DEVICE_NOT_FOUND);
    EXPECT_EQ(board.FT_Open(0, nullptr), FT_INVALID_PARAMETER);
    EXPECT_EQ(board.FT_Close(handle), FT_OK);
    EXPECT_EQ(board.FT_Close(handle), FT_INVALID_HANDLE);
    EXPECT_EQ(board.FT_Open(0, &other), FT_OK);
    EXPECT_EQ(other, handle);
}

TEST_F(VirtualBoardTest, EveryCallChecksTheHandle)
{
    int notAHandle = 0;
    DWORD count = 0;
    char buffer[4];
    EXPECT_EQ(board.FT_Read(&notAHandle, buffer, 4, &count), FT_INVALID_HANDLE);
    EXPECT_EQ(board.FT_Write(nullptr, buffer, 4, &count), FT_INVALID_HANDLE);
    EXPECT_EQ(board.FT_Purge(&notAHandle, FT_PURGE_RX), FT_INVALID_HANDLE);
    EXPECT_EQ(board.FT_GetQueueStatus(&notAHandle, &count), FT_INVALID_HANDLE);
    EXPECT_EQ(board.FT_SetUSBParameters(&notAHandle, 4096, 0), FT_INVALID_HANDLE);
    EXPECT_EQ(board.FT_Close(&notAHandle), FT_INVALID_HANDLE);
    ASSERT_EQ(board.FT_Close(handle), FT_OK);
    EXPECT_EQ(board.FT_GetQueueStatus(handle, &count), FT_INVALID_HANDLE);
}

TEST_F(VirtualBoardTest, RefusesMissingArguments)
{
    DWORD count = 7;
    char buffer[4];
    EXPECT_EQ(board.FT_Read(handle, buffer, 4, nullptr), FT_INVALID_PARAMETER);
    EXPECT_EQ(board.FT_Read(handle, nullptr, 4, &count), FT_INVALID_PARAMETER);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(board.FT_Write(handle, buffer, 4, nullptr), FT_INVALID_PARAMETER);
    EXPECT_EQ(board.FT_Write(handle, nullptr, 1, &count), FT_INVALID_PARAMETER);
    EXPECT_EQ(board.FT_GetQueueStatus(handle, nullptr), FT_INVALID_PARAMETER);
    EXPECT_EQ(board.FT_Purge(handle, 4), FT_INVALID_PARAMETER);
}

TEST_F(VirtualBoardTest, TransferSizeIsAMultipleOf64UpTo64Kib)
{
    EXPECT_EQ(board.FT_SetUSBParameters(handle, 4096, 0), FT_OK);
    EXPECT_EQ(board.FT_SetUSBParameters(handle, 64, 0), FT_OK);
    EXPECT_EQ(board.FT_SetUSBParameters(handle, 65536, 0), FT_OK);
    EXPECT_EQ(board.FT_SetUSBParameters(handle, 0, 0), FT_INVALID_PARAMETER);
    EXPECT_EQ(board.FT_SetUSBParameters(handle, 100, 0), FT_INVALID_PARAMETER);
    EXPECT_EQ(board.FT_SetUSBParameters(handle, 65600, 0), FT_INVALID_PARAMETER);
}

TEST_F(VirtualBoardTest, ReplyArrivesWhenTheLatencyTimerRunsOut)
{
    Write("U?\r");
    clock.Advance(UsbBridge::DefaultLatencyTimer - 1ns);
    EXPECT_EQ(Queued(), 0u);
    clock.Advance(1ns);
    EXPECT_EQ(ReadAll(), "KORVADEX\r");
    EXPECT_EQ(Ask("?"), "OK\r");
    EXPECT_EQ(Ask("V?"), "V1.00\r");
    EXPECT_EQ(Ask("S3"), "OK\r");
    EXPECT_EQ(Ask("FG"), "OK\r");
    EXPECT_EQ(Ask("FX"), "NG\r");
}

TEST_F(VirtualBoardTest, ReadForMoreThanQueuedReturnsWhatIsThere)
{
    Ask("S5");
    Write("?\r");
    clock.Advance(20ms);
    char buffer[16];
    DWORD got = 0;
    EXPECT_EQ(board.FT_Read(handle, buffer, sizeof buffer, &got), FT_OK);
    EXPECT_EQ(std::string(buffer, got), "OK\r");
    EXPECT_EQ(board.FT_Read(handle, buffer, sizeof buffer, &got), FT_OK);
    EXPECT_EQ(got, 0u);
}

TEST_F(VirtualBoardTest, ThousandSampleRunInEachMode)
{
    Ask("F8");  // 1 ksps
    for (int mode = 0; mode <= 2; ++mode) {
        const std::string count = mode == 2 ? "A2003E8" : std::string("A") + char('0' + mode) + "003E8";
        const BoardTime started = clock.Now();
        const auto codes = DecodeCodes(Stream(count, 5ms));
        const BoardTime took = clock.Now() - started;
        SCOPED_TRACE(mode);
        ExpectCounterRun(codes, mode, 1000);
        // 1000 samples a second, 500 frames; the last packet waits for the
        // latency timer.
        const BoardTime nominal = mode == 2 ? 2s : 1s;
        EXPECT_GE(took, nominal);
        EXPECT_LT(took, nominal + 30ms);
    }
    EXPECT_EQ(board.LostSamples(), 0u);
}

TEST_F(VirtualBoardTest, CounterSurvivesAHundredThousandFrameRunAtFullRate)
{
    Ask("FG");
    const auto frames = DecodeCodes(Stream("A2186A0", 10ms));
    ExpectCounterRun(frames, 2, 100000);
    EXPECT_EQ(Channel(frames, 0).back(), CounterStart + 99999);
    EXPECT_EQ(board.LostSamples(), 0u);
}

TEST_F(VirtualBoardTest, SlowHostLosesSamplesThatTheCounterShows)
{
    Ask("FG");  // 375 kB/s, more than the 64 KiB queue holds in a second
    const auto codes = DecodeCodes(Stream("A0186A0", 1s));
    ASSERT_EQ(codes.size(), 100000u);
    EXPECT_GT(board.LostSamples(), 0u);
    EXPECT_NE(FirstBreak(codes), -1);
    EXPECT_EQ(codes.back(), CounterStart + 99999 + static_cast<std::int32_t>(board.LostSamples()));
}

TEST_F(VirtualBoardTest, QueueStaysBoundedWhenTheHostStopsReading)
{
    Ask("FG");
    Write("A0FFFFF\r");
    clock.Advance(10s);
    EXPECT_EQ(Queued(), UsbBridge::QueueCapacity);
    EXPECT_GT(board.LostSamples(), 1000000u);
}

TEST_F(VirtualBoardTest, StopMidRunThenPurgeLeavesNothingQueued)
{
    Ask("FG");
    Write("A0186A0\r");
    clock.Advance(100ms);
    EXPECT_GT(Queued(), 0u);
    Write("AX\r");
    EXPECT_EQ(board.FT_Purge(handle, FT_PURGE_RX | FT_PURGE_TX), FT_OK);
    EXPECT_EQ(Queued(), 0u);
    clock.Advance(10s);
    EXPECT_EQ(Queued(), 0u);
    EXPECT_FALSE(board.Running());
    EXPECT_EQ(Ask("?"), "OK\r");
}

TEST_F(VirtualBoardTest, ClosingMidRunLeavesTheBoardStreamingIntoNothing)
{
    Ask("FG");
    Write("A0186A0\r");
    clock.Advance(10ms);
    ASSERT_EQ(board.FT_Close(handle), FT_OK);
    clock.Advance(3600s);
    ASSERT_EQ(board.FT_Open(0, &handle), FT_OK);
    EXPECT_GT(board.LostSamples(), 0u);
    EXPECT_EQ(board.FT_Purge(handle, FT_PURGE_RX), FT_OK);
    Stream("AX", 1ms);
    EXPECT_EQ(Ask("?"), "OK\r");
}

TEST_F(VirtualBoardTest, NewSignalsTakeEffectOnTheNextSample)
{
    SignalConfig inputs;
    inputs.Channel[0] = {500.0, 0.0, 0.0, 0.0};
    board.SetSignals(inputs);
    Ask("F8");
    const auto codes = DecodeCodes(Stream("A000005", 5ms));
    EXPECT_EQ(codes, std::vector<std::int32_t>(5, MicrovoltsToCode(500.0)));
}

TEST_F(VirtualBoardTest, AbsentBoardCannotBeOpened)
{
    board.FT_Close(handle);
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.Absent = true; }));
    EXPECT_EQ(board.FT_Open(0, &handle), FT_DEVICE_NOT_FOUND);
    board.SetFaults(BoardFaults());
    EXPECT_EQ(board.FT_Open(0, &handle), FT_OK);
}

TEST_F(VirtualBoardTest, SplitReplyShowsItsTextBeforeItsCR)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.SplitReply = true; }));
    Write("?\r");
    EXPECT_EQ(ReadAll(), "OK");
    clock.Advance(UsbBridge::DefaultLatencyTimer);
    EXPECT_EQ(ReadAll(), "\r");
}

TEST_F(VirtualBoardTest, PulledCableFailsEveryCallUntilReplugged)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.CablePullAfterBytes = 5; }));
    EXPECT_EQ(Ask("?"), "OK\r");
    Write("V?\r");
    clock.Advance(20ms);

    DWORD count = 0;
    char buffer[8];
    EXPECT_EQ(board.FT_GetQueueStatus(handle, &count), FT_IO_ERROR);
    EXPECT_EQ(board.FT_Read(handle, buffer, 1, &count), FT_IO_ERROR);
    EXPECT_EQ(board.FT_Write(handle, buffer, 1, &count), FT_IO_ERROR);
    EXPECT_EQ(board.FT_Purge(handle, FT_PURGE_RX), FT_IO_ERROR);
    EXPECT_EQ(board.FT_SetUSBParameters(handle, 4096, 0), FT_IO_ERROR);
    EXPECT_EQ(board.FT_Close(handle), FT_IO_ERROR);
    EXPECT_EQ(board.FT_Open(0, &handle), FT_DEVICE_NOT_FOUND);

    board.ReplugCable();
    ASSERT_EQ(board.FT_Open(0, &handle), FT_OK);
    EXPECT_EQ(Ask("V?"), "V1.00\r");
}

TEST_F(VirtualBoardTest, CablePulledMidRunEndsTheStream)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.CablePullAfterBytes = 3000; }));
    Ask("FG");
    Write("A0186A0\r");
    clock.Advance(1ms);
    EXPECT_EQ(ReadAll().size(), 320u);  // five packets of 125 samples' 375 bytes
    clock.Advance(100ms);
    DWORD count = 0;
    EXPECT_EQ(board.FT_GetQueueStatus(handle, &count), FT_IO_ERROR);
}

TEST_F(VirtualBoardTest, StalledStreamSendsNothingMoreUntilStopped)
{
    board.SetFaults(FaultsWith([](BoardFaults& f) { f.StallAfterSamples = 300; }));
    Ask("F8");
    Write("A0003E8\r");
    clock.Advance(5s);
    EXPECT_EQ(ReadAll().size(), 900u);
    clock.Advance(5s);
    EXPECT_EQ(Queued(), 0u);
    EXPECT_TRUE(board.Running());
    Write("AX\r");
    EXPECT_FALSE(board.Running());
}

}  // namespace
