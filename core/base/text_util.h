#pragma once
// Small text helpers shared across the core.
#include <string>
#include <string_view>

namespace tw {

// Removes ASCII white space (space, tab, CR, LF, FF, VT) at both ends.
std::string trim(std::string_view s);
std::string_view trim_view(std::string_view s);

}  // namespace tw
