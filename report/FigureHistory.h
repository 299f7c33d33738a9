#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// One figure of one step of a plan over the boards tested: each value with
// the start of its test run, oldest first, and the figure's limits.
struct FigureHistory {
    QString Plan;
    QString Step;
    QString Figure;  // "rms_uV"
    QString Unit;
    std::vector<std::int64_t> StartMs;  // since the epoch, UTC
    std::vector<double> Values;         // finite
    std::optional<double> Low;
    std::optional<double> High;

    // From the lowest to the highest of the values and limits, widened by a
    // twentieth on each side (by 1 when they are all one number), so that
    // neither a value nor a limit sits on the chart's edge.
    std::pair<double, double> Span() const;
    double Mean() const;
};
