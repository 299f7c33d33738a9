// Several FTDI devices on the drop-in library's bus, in-process: listed
// without a byte sent to any of them, and each reached by its serial number
// through the link's own classes.

#include "Ad7175.h"
#include "ChosenD2xx.h"
#include "DeviceList.h"

#include "ConverterModel.h"
#include "EnvironmentSettings.h"
#include "ManualClock.h"
#include "QtApplication.h"
#include "RealClock.h"
#include "SimTestUtil.h"
#include "UsbBridge.h"
#include "VirtualDevices.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace {

using Kind = SimDevice::Kind;

const std::vector<SimDevice> Bench = {
    {"cable", Kind::SilentAdapter, false},
    {"KVX0001", Kind::Board, false},
    {"loop", Kind::EchoAdapter, false},
    {"KVX0002", Kind::Board, true},
};

class VirtualDevicesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApplication(); }

    RealClock clock{20.0};
    VirtualDevices devices{clock, Bench, BoardConfig()};
};

TEST_F(VirtualDevicesTest, ListsEveryDeviceWithItsState)
{
    struct Expected {
        const char* Serial;
        const char* Description;
        const char* Type;
        const char* Location;
        DeviceState State;
    };
    const Expected expected[] = {
        {"cable", "USB-Serial Cable", "FT-X", "0x1011", DeviceState::Usable},
        {"KVX0001", "KORVADEX Board KVX0001", "FT232R", "0x1012", DeviceState::Usable},
        {"loop", "USB-Serial Loopback", "FT232R", "0x1013", DeviceState::Usable},
        {"KVX0002", "KORVADEX Board KVX0002", "FT232R", "0x1014", DeviceState::Busy},
    };
    std::vector<FtdiDevice> listed;
    ASSERT_EQ(DeviceList::Read(devices, listed), FT_OK);
    ASSERT_EQ(listed.size(), std::size(expected));
    for (std::size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(expected[i].Serial);
        EXPECT_EQ(listed[i].Index, static_cast<int>(i));
        EXPECT_EQ(listed[i].Serial, QString::fromLatin1(expected[i].Serial));
        EXPECT_EQ(listed[i].Description, QString::fromLatin1(expected[i].Description));
        EXPECT_EQ(listed[i].Type, QString::fromLatin1(expected[i].Type));
        EXPECT_EQ(listed[i].Location, QString::fromLatin1(expected[i].Location));
        EXPECT_EQ(listed[i].State, expected[i].State);
        EXPECT_EQ(listed[i].Reason.isEmpty(), expected[i].State == DeviceState::Usable);
    }
}

// The link opens "device 0"; the chosen serial decides which device that is.
TEST_F(VirtualDevicesTest, EachSerialReachesItsOwnDevice)
{
    struct Case {
        const char* Serial;
        bool Opens;
        bool AnswersAsBoard;
    };
    const Case cases[] = {
        {"cable", true, false}, {"KVX0001", true, true}, {"loop", true, false}, {"KVX0002", false, false},
        {"absent", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Serial);
        ChosenD2xx chosen(devices);
        ASSERT_TRUE(chosen.Choose(c.Serial));
        TADC adc(nullptr, chosen);
        EXPECT_EQ(adc.OpenBoard(), c.Opens);
        EXPECT_EQ(adc.CheckBoard(), c.AnswersAsBoard);
        adc.CloseBoard();
    }
}

TEST_F(VirtualDevicesTest, TheLoopbackSendsBackWhatItIsSentAndTheCableNothing)
{
    for (const char* serial : {"loop", "cable"}) {
        SCOPED_TRACE(serial);
        ChosenD2xx chosen(devices);
        ASSERT_TRUE(chosen.Choose(serial));
        TADC adc(nullptr, chosen);
        ASSERT_TRUE(adc.OpenBoard());
        ASSERT_TRUE(adc.SendCommand("U?"));
        std::uint8_t reply[8] = {};
        DWORD got = 0;
        ASSERT_TRUE(adc.ReadAvailable(reply, sizeof reply, got));
        EXPECT_EQ(std::string(reply, reply + got), std::string(serial) == "loop" ? "U?\r" : "");
        adc.CloseBoard();
    }
}

