#pragma once

#include "ChannelReport.h"

#include <cstdint>

class SampleMoments;
struct ChannelData;

// The numbers of one channel holding data, from its codes and its
// converted microvolts: the true extremes (the largest and smallest code,
// and the microvolt values of those two samples), the shared statistics and
// the noise figures. The two status texts are left empty: they are the
// status line's to write.
class ChannelFigures {
public:
    struct Extremes {
        std::int32_t MaxCode = 0;
        std::int32_t MinCode = 0;
        float MaxMicrovolts = 0.0f;
        float MinMicrovolts = 0.0f;
    };

    static ChannelReport Of(const ChannelData& data, int channel);
    // The same from the moments of a stream of codes and of their microvolt
    // values (floats, as the window converts them). The code deviation is
    // taken about the truncated mean and the microvolt deviation about the
    // mean as a float, as the window takes them.
    static ChannelReport Of(const SampleMoments& codes, const SampleMoments& microvolts, std::int32_t gainDivisor,
                            int channel);
    // All zero for an empty channel.
    static Extremes ExtremesOf(const ChannelData& data);
};
