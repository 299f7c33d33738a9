#pragma once

#include "NoiseFigures.h"

#include <QString>

#include <cstdint>

// The statistics of one channel holding data: the numbers the window's
// third status panel shows, that panel's two texts, and the noise figures.
struct ChannelReport {
    int Channel = 0;
    std::int64_t Count = 0;

    std::int32_t MaxCode = 0;
    std::int32_t MinCode = 0;
    std::int64_t PeakToPeakCode = 0;
    float DevCode = 0.0f;

    float MaxMicrovolts = 0.0f;
    float MinMicrovolts = 0.0f;
    double PeakToPeakMicrovolts = 0.0;  // of the two floats, exact
    float DevMicrovolts = 0.0f;
    std::int32_t MeanCode = 0;     // the shared statistics' means, truncated
    float MeanMicrovolts = 0.0f;   // and as a float

    QString DigitText;  // as with the Y axis in codes
    QString VoltText;   // as with "電圧値" checked
    NoiseFigures Noise;
};
