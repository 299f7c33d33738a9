#pragma once

#include <QImage>
#include <QSize>

class GraphView;
class LabelMetrics;

// The graph part of the window as a picture: the window's client area left
// of the setting controls and above the status bar, its background, the
// graph's bitmap where the paint box shows it and the thirteen axis-label
// captions at the places the graph gave them. Needs a QGuiApplication.
class PlotImage {
public:
    static constexpr QSize Area{616, 433};

    static QImage Compose(const GraphView& view, const LabelMetrics& metrics);
};
