// The project's libftdi driver and board class, through the real libftdi1,
// on the emulated FTDI bridge: what a lab engineer's first run on Linux does.

#include "UsbBoardRig.h"

#include "ftdi/FtdiCatalogue.h"
#include "ftdi/FtdiD2xx.h"
#include "SimTestUtil.h"

#include <gtest/gtest.h>

#include <libusb.h>

#include <ostream>

namespace {

constexpr int FullRate = 16;  // 125 ksps
constexpr int OneKsps = 8;
constexpr int TenKsps = 11;
constexpr int TwoHundredSps = 6;
constexpr int WindowChunkAtFullRate = 1000;

class BridgeProduct : public ::testing::TestWithParam<std::uint16_t> {
};

TEST_P(BridgeProduct, IdentifiesSetsEveryFilterAndRateAndLeavesTheChipAsLibftdiSetIt)
{
    UsbBoardRig rig(CounterSetup(GetParam()));
    ASSERT_TRUE(rig.Connect());
    EXPECT_TRUE(rig.Adc().SetSinc3());
    EXPECT_TRUE(rig.Adc().SetSinc5());
    for (int rate = 0; rate <= FullRate; ++rate)
        EXPECT_TRUE(rig.Adc().SetDataRate(rate)) << "rate index " << rate;

    const UsbEmulationState state = UsbEmulation::State();
    EXPECT_TRUE(state.InterfaceClaimed);
    EXPECT_EQ(state.OpenHandles, 1);
    EXPECT_EQ(state.ChipResets, 1u);         // libftdi resets the chip as it opens it...
    EXPECT_NE(state.BaudDivisor, 0);         // ...and sets 9600 baud
    EXPECT_EQ(state.LatencyTimer, 16);       // nobody touches the latency timer
    EXPECT_EQ(state.BitMode, 0);
    EXPECT_GE(state.ReceivePurges, 5u);      // every purge reached the chip
    EXPECT_EQ(state.ReceivePurges, state.TransmitPurges);
}

TEST_P(BridgeProduct, RunsInEveryChannelMode)
{
    UsbBoardRig rig(CounterSetup(GetParam()));
    ASSERT_TRUE(rig.Connect());
    for (int mode = 0; mode <= 2; ++mode) {
        const std::int32_t count = 3000;
        ASSERT_TRUE(rig.Start(TenKsps, mode, count)) << "mode " << mode;
        const UsbBoardRig::Run run = rig.ReadRun(mode, count, 100);
        EXPECT_FALSE(run.ReadFailed);
        ExpectCounterRun(run.Codes, mode, count);
    }
}

TEST_P(BridgeProduct, DeliversAFullRateTwoChannelRunWhole)
{
    UsbBoardRig rig(CounterSetup(GetParam()));
    ASSERT_TRUE(rig.Connect());
    const std::int32_t frames = 100000;
    ASSERT_TRUE(rig.Start(FullRate, 2, frames));
    const UsbBoardRig::Run run = rig.ReadRun(2, frames, WindowChunkAtFullRate);
    EXPECT_FALSE(run.ReadFailed);
    ExpectCounterRun(run.Codes, 2, frames);
    EXPECT_EQ(UsbEmulation::State().LostSamples, 0u);
}

INSTANTIATE_TEST_SUITE_P(FtdiBridges, BridgeProduct, ::testing::Values(0x6001, 0x6014),
                         [](const ::testing::TestParamInfo<std::uint16_t>& info) {
                             return info.param == 0x6001 ? "FT245R" : "FT232H";
                         });

TEST(BridgeThroughLibftdi, StopAndPurgeWhileTheStreamArrivesThenANewRunStartsClean)
{
    UsbBoardRig rig(CounterSetup());
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.Start(FullRate, 2, 100000));
    const UsbBoardRig::Run begun = rig.ReadRun(2, 2000, WindowChunkAtFullRate);
    ASSERT_EQ(begun.Codes.size(), 4000u);
    ASSERT_TRUE(rig.Adc().StopMeasure());
    // The filter command purges first: the stream still on its way must not
    // land in front of the board's "OK".
    ASSERT_TRUE(rig.Start(FullRate, 2, 5000));
    const UsbBoardRig::Run fresh = rig.ReadRun(2, 5000, WindowChunkAtFullRate);
    ExpectCounterRun(fresh.Codes, 2, 5000);
}

