#include "FormMainProbe.h"

#include "KORVADEX_Main.h"

#include <algorithm>

FormMainProbe::FormMainProbe(TFormMain& window)
    : window_(window)
{
}

void FormMainProbe::EndRunWith(std::int32_t mode, const std::vector<std::int32_t>& ch0,
                               const std::vector<std::int32_t>& ch1)
{
    window_.Settings.CHSel = mode;
    std::copy(ch0.begin(), ch0.end(), window_.Ch0Codes);
    std::copy(ch1.begin(), ch1.end(), window_.Ch1Codes);
    window_.HoldSamples(static_cast<std::int32_t>(mode == ModeCh1 ? ch1.size() : ch0.size()));
    window_.DrawHeldData();
    window_.ShowSelectedChannelStats();
}

const ChannelStats& FormMainProbe::Stats(int channel) const
{
    return channel == 0 ? window_.Ch0Stats : window_.Ch1Stats;
}

bool FormMainProbe::IdleScheduled() const
{
    return window_.IdleTimer.isActive();
}

int FormMainProbe::IdleInterval() const
{
    return window_.IdleTimer.interval();
}

void FormMainProbe::IdlePass()
{
    window_.AppIdle();
}

bool FormMainProbe::Running() const
{
    return window_.Running != 0;
}

bool FormMainProbe::BoardReady() const
{
    return window_.BoardReady != 0;
}

std::int32_t FormMainProbe::SamplesTaken() const
{
    return window_.SamplesTaken;
}

std::int32_t FormMainProbe::ChunkSize() const
{
    return window_.ChunkSize;
}

const std::int32_t* FormMainProbe::Codes(int channel) const
{
    return channel == 0 ? window_.Ch0Codes : window_.Ch1Codes;
}
