#include "GraphRig.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr std::int32_t MidScale = 8388608;

// count samples rising one code a sample from MidScale.
std::vector<std::int32_t> Ramp(std::int32_t count)
{
    std::vector<std::int32_t> codes;
    for (std::int32_t i = 0; i < count; ++i)
        codes.push_back(MidScale + i);
    return codes;
}

std::vector<std::int32_t> Noise(std::int32_t count)
{
    std::mt19937 random(7175);
    std::uniform_int_distribution<std::int32_t> code(MidScale - 3000, MidScale + 3000);
    std::vector<std::int32_t> codes;
    for (std::int32_t i = 0; i < count; ++i)
        codes.push_back(code(random));
    return codes;
}

QStringList XCaptions(const GraphRig& rig)
{
    return {rig.XLabel[0].Caption(), rig.XLabel[1].Caption()};
}

std::vector<std::uint32_t> PixelsOf(const Bitmap& plot)
{
    return std::vector<std::uint32_t>(plot.Pixels(), plot.Pixels() + plot.Width() * plot.Height());
}

// A stretch of one channel's run is the same picture, axes and all, as the
// block view of those samples: a few samples far apart joined by lines, and
// many on each column shown as their band.
TEST(GraphZoom, StretchLooksLikeTheBlockOfItsSamples)
{
    struct Case {
        std::int32_t First;
        std::int32_t Last;
        bool Volt;
    };
    for (const Case& c : {Case{100, 109, false}, Case{100, 109, true}, Case{1000, 60000, false},
                          Case{1000, 60000, true}}) {
        auto zoomed = std::make_unique<GraphRig>();
        auto block = std::make_unique<GraphRig>();
        for (GraphRig* rig : {zoomed.get(), block.get()})
            rig->SetSamples(rig->Ch0, Noise(100000));
        ASSERT_TRUE(zoomed->Graph.ShowSamples(c.First, c.Last));
        zoomed->Graph.DrawAll(c.Volt);
        block->Graph.DrawBlock(c.Volt, c.First, c.Last);
        EXPECT_EQ(PixelsOf(zoomed->Graph.PlotBitmap()), PixelsOf(block->Graph.PlotBitmap())) << c.First << c.Volt;
        EXPECT_EQ(zoomed->YCaptions(), block->YCaptions());
        EXPECT_EQ(zoomed->YLefts(), block->YLefts());
        EXPECT_EQ(XCaptions(*zoomed), XCaptions(*block));
    }
}

// A stretch's value axis is the one the auto view gives a run of just the
// samples in it, or of just the two ends of the values chosen, widened to
// whole codes: the same spans, bottoms, units and formats.
TEST(GraphZoom, CaptionsFollowTheVisibleRange)
{
    struct Case {
        const char* Name;
        std::int32_t First;
        std::int32_t Last;
        double Low;
        double High;  // no values chosen when Low == High
        bool Volt;
        std::vector<std::int32_t> AutoOf;
        QStringList X;
    };
    std::vector<std::int32_t> shown = Ramp(300);
    shown.erase(shown.begin(), shown.begin() + 200);
    const Case cases[] = {
        {"samples 200..299 in codes", 200, 299, 0, 0, false, shown, {"201", "300"}},
        {"samples 200..299 in volts", 200, 299, 0, 0, true, shown, {"201", "300"}},
        {"values -17..+35 codes in codes", 0, 999, MidScale - 17, MidScale + 35, false,
         {MidScale - 17, MidScale + 35}, {"1", "1000"}},
        {"values +0.5..+8.5 codes widen to 0..9, a span of 20", 0, 999, MidScale + 0.5, MidScale + 8.5, false,
         {MidScale, MidScale + 9}, {"1", "1000"}},
        {"values -5.07..10.43 uV", 0, 999, MidScale - 16.5, MidScale + 34.2, true, {MidScale - 17, MidScale + 35},
         {"1", "1000"}},
        {"values 0..1 mV on samples 10..509", 10, 509, MidScale, MidScale + 3355, true, {MidScale, MidScale + 3355},
         {"11", "510"}},
    };
    for (const Case& c : cases) {
        GraphRig rig;
        rig.SetSamples(rig.Ch0, Ramp(1000));
        ASSERT_TRUE(rig.Graph.ShowSamples(c.First, c.Last));
        if (c.Low != c.High) {
            ASSERT_TRUE(rig.Graph.ShowValues(c.Low, c.High));
        }
        rig.Graph.DrawAll(c.Volt);
        GraphRig autoRig;
        autoRig.SetSamples(autoRig.Ch0, c.AutoOf);
        autoRig.Graph.DrawAll(c.Volt);
        EXPECT_EQ(rig.YCaptions(), autoRig.YCaptions()) << c.Name;
        EXPECT_EQ(rig.YLefts(), autoRig.YLefts()) << c.Name;
        EXPECT_EQ(XCaptions(rig), c.X) << c.Name;
    }
}

