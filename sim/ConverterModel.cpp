#include "ConverterModel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Rates[RateCount] = {
    5, 10, 20, 49.96, 59.92, 100, 200, 500, 1000, 2500, 5000, 10000, 25000, 31250, 50000, 62500, 125000,
};

// Settling after a channel switch, in microseconds, for the rates above
// 10 ksps (25k, 31.25k, 50k, 62.5k, 125k); below that the digital filter
// settles within one conversion.
constexpr double SwitchSettlingUs[RateCount] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 56, 48, 36, 32, 24,
};

struct NoiseShape {
    double floorUv;      // RMS at the lowest rates
    double uvPerRootHz;  // growth with the square root of the rate
};

// 0.15 uV at 5 sps rising to 9 uV at 125 ksps for Sinc5+Sinc1; Sinc3 a fifth
// lower at the same rate.
constexpr NoiseShape Sinc5Noise = {0.14, 0.025456};
constexpr NoiseShape Sinc3Noise = {0.12, 0.020365};

int ClampIndex(int rateIndex)
{
    return std::clamp(rateIndex, 0, RateCount - 1);
}

}  // namespace

double SampleRate(int rateIndex)
{
    return Rates[ClampIndex(rateIndex)];
}

double TwoChannelFrameRate(int rateIndex)
{
    const int index = ClampIndex(rateIndex);
    const double conversionSeconds = 1.0 / Rates[index] + SwitchSettlingUs[index] * 1e-6;
    return 0.5 / conversionSeconds;
}

double NoiseRmsMicrovolts(int rateIndex, Filter filter)
{
    const NoiseShape& shape = filter == Filter::Sinc3 ? Sinc3Noise : Sinc5Noise;
    const double growing = shape.uvPerRootHz * std::sqrt(SampleRate(rateIndex));
    return std::hypot(shape.floorUv, growing);
}

std::int32_t MicrovoltsToCode(double microvolts)
{
    const double code = std::round(ZeroVoltCode + microvolts / MicrovoltsPerCode);
    if (!(code >= 0.0))  // also catches NaN
        return 0;
    return code > MaxCode ? MaxCode : static_cast<std::int32_t>(code);
}
