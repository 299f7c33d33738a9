#include "EnvironmentSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <map>
#include <string>

namespace {

SimSettings Parse(const std::map<std::string, std::string>& variables)
{
    return SettingsFromEnvironment([&](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    });
}

TEST(EnvironmentSettings, NothingSetGivesTheDefaults)
{
    const SimSettings settings = Parse({});
    const BoardConfig defaults;
    EXPECT_EQ(settings.Speed, 1.0);
    EXPECT_TRUE(settings.Warnings.empty());
    EXPECT_FALSE(settings.Board.Signals.Seed);
    EXPECT_FALSE(settings.Board.Signals.CounterPattern);
    EXPECT_EQ(settings.Board.Signals.Channel[0].DcMicrovolts, defaults.Signals.Channel[0].DcMicrovolts);
    EXPECT_EQ(settings.Board.Signals.Channel[1].DcMicrovolts, defaults.Signals.Channel[1].DcMicrovolts);
    EXPECT_FALSE(settings.Board.Faults.Silent);
    EXPECT_FALSE(settings.Board.Faults.CablePullAfterBytes);
    EXPECT_FALSE(settings.Board.Faults.StallAfterSamples);
}

TEST(EnvironmentSettings, ReadsSignalsClockAndSeed)
{
    const SimSettings settings = Parse({
        {"KORVADEX_SIM_SPEED", "12.5"},
        {"KORVADEX_SIM_SEED", "18446744073709551615"},
        {"KORVADEX_SIM_CH0_DC_UV", "-1250.5"},
        {"KORVADEX_SIM_CH0_NOISE", "0"},
        {"KORVADEX_SIM_CH0_SINE_UV", "300"},
        {"KORVADEX_SIM_CH0_SINE_HZ", "2.5"},
        {"KORVADEX_SIM_CH1_DC_UV", "1e3"},
        {"KORVADEX_SIM_CH1_NOISE", "3"},
        {"KORVADEX_SIM_CH1_SINE_UV", "10"},
        {"KORVADEX_SIM_CH1_SINE_HZ", "50"},
        {"KORVADEX_SIM_COUNTER", "1"},
        {"KORVADEX_SIM_COUNTER_START", "16777215"},
        {"KORVADEX_SIM_COUNTER_CH1_OFFSET", "4096"},
    });
    EXPECT_TRUE(settings.Warnings.empty());
    EXPECT_EQ(settings.Speed, 12.5);
    EXPECT_EQ(settings.Board.Signals.Seed, 18446744073709551615ull);
    const ChannelSignal& ch0 = settings.Board.Signals.Channel[0];
    const ChannelSignal& ch1 = settings.Board.Signals.Channel[1];
    EXPECT_EQ(ch0.DcMicrovolts, -1250.5);
    EXPECT_EQ(ch0.NoiseScale, 0.0);
    EXPECT_EQ(ch0.SineMicrovolts, 300.0);
    EXPECT_EQ(ch0.SineHz, 2.5);
    EXPECT_EQ(ch1.DcMicrovolts, 1000.0);
    EXPECT_EQ(ch1.NoiseScale, 3.0);
    EXPECT_EQ(ch1.SineMicrovolts, 10.0);
    EXPECT_EQ(ch1.SineHz, 50.0);
    EXPECT_TRUE(settings.Board.Signals.CounterPattern);
    EXPECT_EQ(settings.Board.Signals.CounterStart, 16777215u);
    EXPECT_EQ(settings.Board.Signals.CounterCh1Offset, 4096u);
}

TEST(EnvironmentSettings, ReadsEveryFault)
{
    const SimSettings settings = Parse({
        {"KORVADEX_SIM_FAULTS", "absent,silent,ng,ng-set,wrong-name,garbled,split,extra"},
        {"KORVADEX_SIM_CABLE_PULL_AFTER", "4000"},
        {"KORVADEX_SIM_STALL_AFTER", "0"},
    });
    EXPECT_TRUE(settings.Warnings.empty());
    const BoardFaults& faults = settings.Board.Faults;
    EXPECT_TRUE(faults.Absent);
    EXPECT_TRUE(faults.Silent);
    EXPECT_TRUE(faults.NgToAll);
    EXPECT_TRUE(faults.NgToSettings);
    EXPECT_TRUE(faults.WrongName);
    EXPECT_TRUE(faults.Garbled);
    EXPECT_TRUE(faults.SplitReply);
    EXPECT_TRUE(faults.ExtraBytes);
    EXPECT_EQ(faults.CablePullAfterBytes, 4000u);
    EXPECT_EQ(faults.StallAfterSamples, 0u);
}

// Wall-clock milliseconds become board time: at four times real time, 4 s.
TEST(EnvironmentSettings, ReplugTimeIsWallClockTimeAtAnySpeed)
{
    const SimSettings settings = Parse({{"KORVADEX_SIM_SPEED", "4"}, {"KORVADEX_SIM_REPLUG_AFTER_MS", "1000"}});
    EXPECT_TRUE(settings.Warnings.empty());
    EXPECT_EQ(settings.Board.Faults.ReplugAfter, std::chrono::nanoseconds(std::chrono::seconds(4)));
    EXPECT_FALSE(Parse({}).Board.Faults.ReplugAfter);
    EXPECT_EQ(Parse({{"KORVADEX_SIM_REPLUG_AFTER_MS", "1s"}}).Warnings.size(), 1u);
}

TEST(EnvironmentSettings, OneFaultAloneAndEmptyItemsAreFine)
{
    const SimSettings settings = Parse({{"KORVADEX_SIM_FAULTS", ",split,"}});
    EXPECT_TRUE(settings.Warnings.empty());
    EXPECT_TRUE(settings.Board.Faults.SplitReply);
    EXPECT_FALSE(settings.Board.Faults.Silent);
}

TEST(EnvironmentSettings, EveryValueNotUnderstoodIsNamedAndKeepsItsDefault)
{
    const SimSettings settings = Parse({
        {"KORVADEX_SIM_SPEED", "0"},
        {"KORVADEX_SIM_SEED", "-1"},
        {"KORVADEX_SIM_CH0_DC_UV", "1,5"},
        {"KORVADEX_SIM_CH0_NOISE", "-1"},
        {"KORVADEX_SIM_CH1_SINE_HZ", "nan"},
        {"KORVADEX_SIM_CH1_DC_UV", ""},
        {"KORVADEX_SIM_COUNTER", "yes"},
        {"KORVADEX_SIM_COUNTER_START", "16777216"},
        {"KORVADEX_SIM_FAULTS", "silent,unplugged"},
        {"KORVADEX_SIM_CABLE_PULL_AFTER", "12k"},
    });
    ASSERT_EQ(settings.Warnings.size(), 10u);
    EXPECT_EQ(settings.Warnings[0], "KORVADEX_SIM_SPEED: \"0\" is not a number above 0; ignored");
    EXPECT_NE(settings.Warnings[8].find("\"unplugged\""), std::string::npos);
    EXPECT_EQ(settings.Speed, 1.0);
    EXPECT_FALSE(settings.Board.Signals.Seed);
    const BoardConfig defaults;
    EXPECT_EQ(settings.Board.Signals.Channel[0].DcMicrovolts, defaults.Signals.Channel[0].DcMicrovolts);
    EXPECT_EQ(settings.Board.Signals.Channel[0].NoiseScale, 1.0);
    EXPECT_EQ(settings.Board.Signals.Channel[1].DcMicrovolts, defaults.Signals.Channel[1].DcMicrovolts);
    EXPECT_FALSE(settings.Board.Signals.CounterPattern);
    EXPECT_EQ(settings.Board.Signals.CounterStart, 0u);
    EXPECT_TRUE(settings.Board.Faults.Silent);
    EXPECT_FALSE(settings.Board.Faults.CablePullAfterBytes);
}

TEST(EnvironmentSettings, ReadsTheEmulatedUsbBridge)
{
    const SimSettings settings = Parse({
        {"KORVADEX_SIM_USB_PRODUCT", "6014"},
        {"KORVADEX_SIM_USB_FAULTS", "access,busy,kernel-driver,short-packets,zero-length"},
        {"KORVADEX_SIM_USB_REMOVE_AFTER", "60000"},
        {"KORVADEX_SIM_USB_STALL_AFTER", "70000"},
    });
    EXPECT_TRUE(settings.Warnings.empty());
    const UsbBridgeFaults& faults = settings.Usb.Faults;
    EXPECT_EQ(settings.Usb.ProductId, 0x6014);
    EXPECT_FALSE(faults.Absent);
    EXPECT_TRUE(faults.AccessDenied && faults.Busy && faults.KernelDriver && faults.ShortPackets &&
                faults.ZeroLengthPackets);
    EXPECT_EQ(faults.RemoveAfterBytes, 60000u);
    EXPECT_EQ(faults.StallAfterBytes, 70000u);
}

TEST(EnvironmentSettings, AnUnknownBridgeOrUsbFaultIsNamed)
{
    const SimSettings settings = Parse({
        {"KORVADEX_SIM_USB_PRODUCT", "6010"},
        {"KORVADEX_SIM_USB_FAULTS", "absent,babble"},
    });
    ASSERT_EQ(settings.Warnings.size(), 2u);
    EXPECT_EQ(settings.Warnings[0], "KORVADEX_SIM_USB_PRODUCT: \"6010\" is not one of 6001, 6014; ignored");
    EXPECT_NE(settings.Warnings[1].find("\"babble\""), std::string::npos);
    EXPECT_EQ(settings.Usb.ProductId, 0x6001);
    EXPECT_TRUE(settings.Usb.Faults.Absent);
}

TEST(EnvironmentSettings, ReadsTheDevicesOnTheBus)
{
    using Kind = SimDevice::Kind;
    EXPECT_EQ(Parse({}).Devices.size(), 1u) << "one board by default";
    const SimSettings settings = Parse({{"KORVADEX_SIM_DEVICES", "cable:silent,KVX0001:board,loop:echo:busy"}});
    EXPECT_TRUE(settings.Warnings.empty());
    ASSERT_EQ(settings.Devices.size(), 3u);
    EXPECT_EQ(settings.Devices[0].Serial, "cable");
    EXPECT_EQ(settings.Devices[0].Type, Kind::SilentAdapter);
    EXPECT_EQ(settings.Devices[1].Type, Kind::Board);
    EXPECT_FALSE(settings.Devices[1].Busy);
    EXPECT_EQ(settings.Devices[2].Type, Kind::EchoAdapter);
    EXPECT_TRUE(settings.Devices[2].Busy);
    EXPECT_TRUE(Parse({{"KORVADEX_SIM_DEVICES", ""}}).Devices.empty()) << "no device at all";
}

// The USB-only faults come after the kind, in any order, each once.
TEST(EnvironmentSettings, ReadsEachDevicesUsbFaults)
{
    const SimSettings settings = Parse({{"KORVADEX_SIM_DEVICES", "A:board:access,B:silent:kernel-driver:busy,C:echo"}});
    EXPECT_TRUE(settings.Warnings.empty());
    ASSERT_EQ(settings.Devices.size(), 3u);
    const bool expected[3][3] = {{false, true, false}, {true, false, true}, {false, false, false}};
    for (std::size_t i = 0; i < 3; ++i) {
        const SimDevice& device = settings.Devices[i];
        EXPECT_EQ((std::array<bool, 3>{device.Busy, device.NoAccess, device.KernelDriver}),
                  (std::array<bool, 3>{expected[i][0], expected[i][1], expected[i][2]}))
            << device.Serial;
    }
    EXPECT_EQ(Parse({{"KORVADEX_SIM_DEVICES", "A:board:access:access"}}).Warnings.size(), 1u) << "a fault twice";
}

TEST(EnvironmentSettings, ADeviceListNotUnderstoodKeepsTheDefault)
{
    for (const char* text : {"KVX0001", "KVX0001:robot", "KVX0001:board:idle", ":board", "A:board,A:echo",
                             "SIXTEEN_CHARS_XX:board", "KVX0001:board,"}) {
        SCOPED_TRACE(text);
        const SimSettings settings = Parse({{"KORVADEX_SIM_DEVICES", text}});
        ASSERT_EQ(settings.Devices.size(), 1u);
        EXPECT_EQ(settings.Devices[0].Serial, DefaultSimDevices()[0].Serial);
        EXPECT_EQ(settings.Warnings.size(), 1u);
    }
}

// A board's own offset and extra noise, in microvolts, come after its kind;
// one not understood keeps the default list and is named.
TEST(EnvironmentSettings, ReadsEachBoardsOwnOffsetAndNoise)
{
    struct Case {
        const char* Devices;
        bool Understood;
        double Noise;
        double Offset;
    };
    const Case cases[] = {
        {"B:board:noise_uV=3:offset_uV=120", true, 3.0, 120.0},
        {"B:board:offset_uV=-0.5:busy", true, 0.0, -0.5},
        {"B:board:busy:noise_uV=1e1", true, 10.0, 0.0},
        {"B:board:noise_uV=-1", false, 0.0, 0.0},
        {"B:board:offset_uV=", false, 0.0, 0.0},
        {"B:board:offset_uV=12uV", false, 0.0, 0.0},
        {"B:board:offset_uV=1=2", false, 0.0, 0.0},
        {"B:board:noise_uV=nan", false, 0.0, 0.0},
        {"B:board:noise_uV=1:noise_uV=2", false, 0.0, 0.0},
        {"B:board:gain_uV=2", false, 0.0, 0.0},
        {"B:board:busy=1", false, 0.0, 0.0},
        {"B:echo:offset_uV=5", false, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Devices);
        const SimSettings settings = Parse({{"KORVADEX_SIM_DEVICES", c.Devices}});
        ASSERT_EQ(settings.Devices.size(), 1u);
        const SimDevice& device = settings.Devices[0];
        EXPECT_EQ(device.Serial, c.Understood ? "B" : DefaultSimDevices()[0].Serial);
        EXPECT_EQ(device.ExtraNoiseMicrovolts, c.Noise);
        EXPECT_EQ(device.OffsetMicrovolts, c.Offset);
        ASSERT_EQ(settings.Warnings.size(), c.Understood ? 0u : 1u);
        for (const std::string& warning : settings.Warnings)
            EXPECT_NE(warning.find("[:noise_uV=X][:offset_uV=Y]"), std::string::npos) << warning;
    }
}

}  // namespace
