#include "GraphRig.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::int32_t MidScale = 8388608;

QStringList Captions(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

// Eleven code captions from top down in equal steps.
QStringList CodeCaptions(std::int64_t top, std::int64_t step)
{
    QStringList list;
    for (int i = 0; i < TGraph_2CH::YLabelCount; ++i)
        list << QString::number(top - i * step);
    return list;
}

std::vector<std::int32_t> Repeat(std::int32_t code, int count)
{
    return std::vector<std::int32_t>(static_cast<std::size_t>(count), code);
}

std::vector<std::int32_t> Ramp(std::int32_t from, std::int32_t to)
{
    std::vector<std::int32_t> codes;
    for (std::int32_t code = from; code <= to; ++code)
        codes.push_back(code);
    return codes;
}

TEST(GraphConversion, CodesBecomeMicrovoltsOfTheTwoAndAHalfVoltReference)
{
    GraphRig rig;
    EXPECT_EQ(rig.Graph.CodeToMicrovolts(MidScale), 0.0L);
    EXPECT_EQ(static_cast<float>(rig.Graph.CodeToMicrovolts(16777215)), 2500000.0f);
    EXPECT_NEAR(static_cast<double>(rig.Graph.CodeToMicrovolts(0)), -2500000.298, 0.001);
    EXPECT_NEAR(static_cast<double>(rig.Graph.CodeToMicrovolts(MidScale + 1)), 0.29802325940409413, 1e-15);

    rig.Settings.GainDivisor = 2;
    EXPECT_EQ(static_cast<float>(rig.Graph.CodeToMicrovolts(16777215)), 1250000.0f);
}

TEST(GraphCodeAxis, EqualSamplesGetTenCodesAroundThem)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Repeat(8000000, 100));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8000005, 1));

    // A span of 10 keeps its bottom unrounded, below zero too.
    rig.SetSamples(rig.Ch0, Repeat(3, 100));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8, 1));
}

TEST(GraphCodeAxis, HundredCodesGetASpanOfTwoHundred)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Ramp(8388600, 8388700));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8388750, 20));
}

TEST(GraphCodeAxis, BottomIsCutTowardZeroToHalfADivision)
{
    GraphRig rig;
    // c = 48 - 100 = -52 moves up to -50, not down to -60.
    rig.SetSamples(rig.Ch0, {0, 97, 40});
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(150, 20));

    // c = 8388601 - 50 = 8388551 goes down to a multiple of 5.
    rig.SetSamples(rig.Ch0, {8388571, 8388631});
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8388650, 10));
}

TEST(GraphCodeAxis, SpanIsTheSmallestWhoseFourFifthsHoldTheRange)
{
    struct Case {
        std::int32_t Distance;
        std::int32_t Span;
    };
    const Case cases[] = {{8, 10},       {9, 20},           {16, 20},          {17, 50},
                          {8000, 10000}, {8001, 20000},     {8000000, 10000000}, {8000001, 20000000},
                          {16777215, 20000000}};
    for (const Case& c : cases) {
        GraphRig rig;
        rig.SetSamples(rig.Ch0, {0, c.Distance});
        rig.Graph.DrawAll(false);
        const QStringList captions = rig.YCaptions();
        EXPECT_EQ(captions.front().toLongLong() - captions.back().toLongLong(), c.Span) << c.Distance;
    }
}

TEST(GraphVoltAxis, MicrovoltRangeIsRoundedToWholeDivisions)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, {MidScale - 17, MidScale + 35});  // -5.07 .. 10.43 uV
    rig.Graph.DrawAll(true);
    EXPECT_EQ(rig.YCaptions(), Captions({"12uV", "10", "8", "6", "4", "2", "0", "-2", "-4", "-6", "-8uV"}));
}

TEST(GraphVoltAxis, MillivoltLabelsShowATinyNegativeAsZero)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, {MidScale, MidScale + 3355});  // 0 .. 999.87 uV
    rig.Graph.DrawAll(true);
    EXPECT_EQ(rig.YCaptions(),
              Captions({"1.4mV", "1.2", "1.0", "0.8", "0.6", "0.4", "0.2", "0.0", "-0.2", "-0.4", "-0.6mV"}));
}

TEST(GraphVoltAxis, FullScaleIsSixVoltsWithOneDecimal)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, {0, 16777215});
    rig.Graph.DrawAll(true);
    EXPECT_EQ(rig.YCaptions(),
              Captions({"3.0V", "2.4", "1.8", "1.2", "0.6", "0.0", "-0.6", "-1.2", "-1.8", "-2.4", "-3.0V"}));
}

