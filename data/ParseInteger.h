#pragma once

#include <cstdint>
#include <string_view>

// Converts the whole of text to a signed 32-bit integer, the way the data file
// reads its numbers: leading blanks are skipped; then either an optional "+"
// or "-" and decimal digits, or, without a sign, hexadecimal digits after "$",
// "x", "X" or "0x". Nothing may follow the digits and the value must fit in 32
// bits. Returns false and leaves value as it was when the text does not
// convert. Independent of the locale.
bool ParseInteger(std::string_view text, std::int32_t& value);
