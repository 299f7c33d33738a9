#pragma once

#include <cstdint>

// The converter's code scale: offset binary, 8388608 (2^23) is zero volts,
// one code of the positive half-scale is 2.5 V / 8388607. The graph, the
// run's data and the log all convert through here, so that every microvolt
// value the program shows, writes or analyses is the same number.
namespace CodeScale {

constexpr std::int32_t MidScale = 8388608;
constexpr std::int32_t FullScale = 16777215;
constexpr float ReferenceMicrovolts = 2500000.0f;
constexpr std::int32_t CodeSteps = 8388607;  // codes of the positive half-scale

// Worked in extended precision; the caller stores it as it needs (the
// sample arrays hold floats).
long double CodeToMicrovolts(std::int32_t code, std::int32_t gainDivisor);

} // namespace CodeScale
