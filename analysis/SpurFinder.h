#pragma once

#include "NoiseDensity.h"
#include "Spur.h"

#include <vector>

// The largest spurs of a spectrum. A spur is a local maximum of the power
// density at least ProminenceRatio above the median of its neighbourhood
// (the lobe itself left out), so a 1/f slope is no spur. Its power is what
// its lobe holds above that floor, so a sine of peak A reads A whether it
// falls on a bin or between two; its frequency is the lobe's centroid.
class SpurFinder {
public:
    static constexpr double ProminenceRatio = 10.0;  // 10 dB in power
    static constexpr int LobeHalfWidth = 3;           // bins, beyond the Hann main lobe
    static constexpr int FloorHalfWidth = 32;         // bins either side for the floor

    // At most `most`, largest first, mains hum marked.
    static std::vector<Spur> Find(const NoiseDensity& spectrum, std::size_t most);

    // Marks a spur that lies on 50 or 60 Hz or one of their first ten
    // harmonics, within 1.5 bins or 1 %, when the bins are fine enough to tell
    // (the tolerance under a fifth of the mains frequency).
    static void MarkMains(Spur& spur, double binHz);
};
