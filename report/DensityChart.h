#pragma once

#include "NoiseDensity.h"
#include "Spur.h"

#include <QColor>
#include <QRectF>
#include <QStringList>

#include <vector>

class QPainter;
struct ChartWords;

// The noise spectral density of each channel on logarithmic axes (µV/√Hz
// against Hz, DC left out), each listed spur ringed in its channel's colour,
// and mains hum marked by a dashed line named "50 Hz", "2×50 Hz" and so on.
// Channels without a spectrum are named with the reason in the plot.
class DensityChart {
public:
    struct Trace {
        const NoiseDensity* Spectrum;
        const std::vector<Spur>* Spurs;
        QColor Colour;
    };

    static void Paint(QPainter& painter, const QRectF& area, const std::vector<Trace>& traces,
                      const QStringList& notes, const ChartWords& words);

    // "2×50 Hz", or "50 Hz" for the mains frequency itself.
    static QString MainsName(const Spur& spur);
};
