#pragma once

#include "RunAnalysis.h"

#include <QRectF>
#include <QSizeF>
#include <QStringList>

class QPainter;
struct ChannelAnalysis;
struct ChannelData;
struct ChartWords;
struct Spur;

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

    // Per channel its trace beside its histogram, each row rowHeight high,
    // then the spectrum of all channels in what is left of the area. The
    // window's analysis view draws the same.
    static void PaintCharts(QPainter& painter, const QRectF& area, double rowHeight, const RunAnalysis& analysis,
                            const ChannelData& ch0, const ChannelData& ch1, const ChartWords& words);
    // A channel's row of the noise table: name, samples, RMS and peak-to-peak
    // noise [µV], effective and noise-free resolution [bit], mean [µV], mean
    // [code].
    static QStringList TableCells(const ChannelAnalysis& channel);
    // A spur: channel, frequency [Hz], amplitude [µV peak], mains name or "".
    static QStringList SpurCells(const ChannelAnalysis& channel, const Spur& spur);
};
