#pragma once

#include "BoardConfig.h"

#include <cstdint>
#include <string>
#include <vector>

// A board whose channels carry the counter pattern, with a fixed seed.
BoardConfig CounterBoard();

// The 3-byte codes of a stream, most significant byte first.
std::vector<std::int32_t> DecodeCodes(const std::string& bytes);

// Where the counter sequence breaks: the first index whose code is not one
// more (modulo 2^24) than the one before, or -1 when it never breaks.
long FirstBreak(const std::vector<std::int32_t>& codes);
