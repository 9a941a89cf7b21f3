#pragma once
// The update manifest: five JSON string members read by a small scanner rather than a
// general JSON parser.
#include <optional>
#include <string>
#include <string_view>

#include "core/net/outcome.h"
#include "core/net/update_info.h"

namespace tw {

// The first occurrence of the key in double quotes anywhere in `body`, then the first
// colon after it; after optional white space a JSON string must follow. The string is
// decoded with the JSON escapes (\" \/ \\ \b \f \n \r \t and \uXXXX, where a high
// surrogate must be followed by a \u low surrogate); a lone surrogate, any other
// escape or a missing closing quote makes the field invalid.
std::optional<std::string> manifest_field(std::string_view body, std::string_view key);

// "version", "changelog", "download_url", "sha256" and "signature", all required;
// otherwise the error "malformed update manifest".
Outcome<UpdateInfo> parse_update_manifest(std::string_view body);

}  // namespace tw
