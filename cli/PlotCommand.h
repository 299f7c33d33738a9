#pragma once

#include <QStringList>

// korvadex-cli plot FILE.DTA [-o FILE.png] [--volt] [--labels]: the graph
// the window shows after loading the file, in codes or (--volt) in µV/mV/V,
// written as PNG; --labels prints the thirteen axis captions, the eleven Y
// labels top first, then the left and the right X label. A LOG is drawn
// whole, a trace of column extremes per channel in µV (from its summaries
// when it has them). Needs a QGuiApplication.
class PlotCommand {
public:
    static int Run(const QStringList& words);
};
