#include "ReportAnalysis.h"

#include "ChannelData.h"
#include "ChannelFigures.h"
#include "MeasureItems.h"
#include "SpurFinder.h"
#include "WelchDensity.h"

namespace {

ChannelAnalysis Analyse(const ChannelData& data, int number, double sampleRate)
{
    return ReportAnalysis::Complete(ChannelFigures::Of(data, number), CodeHistogram::Of(data.Codes, data.Count),
                                    WelchDensity::Estimate(data.Microvolts, data.Count, sampleRate));
}

} // namespace

ChannelAnalysis ReportAnalysis::Complete(const ChannelReport& figures, const CodeHistogram& histogram,
                                         std::optional<NoiseDensity> spectrum)
{
    ChannelAnalysis channel;
    channel.Figures = figures;
    channel.Histogram = histogram;
    channel.Spectrum = std::move(spectrum);
    if (channel.Spectrum)
        channel.Spurs = SpurFinder::Find(*channel.Spectrum, MostSpurs);
    else
        channel.NoSpectrum = QStringLiteral("%1 samples: a spectrum needs at least %2")
                                 .arg(figures.Count)
                                 .arg(WelchDensity::MinimumSamples);
    return channel;
}

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
