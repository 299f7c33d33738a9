#pragma once

#include <QString>

// The texts a chart writes besides its numbers: English on the report page,
// which goes to people outside the lab too; in the window, the window's own
// language (Japanese, or its translation). Units stay as they are in both.
struct ChartWords {
    QString Trace;             // "%1 trace": the channel's name
    QString Histogram;         // "%1 histogram"
    QString HistogramBins;     // "%1 histogram, %2 codes a bar"
    QString Time;              // the trace's X axis
    QString Code;              // the histogram's X axis
    QString Samples;           // the histogram's Y axis
    QString DensityTitle;
    QString Frequency;         // the density's X axis
    QString NoSpectrum;        // "%1: %2 samples, a spectrum needs at least %3"

    static const ChartWords& English();
    static ChartWords Window();
};
