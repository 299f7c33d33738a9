#pragma once

#include "ChannelData.h"

#include <cstdint>

// Mean and population standard deviation of one channel, in codes and in
// microvolts. The window and the command-line companion compute them here so
// that both show the same numbers.
struct ChannelStats {
    std::int32_t MeanCode = 0;
    float DevCode = 0.0f;
    float MeanMicrovolts = 0.0f;
    float DevMicrovolts = 0.0f;
};

// Mean truncated toward zero to an integer code, deviation about that integer
// mean (division by N). Leaves stats untouched when the channel is empty.
void ComputeCodeStats(const ChannelData& channel, ChannelStats& stats);

// The same over the Microvolts array, about the mean stored as a float.
void ComputeMicrovoltStats(const ChannelData& channel, ChannelStats& stats);
