#include "MeasureItems.h"

#include "MeasureLists.h"

#include <QStringList>

#include <array>

namespace {

constexpr std::array<double, MeasureItems::RateCount> NominalRates = {
    5, 10, 20, 49.96, 59.92, 100, 200, 500, 1000, 2500, 5000, 10000, 25000, 31250, 50000, 62500, 125000,
};

bool InRange(int index, int count)
{
    return index >= 0 && index < count;
}

// A plain decimal index below count, nothing else ("+1" or " 1" are not indexes).
std::optional<int> ParseIndex(const QString& text, int count)
{
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int index = text.toInt();
    if (!InRange(index, count))
        return std::nullopt;
    return index;
}

} // namespace

QString MeasureItems::RateItem(int spsSel)
{
    return InRange(spsSel, RateCount) ? QString::fromLatin1(RateItems[spsSel]) : QString();
}

QString MeasureItems::CountItem(int dataCountSel)
{
    return InRange(dataCountSel, CountCount) ? QString::number(CountValue(dataCountSel)) : QString();
}

QString MeasureItems::ChannelItem(int chSel)
{
    return InRange(chSel, ChannelCount) ? QString::fromLatin1(ChannelItems[chSel])
                                        : QString();
}

QString MeasureItems::FilterItem(std::uint8_t fSinc5)
{
    return fSinc5 ? QStringLiteral("Sinc5+Sinc1") : QStringLiteral("Sinc3");
}

std::int32_t MeasureItems::ReadChunk(int spsSel)
{
    return InRange(spsSel, RateCount) ? ReadChunkTable[spsSel] : 1;
}

std::int32_t MeasureItems::CountValue(int dataCountSel)
{
    return InRange(dataCountSel, CountCount) ? QString::fromLatin1(CountItems[dataCountSel]).toInt() : 0;
}

double MeasureItems::NominalRate(int spsSel)
{
    return InRange(spsSel, RateCount) ? NominalRates[static_cast<std::size_t>(spsSel)] : 0.0;
}

double MeasureItems::SampleRate(const MeasureSettings& settings)
{
    return NominalRate(settings.spsSel) / (settings.CHSel == ModeDual ? 2 : 1);
}

std::optional<int> MeasureItems::ParseRate(const QString& text)
{
    for (int i = 0; i < RateCount; ++i) {
        const QString item = RateItem(i);
        if (text == item || item.split(QLatin1Char('/')).contains(text))
            return i;
    }
    return ParseIndex(text, RateCount);
}

std::optional<int> MeasureItems::ParseCount(const QString& text)
{
    for (int i = 0; i < CountCount; ++i) {
        if (text == CountItem(i))
            return i;
    }
    return ParseIndex(text, CountCount);
}

std::optional<int> MeasureItems::ParseChannel(const QString& text)
{
    return ParseIndex(text, ChannelCount);
}

std::optional<std::uint8_t> MeasureItems::ParseFilter(const QString& text)
{
    const QString word = text.toLower();
    if (word == QLatin1String("sinc3"))
        return std::uint8_t{0};
    if (word == QLatin1String("sinc5") || word == QLatin1String("sinc5+sinc1"))
        return std::uint8_t{1};
    return std::nullopt;
}

QString MeasureItems::Describe(const MeasureSettings& settings)
{
    return RateItem(settings.spsSel) + QStringLiteral(", ") + CountItem(settings.DataCountSel) + QStringLiteral(", ")
           + ChannelItem(settings.CHSel) + QStringLiteral(", ") + FilterItem(settings.fSinc5);
}
