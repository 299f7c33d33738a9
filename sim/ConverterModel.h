#pragma once

#include <cstdint>

// What the board's converter does, as far as the host can see it: the 17 data
// rates behind the "F" digits, the slower frame rate when two channels are
// multiplexed, the noise of each filter, and the conversion of an input
// voltage to a 24-bit offset-binary code.

enum class Filter { Sinc3, Sinc5Sinc1 };

constexpr int RateCount = 17;
constexpr std::int32_t MaxCode = 16777215;
constexpr std::int32_t ZeroVoltCode = 8388608;
constexpr double MicrovoltsPerCode = 0.29802325940409413;

// Output data rate in samples per second of rate index 0..16 (clamped).
double SampleRate(int rateIndex);

// Frames (CH0 + CH1 pairs) per second in mode 2. Each channel switch costs a
// settling time on top of the conversion above 10 ksps, and a frame takes two
// conversions.
double TwoChannelFrameRate(int rateIndex);

// RMS input-referred noise of this model in microvolts: a low-frequency floor
// and a part growing with the square root of the rate.
double NoiseRmsMicrovolts(int rateIndex, Filter filter);

// Nearest code of an input voltage, clamped to 0..MaxCode.
std::int32_t MicrovoltsToCode(double microvolts);
