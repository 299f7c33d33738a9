#pragma once

#include "RunAnalysis.h"

#include <QSizeF>

class QPainter;
struct ChannelData;

// One file's report page, laid out on an A4 page of 595 × 842 units (the
// page in points): the file name and settings, the noise table, per channel
// its trace beside its histogram, the spectrum of all channels and the list
// of the largest spurs, and a line on how the spectrum was estimated.
class ReportPage {
public:
    static constexpr QSizeF Size{595.0, 842.0};

    // The painter's coordinates are the page's units.
    static void Paint(QPainter& painter, const RunAnalysis& analysis, const ChannelData& ch0,
                      const ChannelData& ch1);
};
