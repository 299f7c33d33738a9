#include "PlainNumber.h"

#include <charconv>

namespace {

// Room for any float or double in fixed notation (a double reaches 309 digits).
constexpr std::size_t Room = 400;

template <typename Writer>
void AppendWith(std::string& text, Writer write)
{
    char digits[Room];
    const std::to_chars_result written = write(digits, digits + Room);
    text.append(digits, static_cast<std::size_t>(written.ptr - digits));
}

} // namespace

void PlainNumber::AppendInteger(std::string& text, std::int64_t value)
{
    AppendWith(text, [value](char* first, char* last) { return std::to_chars(first, last, value); });
}

void PlainNumber::AppendFixed(std::string& text, double value, int decimals)
{
    AppendWith(text, [value, decimals](char* first, char* last) {
        return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
    });
}

void PlainNumber::AppendFloat(std::string& text, float value)
{
    AppendWith(text, [value](char* first, char* last) {
        return std::to_chars(first, last, value, std::chars_format::fixed);
    });
}
