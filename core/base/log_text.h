#pragma once
// Text that arrived from elsewhere (a server's answer, a file) made safe for one log
// line: whoever wrote it cannot break the line or forge the lines after it.
#include <cstddef>
#include <string>
#include <string_view>

namespace tw {

inline constexpr size_t kLogTextLimit = 160;

// Ill-formed UTF-8 becomes U+FFFD; line breaks and other control characters (below
// 0x20, 0x7F, and the C1 controls U+0080 to U+009F) become "\xNN"; the result is cut
// after `limit` bytes at a character boundary and then ends in "…".
std::string log_text(std::string_view text, size_t limit = kLogTextLimit);

}  // namespace tw
