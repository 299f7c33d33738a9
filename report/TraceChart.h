#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

#include "ChannelData.h"

class QPainter;
struct ChartWords;

// One channel's samples in microvolts against time from the nominal rate.
// Long runs are drawn as each column's extent, so a page of 100000 samples
// stays small and shows every spike.
class TraceChart {
public:
    static void Paint(QPainter& painter, const QRectF& area, const QString& title, const ChannelData& data,
                      double sampleRate, const QColor& colour, const ChartWords& words);
};
