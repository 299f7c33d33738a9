#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

#include "ChannelData.h"

class ColumnExtremes;
class QPainter;
struct ChartWords;

// One channel's samples in microvolts against time from the nominal rate.
// Long runs are drawn as each column's extent (ColumnExtremes), so a page of
// 100000 samples, or of a log of billions, stays small and shows every spike.
class TraceChart {
public:
    static void Paint(QPainter& painter, const QRectF& area, const QString& title, const ChannelData& data,
                      double sampleRate, const QColor& colour, const ChartWords& words);
    // A log's whole trace from its column extremes, each pixel column the
    // extent of the columns that fall on it.
    static void Paint(QPainter& painter, const QRectF& area, const QString& title, const ColumnExtremes& trace,
                      double sampleRate, const QColor& colour, const ChartWords& words);
};
