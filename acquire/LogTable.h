#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class RunData;
struct MeasureSettings;

// The rows of a long-term log: the header "time,run,sample,ch0_code,ch0_uV"
// (then "ch1_code,ch1_uV", or only CH1's pair, by the channel mode), and
// per sample (pair) the wall-clock time at which the read that brought it
// returned (UTC, ISO 8601 with milliseconds), the run number from 1, the
// sample's index in its run from 0, and per channel the code and the
// window's microvolt value.
class LogTable {
public:
    explicit LogTable(const MeasureSettings& settings);

    std::string Header() const;
    // Samples [from, to) of the run's code arrays.
    void AppendRows(std::string& text, const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                    std::chrono::system_clock::time_point arrived) const;

    // "2026-12-08T21:40:12.345Z"
    static std::string WallClock(std::chrono::system_clock::time_point time);

private:
    // A channel's fields of a code lately written (",code,microvolts"): a
    // log of noise repeats a few hundred codes, and writing a float exactly
    // costs more than the rest of its row.
    struct ChannelText {
        std::int32_t Code = 0;
        std::uint8_t Length = 0;  // none kept yet
        char Text[1 + 11 + 1 + 47] = {};  // room for any code, and any float written out in full
    };
    static constexpr std::size_t ChannelTexts = 1024;
    // A row after its time and run: the sample number and two channels.
    static constexpr std::size_t RowRoom = 16 + 2 * sizeof(ChannelText::Text) + 1;

    // Copies the whole of the kept text, a copy of known length, and moves
    // on by its length: `out` has room for all of it.
    char* WriteChannel(char* out, std::int32_t code) const;
    const ChannelText& Channel(std::int32_t code) const;

    bool ch0_;
    bool ch1_;
    std::int32_t gainDivisor_;
    mutable std::vector<ChannelText> channels_ = std::vector<ChannelText>(ChannelTexts);
};
