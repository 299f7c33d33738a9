#include "ChannelFigures.h"

#include "ChannelData.h"
#include "ChannelStats.h"

#include <algorithm>

ChannelReport ChannelFigures::Of(const ChannelData& data, int channel)
{
    ChannelStats stats;
    ComputeCodeStats(data, stats);
    ComputeMicrovoltStats(data, stats);

    ChannelReport r;
    r.Channel = channel;
    r.Count = data.Count;
    const Extremes extremes = ExtremesOf(data);
    r.MaxCode = extremes.MaxCode;
    r.MinCode = extremes.MinCode;
    r.MaxMicrovolts = extremes.MaxMicrovolts;
    r.MinMicrovolts = extremes.MinMicrovolts;
    r.PeakToPeakCode = static_cast<std::int64_t>(r.MaxCode) - r.MinCode;
    r.DevCode = stats.DevCode;
    r.PeakToPeakMicrovolts = static_cast<double>(r.MaxMicrovolts) - r.MinMicrovolts;
    r.DevMicrovolts = stats.DevMicrovolts;
    r.MeanCode = stats.MeanCode;
    r.MeanMicrovolts = stats.MeanMicrovolts;
    r.Noise = NoiseFigures::From(stats.DevMicrovolts, r.PeakToPeakMicrovolts);
    return r;
}

ChannelFigures::Extremes ChannelFigures::ExtremesOf(const ChannelData& data)
{
    Extremes e;
    if (data.Count <= 0)
        return e;
    // The microvolt extremes are the converted extreme codes, as the graph
    // has them, not the extremes of the microvolt array.
    const auto [lowest, highest] = std::minmax_element(data.Codes, data.Codes + data.Count);
    e.MaxCode = *highest;
    e.MinCode = *lowest;
    e.MaxMicrovolts = data.Microvolts[highest - data.Codes];
    e.MinMicrovolts = data.Microvolts[lowest - data.Codes];
    return e;
}
