#pragma once

#include "ChannelData.h"
#include "MeasureSettings.h"

#include <cstdint>

// The items of the window's three lists as the operator reads them, indexed
// by spsSel, DataCountSel and CHSel, and the samples (pairs) read per poll at
// each data rate. The window and the command-line companion share them.
constexpr int RateItemCount = 17;
constexpr int CountItemCount = 10;
constexpr int ChannelItemCount = 3;

extern const char* const RateItems[RateItemCount];
extern const char* const CountItems[CountItemCount];
extern const char* const ChannelItems[ChannelItemCount];

// One sample a read at the slowest rates, so each shows as it comes; 1000 at
// "125ksps", so fast runs are not read in crumbs.
extern const std::int32_t ReadChunkTable[RateItemCount];

// Whether rate, count and channel each name an item of their list; settings
// that do not cannot be shown by the window.
bool SettingsInLists(const MeasureSettings& settings);

// Whether a loaded run is one the window shows: settings within the lists and
// samples in the channel CHSel names (CH0 when both were measured).
bool IsShowableRun(const MeasureSettings& settings, const ChannelData& ch0, const ChannelData& ch1);
