#include "AxisTicks.h"

#include <algorithm>
#include <cmath>

namespace {

// The round step nearest above 0.7 of the rough one, so that the count of
// ticks comes out near the target rather than always below it.
double RoundStep(double rough)
{
    const double wanted = 0.7 * rough;
    const double decade = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * decade >= wanted)
            return factor * decade;
    }
    return 10.0 * decade;
}

} // namespace

std::vector<double> AxisTicks::Linear(double low, double high, int target)
{
    if (!(high > low) || target < 1)
        return {low};
    const double step = RoundStep((high - low) / target);
    std::vector<double> ticks;
    for (double multiple = std::ceil(low / step); multiple * step <= high + step * 1e-9; multiple += 1.0)
        ticks.push_back(multiple * step);
    return ticks;
}

std::vector<int> AxisTicks::Decades(double low, double high)
{
    const int first = static_cast<int>(std::floor(std::log10(low)));
    int last = static_cast<int>(std::ceil(std::log10(high)));
    if (last <= first)
        last = first + 1;
    std::vector<int> decades;
    for (int decade = first; decade <= last; ++decade)
        decades.push_back(decade);
    return decades;
}

int AxisTicks::Decimals(const std::vector<double>& ticks)
{
    if (ticks.size() < 2)
        return 0;
    const double step = ticks[1] - ticks[0];
    return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}
