#pragma once

#include "ChannelData.h"
#include "MeasureSettings.h"

#include <cstddef>
#include <cstdint>

// One run's settings and samples, as the window holds them: four fixed
// arrays of SampleCapacity elements and the two channel views over them.
// About 1.6 MB, so it is made on the heap and never copied. Its memory
// comes from the system zeroed (RunData_posix/_win), so the arrays are zero
// from the start without a byte of them written here.
class RunData {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* data, std::size_t size) noexcept;

    RunData();
    RunData(const RunData&) = delete;
    RunData& operator=(const RunData&) = delete;

    // No samples in either channel; the arrays keep their contents.
    void Clear();
    // Count samples (pairs) of a run in the settings' channel mode become
    // the data; the channel not measured holds none.
    void HoldSamples(std::int32_t count);
    // Every sample of each channel holding data to microvolts, as the window
    // does after a run or a load.
    void ConvertAll();

    MeasureSettings Settings;
    ChannelData Ch0Data;
    ChannelData Ch1Data;
    std::int32_t Ch0Codes[SampleCapacity];
    std::int32_t Ch1Codes[SampleCapacity];
    float Ch0Microvolts[SampleCapacity];
    float Ch1Microvolts[SampleCapacity];
};