TEST(BridgeThroughLibftdi, PurgeWhileTheBoardStreamsDropsEverythingThatReachedTheHostBefore)
{
    UsbBoardRig rig(CounterSetup());
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.Start(FullRate, 2, 100000));
    const std::uint64_t repliesAndAFewFrames = UsbEmulation::State().BytesToHost;
    ASSERT_EQ(rig.ReadRun(2, 2000, WindowChunkAtFullRate).Codes.size(), 4000u);
    // Frames the bridge had already handed to the host, some still in a
    // transfer on its way.
    const std::uint64_t handedOver = (UsbEmulation::State().BytesToHost - repliesAndAFewFrames) / 6;
    ASSERT_TRUE(rig.Adc().Purge());
    const UsbBoardRig::Run after = rig.ReadRun(2, 1000, WindowChunkAtFullRate);
    ASSERT_EQ(after.Codes.size(), 2000u);
    EXPECT_GE(static_cast<std::uint64_t>(after.Codes[0] - CounterStart), handedOver);
    for (std::size_t i = 0; i < after.Codes.size(); i += 2)
        ASSERT_EQ(after.Codes[i + 1], after.Codes[i] + CounterCh1Offset) << "frame " << i / 2 << " is cut";
    EXPECT_TRUE(rig.Adc().StopMeasure());
}

TEST(BridgeThroughLibftdi, HandsOverSamplesOfASlowRunWhileItStillStreams)
{
    UsbBoardRig rig(CounterSetup());
    ASSERT_TRUE(rig.Connect());
    // 1000 samples at 200 sps: five seconds, 3000 bytes, less than one read
    // request of libftdi's; its own read would hold them until the run ended.
    ASSERT_TRUE(rig.Start(TwoHundredSps, 0, 1000));
    const UsbBoardRig::Run first = rig.ReadRun(0, 100, 1);
    ASSERT_EQ(first.Codes.size(), 100u);
    EXPECT_TRUE(UsbEmulation::State().Running);
    EXPECT_TRUE(rig.Adc().StopMeasure());
}

// A named fault of the bridge, for the tables below.
struct BridgeFault {
    const char* Name;
    void (*Set)(UsbBridgeFaults&);
};

void PrintTo(const BridgeFault& fault, std::ostream* out)
{
    *out << fault.Name;
}

class OddPackets : public ::testing::TestWithParam<BridgeFault> {
};

