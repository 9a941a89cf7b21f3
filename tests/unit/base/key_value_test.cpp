#include <gtest/gtest.h>

#include "core/base/key_value.h"

namespace tw {
namespace {

TEST(KeyValues, LineRules) {
    struct Case {
        const char* name;
        std::string text;
        KeyValues expected;
    };
    const Case cases[] = {
        {"plain", "id=abc\nfirst_ping_sent=0\n", {{"id", "abc"}, {"first_ping_sent", "0"}}},
        {"byte-order mark", "\xEF\xBB\xBF" "count=3\n", {{"count", "3"}}},
        {"crlf and spaces", "  count = 3 \r\n\tsince =  9\t\r\n", {{"count", "3"}, {"since", "9"}}},
        {"first equals splits", "a=b=c\n", {{"a", "b=c"}}},
        {"no equals ignored", "count 3\nsince=1\n", {{"since", "1"}}},
        {"empty key kept", "=x\n", {{"", "x"}}},
        {"later wins", "count=1\ncount=2\n", {{"count", "2"}}},
        {"no final line feed", "count=5", {{"count", "5"}}},
        {"mark only at the start", "a=1\n\xEF\xBB\xBF" "b=2\n", {{"a", "1"}, {"\xEF\xBB\xBF" "b", "2"}}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_key_values(c.text), c.expected) << c.name;
}

TEST(KeyValues, UnsignedNumbers) {
    struct Case {
        const char* text;
        std::optional<uint64_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"007", 7},
        {"18446744073709551615", UINT64_MAX},
        {"18446744073709551616", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"1 2", std::nullopt},
        {"12abc", std::nullopt},
        {"abc", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_u64(c.text), c.value) << c.text;
}

TEST(KeyValues, Trim) {
    EXPECT_EQ(trim_view(" \t\r\n\v\fa b\f\v\n\r\t "), "a b");
    EXPECT_EQ(trim_view("   "), "");
    EXPECT_EQ(trim_view("\xC2\xA0x"), "\xC2\xA0x");  // no-break space is not trimmed
}

}  // namespace
}  // namespace tw
