#pragma once
// The "key=value" text of the program's small state files (install.id, usage.dat).
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/text_util.h"

namespace tw {


using KeyValues = std::map<std::string, std::string, std::less<>>;

// A leading byte-order mark is removed; each line is trimmed and split at its first
// "="; key and value are trimmed. Lines without "=" are ignored; a repeated key takes
// the later value. Safe on any bytes.
KeyValues parse_key_values(std::string_view text);

// The value of `key`, if present.
std::optional<std::string_view> find_value(const KeyValues& values, std::string_view key);

// A plain unsigned decimal number (digits only, at least one, no overflow).
std::optional<uint64_t> parse_u64(std::string_view text);

}  // namespace tw
