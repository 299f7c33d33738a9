#pragma once

#include "ChannelData.h"
#include "GraphFakes.h"
#include "Graph_2ch.h"
#include "MeasureSettings.h"

#include <QStringList>

#include <cstdint>
#include <vector>

// A graph wired to the window's design layout (paint box 72, 24, 528 x 372)
// with plain labels, two full-size sample arrays and the default settings.
// It shows its pictures on its own plain paint box, or on the one given.
class GraphRig {
public:
    GraphRig();
    explicit GraphRig(PaintBox& box);

    // Takes codes as the channel's samples, with their microvolts filled the
    // way the window fills them, and sets Count.
    void SetSamples(ChannelData& channel, const std::vector<std::int32_t>& codes);
    // count samples alternating between low and high, starting low.
    void SetZigzag(ChannelData& channel, std::int32_t count, std::int32_t low, std::int32_t high);

    QStringList YCaptions() const;
    std::vector<int> YTops() const;
    std::vector<int> YLefts() const;
    int CountPixels(std::uint32_t colour) const;
    // Left-most and right-most columns holding colour; -1 when none does.
    int FirstColumnWith(std::uint32_t colour) const;
    int LastColumnWith(std::uint32_t colour) const;

    MeasureSettings Settings;
    std::vector<std::int32_t> Codes0 = std::vector<std::int32_t>(SampleCapacity);
    std::vector<std::int32_t> Codes1 = std::vector<std::int32_t>(SampleCapacity);
    std::vector<float> Microvolts0 = std::vector<float>(SampleCapacity);
    std::vector<float> Microvolts1 = std::vector<float>(SampleCapacity);
    ChannelData Ch0;
    ChannelData Ch1;
    FakeAxisLabel YLabel[TGraph_2CH::YLabelCount];
    FakeAxisLabel XLabel[TGraph_2CH::XLabelCount];
    AxisLabel* YLabelList[TGraph_2CH::YLabelCount];
    AxisLabel* XLabelList[TGraph_2CH::XLabelCount];
    FakePaintBox Box;
    TGraph_2CH Graph;
};

constexpr std::uint32_t White = Rgb(255, 255, 255);
constexpr std::uint32_t Grey = Rgb(128, 128, 128);
constexpr std::uint32_t Red = Rgb(255, 0, 0);
constexpr std::uint32_t Blue = Rgb(0, 0, 255);
