#include "GraphRig.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::int32_t Low = 8388600;
constexpr std::int32_t High = 8388700;

std::vector<int> GreyRowsInColumn(const Bitmap& plot, int x)
{
    std::vector<int> rows;
    for (int y = 0; y < plot.Height(); ++y)
        if (plot.Pixel(x, y) == Grey)
            rows.push_back(y);
    return rows;
}

std::vector<int> GreyColumnsInRow(const Bitmap& plot, int y)
{
    std::vector<int> columns;
    for (int x = 0; x < plot.Width(); ++x)
        if (plot.Pixel(x, y) == Grey)
            columns.push_back(x);
    return columns;
}

int RowOf(const Bitmap& plot, int x, std::uint32_t colour)
{
    for (int y = 0; y < plot.Height(); ++y)
        if (plot.Pixel(x, y) == colour)
            return y;
    return -1;
}

TEST(GraphGrid, ElevenRowsAndColumnsEndingOnTheLastPixel)
{
    GraphRig rig;
    rig.Graph.DrawEmpty(false);
    const Bitmap& plot = rig.Graph.PlotBitmap();
    ASSERT_EQ(plot.Width(), 526);
    ASSERT_EQ(plot.Height(), 370);
    EXPECT_EQ(GreyRowsInColumn(plot, 200), (std::vector<int>{0, 36, 73, 110, 147, 184, 221, 258, 295, 332, 369}));
    EXPECT_EQ(GreyColumnsInRow(plot, 200), (std::vector<int>{0, 52, 105, 157, 210, 262, 315, 367, 420, 472, 525}));
    // Every grid line leaves its end point: the bottom-right corner stays white.
    EXPECT_EQ(plot.Pixel(524, 369), Grey);
    EXPECT_EQ(plot.Pixel(525, 368), Grey);
    EXPECT_EQ(plot.Pixel(525, 369), White);
    // Horizontal lines hold columns 0..524, vertical ones rows 0..368: the ten
    // by ten crossings inside both are counted once.
    EXPECT_EQ(rig.CountPixels(Grey), 11 * 525 + 11 * 369 - 10 * 10);
}

TEST(GraphCopy, BitmapIsShownOnePixelInsideTheBox)
{
    GraphRig rig;
    rig.Graph.DrawEmpty(true);
    EXPECT_EQ(rig.Box.ShowCount, 1);
    EXPECT_EQ(rig.Box.LastTarget.Left, 1);
    EXPECT_EQ(rig.Box.LastTarget.Top, 1);
    EXPECT_EQ(rig.Box.LastTarget.Right, 527);
    EXPECT_EQ(rig.Box.LastTarget.Bottom, 371);
    EXPECT_EQ(rig.Box.LastSource.Right, 526);
    EXPECT_EQ(rig.Box.LastSource.Bottom, 370);
    EXPECT_EQ(rig.Box.Shown(1, 1), Grey);
    EXPECT_EQ(rig.Box.Shown(2, 2), White);
    EXPECT_EQ(rig.Box.Shown(526, 370), White);
    EXPECT_EQ(rig.Box.Shown(525, 370), Grey);
    EXPECT_EQ(rig.Box.Shown(0, 0), 0u);
    EXPECT_EQ(rig.Box.Shown(527, 100), 0u);
    EXPECT_EQ(rig.Box.Shown(100, 371), 0u);

    rig.Graph.Paint();
    EXPECT_EQ(rig.Box.ShowCount, 2);
}

TEST(GraphTraces, HundredSamplesSpanTheWidth)
{
    GraphRig rig;
    rig.SetSamples(rig.Ch0, std::vector<std::int32_t>(100, Low));
    rig.Graph.DrawAll(false);
    // Mid-range lies on row 185; the last point itself stays unpainted.
    EXPECT_EQ(RowOf(rig.Graph.PlotBitmap(), 300, Red), 185);
    EXPECT_EQ(rig.FirstColumnWith(Red), 1);
    EXPECT_EQ(rig.LastColumnWith(Red), 523);
    EXPECT_EQ(rig.CountPixels(Red), 523);

    rig.SetZigzag(rig.Ch0, 100, Low, High);
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.LastColumnWith(Red), 524);
}

