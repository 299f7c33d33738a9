#pragma once

#include "FigureHistory.h"

#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;

// A page of the results report on A4 (595 × 842 units): a heading (what the
// results were chosen by, and the page number), then per figure a row of its
// control chart beside its histogram, with n, mean, σ and the limits.
class ResultsPage {
public:
    static constexpr QSizeF Size{595.0, 842.0};
    static constexpr int FiguresAPage = 3;

    // The painter's coordinates are the page's units. `first` is the index
    // of the page's first figure in `histories`.
    static void Paint(QPainter& painter, const QString& heading, const std::vector<FigureHistory>& histories,
                      std::size_t first, int page, int pages);
};
