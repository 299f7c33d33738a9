#include "ReportAnalysis.h"

#include "MeasureItems.h"
#include "RunData.h"
#include "RunEvaluator.h"
#include "SpurFinder.h"
#include "WelchDensity.h"

namespace {

ChannelAnalysis Analyse(const ChannelReport& figures, const ChannelData& data, double sampleRate)
{
    ChannelAnalysis channel;
    channel.Figures = figures;
    channel.Histogram = CodeHistogram::Of(data.Codes, data.Count);
    channel.Spectrum = WelchDensity::Estimate(data.Microvolts, data.Count, sampleRate);
    if (channel.Spectrum)
        channel.Spurs = SpurFinder::Find(*channel.Spectrum, ReportAnalysis::MostSpurs);
    else
        channel.NoSpectrum = QStringLiteral("%1 samples: a spectrum needs at least %2")
                                 .arg(data.Count)
                                 .arg(WelchDensity::MinimumSamples);
    return channel;
}

} // namespace

RunAnalysis ReportAnalysis::Of(const QString& name, RunData& run, GraphView& view)
{
    RunAnalysis analysis;
    analysis.Name = name;
    analysis.Settings = run.Settings;
    analysis.SampleRate = MeasureItems::SampleRate(run.Settings);
    for (const ChannelReport& figures : RunEvaluator::Evaluate(run, view)) {
        const ChannelData& data = figures.Channel == 0 ? run.Ch0Data : run.Ch1Data;
        analysis.Channels.push_back(Analyse(figures, data, analysis.SampleRate));
    }
    return analysis;
}
