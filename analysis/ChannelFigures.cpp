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
    if (data.Count > 0) {
        // The microvolt extremes are the converted extreme codes, as the graph
        // has them, not the extremes of the microvolt array.
        const auto [lowest, highest] = std::minmax_element(data.Codes, data.Codes + data.Count);
        r.MaxCode = *highest;
        r.MinCode = *lowest;
        r.MaxMicrovolts = data.Microvolts[highest - data.Codes];
        r.MinMicrovolts = data.Microvolts[lowest - data.Codes];
    }
    r.PeakToPeakCode = static_cast<std::int64_t>(r.MaxCode) - r.MinCode;
    r.DevCode = stats.DevCode;
    r.PeakToPeakMicrovolts = static_cast<double>(r.MaxMicrovolts) - r.MinMicrovolts;
    r.DevMicrovolts = stats.DevMicrovolts;
    r.MeanCode = stats.MeanCode;
    r.MeanMicrovolts = stats.MeanMicrovolts;
    r.Noise = NoiseFigures::From(stats.DevMicrovolts, r.PeakToPeakMicrovolts);
    return r;
}
