#pragma once

#include <vector>

// Where a chart's axis gets its marks: round values on a linear axis, whole
// decades on a logarithmic one.
class AxisTicks {
public:
    // Multiples of a step of 1, 2 or 5 × 10^n within [low, high], about
    // `target` of them; the step is chosen so there are at least two when
    // low < high.
    static std::vector<double> Linear(double low, double high, int target);
    // The exponents of the decades that enclose [low, high] (both above 0):
    // floor(log10(low)) and ceil(log10(high)), at least one decade apart.
    static std::vector<int> Decades(double low, double high);
    // The decimals that tell the linear ticks apart (0 for a step of 1 or more).
    static int Decimals(const std::vector<double>& ticks);
};
