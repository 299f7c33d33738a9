#pragma once

#include <cstdint>
#include <vector>

// The runs of a sweep: every data rate with Sinc3, then every rate with
// Sinc5+Sinc1 (34 points). Each point takes the requested count item, or
// the largest smaller item whose samples the rate delivers within the time
// cap; never fewer than the smallest item, 100 samples.
class SweepPlan {
public:
    struct Point {
        std::uint8_t fSinc5;
        int spsSel;
        int DataCountSel;
    };

    static std::vector<Point> Points(int requestedCountSel, double capSeconds);
    static int CountFor(int requestedCountSel, int spsSel, double capSeconds);
};
