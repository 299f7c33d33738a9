#pragma once

#include "ChannelReport.h"
#include "CodeHistogram.h"
#include "ColumnExtremes.h"
#include "MeasureSettings.h"
#include "NoiseDensity.h"
#include "Spur.h"

#include <QString>

#include <optional>
#include <vector>

// What the report shows of one channel: the shared statistics and noise
// figures, the code histogram, and the noise spectrum with its largest
// spurs, or why there is no spectrum. A log too long to hold brings its
// trace reduced to column extremes; a run's trace is drawn from its samples.
struct ChannelAnalysis {
    ChannelReport Figures;
    CodeHistogram Histogram;
    std::optional<NoiseDensity> Spectrum;
    QString NoSpectrum;
    std::vector<Spur> Spurs;
    std::optional<ColumnExtremes> Trace;
};

// One file's report: its name, settings, nominal sample (pair) rate and
// each channel holding data, CH0 first.
struct RunAnalysis {
    QString Name;
    MeasureSettings Settings;
    double SampleRate = 0.0;
    std::vector<ChannelAnalysis> Channels;
};
