#pragma once

#include "NoiseDensity.h"

#include <cstdint>
#include <optional>

// The noise spectral density by Welch's method: the samples are cut into
// segments of a power of two that overlap by half; each segment, less its
// own mean, is weighted by a (periodic) Hann window and transformed with
// FFTW; the periodograms are averaged and scaled to a one-sided density, so
// that its integral over frequency is the mean square of the samples (white
// noise of RMS σ at rate fs reads σ · √(2 / fs) µV/√Hz). The arithmetic is
// WelchSums', in one pass.
class WelchDensity {
public:
    // Fewer samples give no spectrum worth showing.
    static constexpr std::int32_t MinimumSamples = 256;
    static constexpr std::int32_t ShortestSegment = 64;
    static constexpr std::int32_t LongestSegment = 16384;

    // Nothing when count is below MinimumSamples or the rate is not above 0.
    static std::optional<NoiseDensity> Estimate(const float* microvolts, std::int32_t count, double sampleRate);

    // The largest power of two within a quarter of the samples, so that at
    // least seven segments are averaged, kept within the two limits above
    // (a long log has the longest).
    static std::int32_t SegmentLength(std::int64_t count);
};
