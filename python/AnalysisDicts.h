#pragma once

#include "RunAnalysis.h"

#include <pybind11/pybind11.h>

// The settings and a channel's report as the Python dicts the package's
// dataclasses are made from, for a run and for a long-term log alike.
class AnalysisDicts {
public:
    static pybind11::dict Settings(const MeasureSettings& settings);
    static pybind11::dict Histogram(const CodeHistogram& histogram);
    // None without a spectrum.
    static pybind11::object Spectrum(const ChannelAnalysis& channel);
    // histogram, spectrum and no_spectrum of one channel.
    static pybind11::dict Channel(const ChannelAnalysis& channel);
};
