#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class CodeHistogram;
class QPainter;
struct ChartWords;

// A channel's code histogram as bars, with the Gaussian of the samples'
// mean and σ drawn over them in black.
class HistogramChart {
public:
    static void Paint(QPainter& painter, const QRectF& area, const QString& title, const CodeHistogram& histogram,
                      const QColor& colour, const ChartWords& words);
};
