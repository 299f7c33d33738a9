#include "WindowRig.h"

#include "FormMainProbe.h"

#include <QAction>

#include <vector>

namespace {

using Codes = std::vector<std::int32_t>;

// Statistics texts as the status line writes them.
const char* const Ch0Digits = "CH0 : 最大値：8388620 / 最小値：8388600 / pp値：20 digit / 標準偏差：10.0 digit";
const char* const Ch1Digits = "CH1 : 最大値：8388500 / 最小値：8388400 / pp値：100 digit / 標準偏差：50.0 digit";
// CH1 in microvolts: -108 and -208 codes from mid-scale, deviation 14.9 µV (one decimal).
const char* const Ch1Microvolts = "CH1 : 最大値：-32.2[uV] / 最小値：-62.0[uV] / pp値：29.8[uV] / 標準偏差：14.9[uV]";

// Two samples a channel, symmetric about an integer mean, so the deviation is
// half the span: CH0 8388600/8388620 (10), CH1 8388400/8388500 (50).
struct StatsRig : WindowRig {
    StatsRig()
        : probe(*window)
    {
        Settle();
    }

    void EndRun(std::int32_t mode)
    {
        probe.EndRunWith(mode, {8388600, 8388620}, {8388400, 8388500});
    }

    void Click() { Bar().Clicked(); }
    void ToggleVolt() { Find<QAction>("MenuY_Volt")->trigger(); }

    FormMainProbe probe;
};

TEST(Statistics, CodesOneAndTwoGiveMeanOneAndDeviationPointSevenOne)
{
    StatsRig rig;
    rig.probe.EndRunWith(ModeCh0, {1, 2}, {});
    EXPECT_EQ(rig.probe.Stats(0).MeanCode, 1) << "the mean truncates toward zero";
    EXPECT_FLOAT_EQ(rig.probe.Stats(0).DevCode, 0.70710678f);
    EXPECT_EQ(rig.Panel(2), "CH0 : 最大値：2 / 最小値：1 / pp値：1 digit / 標準偏差：0.71 digit");
}

TEST(Statistics, IdenticalSamplesHaveNoDeviationInEitherUnit)
{
    StatsRig rig;
    rig.probe.EndRunWith(ModeCh0, Codes(1000, 8388608), {});
    EXPECT_EQ(rig.Panel(2), "CH0 : 最大値：8388608 / 最小値：8388608 / pp値：0 digit / 標準偏差：0.00 digit");
    rig.ToggleVolt();
    EXPECT_EQ(rig.Panel(2), "CH0 : 最大値：0.00[uV] / 最小値：0.00[uV] / pp値：0.00[uV] / 標準偏差：0.00[uV]");
}

TEST(Statistics, MicrovoltDeviationIsTakenOverTheConvertedSamples)
{
    StatsRig rig;
    // 8388608 is 0 µV and one code is 0.298 µV: 8388608 and 8388610 lie at
    // 0 and 0.596 µV, so the deviation is half of that.
    rig.probe.EndRunWith(ModeCh1, {}, {8388608, 8388610});
    EXPECT_NEAR(rig.probe.Stats(1).DevMicrovolts, 0.29802326f, 1e-6);
    EXPECT_NEAR(rig.probe.Stats(1).MeanMicrovolts, 0.29802326f, 1e-6);
    rig.ToggleVolt();
    EXPECT_EQ(rig.Panel(2), "CH1 : 最大値：0.60[uV] / 最小値：0.00[uV] / pp値：0.60[uV] / 標準偏差：0.30[uV]");
}

TEST(Statistics, SingleChannelRunShowsItsChannelAndIgnoresClicks)
{
    StatsRig rig;
    rig.EndRun(ModeCh0);
    EXPECT_EQ(rig.Panel(2), Ch0Digits);
    rig.Click();
    EXPECT_EQ(rig.Panel(2), Ch0Digits);

    rig.EndRun(ModeCh1);
    EXPECT_EQ(rig.Panel(2), Ch1Digits);
    rig.Click();
    EXPECT_EQ(rig.Panel(2), Ch1Digits);
}

TEST(Statistics, DualRunShowsCh0AndEachClickAlternatesTheChannel)
{
    StatsRig rig;
    rig.EndRun(ModeDual);
    EXPECT_EQ(rig.Panel(2), Ch0Digits);
    rig.Click();
    EXPECT_EQ(rig.Panel(2), Ch1Digits);
    rig.Click();
    EXPECT_EQ(rig.Panel(2), Ch0Digits);
    rig.Click();
    EXPECT_EQ(rig.Panel(2), Ch1Digits);
}

TEST(Statistics, VoltSwitchInDualModeRedrawsInMicrovoltsAndSwapsTheChannel)
{
    StatsRig rig;
    rig.EndRun(ModeDual);
    rig.ToggleVolt();
    EXPECT_EQ(rig.Panel(2), Ch1Microvolts);
    EXPECT_TRUE(rig.Label("Label1").endsWith("uV")) << "the Y axis is in microvolts now";
    EXPECT_TRUE(rig.Label("Label11").endsWith("uV"));

    rig.ToggleVolt();
    EXPECT_EQ(rig.Panel(2), Ch0Digits) << "back in codes, and on to the other channel";
    EXPECT_FALSE(rig.Label("Label1").endsWith("uV"));
}

TEST(Statistics, Ch1DataAndTheVoltSwitchTwiceShowsCh1InMicrovoltsThenInDigits)
{
    StatsRig rig;
    rig.EndRun(ModeCh1);
    rig.ToggleVolt();
    EXPECT_EQ(rig.Panel(2), Ch1Microvolts);
    rig.ToggleVolt();
    EXPECT_EQ(rig.Panel(2), Ch1Digits);
}

TEST(Statistics, ClearDropsTheDataSoNeitherClickNorUnitSwitchShowsStatistics)
{
    StatsRig rig;
    rig.EndRun(ModeDual);
    rig.Find<QAction>("DataClear")->trigger();
    EXPECT_EQ(rig.Panel(2), Ch0Digits) << "the old text stays until something else writes the panel";
    EXPECT_EQ(rig.Label("Label1"), "8388608") << "the empty plot";
    EXPECT_EQ(rig.Label("Label11"), "8388508");
    EXPECT_EQ(rig.Label("Label16"), "1000");

    rig.Click();
    EXPECT_EQ(rig.Panel(2), Ch0Digits);
    rig.ToggleVolt();
    EXPECT_EQ(rig.Panel(2), Ch0Digits);
    EXPECT_EQ(rig.Label("Label1"), "14.90") << "the empty plot in microvolts";
}

TEST(Statistics, RunEndDrawsTheWholeRunAutoRanged)
{
    StatsRig rig;
    rig.EndRun(ModeCh0);
    // Codes 8388600..8388620: span 50, bottom 8388585 cut to a multiple of 2.
    EXPECT_EQ(rig.Label("Label1"), "8388634");
    EXPECT_EQ(rig.Label("Label11"), "8388584");
    EXPECT_EQ(rig.Label("Label16"), "100") << "fewer than 100 samples still span 100 positions";
}

} // namespace