// A device open in this program is listed as opened, and cannot be opened twice.
TEST_F(VirtualDevicesTest, AnOpenDeviceIsListedAsOpened)
{
    FT_HANDLE handle = nullptr;
    char serial[] = "KVX0001";
    ASSERT_EQ(devices.FT_OpenEx(serial, FT_OPEN_BY_SERIAL_NUMBER, &handle), FT_OK);
    FT_HANDLE again = nullptr;
    EXPECT_EQ(devices.FT_Open(1, &again), FT_DEVICE_NOT_OPENED);
    std::vector<FtdiDevice> listed;
    ASSERT_EQ(DeviceList::Read(devices, listed), FT_OK);
    EXPECT_EQ(listed[1].State, DeviceState::Busy);
    EXPECT_EQ(devices.FT_Close(handle), FT_OK);
    ASSERT_EQ(DeviceList::Read(devices, listed), FT_OK);
    EXPECT_EQ(listed[1].State, DeviceState::Usable);
}

TEST(VirtualDevicesAbsent, AnAbsentBoardIsNotOnTheBus)
{
    RealClock clock;
    BoardConfig absent;
    absent.Faults.Absent = true;
    VirtualDevices devices(clock, Bench, absent);
    std::vector<FtdiDevice> listed;
    ASSERT_EQ(DeviceList::Read(devices, listed), FT_OK);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].Serial, QStringLiteral("cable"));
    EXPECT_EQ(listed[1].Serial, QStringLiteral("loop"));
}

// A cable that comes out with the second "OK" CR and goes back in a second
// later: meanwhile the board is off the bus and the cable after it takes its
// index; then it is listed under its serial again and answers as a board
// just powered up.
TEST(VirtualDevicesReplug, AnUnpluggedBoardLeavesTheBusAndComesBackAfresh)
{
    ManualClock clock(std::chrono::milliseconds(1));
    BoardConfig board;
    board.Faults.CablePullAfterBytes = 4;
    board.Faults.ReplugAfter = std::chrono::seconds(1);
    VirtualDevices devices(clock, {{"KVX0001", Kind::Board, false}, {"cable", Kind::SilentAdapter, false}}, board);
    const auto serials = [&devices] {
        std::vector<FtdiDevice> listed;
        EXPECT_EQ(DeviceList::Read(devices, listed), FT_OK);
        QStringList names;
        for (const FtdiDevice& device : listed)
            names << device.Serial;
        return names;
    };
    ChosenD2xx chosen(devices);
    ASSERT_TRUE(chosen.Choose("KVX0001"));
    TADC adc(nullptr, chosen);
    ASSERT_TRUE(adc.OpenBoard());
    ASSERT_TRUE(adc.CheckBoard());
    EXPECT_FALSE(adc.CheckBoard());
    adc.CloseBoard();
    EXPECT_EQ(serials(), QStringList{QStringLiteral("cable")});
    EXPECT_FALSE(adc.OpenBoard());
    adc.CloseBoard();

    clock.Advance(std::chrono::seconds(1));
    EXPECT_EQ(serials(), (QStringList{QStringLiteral("KVX0001"), QStringLiteral("cable")}));
    ASSERT_TRUE(adc.OpenBoard());
    EXPECT_TRUE(adc.CheckBoard());
    char name[TADC::NameLength + 1] = {};
    EXPECT_TRUE(adc.GetBoardName(name));
    EXPECT_STREQ(name, "KORVADEX");
    adc.CloseBoard();
}

