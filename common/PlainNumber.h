#pragma once

#include <cstdint>
#include <string>

// Numbers appended to text for other programs to read: a full stop as the
// decimal point whatever the locale, no grouping, no exponent.
class PlainNumber {
public:
    static void AppendInteger(std::string& text, std::int64_t value);
    // Rounded to the given number of decimals.
    static void AppendFixed(std::string& text, double value, int decimals);
    // The fewest decimals that read back as the same float.
    static void AppendFloat(std::string& text, float value);
};
