#pragma once

#include "Graph_2ch.h"
#include "MeasuredLabel.h"
#include "PlainPaintBox.h"

#include <QRect>
#include <QStringList>

#include <array>

class LabelMetrics;
class RunData;

// The window's graph over one run, with the window's paint-box place and
// size and plain labels in place of the window's label controls.
class GraphView {
public:
    // Where the window puts its paint box in its client area.
    static const QRect PaintBoxGeometry;

    // Without metrics the labels measure 0 × 0: enough for the conversion
    // and the extremes, not for drawing.
    GraphView(RunData& run, const LabelMetrics* metrics);
    GraphView(const GraphView&) = delete;
    GraphView& operator=(const GraphView&) = delete;

    TGraph_2CH& Graph() { return graph_; }
    const PlainPaintBox& Box() const { return box_; }

    // The picture the window shows after loading the run: the empty plot of
    // its first idle pass, then the whole run drawn. The caller has
    // converted the run (RunData::ConvertAll).
    void DrawAsLoaded(bool volt);

    // The eleven Y labels, top first, then the left and the right X label.
    std::array<const MeasuredLabel*, TGraph_2CH::YLabelCount + TGraph_2CH::XLabelCount> Labels() const;
    QStringList Captions() const;

private:
    PlainPaintBox box_;
    std::array<MeasuredLabel, TGraph_2CH::YLabelCount> yLabels_;
    std::array<MeasuredLabel, TGraph_2CH::XLabelCount> xLabels_;
    std::array<AxisLabel*, TGraph_2CH::YLabelCount> yLabelPointers_;
    std::array<AxisLabel*, TGraph_2CH::XLabelCount> xLabelPointers_;
    TGraph_2CH graph_;
};