// A mode-2 run of `frames` at rate index `rate` from the board with this
// serial, taken whole once the clock has passed its last frame: the 6-byte
// frames fit the 64 KiB queue, so none is lost.
std::vector<std::int32_t> TwoChannelRun(VirtualDevices& devices, ManualClock& clock, const char* serial, int rate,
                                        int frames)
{
    FT_HANDLE handle = nullptr;
    EXPECT_EQ(devices.FT_OpenEx(const_cast<char*>(serial), FT_OPEN_BY_SERIAL_NUMBER, &handle), FT_OK);
    const auto send = [&](std::string command) {
        DWORD written = 0;
        EXPECT_EQ(devices.FT_Write(handle, command.data(), static_cast<DWORD>(command.size()), &written), FT_OK);
    };
    const auto receive = [&] {
        DWORD queued = 0;
        EXPECT_EQ(devices.FT_GetQueueStatus(handle, &queued), FT_OK);
        std::string bytes(queued, '\0');
        DWORD got = 0;
        EXPECT_EQ(devices.FT_Read(handle, bytes.data(), queued, &got), FT_OK);
        return bytes.substr(0, got);
    };
    send(std::string("F") + "0123456789ABCDEFG"[rate] + "\r");
    clock.Advance(UsbBridge::DefaultLatencyTimer);
    EXPECT_EQ(receive(), "OK\r");
    char start[10];
    std::snprintf(start, sizeof start, "A2%05X\r", static_cast<unsigned>(frames));
    send(start);
    const std::chrono::duration<double> run(frames / TwoChannelFrameRate(rate));
    clock.Advance(std::chrono::duration_cast<BoardTime>(run) + UsbBridge::DefaultLatencyTimer);
    const std::vector<std::int32_t> codes = DecodeCodes(receive());
    EXPECT_EQ(devices.FT_Close(handle), FT_OK);
    return codes;
}

struct Moments {
    double Mean = 0.0;   // µV
    double Sigma = 0.0;  // µV, sample standard deviation
};

Moments MomentsOf(const std::vector<std::int32_t>& codes)
{
    std::vector<double> microvolts;
    for (const std::int32_t code : codes)
        microvolts.push_back((code - ZeroVoltCode) * MicrovoltsPerCode);
    const double n = static_cast<double>(microvolts.size());
    const double mean = std::accumulate(microvolts.begin(), microvolts.end(), 0.0) / n;
    double squares = 0.0;
    for (const double value : microvolts)
        squares += (value - mean) * (value - mean);
    return {mean, std::sqrt(squares / (n - 1.0))};
}

// Two boards on the global channel signals, the second with an offset and
// noise of its own: its mean moves by the offset on both channels, its noise
// grows in quadrature, and the first board reads as before.
TEST(VirtualDevicesSignals, EachBoardAddsItsOwnOffsetAndNoise)
{
    const std::map<std::string, std::string> variables = {
        {"KORVADEX_SIM_SEED", "7"},
        {"KORVADEX_SIM_DEVICES", "KVX0001:board,KVX0002:board:noise_uV=3:offset_uV=120"},
    };
    const SimSettings settings = SettingsFromEnvironment([&](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    });
    ASSERT_TRUE(settings.Warnings.empty());
    ManualClock clock;
    VirtualDevices devices(clock, settings.Devices, settings.Board);

    constexpr int Rate = 11;  // 10 ksps, the model's own noise 2.55 µV RMS
    constexpr int Frames = 10000;
    // Five standard errors: the seed is fixed, so this is one draw that an
    // unbiased board would miss once in about 1.7 million seeds.
    constexpr double Z = 5.0;
    // Rounding to whole codes adds a uniform error one code wide.
    const double rounding = MicrovoltsPerCode / std::sqrt(12.0);
    const double own = NoiseRmsMicrovolts(Rate, Filter::Sinc5Sinc1);
    const struct {
        const char* Serial;
        double Offset;
        double Sigma;
    } boards[] = {
        {"KVX0001", 0.0, std::hypot(own, rounding)},
        {"KVX0002", 120.0, std::hypot(std::hypot(own, 3.0), rounding)},
    };
    for (const auto& board : boards) {
        const std::vector<std::int32_t> frames = TwoChannelRun(devices, clock, board.Serial, Rate, Frames);
        ASSERT_EQ(frames.size(), 2u * Frames) << board.Serial;
        for (std::size_t channel = 0; channel < 2; ++channel) {
            SCOPED_TRACE(std::string(board.Serial) + " CH" + std::to_string(channel));
            const Moments measured = MomentsOf(Channel(frames, channel));
            const double dc = settings.Board.Signals.Channel[channel].DcMicrovolts + board.Offset;
            EXPECT_NEAR(measured.Mean, dc, Z * board.Sigma / std::sqrt(Frames));
            // The standard error of a Gaussian sample's standard deviation.
            EXPECT_NEAR(measured.Sigma, board.Sigma, Z * board.Sigma / std::sqrt(2.0 * (Frames - 1)));
        }
    }
}

} // namespace
