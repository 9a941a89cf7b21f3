#pragma once
// Small text helpers shared across the core.
#include <string>
#include <string_view>

namespace tw {

// Removes ASCII white space (space, tab, CR, LF, FF, VT) at both ends.
std::string trim(std::string_view s);
std::string_view trim_view(std::string_view s);

// Percent-encoding of URL query values and mailto fields: ASCII letters, digits and
// "-", ".", "_", "~" pass unchanged; every other byte becomes "%" and two upper-case
// hexadecimal digits.
std::string percent_encode(std::string_view bytes);

}  // namespace tw
