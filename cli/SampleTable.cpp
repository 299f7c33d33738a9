#include "SampleTable.h"

#include "MeasureItems.h"
#include "PlainNumber.h"
#include "RunData.h"

namespace {

constexpr int TimeDecimals = 6;
// A row is at most about sixty characters.
constexpr std::size_t RowReserve = 64;

std::int32_t RowCount(const RunData& run)
{
    return run.Ch0Data.Count > 0 ? run.Ch0Data.Count : run.Ch1Data.Count;
}

} // namespace

SampleTable::SampleTable(char separator)
    : separator_(separator)
{
}

std::string SampleTable::Text(const RunData& run) const
{
    const std::int32_t rows = RowCount(run);
    const double rate = MeasureItems::SampleRate(run.Settings);
    std::string text = Header(run);
    text.reserve(text.size() + RowReserve * static_cast<std::size_t>(rows));
    for (std::int32_t i = 0; i < rows; ++i)
        AppendRow(text, run, i, i / rate);
    return text;
}

std::string SampleTable::Header(const RunData& run) const
{
    std::string header = "index";
    header += separator_;
    header += "time_s";
    if (run.Ch0Data.Count > 0)
        header += separator_ + std::string("ch0_code") + separator_ + "ch0_uV";
    if (run.Ch1Data.Count > 0)
        header += separator_ + std::string("ch1_code") + separator_ + "ch1_uV";
    return header + '\n';
}

void SampleTable::AppendRow(std::string& text, const RunData& run, std::int32_t index, double seconds) const
{
    PlainNumber::AppendInteger(text, index);
    text += separator_;
    PlainNumber::AppendFixed(text, seconds, TimeDecimals);
    for (const ChannelData* channel : {&run.Ch0Data, &run.Ch1Data}) {
        if (channel->Count == 0)
            continue;
        text += separator_;
        PlainNumber::AppendInteger(text, channel->Codes[index]);
        text += separator_;
        PlainNumber::AppendFloat(text, channel->Microvolts[index]);
    }
    text += '\n';
}
