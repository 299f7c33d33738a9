#include "WelchDensity.h"

#include "WelchSums.h"

std::int32_t WelchDensity::SegmentLength(std::int64_t count)
{
    std::int32_t length = ShortestSegment;
    while (length * 2 <= count / 4 && length * 2 <= LongestSegment)
        length *= 2;
    return length;
}

std::optional<NoiseDensity> WelchDensity::Estimate(const float* microvolts, std::int32_t count, double sampleRate)
{
    if (count < MinimumSamples || !(sampleRate > 0.0))
        return std::nullopt;
    WelchSums sums(SegmentLength(count));
    sums.Add(microvolts, 0, count, count);
    return sums.Density(sampleRate);
}
