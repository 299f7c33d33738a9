#include "RunEvaluator.h"

#include "ChannelStats.h"
#include "GraphView.h"
#include "RunData.h"
#include "StatusTexts.h"
#include "Mystatus.h"

namespace {

// The graph's per-channel accessors, in the order the window calls them.
struct Extremes {
    std::int32_t MinCode;
    std::int32_t MaxCode;
    float MaxMicrovolts;
    float MinMicrovolts;
};

Extremes ExtremesOf(TGraph_2CH& graph, int channel)
{
    Extremes e{};
    if (channel == 0) {
        e.MinCode = graph.GetMinCodeCh0();
        e.MaxCode = graph.GetMaxCodeCh0();
        e.MaxMicrovolts = graph.GetMaxMicrovoltsCh0();
        e.MinMicrovolts = graph.GetMinMicrovoltsCh0();
    } else {
        e.MinCode = graph.GetMinCodeCh1();
        e.MaxCode = graph.GetMaxCodeCh1();
        e.MaxMicrovolts = graph.GetMaxMicrovoltsCh1();
        e.MinMicrovolts = graph.GetMinMicrovoltsCh1();
    }
    return e;
}

ChannelReport Report(TGraph_2CH& graph, const ChannelData& data, int channel)
{
    ChannelStats stats;
    ComputeCodeStats(data, stats);
    ComputeMicrovoltStats(data, stats);
    const Extremes e = ExtremesOf(graph, channel);

    ChannelReport r;
    r.Channel = channel;
    r.Count = data.Count;
    r.MaxCode = e.MaxCode;
    r.MinCode = e.MinCode;
    r.PeakToPeakCode = static_cast<std::int64_t>(e.MaxCode) - e.MinCode;
    r.DevCode = stats.DevCode;
    r.MaxMicrovolts = e.MaxMicrovolts;
    r.MinMicrovolts = e.MinMicrovolts;
    r.PeakToPeakMicrovolts = static_cast<double>(e.MaxMicrovolts) - e.MinMicrovolts;
    r.DevMicrovolts = stats.DevMicrovolts;
    r.MeanCode = stats.MeanCode;
    r.MeanMicrovolts = stats.MeanMicrovolts;
    r.Noise = NoiseFigures::From(stats.DevMicrovolts, r.PeakToPeakMicrovolts);

    StatusTexts panels;
    TmyStatus status(panels, QStringLiteral("KORVADEX Board"), 2);
    status.ShowStatDigit(r.MaxCode, r.MinCode, channel, r.DevCode);
    r.DigitText = panels.Text(2);
    status.ShowStatVolt(channel, r.DevMicrovolts, r.MinMicrovolts, r.MaxMicrovolts);
    r.VoltText = panels.Text(2);
    return r;
}

} // namespace

std::vector<ChannelReport> RunEvaluator::Evaluate(RunData& run, GraphView& view)
{
    view.ConvertAll();
    std::vector<ChannelReport> reports;
    if (run.Ch0Data.Count > 0)
        reports.push_back(Report(view.Graph(), run.Ch0Data, 0));
    if (run.Ch1Data.Count > 0)
        reports.push_back(Report(view.Graph(), run.Ch1Data, 1));
    return reports;
}