// The view returns to exactly the auto picture, and the range fields to what
// the whole run's DrawAll left, which DrawAxes shows in volts.
TEST(GraphZoom, FitViewRestoresTheAutoPictureAndAxes)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Noise(5000));
    rig.SetSamples(rig.Ch1, Ramp(5000));
    rig.Graph.DrawAll(true);
    const std::vector<std::uint32_t> whole = PixelsOf(rig.Graph.PlotBitmap());
    const QStringList captions = rig.YCaptions();

    ASSERT_TRUE(rig.Graph.ZoomSamplesAt(0.1, 100));
    ASSERT_TRUE(rig.Graph.ZoomValuesAt(0.1, 50, true));
    rig.Graph.DrawAll(true);
    ASSERT_NE(rig.YCaptions(), captions);
    ASSERT_FALSE(rig.Graph.ViewIsAuto());

    EXPECT_TRUE(rig.Graph.FitView());
    EXPECT_TRUE(rig.Graph.ViewIsAuto());
    rig.Graph.DrawAxes(true);
    EXPECT_EQ(rig.YCaptions(), captions);
    rig.Graph.DrawAll(true);
    EXPECT_EQ(PixelsOf(rig.Graph.PlotBitmap()), whole);
}

TEST(GraphZoom, WheelKeepsTheSampleUnderTheMouseAndStopsAtTenSamplesAndAtTheWholeRun)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Ramp(1000));
    rig.Graph.DrawAll(false);
    const std::int32_t under = rig.Graph.SampleAtColumn(400);
    ASSERT_TRUE(rig.Graph.ZoomSamplesAt(0.5, 400));
    rig.Graph.DrawAll(false);
    EXPECT_NEAR(rig.Graph.SampleAtColumn(400), under, 1);
    EXPECT_EQ(rig.XLabel[1].Caption().toInt() - rig.XLabel[0].Caption().toInt(), 500);

    ASSERT_TRUE(rig.Graph.ZoomSamplesAt(0.001, 400));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.XLabel[1].Caption().toInt() - rig.XLabel[0].Caption().toInt(), 9) << "ten samples at the least";

    ASSERT_TRUE(rig.Graph.ZoomSamplesAt(1000, 400));
    EXPECT_TRUE(rig.Graph.ViewIsAuto()) << "zoomed out to the whole run, the view is auto again";
}

TEST(GraphZoom, DraggingMovesThePictureWithTheMouseWithinTheRun)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Ramp(1000));
    ASSERT_TRUE(rig.Graph.ShowSamples(100, 199));
    rig.Graph.DrawAll(false);
    // 524 columns for 99 sample steps: 53 columns right are 10 samples back.
    ASSERT_TRUE(rig.Graph.PanBy(53, 0, false));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(XCaptions(rig), QStringList({"91", "190"}));
    ASSERT_TRUE(rig.Graph.PanBy(100000, 0, false));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(XCaptions(rig), QStringList({"1", "100"}));
    ASSERT_TRUE(rig.Graph.PanBy(-100000, 0, false));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(XCaptions(rig), QStringList({"901", "1000"}));

    // Dragged down by one division, the axis shows one division higher.
    const QStringList before = rig.YCaptions();
    ASSERT_TRUE(rig.Graph.PanBy(0, 37, false));
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.YCaptions().mid(1), before.mid(0, 10));
}

TEST(GraphZoom, ReadoutFindsTheNearestSampleAndItsValue)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, Noise(1000));
    ASSERT_TRUE(rig.Graph.ShowSamples(100, 109));
    rig.Graph.DrawAll(false);
    // 524 columns for 9 steps: a sample every 58.2 columns.
    for (std::int32_t i = 100; i <= 109; ++i)
        EXPECT_EQ(rig.Graph.SampleAtColumn(rig.Graph.ColumnOfSample(i)), i);
    EXPECT_EQ(rig.Graph.SampleAtColumn(rig.Graph.ColumnOfSample(103) + 29), 103);
    EXPECT_EQ(rig.Graph.SampleAtColumn(rig.Graph.ColumnOfSample(103) + 30), 104);
    EXPECT_EQ(rig.Graph.SampleAtColumn(-50), 100);
    EXPECT_EQ(rig.Graph.SampleAtColumn(5000), 109);
    EXPECT_EQ(rig.Graph.SampleValue(0, 104, false), rig.Codes0[104]);
    EXPECT_EQ(rig.Graph.SampleValue(0, 104, true), rig.Microvolts0[104]);
    EXPECT_TRUE(rig.Graph.TraceHolds(0, 104));
    EXPECT_FALSE(rig.Graph.TraceHolds(1, 104)) << "CH1 holds no data";
    EXPECT_FALSE(rig.Graph.TraceHolds(0, 1000));

    // The whole run of a short channel: its axis runs on to 100 samples.
    rig.SetSamples(rig.Ch0, Noise(50));
    rig.Graph.FitView();
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.Graph.SampleAtColumn(1), 0);
    EXPECT_EQ(rig.Graph.SampleAtColumn(524), 99);
    EXPECT_FALSE(rig.Graph.TraceHolds(0, 99));
}

TEST(GraphZoom, WithoutDataTheViewStaysAuto)
{
    GraphRig rig;
    rig.Graph.DrawEmpty(false);
    EXPECT_FALSE(rig.Graph.ZoomSamplesAt(0.5, 200));
    EXPECT_FALSE(rig.Graph.PanBy(10, 10, false));
    EXPECT_FALSE(rig.Graph.ZoomToRect({10, 10, 100, 100}, false));
    EXPECT_TRUE(rig.Graph.ViewIsAuto());
    EXPECT_EQ(rig.Graph.SampleAtColumn(100), -1);
}

} // namespace
