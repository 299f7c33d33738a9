#pragma once

#include <cstdint>

// Elements of each sample array; a run holds at most 100000 samples a channel.
constexpr std::int32_t SampleCapacity = 101000;

// The view of one channel's samples. The arrays belong to the window and never
// move; only Count changes (0 = the channel holds no data).
struct ChannelData {
    std::int32_t Count = 0;
    std::int32_t* Codes = nullptr;  // converter codes, offset binary, 8388608 = 0 V
    float* Microvolts = nullptr;    // the same samples in microvolts
};
