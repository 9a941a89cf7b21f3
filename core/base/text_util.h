#pragma once
// Small text helpers shared across the core.
#include <string>
#include <string_view>

namespace tw {

// Removes ASCII white space (space, tab, CR, LF, FF, VT) at both ends.
std::string trim(std::string_view s);
std::string_view trim_view(std::string_view s);

// The value of a hexadecimal digit of either case, or -1.
int hex_digit_value(char c);

// A language code becomes a file name ("<code>.lang") and arrives from a remote index,
// so only letters, digits, "-" and "_" are accepted, at most 64 of them, and never a
// name Windows reserves for a device (CON, PRN, AUX, NUL, COM0-9, LPT0-9, any case):
// nothing that could leave the language folder or open something else.
bool is_safe_language_code(std::string_view code);

// Percent-encoding of URL query values and mailto fields: ASCII letters, digits and
// "-", ".", "_", "~" pass unchanged; every other byte becomes "%" and two upper-case
// hexadecimal digits.
std::string percent_encode(std::string_view bytes);

}  // namespace tw
