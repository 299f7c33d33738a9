#include "ReportAnalysis.h"

#include "ChannelData.h"
#include "ChannelFigures.h"
#include "MeasureItems.h"
#include "SpurFinder.h"
#include "WelchDensity.h"

namespace {

ChannelAnalysis Analyse(const ChannelData& data, int number, double sampleRate)
{
    ChannelAnalysis channel;
    channel.Figures = ChannelFigures::Of(data, number);
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

RunAnalysis ReportAnalysis::Of(const QString& name, const MeasureSettings& settings, const ChannelData& ch0,
                               const ChannelData& ch1)
{
    RunAnalysis analysis;
    analysis.Name = name;
    analysis.Settings = settings;
    analysis.SampleRate = MeasureItems::SampleRate(settings);
    if (ch0.Count > 0)
        analysis.Channels.push_back(Analyse(ch0, 0, analysis.SampleRate));
    if (ch1.Count > 0)
        analysis.Channels.push_back(Analyse(ch1, 1, analysis.SampleRate));
    return analysis;
}
