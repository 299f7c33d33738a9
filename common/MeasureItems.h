#pragma once

#include "MeasureLists.h"
#include "MeasureSettings.h"

#include <QString>

#include <cstdint>
#include <optional>

// The window's three lists and two filter buttons as words: the items an
// operator picks from, the chunk of samples read per poll at each rate, and
// the rate each item nominally stands for. The command line names a setting
// by the item the list shows or by its index.
class MeasureItems {
public:
    static constexpr int RateCount = RateItemCount;
    static constexpr int CountCount = CountItemCount;
    static constexpr int ChannelCount = ChannelItemCount;

    static QString RateItem(int spsSel);
    static QString CountItem(int dataCountSel);
    static QString ChannelItem(int chSel);
    static QString FilterItem(std::uint8_t fSinc5);

    // Samples (pairs) per read, by spsSel: 1 at the lowest rates, 1000 at "125ksps".
    static std::int32_t ReadChunk(int spsSel);
    // The number the count item stands for ("1000" gives 1000).
    static std::int32_t CountValue(int dataCountSel);
    // Samples a second the rate item names; the lower figure of "49.96sps/50sps".
    static double NominalRate(int spsSel);
    // Samples (pairs) a second a run of these settings nominally delivers:
    // the rate, halved for CH0 + CH1, whose pair is two conversions (the
    // converter's settling after each channel switch is not counted).
    static double SampleRate(const MeasureSettings& settings);

    // "100sps" or its index "5"; either half of "49.96sps/50sps" names it too.
    static std::optional<int> ParseRate(const QString& text);
    // "1000" or its index "3".
    static std::optional<int> ParseCount(const QString& text);
    // "0", "1" or "2".
    static std::optional<int> ParseChannel(const QString& text);
    // "sinc3" or "sinc5" (also "Sinc5+Sinc1"), any case; gives fSinc5.
    static std::optional<std::uint8_t> ParseFilter(const QString& text);

    // "100sps, 1000, CH0 (Ain0-Ain1), Sinc3"; settings must be within the lists (SettingsInLists).
    static QString Describe(const MeasureSettings& settings);
};
