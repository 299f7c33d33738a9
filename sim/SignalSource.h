#pragma once

#include "BoardConfig.h"
#include "ConverterModel.h"

#include <cstdint>
#include <random>

// The codes the converter would produce for the configured inputs: DC level,
// sine and Gaussian noise (the model's and any extra) in microvolts, or the
// counter pattern.
class SignalSource {
public:
    explicit SignalSource(const SignalConfig& config);

    // Code of channel 0 or 1 for the conversion-th conversion of a run
    // (counting from 0), taken seconds after the run began.
    std::int32_t Code(int channel, std::uint64_t conversion, double seconds, int rateIndex, Filter filter);

private:
    std::int32_t CounterCode(int channel, std::uint64_t conversion) const;
    double InputMicrovolts(const ChannelSignal& signal, double seconds, int rateIndex, Filter filter);

    SignalConfig config_;
    std::mt19937_64 random_;
    std::normal_distribution<double> gauss_;
};
