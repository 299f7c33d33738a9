#pragma once

#include <vector>

// A channel's one-sided noise spectral density: Density[k] in µV/√Hz at the
// frequency k · BinHz, k = 0 .. SegmentLength / 2 (the last at half the
// sample rate), averaged over Segments periodograms.
struct NoiseDensity {
    double SampleRate = 0.0;
    double BinHz = 0.0;
    int SegmentLength = 0;
    int Segments = 0;
    std::vector<double> Density;

    double FrequencyOf(std::size_t bin) const { return static_cast<double>(bin) * BinHz; }
    // The median density above the DC bins: the white-noise floor.
    double MedianDensity() const;
};
