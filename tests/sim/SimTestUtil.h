#pragma once

#include "BoardConfig.h"

#include <cstdint>
#include <string>
#include <vector>

// A board whose channels carry the counter pattern, with a fixed seed: every
// run starts at CounterStart on CH0 and CounterStart + CounterCh1Offset on CH1.
constexpr std::int32_t CounterStart = 100;
constexpr std::int32_t CounterCh1Offset = 0x800000;
BoardConfig CounterBoard();

// Expects a whole unbroken counter run of `count` samples (frames in mode 2,
// CH0 and CH1 interleaved) from a CounterBoard.
void ExpectCounterRun(const std::vector<std::int32_t>& codes, int mode, std::size_t count);

// Faults as set, e.g. FaultsWith([](BoardFaults& f) { f.Silent = true; }).
BoardFaults FaultsWith(void (*set)(BoardFaults&));

// The 3-byte codes of a stream, most significant byte first.
std::vector<std::int32_t> DecodeCodes(const std::string& bytes);

// Where the counter sequence breaks: the first index whose code is not one
// more (modulo 2^24) than the one before, or -1 when it never breaks.
long FirstBreak(const std::vector<std::int32_t>& codes);

// One channel's codes out of CH0, CH1 pairs.
std::vector<std::int32_t> Channel(const std::vector<std::int32_t>& frames, std::size_t channel);
