#include "RunData.h"

#include "CodeScale.h"

#include <array>
#include <cstddef>

namespace {

// A run's codes mostly lie within a few hundred of each other (noise about
// a level), so each is converted once and kept in a small table at its low
// bits; a slot starts with a code that cannot land in it.
void ConvertChannel(ChannelData& channel, std::int32_t gainDivisor)
{
    struct Converted {
        std::int32_t Code;
        float Microvolts;
    };
    constexpr std::int32_t Slots = 1024;
    std::array<Converted, Slots> known;
    for (std::int32_t slot = 0; slot < Slots; ++slot)
        known[static_cast<std::size_t>(slot)] = {slot + 1, 0.0f};
    for (std::int32_t i = 0; i < channel.Count; ++i) {
        const std::int32_t code = channel.Codes[i];
        Converted& entry = known[static_cast<std::size_t>(code & (Slots - 1))];
        if (entry.Code != code)
            entry = {code, static_cast<float>(CodeScale::CodeToMicrovolts(code, gainDivisor))};
        channel.Microvolts[i] = entry.Microvolts;
    }
}

} // namespace

RunData::RunData()
    : Ch0Data{0, Ch0Codes, Ch0Microvolts}
    , Ch1Data{0, Ch1Codes, Ch1Microvolts}
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
