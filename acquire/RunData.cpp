#include "RunData.h"

#include "CodeScale.h"

namespace {

void ConvertChannel(ChannelData& channel, std::int32_t gainDivisor)
{
    for (std::int32_t i = 0; i < channel.Count; ++i)
        channel.Microvolts[i] = static_cast<float>(CodeScale::CodeToMicrovolts(channel.Codes[i], gainDivisor));
}

} // namespace

RunData::RunData()
    : Ch0Data{0, Ch0Codes, Ch0Microvolts}
    , Ch1Data{0, Ch1Codes, Ch1Microvolts}
    , Ch0Codes{}
    , Ch1Codes{}
    , Ch0Microvolts{}
    , Ch1Microvolts{}
{
}

void RunData::Clear()
{
    Ch0Data.Count = 0;
    Ch1Data.Count = 0;
}

void RunData::HoldSamples(std::int32_t count)
{
    Ch0Data.Count = Settings.CHSel == ModeCh1 ? 0 : count;
    Ch1Data.Count = Settings.CHSel == ModeCh0 ? 0 : count;
}

void RunData::ConvertAll()
{
    ConvertChannel(Ch0Data, Settings.GainDivisor);
    ConvertChannel(Ch1Data, Settings.GainDivisor);
}
