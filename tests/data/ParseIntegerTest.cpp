#include "ParseInteger.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>

namespace {

struct Accepted {
    std::string_view text;
    std::int32_t value;
};

TEST(ParseInteger, ConvertsDecimalAndHexadecimalForms)
{
    const Accepted cases[] = {
        {"0", 0},
        {"8388608", 8388608},
        {"16777215", 16777215},
        {"-5", -5},
        {"+17", 17},
        {"007", 7},
        {"   42", 42},
        {"\t-3", -3},
        {"2147483647", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"$10", 16},
        {"xff", 255},
        {"XFF", 255},
        {"0x7fffffff", std::numeric_limits<std::int32_t>::max()},
        {"0xAbC", 0xABC},
        {"  $0", 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = -999;
        EXPECT_TRUE(ParseInteger(c.text, value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(ParseInteger, RefusesEverythingElseAndKeepsTheValue)
{
    const std::string_view refused[] = {
        "",         " ",          "-",           "+",        "abc",        "12a",       "12 ",
        "1.5",      "1,5",        "--1",         "+-1",      "-+1",        "2147483648", "-2147483649",
        "99999999999", "$",       "0x",          "x",        "$g",         "-$10",      "+0x10",
        "0X10",     "$80000000",  "0xFFFFFFFF",  "$-1",      "$ 1",        "1e3",       "\n5",
    };
    for (const auto text : refused) {
        std::int32_t value = 1234;
        EXPECT_FALSE(ParseInteger(text, value)) << '"' << text << '"';
        EXPECT_EQ(value, 1234) << '"' << text << '"';
    }
}

TEST(ParseInteger, ReadsOnlyTheGivenView)
{
    const char buffer[] = "12345";
    std::int32_t value = 0;
    ASSERT_TRUE(ParseInteger(std::string_view(buffer, 2), value));
    EXPECT_EQ(value, 12);
}

} // namespace
