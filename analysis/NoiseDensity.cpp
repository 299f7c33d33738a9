#include "NoiseDensity.h"

#include <algorithm>

namespace {

// The Hann window spreads what is left of the mean and of slow drift over
// the first bins.
constexpr std::size_t FirstNoiseBin = 3;

} // namespace

double NoiseDensity::MedianDensity() const
{
    if (Density.size() <= FirstNoiseBin)
        return 0.0;
    std::vector<double> noise(Density.begin() + FirstNoiseBin, Density.end());
    const auto middle = noise.begin() + static_cast<std::ptrdiff_t>(noise.size() / 2);
    std::nth_element(noise.begin(), middle, noise.end());
    return *middle;
}
