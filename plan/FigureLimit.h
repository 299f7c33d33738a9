#pragma once

#include "PlanFigure.h"
#include "Verdict.h"

#include <QString>

#include <optional>
#include <utility>

// The limits of one figure: outside low..high it fails; inside them but
// below marginal_low or above marginal_high it is marginal (a pass that is
// close to failing). A density's limits hold for its band, in Hz.
struct FigureLimit {
    PlanFigure Figure = PlanFigure::Rms;
    std::optional<double> Low;
    std::optional<double> High;
    std::optional<double> MarginalLow;
    std::optional<double> MarginalHigh;
    std::optional<std::pair<double, double>> Band;

    Verdict Judge(double value) const;
    // What is wrong with these limits, or an empty text: neither low nor
    // high, a low above a high, a marginal limit outside the hard ones, a
    // band on a figure other than the density or none on the density.
    QString Fault() const;
};
