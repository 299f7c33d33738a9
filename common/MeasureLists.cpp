#include "MeasureLists.h"

const char* const RateItems[RateItemCount] = {
    "5sps",    "10sps",  "20sps",  "49.96sps/50sps", "59.92sps/60sps", "100sps", "200sps",   "500sps",  "1ksps",
    "2.5ksps", "5ksps",  "10ksps", "25ksps",         "31.25ksps",      "50ksps", "62.5ksps", "125ksps",
};

const char* const CountItems[CountItemCount] = {
    "100", "200", "500", "1000", "2000", "5000", "10000", "20000", "50000", "100000",
};

const char* const ChannelItems[ChannelItemCount] = {"CH0 (Ain0-Ain1)", "CH1 (Ain2-Ain3)", "CH0 + CH1"};

const std::int32_t ReadChunkTable[RateItemCount] = {1, 1, 1, 1, 1, 2, 2, 5, 10, 20, 50, 100, 250, 250, 500, 500, 1000};

bool SettingsInLists(const MeasureSettings& settings)
{
    return settings.spsSel >= 0 && settings.spsSel < RateItemCount && settings.DataCountSel >= 0
           && settings.DataCountSel < CountItemCount && settings.CHSel >= 0 && settings.CHSel < ChannelItemCount;
}

bool IsShowableRun(const MeasureSettings& settings, const ChannelData& ch0, const ChannelData& ch1)
{
    return SettingsInLists(settings) && (settings.CHSel == ModeCh1 ? ch1.Count : ch0.Count) > 0;
}
