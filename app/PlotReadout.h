#pragma once

#include "PlotOverlay.h"

#include <QCoreApplication>
#include <QPoint>

#include <cstdint>

class TGraph_2CH;
struct MeasureSettings;

// The readout under the mouse: the sample drawn nearest to it, its number
// and time from the start of the run, and each traced channel's value there
// in the unit on screen.
class PlotReadout {
    Q_DECLARE_TR_FUNCTIONS(PlotReadout)

public:
    // at is in paint-box pixels. Where no trace shows a sample (the empty
    // end of a short run's axis, no data) the overlay is empty.
    static PlotOverlay At(const TGraph_2CH& graph, const MeasureSettings& settings, bool volt, QPoint at);

    // The time of sample index (from 0) at the rate of the run's rate item.
    static QString Time(std::int32_t index, const MeasureSettings& settings);
};
