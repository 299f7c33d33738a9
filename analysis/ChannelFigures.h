#pragma once

#include "ChannelReport.h"

struct ChannelData;

// The numbers of one channel holding data, from its codes and its
// converted microvolts: the graph's extremes (the largest and smallest code,
// and the microvolt values of those two samples), the shared statistics and
// the noise figures. The two status texts are left empty: they are the
// status line's to write.
class ChannelFigures {
public:
    static ChannelReport Of(const ChannelData& data, int channel);
};