TEST(GraphVoltAxis, UnitChangesOnlyAboveTwoHundred)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, {MidScale, MidScale + 335});  // 0 .. 99.84 uV: span 200, bottom -60
    rig.Graph.DrawAll(true);
    EXPECT_EQ(rig.YCaptions(),
              Captions({"140uV", "120", "100", "80", "60", "40", "20", "0", "-20", "-40", "-60uV"}));

    rig.SetSamples(rig.Ch0, {MidScale, MidScale + 503316});  // 0 .. 150000 uV: span 200000, bottom -20000
    rig.Graph.DrawAll(true);
    EXPECT_EQ(rig.YCaptions(),
              Captions({"180mV", "160", "140", "120", "100", "80", "60", "40", "20", "0", "-20mV"}));
}

TEST(GraphVoltAxis, EqualSamplesGetTheSmallestSpan)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Repeat(MidScale, 50));
    rig.Graph.DrawAll(true);
    EXPECT_EQ(rig.YCaptions(), Captions({"0.10uV", "0.08", "0.06", "0.04", "0.02", "0.00", "-0.02", "-0.04",
                                         "-0.06", "-0.08", "-0.10uV"}));
}

TEST(GraphEmptyAxis, CodesStartAtMidScaleAndVoltsAreCentredOnIt)
{
    GraphRig rig;
    rig.Graph.DrawEmpty(false);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8388608, 10));
    EXPECT_EQ(rig.YLefts(), std::vector<int>(11, 22));

    rig.Graph.DrawEmpty(true);
    EXPECT_EQ(rig.YCaptions(), Captions({"14.90", "11.92", "8.94", "5.96", "2.98", "0.00", "-2.98", "-5.96",
                                         "-8.94", "-11.92", "-14.90"}));
    for (const FakeAxisLabel& label : rig.YLabel)
        EXPECT_EQ(label.Left() + label.Width(), 72 - 3) << label.Caption().toStdString();
    EXPECT_EQ(rig.XLabel[0].Caption(), "1");
    EXPECT_EQ(rig.XLabel[1].Caption(), "1000");
}

TEST(GraphLabelPlaces, DesignLayoutPutsLabelsOnTheDivisions)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Ramp(8388600, 8388700));
    for (bool volt : {false, true}) {
        rig.Graph.DrawAll(volt);
        EXPECT_EQ(rig.YTops(), (std::vector<int>{19, 56, 93, 130, 167, 204, 241, 278, 315, 352, 389}));
        for (const FakeAxisLabel& label : rig.XLabel)
            EXPECT_EQ(label.Top(), 404);
        EXPECT_EQ(rig.XLabel[0].Left(), 72);
        EXPECT_EQ(rig.XLabel[1].Left() + rig.XLabel[1].Width(), 598);
    }
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.YLefts(), std::vector<int>(11, 22));
}

TEST(GraphXAxis, SampleCountComesFromChannelOneWhenItHoldsData)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch1, Repeat(MidScale, 1000));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.XLabel[0].Caption(), "1");
    EXPECT_EQ(rig.XLabel[1].Caption(), "1000");

    rig.SetSamples(rig.Ch0, Repeat(MidScale, 1000));
    rig.SetSamples(rig.Ch1, Repeat(MidScale, 50));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.XLabel[1].Caption(), "100");

    rig.Ch1.Count = 0;
    rig.SetSamples(rig.Ch0, Repeat(MidScale, 250));
    rig.Graph.DrawAxes(true);
    EXPECT_EQ(rig.XLabel[1].Caption(), "250");
}

TEST(GraphXAxis, BlockLabelsNameItsFirstAndLastSample)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Ramp(8388000, 8388500));
    rig.Ch0.Count = 0;
    rig.Graph.DrawBlock(true, 300, 399);
    EXPECT_EQ(rig.XLabel[0].Caption(), "301");
    EXPECT_EQ(rig.XLabel[1].Caption(), "400");
    EXPECT_EQ(rig.XLabel[1].Left() + rig.XLabel[1].Width(), 598);
}

TEST(GraphNoData, FullViewsLeaveTheYLabelsAsTheyAre)
{
    GraphRig rig;
    rig.Graph.DrawEmpty(true);
    const QStringList captions = rig.YCaptions();
    const std::vector<int> lefts = rig.YLefts();
    rig.Graph.DrawAll(false);
    rig.Graph.DrawAxes(false);
    EXPECT_EQ(rig.YCaptions(), captions);
    EXPECT_EQ(rig.YLefts(), lefts);
    EXPECT_EQ(rig.XLabel[0].Caption(), "1");
    EXPECT_EQ(rig.XLabel[1].Caption(), "100");
}

