#include "JsonReport.h"

#include "MeasureItems.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <optional>

namespace {

// The difference of two floats, held exactly in a double, is written at
// float precision like the values it comes from.
double PeakToPeak(double microvolts)
{
    return JsonReport::ShortestFloat(static_cast<float>(microvolts));
}

QJsonValue OptionalNumber(const std::optional<double>& value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonObject SettingsObject(const MeasureSettings& s)
{
    return QJsonObject{
        {"spsSel", s.spsSel},
        {"rate", MeasureItems::RateItem(s.spsSel)},
        {"DataCountSel", s.DataCountSel},
        {"count", MeasureItems::CountItem(s.DataCountSel)},
        {"CHSel", s.CHSel},
        {"channel", MeasureItems::ChannelItem(s.CHSel)},
        {"GainSel", s.GainSel},
        {"fSinc5", s.fSinc5},
        {"filter", MeasureItems::FilterItem(s.fSinc5)},
        {"fBUF_ON", s.fBUF_ON},
    };
}

QJsonObject ChannelObject(const ChannelReport& r)
{
    const QJsonObject codes{
        {"max", r.MaxCode},
        {"min", r.MinCode},
        {"pp", static_cast<qint64>(r.PeakToPeakCode)},
        {"deviation", JsonReport::ShortestFloat(r.DevCode)},
    };
    const QJsonObject microvolts{
        {"max", JsonReport::ShortestFloat(r.MaxMicrovolts)},
        {"min", JsonReport::ShortestFloat(r.MinMicrovolts)},
        {"pp", PeakToPeak(r.PeakToPeakMicrovolts)},
        {"deviation", JsonReport::ShortestFloat(r.DevMicrovolts)},
    };
    return QJsonObject{
        {"channel", r.Channel},
        {"count", static_cast<qint64>(r.Count)},
        {"codes", codes},
        {"microvolts", microvolts},
        {"rms_noise_uV", JsonReport::ShortestFloat(r.DevMicrovolts)},
        {"pp_noise_uV", PeakToPeak(r.Noise.PeakToPeakMicrovolts)},
        {"effective_resolution_bits", OptionalNumber(r.Noise.EffectiveBits)},
        {"noise_free_resolution_bits", OptionalNumber(r.Noise.NoiseFreeBits)},
    };
}

} // namespace

double JsonReport::ShortestFloat(float value)
{
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    double shortest = value;
    std::from_chars(digits, written.ptr, shortest);
    return shortest;
}

QByteArray JsonReport::Line(const QString& name, const QString& board, const MeasureSettings& settings,
                            const std::vector<ChannelReport>& channels)
{
    return QJsonDocument(Object(name, board, settings, channels)).toJson(QJsonDocument::Compact);
}

QJsonObject JsonReport::Object(const QString& name, const QString& board, const MeasureSettings& settings,
                               const std::vector<ChannelReport>& channels)
{
    QJsonArray list;
    for (const ChannelReport& channel : channels)
        list.append(ChannelObject(channel));
    QJsonObject run{{"file", name}, {"settings", SettingsObject(settings)}, {"channels", list}};
    if (!board.isEmpty())
        run.insert(QStringLiteral("board"), board);
    return run;
}
