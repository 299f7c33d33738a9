#include "SampleTable.h"

#include "MeasureItems.h"
#include "PlainNumber.h"

namespace {

constexpr int TimeDecimals = 6;
// A row is at most about sixty characters.
constexpr std::size_t RowReserve = 64;

std::int32_t RowCount(const ChannelData& ch0, const ChannelData& ch1)
{
    return ch0.Count > 0 ? ch0.Count : ch1.Count;
}

} // namespace

SampleTable::SampleTable(char separator)
    : separator_(separator)
{
}

std::string SampleTable::Text(const MeasureSettings& settings, const ChannelData& ch0, const ChannelData& ch1) const
{
    const std::int32_t rows = RowCount(ch0, ch1);
    const double rate = MeasureItems::SampleRate(settings);
    std::string text = Header(ch0, ch1);
    text.reserve(text.size() + RowReserve * static_cast<std::size_t>(rows));
    AppendRows(text, ch0, ch1, 0, rate);
    return text;
}

void SampleTable::AppendRows(std::string& text, const ChannelData& ch0, const ChannelData& ch1,
                             std::int64_t firstIndex, double rate) const
{
    const std::int32_t rows = RowCount(ch0, ch1);
    for (std::int32_t i = 0; i < rows; ++i)
        AppendRow(text, ch0, ch1, i, firstIndex + i, static_cast<double>(firstIndex + i) / rate);
}

std::string SampleTable::Header(const ChannelData& ch0, const ChannelData& ch1) const
{
    std::string header = "index";
    header += separator_;
    header += "time_s";
    if (ch0.Count > 0)
        header += separator_ + std::string("ch0_code") + separator_ + "ch0_uV";
    if (ch1.Count > 0)
        header += separator_ + std::string("ch1_code") + separator_ + "ch1_uV";
    return header + '\n';
}

void SampleTable::AppendRow(std::string& text, const ChannelData& ch0, const ChannelData& ch1, std::int32_t row,
                            std::int64_t index, double seconds) const
{
    PlainNumber::AppendInteger(text, index);
    text += separator_;
    PlainNumber::AppendFixed(text, seconds, TimeDecimals);
    for (const ChannelData* channel : {&ch0, &ch1}) {
        if (channel->Count == 0)
            continue;
        text += separator_;
        PlainNumber::AppendInteger(text, channel->Codes[row]);
        text += separator_;
        PlainNumber::AppendFloat(text, channel->Microvolts[row]);
    }
    text += '\n';
}
