#include "ReportJson.h"

#include "JsonReport.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonObject HistogramObject(const CodeHistogram& histogram)
{
    QJsonArray counts;
    for (const std::int64_t count : histogram.Counts)
        counts.append(static_cast<qint64>(count));
    return QJsonObject{
        {"first_code", histogram.FirstCode},
        {"bin_codes", histogram.BinCodes},
        {"counts", counts},
        {"mean_code", histogram.Mean},
        {"sigma_codes", histogram.Sigma},
    };
}

QJsonObject SpurObject(const Spur& spur)
{
    QJsonObject object{
        {"frequency_hz", spur.FrequencyHz},
        {"amplitude_uV_peak", spur.AmplitudeMicrovolts},
    };
    if (spur.MainsHz > 0) {
        object.insert(QStringLiteral("mains_hz"), spur.MainsHz);
        object.insert(QStringLiteral("harmonic"), spur.Harmonic);
    }
    return object;
}

QJsonObject SpectrumObject(const NoiseDensity& spectrum, const std::vector<Spur>& spurs)
{
    QJsonArray list;
    for (const Spur& spur : spurs)
        list.append(SpurObject(spur));
    return QJsonObject{
        {"sample_rate_hz", spectrum.SampleRate},
        {"bin_hz", spectrum.BinHz},
        {"segment_length", spectrum.SegmentLength},
        {"segments", spectrum.Segments},
        {"median_density_uV_per_rtHz", spectrum.MedianDensity()},
        {"spurs", list},
    };
}

void AddAnalysis(QJsonObject& object, const ChannelAnalysis& channel)
{
    object.insert(QStringLiteral("mean_code"), channel.Figures.MeanCode);
    object.insert(QStringLiteral("mean_uV"), JsonReport::ShortestFloat(channel.Figures.MeanMicrovolts));
    object.insert(QStringLiteral("histogram"), HistogramObject(channel.Histogram));
    if (channel.Spectrum) {
        object.insert(QStringLiteral("spectrum"), SpectrumObject(*channel.Spectrum, channel.Spurs));
    } else {
        object.insert(QStringLiteral("spectrum"), QJsonValue(QJsonValue::Null));
        object.insert(QStringLiteral("no_spectrum"), channel.NoSpectrum);
    }
}

} // namespace

QByteArray ReportJson::Line(const RunAnalysis& analysis)
{
    std::vector<ChannelReport> figures;
    for (const ChannelAnalysis& channel : analysis.Channels)
        figures.push_back(channel.Figures);
    QJsonObject run = JsonReport::Object(analysis.Name, QString(), analysis.Settings, figures);
    QJsonArray channels = run.value(QStringLiteral("channels")).toArray();
    for (qsizetype i = 0; i < channels.size(); ++i) {
        QJsonObject object = channels[i].toObject();
        AddAnalysis(object, analysis.Channels[static_cast<std::size_t>(i)]);
        channels[i] = object;
    }
    run.insert(QStringLiteral("channels"), channels);
    return QJsonDocument(run).toJson(QJsonDocument::Compact);
}
