#pragma once
// Decimal text of doubles for the settings file, in the program's own small code:
// the standard library's floating-point <charconv> adds about 200 KB to the .exe.
#include <optional>
#include <string>
#include <string_view>

namespace tw {

// The shortest decimal text that reads back to the same double, in fixed notation
// (never an exponent): "0.5", "-0.25", "0.3333333333333333"; whole numbers with all their digits ("100000000000000000000").
// Infinite and nan values give "0".
void append_shortest_fixed(std::string& out, double v);

// A finite double from the whole of `text`: optional "-", digits with an optional
// decimal point (at least one digit), optional exponent ("e" or "E", optional sign,
// digits). None for anything else (a plus sign, white space, hexadecimal, "inf",
// "nan"), for values too large for a double and for non-zero values too small for one.
std::optional<double> parse_finite_decimal(std::string_view text);

}  // namespace tw
