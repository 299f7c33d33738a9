#include "NoiseFigures.h"

#include <cmath>

namespace {

std::optional<double> Resolution(double noiseMicrovolts)
{
    if (!(noiseMicrovolts > 0.0))
        return std::nullopt;
    return std::log2(NoiseFigures::FullSpanMicrovolts / noiseMicrovolts);
}

} // namespace

NoiseFigures NoiseFigures::From(double rmsMicrovolts, double peakToPeakMicrovolts)
{
    NoiseFigures figures;
    figures.RmsMicrovolts = rmsMicrovolts;
    figures.PeakToPeakMicrovolts = peakToPeakMicrovolts;
    figures.EffectiveBits = Resolution(rmsMicrovolts);
    figures.NoiseFreeBits = Resolution(peakToPeakMicrovolts);
    return figures;
}
