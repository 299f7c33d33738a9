#pragma once

#include "ChannelReport.h"

#include <vector>

class RunData;

// What the window computes and shows when a run ends or a file is loaded,
// for every channel that holds data (CH0 first): the codes converted to
// microvolts, the shared statistics, the graph's extremes and the status
// line's two statistics texts.
class RunEvaluator {
public:
    static std::vector<ChannelReport> Evaluate(RunData& run);
    // The status line's two statistics texts of a channel's figures.
    static void WriteTexts(ChannelReport& report);
};
