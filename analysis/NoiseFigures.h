#pragma once

#include <optional>

// The figures a converter is judged by, from one channel's microvolt
// statistics:
//   RMS noise            = the population standard deviation of the samples
//                          in µV (about their mean, division by N);
//   peak-to-peak noise   = maximum − minimum of the samples in µV;
//   effective resolution = log2(5 V / RMS noise) bits;
//   noise-free resolution = log2(5 V / peak-to-peak noise) bits.
// 5 V is the converter's whole input span, −2.5 V to +2.5 V. A noise of 0
// leaves its resolution without a value (it would be infinite).
struct NoiseFigures {
    static constexpr double FullSpanMicrovolts = 5000000.0;

    static NoiseFigures From(double rmsMicrovolts, double peakToPeakMicrovolts);

    double RmsMicrovolts = 0.0;
    double PeakToPeakMicrovolts = 0.0;
    std::optional<double> EffectiveBits;
    std::optional<double> NoiseFreeBits;
};
