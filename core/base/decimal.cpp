#include "core/base/decimal.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tw {
namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

// `v` with `digits` significant digits, correctly rounded, as "d.ddde[+-]x".
int format_e(char (&buf)[40], double v, int digits) {
    return std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v);
}

}  // namespace

void append_shortest_fixed(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += '0';
        return;
    }
    if (v == 0) {
        out += std::signbit(v) ? "-0" : "0";
        return;
    }
    // Any decimal of at most 15 significant digits survives the trip through a double
    // and back to 15 digits, so when the 15-digit text reads back to v, it is the
    // shortest text padded with zeros (removed below). Otherwise the correctly rounded
    // text of 16 digits, or else 17, is the shortest. Subnormal numbers hold fewer
    // digits: for them every length is tried from one up.
    char buf[40];
    int digits_wanted = std::fabs(v) < DBL_MIN ? 1 : 15;
    for (; digits_wanted < 17; ++digits_wanted) {
        format_e(buf, v, digits_wanted);
        if (std::strtod(buf, nullptr) == v) break;
    }
    if (digits_wanted == 17) format_e(buf, v, 17);
    // buf: [-]d[.ddd]e[+-]x. Collect the digits and the decimal exponent.
    const char* p = buf;
    if (*p == '-') {
        out += '-';
        ++p;
    }
    std::string digits;
    for (; *p != 'e'; ++p)
        if (digit(*p)) digits += *p;
    const long exponent = std::strtol(p + 1, nullptr, 10);  // value = d.ddd * 10^exponent
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const long point = exponent + 1;  // digits before the decimal point
    if (point <= 0) {
        out += "0.";
        out.append(static_cast<size_t>(-point), '0');
        out += digits;
    } else if (static_cast<size_t>(point) >= digits.size()) {
        // A whole number: its exact digits (the same as the shortest ones below 2^53).
        char whole[400];
        const int length = std::snprintf(whole, sizeof whole, "%.0f", std::fabs(v));
        out.append(whole, static_cast<size_t>(length));
    } else {
        out.append(digits, 0, static_cast<size_t>(point));
        out += '.';
        out.append(digits, static_cast<size_t>(point));
    }
}

std::optional<double> parse_finite_decimal(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && text[i] == '-') ++i;
    size_t mantissa_digits = 0;
    while (i < n && digit(text[i])) ++i, ++mantissa_digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && digit(text[i])) ++i, ++mantissa_digits;
    }
    if (mantissa_digits == 0) return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        size_t exponent_digits = 0;
        while (i < n && digit(text[i])) ++i, ++exponent_digits;
        if (exponent_digits == 0) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    // strtod reads the same grammar (and more), but needs a terminated string.
    const std::string copy(text);
    errno = 0;
    const double v = std::strtod(copy.c_str(), nullptr);
    // Too large, or so small that nothing but zero is left of it.
    if (!std::isfinite(v) || (errno == ERANGE && v == 0)) return std::nullopt;
    return v;
}

}  // namespace tw
