#include "SignalSource.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

std::uint64_t SeedOf(const SignalConfig& config)
{
    if (config.Seed)
        return *config.Seed;
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

}  // namespace

SignalSource::SignalSource(const SignalConfig& config)
    : config_(config)
    , random_(SeedOf(config))
{
}

std::int32_t SignalSource::Code(int channel, std::uint64_t conversion, double seconds, int rateIndex, Filter filter)
{
    const int input = std::clamp(channel, 0, 1);
    if (config_.CounterPattern)
        return CounterCode(input, conversion);
    return MicrovoltsToCode(InputMicrovolts(config_.Channel[input], seconds, rateIndex, filter));
}

std::int32_t SignalSource::CounterCode(int channel, std::uint64_t conversion) const
{
    std::uint64_t value = config_.CounterStart + conversion;
    if (channel == 1)
        value += config_.CounterCh1Offset;
    return static_cast<std::int32_t>(value & static_cast<std::uint64_t>(MaxCode));
}

double SignalSource::InputMicrovolts(const ChannelSignal& signal, double seconds, int rateIndex, Filter filter)
{
    double microvolts = signal.DcMicrovolts;
    if (signal.SineMicrovolts != 0.0)
        microvolts += signal.SineMicrovolts * std::sin(2.0 * Pi * signal.SineHz * seconds);
    if (signal.NoiseScale != 0.0)
        microvolts += gauss_(random_) * signal.NoiseScale * NoiseRmsMicrovolts(rateIndex, filter);
    // A draw of its own, so that it is independent of the model's noise.
    if (signal.ExtraNoiseMicrovolts != 0.0)
        microvolts += gauss_(random_) * signal.ExtraNoiseMicrovolts;
    return microvolts;
}