TEST(GraphTraces, FullRunReachesTheLastColumn)
{
    GraphRig rig;
    rig.SetZigzag(rig.Ch0, 100000, Low, High);
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.FirstColumnWith(Red), 1);
    EXPECT_EQ(rig.LastColumnWith(Red), 525);
    // Every column between is a solid band from the top to the bottom sample.
    const Bitmap& plot = rig.Graph.PlotBitmap();
    EXPECT_EQ(plot.Pixel(300, 92), Red);
    EXPECT_EQ(plot.Pixel(300, 277), Red);
    EXPECT_EQ(plot.Pixel(300, 91), White);
    EXPECT_EQ(plot.Pixel(300, 278), White);
}

TEST(GraphTraces, ShortRunCoversTheLeftOfAHundredSampleAxis)
{
    GraphRig rig;
    rig.SetZigzag(rig.Ch0, 50, Low, High);
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.LastColumnWith(Red), 260);
    EXPECT_EQ(rig.XLabel[1].Caption(), "100");
}

TEST(GraphTraces, NineSamplesSetTheRangeButDrawNoTrace)
{
    GraphRig rig;
    rig.SetZigzag(rig.Ch0, 9, Low, High);
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.CountPixels(Red), 0);
    EXPECT_EQ(rig.YCaptions().front(), "8388750");

    rig.SetSamples(rig.Ch1, std::vector<std::int32_t>(10, Low));
    rig.Graph.DrawAll(true);
    EXPECT_EQ(rig.CountPixels(Red), 0);
    EXPECT_GT(rig.CountPixels(Blue), 0);
}

TEST(GraphTraces, BlueIsDrawnOverRed)
{
    GraphRig rig;
    rig.SetZigzag(rig.Ch0, 1000, Low, High);
    rig.SetZigzag(rig.Ch1, 1000, Low, High);
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.CountPixels(Red), 0);
    EXPECT_GT(rig.CountPixels(Blue), 1000);

    // Where only CH0 goes, red shows.
    rig.SetZigzag(rig.Ch1, 1000, Low, Low + 10);
    rig.Graph.DrawAll(false);
    EXPECT_GT(rig.CountPixels(Red), 1000);
}

TEST(GraphTraces, VoltViewDrawsTheMicrovoltArrays)
{
    GraphRig rig;
    rig.SetZigzag(rig.Ch0, 1000, Low, High);
    rig.Graph.DrawAll(true);
    EXPECT_GT(rig.CountPixels(Red), 1000);

    // Values far off the scale are clipped, not wrapped onto the plot.
    for (int i = 0; i < 1000; ++i)
        rig.Microvolts0[static_cast<std::size_t>(i)] = i % 2 == 0 ? 1e30f : 3e6f;
    rig.Graph.DrawAll(true);
    EXPECT_EQ(rig.CountPixels(Red), 0);
    rig.Graph.DrawAll(false);
    EXPECT_GT(rig.CountPixels(Red), 1000);
}

TEST(GraphTraces, NoDataLeavesTheGridAlone)
{
    GraphRig rig;
    rig.Graph.DrawEmpty(false);
    const int grid = rig.CountPixels(Grey);
    rig.Graph.DrawAll(false);
    EXPECT_EQ(rig.CountPixels(Grey), grid);
    EXPECT_EQ(rig.CountPixels(White), 526 * 370 - grid);
}

TEST(GraphBlock, ReplacesThePictureAcrossTheFullWidth)
{
    GraphRig rig;
    rig.SetZigzag(rig.Ch1, 1000, Low, High);
    rig.Graph.DrawAll(false);
    ASSERT_GT(rig.CountPixels(Blue), 0);

    rig.SetZigzag(rig.Ch0, 100, Low, High);
    rig.Graph.DrawBlock(false, 0, 99);
    EXPECT_EQ(rig.CountPixels(Blue), 0);
    EXPECT_EQ(rig.FirstColumnWith(Red), 1);
    EXPECT_EQ(rig.LastColumnWith(Red), 524);
}

