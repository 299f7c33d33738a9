#pragma once

#include "ChannelReport.h"
#include "SweepPlan.h"

#include <QString>

// The sweep's table: a header, then one row per point and channel with the
// filter, the rate, the samples taken, the channel, RMS and peak-to-peak
// noise in µV (three decimals) and effective and noise-free resolution in
// bits (two decimals; "inf" for a noise of 0). Aligned columns, or CSV.
class SweepTable {
public:
    explicit SweepTable(bool csv);

    QString Header() const;
    QString Row(const SweepPlan::Point& point, const ChannelReport& channel) const;

private:
    QString Line(const QStringList& cells) const;

    bool csv_;
};
