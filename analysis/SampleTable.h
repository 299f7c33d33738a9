#pragma once

#include "ChannelData.h"
#include "MeasureSettings.h"

#include <string>

// A run's samples as a table for a spreadsheet or a script: the header row
// "index,time_s,ch0_code,ch0_uV,ch1_code,ch1_uV" (the columns of the
// channels holding data), then one row per sample (pair) with its index from
// 0, its time from the nominal rate (six decimals), and per channel the code
// and the microvolt value the window computes (the fewest digits that read
// back as the same float). The decimal point is always ".". The channels'
// microvolts are filled.
class SampleTable {
public:
    explicit SampleTable(char separator);

    std::string Text(const MeasureSettings& settings, const ChannelData& ch0, const ChannelData& ch1) const;

    // The same a block at a time, for a log too long to hold: the header of
    // the channels holding data, then the block's rows, the first numbered
    // firstIndex (its time firstIndex / rate).
    std::string Header(const ChannelData& ch0, const ChannelData& ch1) const;
    void AppendRows(std::string& text, const ChannelData& ch0, const ChannelData& ch1, std::int64_t firstIndex,
                    double rate) const;

private:
    void AppendRow(std::string& text, const ChannelData& ch0, const ChannelData& ch1, std::int32_t row,
                   std::int64_t index, double seconds) const;

    char separator_;
};
