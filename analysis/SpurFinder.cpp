#include "SpurFinder.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int MainsFrequencies[] = {50, 60};
constexpr int HighestHarmonic = 10;
constexpr std::size_t FirstBin = 3;  // the Hann window's DC leakage ends here

std::vector<double> Powers(const NoiseDensity& spectrum)
{
    std::vector<double> power(spectrum.Density.size());
    for (std::size_t k = 0; k < power.size(); ++k)
        power[k] = spectrum.Density[k] * spectrum.Density[k];
    return power;
}

bool IsLocalMaximum(const std::vector<double>& power, std::size_t k)
{
    return power[k] >= power[k - 1] && power[k] > power[k + 1];
}

// The median power around k, the lobe left out.
double FloorAround(const std::vector<double>& power, std::size_t k)
{
    const std::size_t lobe = SpurFinder::LobeHalfWidth;
    const std::size_t half = SpurFinder::FloorHalfWidth;
    const std::size_t first = k > half + 1 ? k - half : 1;
    const std::size_t last = std::min(power.size() - 1, k + half);
    std::vector<double> around;
    for (std::size_t j = first; j <= last; ++j) {
        if (j + lobe < k || j > k + lobe)
            around.push_back(power[j]);
    }
    if (around.empty())
        return 0.0;
    const auto middle = around.begin() + static_cast<std::ptrdiff_t>(around.size() / 2);
    std::nth_element(around.begin(), middle, around.end());
    return *middle;
}

Spur Measure(const std::vector<double>& power, std::size_t k, double floor, double binHz)
{
    const std::size_t lobe = SpurFinder::LobeHalfWidth;
    const std::size_t first = k > lobe ? k - lobe : 0;
    const std::size_t last = std::min(power.size() - 1, k + lobe);
    double excess = 0.0;
    double moment = 0.0;
    for (std::size_t j = first; j <= last; ++j) {
        const double above = std::max(0.0, power[j] - floor);
        excess += above;
        moment += above * static_cast<double>(j);
    }
    Spur spur;
    spur.FrequencyHz = excess > 0.0 ? moment / excess * binHz : static_cast<double>(k) * binHz;
    // The lobe's power is the sine's mean square, half its peak squared.
    spur.AmplitudeMicrovolts = std::sqrt(2.0 * excess * binHz);
    return spur;
}

// Every prominent maximum, largest first, none within a lobe of a larger one.
std::vector<Spur> Candidates(const NoiseDensity& spectrum)
{
    const std::vector<double> power = Powers(spectrum);
    std::vector<std::pair<std::size_t, Spur>> found;
    for (std::size_t k = FirstBin; k + 1 < power.size(); ++k) {
        if (!IsLocalMaximum(power, k))
            continue;
        const double floor = FloorAround(power, k);
        if (power[k] > SpurFinder::ProminenceRatio * floor)
            found.emplace_back(k, Measure(power, k, floor, spectrum.BinHz));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.second.AmplitudeMicrovolts > b.second.AmplitudeMicrovolts;
    });
    std::vector<Spur> spurs;
    std::vector<std::size_t> taken;
    for (const auto& [bin, spur] : found) {
        const bool nearLarger = std::any_of(taken.begin(), taken.end(), [bin = bin](std::size_t other) {
            return (bin > other ? bin - other : other - bin) <= static_cast<std::size_t>(SpurFinder::LobeHalfWidth);
        });
        if (!nearLarger) {
            taken.push_back(bin);
            spurs.push_back(spur);
        }
    }
    return spurs;
}

} // namespace

std::vector<Spur> SpurFinder::Find(const NoiseDensity& spectrum, std::size_t most)
{
    std::vector<Spur> spurs = Candidates(spectrum);
    if (spurs.size() > most)
        spurs.resize(most);
    for (Spur& spur : spurs)
        MarkMains(spur, spectrum.BinHz);
    return spurs;
}

void SpurFinder::MarkMains(Spur& spur, double binHz)
{
    // Bins that cannot tell 50 Hz from 60 Hz mark neither: a 50 Hz line must
    // never be named 60 Hz because 50 Hz alone was judged too coarse.
    if (1.5 * binHz >= MainsFrequencies[0] / 5.0)
        return;
    double closest = -1.0;
    for (const int mains : MainsFrequencies) {
        const int harmonic = static_cast<int>(std::lround(spur.FrequencyHz / mains));
        if (harmonic < 1 || harmonic > HighestHarmonic)
            continue;
        const double tolerance = std::max(1.5 * binHz, 0.01 * harmonic * mains);
        const double distance = std::abs(spur.FrequencyHz - harmonic * mains);
        if (tolerance >= mains / 5.0 || distance > tolerance || (closest >= 0.0 && distance >= closest))
            continue;
        closest = distance;
        spur.MainsHz = mains;
        spur.Harmonic = harmonic;
    }
}
