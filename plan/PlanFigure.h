#pragma once

#include <QString>

#include <optional>

// The figures a plan may set limits on, each with its unit implied by its
// name: the noise report's figures of a channel, plus its largest spur and
// its mains hum.
enum class PlanFigure {
    Rms,            // rms_uV: σ of the samples
    PeakToPeak,     // pp_uV
    Mean,           // mean_uV
    Max,            // max_uV
    Min,            // min_uV
    EffectiveBits,  // effective_bits: log2(5 V / σ)
    NoiseFreeBits,  // noise_free_bits: log2(5 V / pp)
    Density,        // density_uV_rtHz: mean noise density in a band
    Spur,           // spur_dBFS: the largest spur against the 2.5 V full-scale peak
    Hum,            // hum_uV: the peak of the largest mains line, 0 when none stands out
};

namespace PlanFigures {

constexpr int Count = 10;

QString Name(PlanFigure figure);
// "uV", "bits", "uV/rtHz" or "dBFS".
QString Unit(PlanFigure figure);
std::optional<PlanFigure> Parse(const QString& name);
// Every name, for the message that refuses an unknown one.
QString Known();

} // namespace PlanFigures
