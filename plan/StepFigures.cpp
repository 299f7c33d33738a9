#include "StepFigures.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

double Resolution(const std::optional<double>& bits)
{
    return bits.value_or(Infinity);
}

// The mean density of the bins whose frequency lies in the band; NaN when
// there is no spectrum or no bin in the band.
double BandDensity(const ChannelAnalysis& channel, const std::pair<double, double>& band)
{
    if (!channel.Spectrum)
        return std::nan("");
    const NoiseDensity& spectrum = *channel.Spectrum;
    double sum = 0.0;
    int bins = 0;
    for (std::size_t k = 1; k < spectrum.Density.size(); ++k) {
        const double f = spectrum.FrequencyOf(k);
        if (f >= band.first && f <= band.second) {
            sum += spectrum.Density[k];
            ++bins;
        }
    }
    return bins == 0 ? std::nan("") : sum / bins;
}

// The largest spur against the full-scale sine's peak; -inf when none
// stands out of the noise.
double LargestSpur(const ChannelAnalysis& channel)
{
    double largest = 0.0;
    for (const Spur& spur : channel.Spurs)
        largest = std::max(largest, spur.AmplitudeMicrovolts);
    return largest > 0.0 ? 20.0 * std::log10(largest / StepFigures::FullScalePeakMicrovolts) : -Infinity;
}

double LargestHum(const ChannelAnalysis& channel)
{
    double largest = 0.0;
    for (const Spur& spur : channel.Spurs) {
        if (spur.MainsHz != 0)
            largest = std::max(largest, spur.AmplitudeMicrovolts);
    }
    return largest;
}

} // namespace

double StepFigures::Value(const FigureLimit& limit, const ChannelAnalysis& channel)
{
    const ChannelReport& figures = channel.Figures;
    switch (limit.Figure) {
    case PlanFigure::Rms:
        return figures.Noise.RmsMicrovolts;
    case PlanFigure::PeakToPeak:
        return figures.PeakToPeakMicrovolts;
    case PlanFigure::Mean:
        return figures.MeanMicrovolts;
    case PlanFigure::Max:
        return figures.MaxMicrovolts;
    case PlanFigure::Min:
        return figures.MinMicrovolts;
    case PlanFigure::EffectiveBits:
        return Resolution(figures.Noise.EffectiveBits);
    case PlanFigure::NoiseFreeBits:
        return Resolution(figures.Noise.NoiseFreeBits);
    case PlanFigure::Density:
        return limit.Band ? BandDensity(channel, *limit.Band) : std::nan("");
    case PlanFigure::Spur:
        return LargestSpur(channel);
    case PlanFigure::Hum:
        break;
    }
    return LargestHum(channel);
}

std::vector<Measurement> StepFigures::Judge(const PlanStep& step, const RunAnalysis& run)
{
    std::vector<Measurement> measurements;
    for (const ChannelAnalysis& channel : run.Channels) {
        for (const FigureLimit& limit : step.Limits) {
            Measurement m{limit.Figure, channel.Figures.Channel, Value(limit, channel), limit, Verdict::Pass};
            m.Outcome = limit.Judge(m.Value);
            measurements.push_back(m);
        }
    }
    return measurements;
}

Verdict StepFigures::Outcome(const std::vector<Measurement>& measurements)
{
    Verdict worst = Verdict::Pass;
    for (const Measurement& m : measurements)
        worst = Worst(worst, m.Outcome);
    return worst;
}
