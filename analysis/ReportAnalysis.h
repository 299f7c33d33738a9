#pragma once

#include "RunAnalysis.h"

struct ChannelData;

// Works out a run's report from its codes and converted microvolts: per
// channel holding data the figures, the histogram, the Welch spectrum at the
// nominal sample rate and its largest spurs.
class ReportAnalysis {
public:
    static constexpr std::size_t MostSpurs = 8;

    static RunAnalysis Of(const QString& name, const MeasureSettings& settings, const ChannelData& ch0,
                          const ChannelData& ch1);
    // One channel from its figures, histogram and spectrum: the spurs, or
    // why there is no spectrum.
    static ChannelAnalysis Complete(const ChannelReport& figures, const CodeHistogram& histogram,
                                    std::optional<NoiseDensity> spectrum);
};
