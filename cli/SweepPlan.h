#pragma once

#include <cstdint>
#include <vector>

// The runs of a sweep: every data rate with Sinc3, then every rate with
// Sinc5+Sinc1 (34 points). Each point takes the requested count item, or
// the largest smaller item whose samples the rate delivers within the time
// cap; never fewer than the smallest item, 100 samples. A CH0 + CH1 frame
// takes two conversions, so in that mode a rate delivers half as many
// frames (at least: the converter also settles after each channel switch).
class SweepPlan {
public:
    struct Point {
        std::uint8_t fSinc5;
        int spsSel;
        int DataCountSel;
    };

    static std::vector<Point> Points(int chSel, int requestedCountSel, double capSeconds);
    static int CountFor(int chSel, int requestedCountSel, int spsSel, double capSeconds);
};
