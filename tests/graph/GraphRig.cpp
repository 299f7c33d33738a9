#include "GraphRig.h"

// Only the plain box's address is taken before it is built.
GraphRig::GraphRig()
    : GraphRig(Box)
{
}

GraphRig::GraphRig(PaintBox& box)
    : Ch0{0, Codes0.data(), Microvolts0.data()},
      Ch1{0, Codes1.data(), Microvolts1.data()},
      Graph(&box, &Ch0, &Ch1, &Settings, YLabelList, XLabelList)
{
    for (int i = 0; i < TGraph_2CH::YLabelCount; ++i)
        YLabelList[i] = &YLabel[i];
    for (int i = 0; i < TGraph_2CH::XLabelCount; ++i)
        XLabelList[i] = &XLabel[i];
}

void GraphRig::SetSamples(ChannelData& channel, const std::vector<std::int32_t>& codes)
{
    channel.Count = static_cast<std::int32_t>(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        channel.Codes[i] = codes[i];
        channel.Microvolts[i] = static_cast<float>(Graph.CodeToMicrovolts(codes[i]));
    }
}

void GraphRig::SetZigzag(ChannelData& channel, std::int32_t count, std::int32_t low, std::int32_t high)
{
    std::vector<std::int32_t> codes(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i)
        codes[static_cast<std::size_t>(i)] = i % 2 == 0 ? low : high;
    SetSamples(channel, codes);
}

QStringList GraphRig::YCaptions() const
{
    QStringList captions;
    for (const FakeAxisLabel& label : YLabel)
        captions << label.Caption();
    return captions;
}

std::vector<int> GraphRig::YTops() const
{
    std::vector<int> tops;
    for (const FakeAxisLabel& label : YLabel)
        tops.push_back(label.Top());
    return tops;
}

std::vector<int> GraphRig::YLefts() const
{
    std::vector<int> lefts;
    for (const FakeAxisLabel& label : YLabel)
        lefts.push_back(label.Left());
    return lefts;
}

int GraphRig::CountPixels(std::uint32_t colour) const
{
    const Bitmap& plot = Graph.PlotBitmap();
    int count = 0;
    for (int y = 0; y < plot.Height(); ++y)
        for (int x = 0; x < plot.Width(); ++x)
            count += plot.Pixel(x, y) == colour;
    return count;
}

int GraphRig::FirstColumnWith(std::uint32_t colour) const
{
    const Bitmap& plot = Graph.PlotBitmap();
    for (int x = 0; x < plot.Width(); ++x)
        for (int y = 0; y < plot.Height(); ++y)
            if (plot.Pixel(x, y) == colour)
                return x;
    return -1;
}

int GraphRig::LastColumnWith(std::uint32_t colour) const
{
    const Bitmap& plot = Graph.PlotBitmap();
    for (int x = plot.Width() - 1; x >= 0; --x)
        for (int y = 0; y < plot.Height(); ++y)
            if (plot.Pixel(x, y) == colour)
                return x;
    return -1;
}
