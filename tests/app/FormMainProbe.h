#pragma once

#include "ChannelStats.h"

#include <cstdint>
#include <vector>

class TFormMain;

// The tests' view into the window's state, and a way to hand it samples as
// if a run had just ended, without a board.
class FormMainProbe {
public:
    explicit FormMainProbe(TFormMain& window);

    // Mode 0, 1 or 2 (CHSel); ch0 is used by modes 0 and 2, ch1 by 1 and 2.
    void EndRunWith(std::int32_t mode, const std::vector<std::int32_t>& ch0, const std::vector<std::int32_t>& ch1);

    // One pass of the idle handler, as its timer would run it.
    void IdlePass();

    const ChannelStats& Stats(int channel) const;
    bool IdleScheduled() const;
    int IdleInterval() const;
    bool Running() const;
    bool BoardReady() const;
    std::int32_t SamplesTaken() const;
    std::int32_t ChunkSize() const;
    const std::int32_t* Codes(int channel) const;

private:
    TFormMain& window_;
};
