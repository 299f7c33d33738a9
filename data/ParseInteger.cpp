#include "ParseInteger.h"

#include <charconv>
#include <cstdint>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c, int base)
{
    if (c >= '0' && c <= '9')
        return true;
    return base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// Length of the hexadecimal prefix at the start of text, 0 when there is none.
std::size_t HexPrefixLength(std::string_view text)
{
    if (text.substr(0, 2) == "0x")
        return 2;
    if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X'))
        return 1;
    return 0;
}

// digits must be nothing but digits of base, and at least one of them.
bool ParseDigits(std::string_view digits, int base, bool negative, std::int32_t& value)
{
    if (digits.empty() || !IsDigit(digits.front(), base))
        return false;
    // Parsed as a magnitude so that -2147483648 fits and a second sign cannot
    // slip through from_chars.
    std::uint32_t magnitude = 0;
    if (base == 10 && digits.size() <= 9) {
        // Nine decimal digits cannot overflow: a converter code, the common
        // case by far, is read without from_chars's checks.
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return false;
            magnitude = magnitude * 10 + static_cast<std::uint32_t>(c - '0');
        }
    } else {
        const char* end = digits.data() + digits.size();
        const auto [stop, error] = std::from_chars(digits.data(), end, magnitude, base);
        if (error != std::errc() || stop != end)
            return false;
    }
    const std::uint32_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    if (magnitude > limit)
        return false;
    const std::int64_t wide = negative ? -static_cast<std::int64_t>(magnitude) : magnitude;
    value = static_cast<std::int32_t>(wide);
    return true;
}

} // namespace

bool ParseInteger(std::string_view text, std::int32_t& value)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);

    if (const std::size_t prefix = HexPrefixLength(text))
        return ParseDigits(text.substr(prefix), 16, false, value);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return ParseDigits(text, 10, negative, value);
}
