#pragma once
// The tolerant scanner behind the settings file: values are found by the first
// occurrence of their quoted key, lists by counting brackets and braces (quoted
// strings skipped), and a value that fails its rule leaves the default.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/layout_model.h"

namespace tw {

// The layouts of a list under `key` ("CustomLayouts" or "ScreenLayouts" entries are
// read by Name and Zones); entries without Name or Zones are skipped.
std::vector<Layout> read_layout_list(std::string_view text, std::string_view key);

}  // namespace tw
