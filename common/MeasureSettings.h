#pragma once

#include <cstdint>

// The settings of one measurement. The window owns one record; a data file
// stores it and fills a separate one when read.
struct MeasureSettings {
    std::int32_t spsSel = 0;       // data-rate index 0..16 ("5sps" .. "125ksps")
    std::int32_t DataCountSel = 0; // sample-count index 0..9 ("100" .. "100000")
    std::int32_t CHSel = 0;        // 0 = CH0, 1 = CH1, 2 = CH0 + CH1
    std::int32_t GainSel = 0;      // always 0
    std::int32_t GainDivisor = 1;  // divisor of the microvolt conversion, always 1
    std::uint8_t fSinc5 = 0;       // 0 = Sinc3, 1 = Sinc5+Sinc1
    std::uint8_t fBUF_ON = 0;      // input-buffer flag, 0 unless a loaded file set it
};

// Channel modes, the values of CHSel.
enum ChannelMode : std::int32_t {
    ModeCh0 = 0,
    ModeCh1 = 1,
    ModeDual = 2,
};
