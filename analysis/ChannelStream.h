#pragma once

#include "CodeCounts.h"
#include "RunAnalysis.h"
#include "SampleMoments.h"
#include "WelchSums.h"

#include <cstdint>
#include <vector>

// One channel's report worked out a block of codes at a time, in memory that
// does not grow with the stream: the moments of the codes and of their
// microvolt values (floats, as the window converts them), the exact code
// counts and Welch's segment sums. Blocks may come in any order and from
// several workers; partial results merge. Over a run the window could hold,
// the figures, histogram and spectrum are the ones ReportAnalysis gives.
class ChannelStream {
public:
    // `samples` is the length of the whole stream (it sets Welch's segment
    // length, as for a run of that many samples).
    ChannelStream(std::int64_t samples, std::int32_t gainDivisor);

    // codes[0 .. available) are the stream's samples from index `first` on,
    // `stride` elements apart; the block is samples first .. first + owned − 1
    // and the rest its look-ahead for Welch's segments (see WelchSums: one
    // hop, WelchSums::Length() / 2, for blocks on multiples of the hop).
    void Add(const std::int32_t* codes, std::int64_t first, std::int64_t owned, std::int64_t available,
             std::int64_t stride = 1);
    void Merge(const ChannelStream& other);

    const SampleMoments& CodeMoments() const { return codes_; }
    const SampleMoments& MicrovoltMoments() const { return microvolts_; }
    const CodeCounts& Counts() const { return counts_; }
    const WelchSums& Welch() const { return welch_; }
    std::int32_t GainDivisor() const { return gainDivisor_; }
    // The last block's samples in microvolts (all `available` of them), for
    // whoever draws the trace alongside.
    const std::vector<float>& BlockMicrovolts() const { return converted_; }

    // A partial result rebuilt from its parts, as another process sent them.
    static ChannelStream FromParts(std::int32_t gainDivisor, SampleMoments codes, SampleMoments microvolts,
                                   CodeCounts counts, WelchSums welch);

    // The channel's figures, histogram, spectrum and spurs at the nominal
    // rate; `channel` is 0 for CH0, 1 for CH1.
    ChannelAnalysis Analysis(int channel, double sampleRate) const;

private:
    std::int32_t gainDivisor_;
    SampleMoments codes_;
    SampleMoments microvolts_;
    CodeCounts counts_;
    WelchSums welch_;
    std::vector<float> converted_;  // the block's microvolts, kept between blocks
};