TEST(GraphAxes, VoltLabelsKeepTheLastRangeCodeLabelsRescan)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, {MidScale, MidScale + 3355});
    rig.Graph.DrawBlock(true, 0, 1);
    const QStringList blockCaptions = rig.YCaptions();

    rig.SetSamples(rig.Ch0, Repeat(8000000, 100));
    rig.Graph.DrawAxes(true);
    EXPECT_EQ(rig.YCaptions(), blockCaptions);
    rig.Graph.DrawAxes(false);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8000005, 1));
}

TEST(GraphScans, BlockFollowsTheChannelModeAndIgnoresTheCounts)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Repeat(8000000, 100));
    rig.SetSamples(rig.Ch1, Ramp(8388600, 8388700));
    rig.Ch0.Count = 0;
    rig.Ch1.Count = 0;

    rig.Settings.CHSel = ModeCh0;
    rig.Graph.DrawBlock(false, 0, 99);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8000005, 1));

    rig.Settings.CHSel = ModeCh1;
    rig.Graph.DrawBlock(false, 0, 99);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8388740, 20));  // 8388600 .. 8388699

    rig.Settings.CHSel = 7;  // no channel: the last range stays
    rig.Graph.DrawBlock(false, 0, 99);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8388740, 20));

    rig.Settings.CHSel = ModeDual;
    rig.Graph.DrawBlock(false, 0, 99);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8425000, 50000));
}

TEST(GraphScans, FullViewReadsBothCountsWhateverTheChannelMode)
{
    GraphRig rig;
    rig.Settings.CHSel = ModeCh0;
    rig.SetSamples(rig.Ch0, Repeat(8388600, 100));
    rig.SetSamples(rig.Ch1, Repeat(8388700, 9));  // too few for a trace, still in the range
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8388750, 20));
}

TEST(GraphScans, ACountBeyondTheArraysReadsOnlyTheArrays)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Repeat(8000000, SampleCapacity));
    rig.Ch0.Count = SampleCapacity + 5000;
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.YCaptions(), CodeCaptions(8000005, 1));
    EXPECT_EQ(rig.XLabel[1].Caption(), QString::number(SampleCapacity));
    EXPECT_EQ(rig.Graph.GetMaxCodeCh0(), 8000000);
}

TEST(GraphExtremes, EachCallScansTheChannelAgain)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, {8388610, 8388690, 8388601, 8388650});
    EXPECT_EQ(rig.Graph.GetMaxCodeCh0(), 8388690);
    EXPECT_EQ(rig.Graph.GetMinCodeCh0(), 8388601);
    EXPECT_EQ(rig.Graph.GetMaxMicrovoltsCh0(), static_cast<float>(rig.Graph.CodeToMicrovolts(8388690)));
    EXPECT_EQ(rig.Graph.GetMinMicrovoltsCh0(), static_cast<float>(rig.Graph.CodeToMicrovolts(8388601)));

    rig.Codes0[1] = 8388600;
    EXPECT_EQ(rig.Graph.GetMaxCodeCh0(), 8388650);
    EXPECT_EQ(rig.Graph.GetMinCodeCh0(), 8388600);
}

TEST(GraphExtremes, AnEmptyChannelGivesZeroButConvertsTheLastExtremeFound)
{
    GraphRig rig;
    // Nothing scanned yet: the stored extremes start at code 0.
    EXPECT_EQ(rig.Graph.GetMaxCodeCh1(), 0);
    EXPECT_EQ(rig.Graph.GetMaxMicrovoltsCh1(), static_cast<float>(rig.Graph.CodeToMicrovolts(0)));

    rig.SetSamples(rig.Ch1, {8388700, 8391963});
    rig.Graph.DrawAll(true);
    rig.Ch1.Count = 0;
    EXPECT_EQ(rig.Graph.GetMaxCodeCh1(), 0);
    EXPECT_EQ(rig.Graph.GetMinCodeCh1(), 0);
    EXPECT_EQ(rig.Graph.GetMaxMicrovoltsCh1(), static_cast<float>(rig.Graph.CodeToMicrovolts(8391963)));
    EXPECT_EQ(rig.Graph.GetMinMicrovoltsCh1(), static_cast<float>(rig.Graph.CodeToMicrovolts(8388700)));
}

} // namespace
