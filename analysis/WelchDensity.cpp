#include "WelchDensity.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

namespace {

struct FftwFree {
    void operator()(void* memory) const { fftw_free(memory); }
};

struct PlanDestroy {
    void operator()(fftw_plan_s* plan) const { fftw_destroy_plan(plan); }
};

std::vector<double> HannWindow(std::int32_t length)
{
    std::vector<double> window(static_cast<std::size_t>(length));
    const double step = 2.0 * std::acos(-1.0) / length;
    for (std::int32_t n = 0; n < length; ++n)
        window[static_cast<std::size_t>(n)] = 0.5 - 0.5 * std::cos(step * n);
    return window;
}

// The segment less its mean, weighted by the window.
void FillSegment(const float* samples, const std::vector<double>& window, double* into)
{
    const std::size_t length = window.size();
    double sum = 0.0;
    for (std::size_t n = 0; n < length; ++n)
        sum += samples[n];
    const double mean = sum / static_cast<double>(length);
    for (std::size_t n = 0; n < length; ++n)
        into[n] = (samples[n] - mean) * window[n];
}

// Summed periodograms to density: the window's power and the rate divided
// out, every bin but DC and the last doubled for the negative frequencies.
std::vector<double> ToDensity(std::vector<double> summed, int segments, double windowPower, double sampleRate)
{
    const double scale = 1.0 / (segments * sampleRate * windowPower);
    for (std::size_t k = 0; k < summed.size(); ++k) {
        const double oneSided = (k == 0 || k + 1 == summed.size()) ? 1.0 : 2.0;
        summed[k] = std::sqrt(summed[k] * scale * oneSided);
    }
    return summed;
}

} // namespace

std::int32_t WelchDensity::SegmentLength(std::int32_t count)
{
    std::int32_t length = ShortestSegment;
    while (length * 2 <= count / 4 && length * 2 <= LongestSegment)
        length *= 2;
    return length;
}

std::optional<NoiseDensity> WelchDensity::Estimate(const float* microvolts, std::int32_t count, double sampleRate)
{
    if (count < MinimumSamples || !(sampleRate > 0.0))
        return std::nullopt;
    const std::int32_t length = SegmentLength(count);
    const std::int32_t hop = length / 2;
    const int segments = (count - length) / hop + 1;
    const std::size_t bins = static_cast<std::size_t>(length / 2 + 1);

    std::unique_ptr<double, FftwFree> input(static_cast<double*>(fftw_malloc(sizeof(double) * length)));
    std::unique_ptr<fftw_complex, FftwFree> output(
        static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * bins)));
    // Estimating rather than measuring plans: the transform runs a few dozen
    // times, planning must not cost more than that.
    std::unique_ptr<fftw_plan_s, PlanDestroy> plan(
        fftw_plan_dft_r2c_1d(length, input.get(), output.get(), FFTW_ESTIMATE));

    const std::vector<double> window = HannWindow(length);
    std::vector<double> summed(bins, 0.0);
    for (int s = 0; s < segments; ++s) {
        FillSegment(microvolts + static_cast<std::ptrdiff_t>(s) * hop, window, input.get());
        fftw_execute(plan.get());
        for (std::size_t k = 0; k < bins; ++k)
            summed[k] += output.get()[k][0] * output.get()[k][0] + output.get()[k][1] * output.get()[k][1];
    }

    const double windowPower = std::inner_product(window.begin(), window.end(), window.begin(), 0.0);
    NoiseDensity spectrum;
    spectrum.SampleRate = sampleRate;
    spectrum.BinHz = sampleRate / length;
    spectrum.SegmentLength = length;
    spectrum.Segments = segments;
    spectrum.Density = ToDensity(std::move(summed), segments, windowPower, sampleRate);
    return spectrum;
}
