#pragma once

#include "FigureHistory.h"

#include <QRectF>

class QPainter;

// A figure's control chart: each value against the start of its test run
// (UTC), joined in time order, a value outside the limits in red, the
// limits as red dashed lines and the mean as a grey one.
class ControlChart {
public:
    static void Paint(QPainter& painter, const QRectF& area, const FigureHistory& history);
};