TEST_P(OddPackets, LeaveTheStreamWholeAndInOrder)
{
    UsbEmulationSetup setup = CounterSetup();
    GetParam().Set(setup.Usb.Faults);
    UsbBoardRig rig(setup);
    ASSERT_TRUE(rig.Connect());
    // A slow stream: with a packet or two per transfer, the transfers in
    // flight hold only milliseconds of a fast one.
    const std::int32_t frames = 1000;
    ASSERT_TRUE(rig.Start(OneKsps, 2, frames));
    const UsbBoardRig::Run run = rig.ReadRun(2, frames, 10);
    ExpectCounterRun(run.Codes, 2, frames);
    EXPECT_EQ(UsbEmulation::State().LostSamples, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, OddPackets,
    ::testing::Values(BridgeFault{"ShortPackets", [](UsbBridgeFaults& f) { f.ShortPackets = true; }},
                      BridgeFault{"ZeroLengthPackets", [](UsbBridgeFaults& f) { f.ZeroLengthPackets = true; }},
                      BridgeFault{"KernelDriverToDetach", [](UsbBridgeFaults& f) { f.KernelDriver = true; }}),
    [](const ::testing::TestParamInfo<BridgeFault>& info) { return info.param.Name; });

class MidRunFailure : public ::testing::TestWithParam<BridgeFault> {
};

// The window turns a failed read into "計測エラーで終了" after StopMeasure.
TEST_P(MidRunFailure, EndsTheRunWithAReadErrorWithoutHanging)
{
    UsbEmulationSetup setup = CounterSetup();
    GetParam().Set(setup.Usb.Faults);
    UsbBoardRig rig(setup);
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.Start(FullRate, 2, 100000));
    const UsbBoardRig::Run run = rig.ReadRun(2, 100000, WindowChunkAtFullRate);
    EXPECT_TRUE(run.ReadFailed);
    EXPECT_LT(run.Codes.size(), 2u * 100000);
    EXPECT_FALSE(rig.Adc().StopMeasure());
    rig.Adc().CloseBoard();
    EXPECT_EQ(UsbEmulation::State().OpenHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MidRunFailure,
    ::testing::Values(BridgeFault{"Unplugged", [](UsbBridgeFaults& f) { f.RemoveAfterBytes = 60000; }},
                      BridgeFault{"EndpointStalled", [](UsbBridgeFaults& f) { f.StallAfterBytes = 60000; }}),
    [](const ::testing::TestParamInfo<BridgeFault>& info) { return info.param.Name; });

TEST(BridgeThroughLibftdi, UnpluggedBoardIsNotFoundAgain)
{
    UsbBoardRig rig(CounterSetup());
    ASSERT_TRUE(rig.Connect());
    UsbEmulation::Unplug();
    EXPECT_FALSE(UsbEmulation::State().Listed);
    EXPECT_FALSE(rig.Adc().CheckBoard());
    rig.Adc().CloseBoard();
    EXPECT_FALSE(rig.Adc().OpenBoard());
}

struct OpenFault {
    const char* Name;
    void (*Set)(UsbBridgeFaults&);
    FT_STATUS Status;
};

void PrintTo(const OpenFault& fault, std::ostream* out)
{
    *out << fault.Name;
}

class OpenFailure : public ::testing::TestWithParam<OpenFault> {
};

// The window reports every failed OpenBoard as "KORVADEX が見つかりませんでした".
TEST_P(OpenFailure, GivesTheNotFoundPathAndLeavesNothingOpen)
{
    UsbEmulationSetup setup = CounterSetup();
    GetParam().Set(setup.Usb.Faults);
    UsbEmulation::Reset(setup);
    const std::unique_ptr<D2xx> driver = CreateFtdiD2xx();
    FT_HANDLE handle = nullptr;
    EXPECT_EQ(driver->FT_Open(0, &handle), GetParam().Status);
    EXPECT_EQ(handle, nullptr);
    UsbBoardRig rig(setup);
    EXPECT_FALSE(rig.Adc().OpenBoard());
    const UsbEmulationState state = UsbEmulation::State();
    EXPECT_EQ(state.OpenHandles, 0);
    EXPECT_EQ(state.DeviceReferences, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, OpenFailure,
    ::testing::Values(OpenFault{"NoDevice", [](UsbBridgeFaults& f) { f.Absent = true; }, FT_DEVICE_NOT_FOUND},
                      OpenFault{"AccessDenied", [](UsbBridgeFaults& f) { f.AccessDenied = true; }, FT_DEVICE_NOT_OPENED},
                      OpenFault{"ClaimedElsewhere", [](UsbBridgeFaults& f) { f.Busy = true; }, FT_DEVICE_NOT_OPENED}),
    [](const ::testing::TestParamInfo<OpenFault>& info) { return info.param.Name; });

// Another program holds the board for a moment: the open that meets it
// fails and the listing says busy; once it lets go, the board is listed
// usable again and opens, as a reconnect needs.
TEST(BridgeThroughLibftdi, ABoardHeldForAMomentIsUsableOnceLetGo)
{
    UsbEmulation::Reset(CounterSetup());
    libusb_context* usb = nullptr;
    ASSERT_EQ(libusb_init(&usb), LIBUSB_SUCCESS);
    libusb_device** devices = nullptr;
    ASSERT_EQ(libusb_get_device_list(usb, &devices), 1);
    libusb_device_handle* other = nullptr;
    ASSERT_EQ(libusb_open(devices[0], &other), LIBUSB_SUCCESS);
    libusb_free_device_list(devices, 1);
    ASSERT_EQ(libusb_claim_interface(other, 0), LIBUSB_SUCCESS);

    FtdiCatalogue catalogue;
    FT_STATUS status = FT_OK;
    EXPECT_EQ(catalogue.OpenNumber(0, status), nullptr);
    ASSERT_EQ(catalogue.List().size(), 1u);
    EXPECT_EQ(catalogue.List()[0].Note.State, DeviceState::Busy);

    libusb_release_interface(other, 0);
    libusb_close(other);
    libusb_exit(usb);
    const std::vector<UsbListing> listed = catalogue.List();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].Note.State, DeviceState::Usable) << listed[0].Note.Reason;
    EXPECT_NE(catalogue.OpenNumber(0, status), nullptr);
    EXPECT_EQ(status, FT_OK);
}

TEST(BridgeThroughLibftdi, ClosingGivesTheDeviceBack)
{
    UsbEmulationSetup setup = CounterSetup();
    setup.Usb.Faults.KernelDriver = true;
    {
        UsbBoardRig rig(setup);
        ASSERT_TRUE(rig.Connect());
        EXPECT_FALSE(UsbEmulation::State().KernelDriverBound);  // libftdi detached it
    }
    const UsbEmulationState state = UsbEmulation::State();
    EXPECT_EQ(state.OpenHandles, 0);
    EXPECT_FALSE(state.InterfaceClaimed);
    EXPECT_EQ(state.DeviceReferences, 0);
}

}  // namespace
