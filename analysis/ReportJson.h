#pragma once

#include "RunAnalysis.h"

#include <QByteArray>

// A report's figures as one line of JSON: what info --json prints, each
// channel with in addition its means, its histogram (first code, codes per
// bin, counts, mean and σ in codes) and its spectrum (rate, bin width,
// segments, median density and the spurs with frequency, peak amplitude and
// mains harmonic), or "spectrum": null and "no_spectrum" saying why.
class ReportJson {
public:
    static QByteArray Line(const RunAnalysis& analysis);
};
