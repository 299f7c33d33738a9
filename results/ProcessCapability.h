#pragma once

#include "ResultsQuery.h"

// How a figure of a channel in a step of a plan sits in its limits over all boards: the
// count, mean and standard deviation (n - 1) of its finite values and
// Cpk = min(high - mean, mean - low) / 3σ, against one limit when only one
// is set. The limits are those of the newest value, should they have
// changed. Without a spread (fewer than two values, or all equal) or
// without limits there is no Cpk.
struct Capability {
    QString Plan;
    QString Step;
    QString Figure;
    int Count = 0;
    double Mean = 0.0;
    std::optional<double> Sigma;
    std::optional<double> Low;
    std::optional<double> High;
    std::optional<double> Cpk;
    int Channel = 0;
};

class ProcessCapability {
public:
    // Samples oldest first; one entry per plan, step, figure and channel, in
    // that order.
    static std::vector<Capability> Of(const std::vector<FigureSample>& samples);
};
