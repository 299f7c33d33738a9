#pragma once

#include "ChannelReport.h"

#include <cstdint>

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
    // All zero for an empty channel.
    static Extremes ExtremesOf(const ChannelData& data);
};
