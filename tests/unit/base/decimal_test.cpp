#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "core/base/decimal.h"

namespace tw {
namespace {

std::string shortest(double v) {
    std::string out;
    append_shortest_fixed(out, v);
    return out;
}

TEST(Decimal, WritesTheShortestFixedText) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.5, "0.5"},
        {-0.25, "-0.25"},
        {1.0 / 3, "0.3333333333333333"},
        {2.0 / 3, "0.6666666666666666"},
        {0.1, "0.1"},
        {12345678.5, "12345678.5"},
        {1e20, "100000000000000000000"},
        {1e-7, "0.0000001"},
        {0.0, "0"},
        {-0.0, "-0"},
        {std::numeric_limits<double>::infinity(), "0"},
        {std::numeric_limits<double>::quiet_NaN(), "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(shortest(c.value), c.text) << c.value;
}

// The text is the standard library's shortest fixed text, which the settings file has
// always held: random bit patterns, fractions, subnormal numbers and whole numbers of
// every size.
TEST(Decimal, MatchesTheStandardShortestTextAndReadsBack) {
    std::mt19937_64 random(16);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t bits = random();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        if (i % 3 == 1) v = static_cast<double>(bits % 100000) / static_cast<double>(1 + (bits >> 40) % 1000);
        if (i % 3 == 2) v = std::ldexp(static_cast<double>(bits >> 11), -53);
        if (i % 50 == 0) v = std::ldexp(static_cast<double>(bits >> 12), -1074);  // subnormal
        if (!std::isfinite(v)) continue;
        char expected[400];
        const auto r = std::to_chars(expected, expected + sizeof expected, v, std::chars_format::fixed);
        const std::string text = shortest(v);
        ASSERT_EQ(text, std::string(expected, r.ptr)) << v;
        ASSERT_EQ(parse_finite_decimal(text), v) << text;
    }
}

TEST(Decimal, ReadsOnlyFiniteDecimalText) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"1.", 1.0},      {".5", 0.5},       {"-.5", -0.5},      {"1E5", 1e5},         {"00012", 12.0},
        {"-0", -0.0},     {"2.5e-3", 0.0025}, {"4.9e-324", 4.9e-324},
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"", {}},         {".", {}},         {"-", {}},          {"1e", {}},           {"1e+", {}},
        {"--1", {}},      {"+1", {}},        {"0x1p3", {}},      {"inf", {}},          {"nan", {}},
        {" 1", {}},       {"1 ", {}},        {"1.8e308", {}},    {"1e-400", {}},       {"1,5", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_finite_decimal(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace tw