TEST(GraphBlock, ChannelsAlternateSegmentBySegment)
{
    GraphRig rig;
    rig.Settings.CHSel = ModeDual;
    std::vector<std::int32_t> ch0(100, Low);
    std::vector<std::int32_t> ch1(100, High);
    ch0[1] = High;
    ch1[0] = Low;
    rig.SetSamples(rig.Ch0, ch0);
    rig.SetSamples(rig.Ch1, ch1);
    rig.Graph.DrawBlock(false, 0, 99);
    const Bitmap& plot = rig.Graph.PlotBitmap();
    // CH1's first segment rises steeply into column 6; CH0's second segment,
    // drawn after it, falls from there and paints over it in red.
    const int top = RowOf(plot, 200, Blue);
    ASSERT_GT(top, 0);
    EXPECT_EQ(plot.Pixel(6, top), Blue);
    EXPECT_EQ(plot.Pixel(6, top + 1), Red);
}

TEST(GraphBlock, ABlockOutsideTheArraysDrawsNothing)
{
    GraphRig rig;
    rig.Graph.DrawEmpty(false);
    const QStringList captions = rig.YCaptions();
    rig.Graph.DrawBlock(false, 50, 50);
    rig.Graph.DrawBlock(false, 60, 50);
    rig.Graph.DrawBlock(false, -1, 50);
    rig.Graph.DrawBlock(true, 0, SampleCapacity);
    EXPECT_EQ(rig.Box.ShowCount, 1);
    EXPECT_EQ(rig.YCaptions(), captions);
}

TEST(GraphEvents, WaitingEventsRunBetweenGridAndTraces)
{
    GraphRig rig;
    int pumped = 0;
    int redShownWhilePumping = -1;
    rig.Graph.SetEventPump([&] {
        ++pumped;
        rig.Graph.Paint();  // a paint request handled now shows the grid alone
        redShownWhilePumping = 0;
        for (int x = 0; x < 528; ++x)
            for (int y = 0; y < 372; ++y)
                redShownWhilePumping += rig.Box.Shown(x, y) == Red;
    });
    rig.SetZigzag(rig.Ch0, 1000, Low, High);
    rig.Graph.DrawAll(false);
    EXPECT_EQ(pumped, 1);
    EXPECT_EQ(redShownWhilePumping, 0);
    EXPECT_EQ(rig.Box.Shown(1, 1), Grey);
    EXPECT_EQ(rig.Box.ShowCount, 2);
    EXPECT_GT(rig.CountPixels(Red), 1000);

    rig.Graph.DrawAxes(false);
    rig.Graph.DrawBlock(false, 0, 99);
    rig.Graph.DrawEmpty(false);
    EXPECT_EQ(pumped, 1);
}

TEST(GraphEvents, AResizeWhilePumpingIsDrawnAtTheNewSize)
{
    GraphRig resized;
    resized.SetZigzag(resized.Ch0, 1000, Low, High);
    bool nested = false;
    resized.Graph.SetEventPump([&] {
        if (nested)
            return;
        nested = true;
        resized.Box.BoxWidth = 400;
        resized.Box.BoxHeight = 300;
        resized.Graph.Resize();
        resized.Graph.DrawAll(false);
    });
    resized.Graph.DrawAll(false);

    GraphRig direct;
    direct.Box.BoxWidth = 400;
    direct.Box.BoxHeight = 300;
    direct.Graph.Resize();
    direct.SetZigzag(direct.Ch0, 1000, Low, High);
    direct.Graph.DrawAll(false);

    const Bitmap& a = resized.Graph.PlotBitmap();
    const Bitmap& b = direct.Graph.PlotBitmap();
    ASSERT_EQ(a.Width(), 398);
    ASSERT_EQ(a.Height(), 298);
    int differences = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            differences += a.Pixel(x, y) != b.Pixel(x, y);
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(resized.Box.LastTarget.Right, 399);
    EXPECT_EQ(resized.XLabel[1].Left() + resized.XLabel[1].Width(), 72 + 398);
}

TEST(GraphResize, TinyBoxesDrawNothingAndDoNotFail)
{
    GraphRig rig;
    rig.SetZigzag(rig.Ch0, 1000, Low, High);
    for (int size : {2, 1, 0}) {
        rig.Box.BoxWidth = size;
        rig.Box.BoxHeight = size;
        rig.Graph.Resize();
        rig.Graph.DrawEmpty(true);
        rig.Graph.DrawAll(false);
        rig.Graph.DrawBlock(true, 0, 99);
        EXPECT_EQ(rig.Graph.PlotBitmap().Width(), 0);
        EXPECT_EQ(rig.Box.LastSourceWidth, 0);
    }
}

} // namespace
