#pragma once

#include "FigureHistory.h"

#include <QRectF>

class QPainter;

// How a figure's values spread: a histogram of about √n bars (5 to 40),
// over a span that holds the values and the limits, the limits as red
// dashed lines.
class ValueHistogram {
public:
    static void Paint(QPainter& painter, const QRectF& area, const FigureHistory& history);
};
