#include "ChannelStream.h"

#include "ChannelFigures.h"
#include "CodeScale.h"
#include "ReportAnalysis.h"
#include "WelchDensity.h"

#include <cmath>

ChannelStream::ChannelStream(std::int64_t samples, std::int32_t gainDivisor)
    : gainDivisor_(gainDivisor)
    , welch_(WelchDensity::SegmentLength(samples))
{
}

void ChannelStream::Add(const std::int32_t* codes, std::int64_t first, std::int64_t owned, std::int64_t available,
                        std::int64_t stride)
{
    converted_.resize(static_cast<std::size_t>(available));
    for (std::int64_t i = 0; i < available; ++i)
        converted_[static_cast<std::size_t>(i)] =
            static_cast<float>(CodeScale::CodeToMicrovolts(codes[i * stride], gainDivisor_));
    codes_.Add(codes, owned, stride);
    microvolts_.Add(converted_.data(), owned);
    counts_.Add(codes, owned, stride);
    welch_.Add(converted_.data(), first, owned, available);
}

void ChannelStream::Merge(const ChannelStream& other)
{
    codes_.Merge(other.codes_);
    microvolts_.Merge(other.microvolts_);
    counts_.Merge(other.counts_);
    welch_.Merge(other.welch_);
}

ChannelStream ChannelStream::FromParts(std::int32_t gainDivisor, SampleMoments codes, SampleMoments microvolts,
                                       CodeCounts counts, WelchSums welch)
{
    ChannelStream stream(0, gainDivisor);
    stream.codes_ = codes;
    stream.microvolts_ = microvolts;
    stream.counts_ = std::move(counts);
    stream.welch_ = std::move(welch);
    return stream;
}

ChannelAnalysis ChannelStream::Analysis(int channel, double sampleRate) const
{
    const std::int64_t count = codes_.Count();
    const CodeHistogram histogram = counts_.Histogram(static_cast<double>(codes_.Mean()),
                                                      static_cast<double>(std::sqrt(codes_.Variance())));
    std::optional<NoiseDensity> spectrum;
    if (count >= WelchDensity::MinimumSamples)
        spectrum = welch_.Density(sampleRate);
    return ReportAnalysis::Complete(ChannelFigures::Of(codes_, microvolts_, gainDivisor_, channel), histogram,
                                    std::move(spectrum));
}
