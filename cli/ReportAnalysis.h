#pragma once

#include "RunAnalysis.h"

class GraphView;
class RunData;

// Works out a run's report: the window's statistics (RunEvaluator, which
// also fills the run's microvolts), then per channel the histogram, the
// Welch spectrum at the nominal sample rate and its largest spurs.
class ReportAnalysis {
public:
    static constexpr std::size_t MostSpurs = 8;

    static RunAnalysis Of(const QString& name, RunData& run, GraphView& view);
};
