#include "MeasureItems.h"

#include <QStringList>

#include <array>

namespace {

const std::array<const char*, MeasureItems::RateCount> RateItems = {
    "5sps",    "10sps",  "20sps",  "49.96sps/50sps", "59.92sps/60sps", "100sps", "200sps",   "500sps",  "1ksps",
    "2.5ksps", "5ksps",  "10ksps", "25ksps",         "31.25ksps",      "50ksps", "62.5ksps", "125ksps",
};

// The window reads this many samples a poll, so that slow runs show every
// sample as it comes and fast ones are not read in crumbs.
constexpr std::array<std::int32_t, MeasureItems::RateCount> ReadChunkTable = {
    1, 1, 1, 1, 1, 2, 2, 5, 10, 20, 50, 100, 250, 250, 500, 500, 1000,
};

constexpr std::array<double, MeasureItems::RateCount> NominalRates = {
    5, 10, 20, 49.96, 59.92, 100, 200, 500, 1000, 2500, 5000, 10000, 25000, 31250, 50000, 62500, 125000,
};

constexpr std::array<std::int32_t, MeasureItems::CountCount> CountValues = {
    100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000,
};

const std::array<const char*, MeasureItems::ChannelCount> ChannelItems = {
    "CH0 (Ain0-Ain1)",
    "CH1 (Ain2-Ain3)",
    "CH0 + CH1",
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
    return InRange(spsSel, RateCount) ? QString::fromLatin1(RateItems[static_cast<std::size_t>(spsSel)]) : QString();
}

QString MeasureItems::CountItem(int dataCountSel)
{
    return InRange(dataCountSel, CountCount) ? QString::number(CountValue(dataCountSel)) : QString();
}

QString MeasureItems::ChannelItem(int chSel)
{
    return InRange(chSel, ChannelCount) ? QString::fromLatin1(ChannelItems[static_cast<std::size_t>(chSel)])
                                        : QString();
}

QString MeasureItems::FilterItem(std::uint8_t fSinc5)
{
    return fSinc5 ? QStringLiteral("Sinc5+Sinc1") : QStringLiteral("Sinc3");
}

std::int32_t MeasureItems::ReadChunk(int spsSel)
{
    return InRange(spsSel, RateCount) ? ReadChunkTable[static_cast<std::size_t>(spsSel)] : 1;
}

std::int32_t MeasureItems::CountValue(int dataCountSel)
{
    return InRange(dataCountSel, CountCount) ? CountValues[static_cast<std::size_t>(dataCountSel)] : 0;
}

double MeasureItems::NominalRate(int spsSel)
{
    return InRange(spsSel, RateCount) ? NominalRates[static_cast<std::size_t>(spsSel)] : 0.0;
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

bool MeasureItems::InLists(const MeasureSettings& settings)
{
    return InRange(settings.spsSel, RateCount) && InRange(settings.DataCountSel, CountCount)
           && InRange(settings.CHSel, ChannelCount);
}

QString MeasureItems::Describe(const MeasureSettings& settings)
{
    return RateItem(settings.spsSel) + QStringLiteral(", ") + CountItem(settings.DataCountSel) + QStringLiteral(", ")
           + ChannelItem(settings.CHSel) + QStringLiteral(", ") + FilterItem(settings.fSinc5);
}
