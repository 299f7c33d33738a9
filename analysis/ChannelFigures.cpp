#include "ChannelFigures.h"

#include "ChannelData.h"
#include "ChannelStats.h"
#include "CodeScale.h"
#include "SampleMoments.h"

#include <algorithm>
#include <cmath>

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

ChannelReport ChannelFigures::Of(const SampleMoments& codes, const SampleMoments& microvolts,
                                 std::int32_t gainDivisor, int channel)
{
    ChannelReport r;
    r.Channel = channel;
    r.Count = codes.Count();
    if (r.Count == 0)
        return r;
    r.MaxCode = static_cast<std::int32_t>(codes.Largest());
    r.MinCode = static_cast<std::int32_t>(codes.Smallest());
    r.MaxMicrovolts = static_cast<float>(CodeScale::CodeToMicrovolts(r.MaxCode, gainDivisor));
    r.MinMicrovolts = static_cast<float>(CodeScale::CodeToMicrovolts(r.MinCode, gainDivisor));
    r.PeakToPeakCode = static_cast<std::int64_t>(r.MaxCode) - r.MinCode;
    r.PeakToPeakMicrovolts = static_cast<double>(r.MaxMicrovolts) - r.MinMicrovolts;
    r.MeanCode = static_cast<std::int32_t>(codes.Mean());
    r.DevCode = static_cast<float>(std::sqrt(codes.SquaresAbout(r.MeanCode) / r.Count));
    r.MeanMicrovolts = static_cast<float>(microvolts.Mean());
    r.DevMicrovolts = static_cast<float>(std::sqrt(microvolts.SquaresAbout(r.MeanMicrovolts) / r.Count));
    r.Noise = NoiseFigures::From(r.DevMicrovolts, r.PeakToPeakMicrovolts);
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
