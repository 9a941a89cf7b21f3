#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "core/ui/text_metrics.h"

namespace tw {
namespace {

TEST(Utf8, DecodesValidTextAndReplacesEachBrokenSequence) {
    constexpr char32_t R = kReplacementChar;
    struct Case { std::string in; std::u32string out; };
    const Case cases[] = {
        {"", U""},
        {"Abc", U"Abc"},
        {"\xC3\xA9t\xC3\xA9", U"\u00E9t\u00E9"},
        {"\xE2\x82\xAC", U"\u20AC"},
        {"\xF0\x9F\x98\x80!", U"\U0001F600!"},
        {"\xFF", {R}},
        {"a\x80" "b", {U'a', R, U'b'}},
        {"\xC3", {R}},                              // truncated at the end
        {"\xC3" "A", {R, U'A'}},                     // the next character survives
        {"\xE2\x82" "A", {R, U'A'}},                 // one replacement for the maximal subpart
        {"\xC0\xAF", {R, R}},                        // overlong '/'
        {"\xE0\x80\x80", {R, R, R}},                 // overlong NUL
        {"\xED\xA0\x80", {R, R, R}},                 // encoded surrogate
        {"\xF4\x90\x80\x80", {R, R, R, R}},          // above U+10FFFF
        {"\xF8\x88\x80\x80\x80", {R, R, R, R, R}},   // five-byte form
        {std::string("a\0b", 3), {U'a', 0, U'b'}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decode_utf8(c.in), c.out) << testing::PrintToString(c.in);
        EXPECT_EQ(count_scalars(c.in), c.out.size());
    }
}

TEST(Utf8, EncodesScalarsAndReplacesNonScalars) {
    struct Case { std::u32string in; std::string out; };
    const Case cases[] = {
        {U"A\u00E9\u20AC\U0001F600", "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {{0xD800}, "\xEF\xBF\xBD"},
        {{0x110000}, "\xEF\xBF\xBD"},
        {{0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF},
         "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encode_utf8(c.in), c.out);
        if (c.in.size() > 1) {
            EXPECT_EQ(decode_utf8(c.out), c.in);
        }
    }
}

TEST(TextMetrics, EstimateIsScalarsTimesSevenAndAHalfRoundedUp) {
    struct Case { std::string text; int32_t width; };
    const Case cases[] = {
        {"", 0}, {"a", 8}, {"ab", 15}, {"Edit", 30}, {"\xC3\xA4", 8},
        {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80", 15}, {"\xFF\xFF", 15},
    };
    for (const Case& c : cases) EXPECT_EQ(estimate_text_width(c.text), c.width) << c.text;
}

TEST(TextMetrics, EstimateSaturates) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case { uint64_t count; int32_t width; };
    const Case cases[] = {
        {286331153, kMax},  // 2147483647.5 rounds up past the range
        {286331152, 2147483640},
        {uint64_t{1} << 40, kMax},
        {std::numeric_limits<uint64_t>::max(), kMax},
    };
    for (const Case& c : cases) EXPECT_EQ(estimate_width_of_scalars(c.count), c.width) << c.count;
}

}  // namespace
}  // namespace tw
