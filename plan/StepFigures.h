#pragma once

#include "RunAnalysis.h"
#include "TestPlan.h"
#include "TestRecord.h"

#include <vector>

// A step's limits applied to a run's report: every limited figure of every
// channel the run holds, worked out and judged.
class StepFigures {
public:
    static constexpr double FullScalePeakMicrovolts = 2500000.0;

    static std::vector<Measurement> Judge(const PlanStep& step, const RunAnalysis& run);
    static double Value(const FigureLimit& limit, const ChannelAnalysis& channel);
    // The worst verdict of the measurements (PASS when there are none).
    static Verdict Outcome(const std::vector<Measurement>& measurements);
};
