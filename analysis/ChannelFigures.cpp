#include "ChannelFigures.h"

#include "ChannelData.h"
#include "ChannelStats.h"
#include "CodeScale.h"
#include "SampleMoments.h"

#include <algorithm>
#include <iterator>
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
    // The values first, in a loop the compiler vectorises; then where they
    // stand, the first smallest and the last largest as minmax_element
    // gives them.
    const std::int32_t* const first = data.Codes;
    const std::int32_t* const end = first + data.Count;
    std::int32_t smallest = *first;
    std::int32_t largest = *first;
    for (const std::int32_t* code = first; code != end; ++code) {
        smallest = std::min(smallest, *code);
        largest = std::max(largest, *code);
    }
    const std::int32_t* const lowest = std::find(first, end, smallest);
    const std::int32_t* const highest =
        std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(first), largest).base() - 1;
    e.MaxCode = largest;
    e.MinCode = smallest;
    e.MaxMicrovolts = data.Microvolts[highest - data.Codes];
    e.MinMicrovolts = data.Microvolts[lowest - data.Codes];
    return e;
}
