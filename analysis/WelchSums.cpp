#include "WelchSums.h"

#include "FftwModule.h"

#include <cmath>
#include <mutex>
#include <numeric>

namespace {

// FFTW's planner is not reentrant: boards tested side by side plan and
// destroy their transforms one at a time (executing a plan needs no lock).
std::mutex& PlannerLock()
{
    static std::mutex lock;
    return lock;
}

void* PlanTransform(const FftwModuleEntries& fftw, std::int32_t length, double* input, double* output)
{
    const std::lock_guard<std::mutex> hold(PlannerLock());
    // Estimating rather than measuring plans: planning must not cost more
    // than the few dozen transforms of a short run.
    return fftw.PlanRealTransform(length, input, output);
}

std::vector<double> HannWindow(std::int32_t length)
{
    std::vector<double> window(static_cast<std::size_t>(length));
    const double step = 2.0 * std::acos(-1.0) / length;
    for (std::int32_t n = 0; n < length; ++n)
        window[static_cast<std::size_t>(n)] = 0.5 - 0.5 * std::cos(step * n);
    return window;
}

} // namespace

// The window, the FFTW buffers and the plan of one segment length; FFTW
// comes with its module at the first segment.
struct WelchSums::Transform {
    explicit Transform(std::int32_t length)
        : Fftw(FftwModule::Entries())
        , Window(HannWindow(length))
        , Input(static_cast<double*>(Fftw.Allocate(sizeof(double) * static_cast<std::size_t>(length))))
        , Output(static_cast<double*>(Fftw.Allocate(2 * sizeof(double) * static_cast<std::size_t>(length / 2 + 1))))
        , Plan(PlanTransform(Fftw, length, Input, Output))
    {
    }
    ~Transform()
    {
        {
            const std::lock_guard<std::mutex> hold(PlannerLock());
            Fftw.DestroyPlan(Plan);
        }
        Fftw.Free(Output);
        Fftw.Free(Input);
    }
    Transform(const Transform&) = delete;
    Transform& operator=(const Transform&) = delete;

    const FftwModuleEntries& Fftw;
    std::vector<double> Window;
    double* Input;
    double* Output;  // length / 2 + 1 pairs (real, imaginary)
    void* Plan;
};

WelchSums::WelchSums(std::int32_t length)
    : length_(length)
    , summed_(static_cast<std::size_t>(length / 2 + 1), 0.0)
{
}

WelchSums::~WelchSums() = default;
WelchSums::WelchSums(WelchSums&&) noexcept = default;
WelchSums& WelchSums::operator=(WelchSums&&) noexcept = default;

// The sums are copied; the copy makes its own transform when it needs one.
WelchSums::WelchSums(const WelchSums& other)
    : length_(other.length_)
    , segments_(other.segments_)
    , summed_(other.summed_)
{
}

WelchSums& WelchSums::operator=(const WelchSums& other)
{
    if (this != &other) {
        length_ = other.length_;
        segments_ = other.segments_;
        summed_ = other.summed_;
        transform_.reset();
    }
    return *this;
}

WelchSums WelchSums::FromParts(std::int32_t length, std::int64_t segments, std::vector<double> summed)
{
    WelchSums sums(length);
    sums.segments_ = segments;
    sums.summed_ = std::move(summed);
    return sums;
}

void WelchSums::Add(const float* samples, std::int64_t first, std::int64_t owned, std::int64_t available,
                    std::int64_t stride)
{
    const std::int64_t hop = length_ / 2;
    for (std::int64_t start = (first + hop - 1) / hop * hop; start < first + owned; start += hop) {
        const std::int64_t offset = start - first;
        if (offset + length_ > available)
            break;
        TakeSegment(samples + offset * stride, stride);
    }
}

// The segment less its mean, weighted by the window, its |X|² summed.
void WelchSums::TakeSegment(const float* samples, std::int64_t stride)
{
    if (!transform_)
        transform_ = std::make_unique<Transform>(length_);
    const std::vector<double>& window = transform_->Window;
    double* const into = transform_->Input;
    const std::size_t length = window.size();
    double sum = 0.0;
    for (std::size_t n = 0; n < length; ++n)
        sum += samples[static_cast<std::int64_t>(n) * stride];
    const double mean = sum / static_cast<double>(length);
    for (std::size_t n = 0; n < length; ++n)
        into[n] = (samples[static_cast<std::int64_t>(n) * stride] - mean) * window[n];
    transform_->Fftw.Execute(transform_->Plan);
    const double* const output = transform_->Output;
    for (std::size_t k = 0; k < summed_.size(); ++k)
        summed_[k] += output[2 * k] * output[2 * k] + output[2 * k + 1] * output[2 * k + 1];
    ++segments_;
}

void WelchSums::Merge(const WelchSums& other)
{
    for (std::size_t k = 0; k < summed_.size() && k < other.summed_.size(); ++k)
        summed_[k] += other.summed_[k];
    segments_ += other.segments_;
}

// Summed periodograms to density: the window's power and the rate divided
// out, every bin but DC and the last doubled for the negative frequencies.
std::optional<NoiseDensity> WelchSums::Density(double sampleRate) const
{
    if (segments_ == 0 || !(sampleRate > 0.0))
        return std::nullopt;
    const std::vector<double> window = HannWindow(length_);
    const double windowPower = std::inner_product(window.begin(), window.end(), window.begin(), 0.0);
    NoiseDensity spectrum;
    spectrum.SampleRate = sampleRate;
    spectrum.BinHz = sampleRate / length_;
    spectrum.SegmentLength = length_;
    spectrum.Segments = static_cast<int>(segments_);
    const double scale = 1.0 / (static_cast<double>(segments_) * sampleRate * windowPower);
    spectrum.Density = summed_;
    for (std::size_t k = 0; k < spectrum.Density.size(); ++k) {
        const double oneSided = (k == 0 || k + 1 == spectrum.Density.size()) ? 1.0 : 2.0;
        spectrum.Density[k] = std::sqrt(spectrum.Density[k] * scale * oneSided);
    }
    return spectrum;
}
