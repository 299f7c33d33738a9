#include "SweepTable.h"

#include "FormatReal.h"
#include "MeasureItems.h"

#include <QStringList>

#include <array>

namespace {

// Negative widths align left, positive ones right.
constexpr std::array<int, 8> Widths = {-12, -15, 7, 8, 15, 15, 15, 17};

QString Microvolts(double value)
{
    return FormatReal(value, "0.000", QLatin1Char('.'));
}

QString Bits(const std::optional<double>& bits)
{
    return bits ? FormatReal(*bits, "0.00", QLatin1Char('.')) : QStringLiteral("inf");
}

} // namespace

SweepTable::SweepTable(bool csv)
    : csv_(csv)
{
}

QString SweepTable::Header() const
{
    if (csv_) {
        return QStringLiteral("filter,rate,samples,channel,rms_noise_uV,pp_noise_uV,effective_resolution_bits,"
                              "noise_free_resolution_bits");
    }
    return Line({QStringLiteral("filter"), QStringLiteral("rate"), QStringLiteral("samples"),
                 QStringLiteral("channel"), QStringLiteral("RMS noise [uV]"), QStringLiteral("p-p noise [uV]"),
                 QStringLiteral("effective [bit]"), QStringLiteral("noise-free [bit]")});
}

QString SweepTable::Row(const SweepPlan::Point& point, const ChannelReport& channel) const
{
    return Line({MeasureItems::FilterItem(point.fSinc5), MeasureItems::RateItem(point.spsSel),
                 QString::number(channel.Count), QStringLiteral("CH%1").arg(channel.Channel),
                 Microvolts(channel.Noise.RmsMicrovolts), Microvolts(channel.Noise.PeakToPeakMicrovolts),
                 Bits(channel.Noise.EffectiveBits), Bits(channel.Noise.NoiseFreeBits)});
}

QString SweepTable::Line(const QStringList& cells) const
{
    if (csv_)
        return cells.join(QLatin1Char(','));
    QStringList padded;
    for (qsizetype i = 0; i < cells.size(); ++i)
        padded << QStringLiteral("%1").arg(cells[i], Widths[static_cast<std::size_t>(i)]);
    return padded.join(QLatin1Char(' ')).trimmed();
}
