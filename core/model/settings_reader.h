#pragma once
// The tolerant scanner behind the settings file: values are found by the first
// member of the object with their quoted key, lists by counting brackets and braces
// (quoted strings skipped), and a value that fails its rule leaves the default.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/model/hotkeys.h"
#include "core/model/layout_model.h"

namespace tw {

struct WorkAreaSize;

// The layouts of a list under `key` ("CustomLayouts" or "ScreenLayouts" entries are
// read by Name and Zones); entries without Name or Zones are skipped.
std::vector<Layout> read_layout_list(std::string_view text, std::string_view key);

// The value text of `key`: what follows the colon after the first member of the
// outermost object (of the whole text, or of one list entry) whose key is `key`,
// leading white space removed. Keys nested deeper, inside other values, do not count;
// a quoted string that no colon follows is a value, not a key.
std::optional<std::string_view> find_value(std::string_view text, std::string_view key);

// True when the value text starts with `word` ("true", "false", "null").
bool starts_with_word(std::optional<std::string_view> value, std::string_view word);

// A quoted string at the start of the value text, unescaped (\" and \\; any other
// backslash pair is kept as it stands). None without opening or closing quote.
std::optional<std::string> read_string(std::string_view value);
std::optional<std::string> find_string(std::string_view text, std::string_view key);

// A list of quoted strings ("[\"a\", \"b\"]"), each unescaped as by read_string;
// reading stops at anything else, keeping the strings read before it.
std::vector<std::string> read_string_list(std::string_view value);

// "[a, b]": the text up to the first "]" split at commas; parts that do not parse as
// decimal integers (optional leading plus) are skipped; exactly two must remain.
std::optional<std::pair<int32_t, int32_t>> read_int_pair(std::string_view value);
std::optional<HotkeyBinding> read_binding(std::string_view value);

// A finite decimal number (optional sign, fraction and exponent); none for anything
// else, including nan, inf, hexadecimal forms and values out of range.
std::optional<double> parse_decimal(std::string_view part);

// The leading decimal digits of a count; none for null, no digits or overflow.
std::optional<uint64_t> read_count(std::string_view value);

// The text of each top-level object of a list value ("[ {..}, {..} ]").
std::vector<std::string_view> list_objects(std::string_view value);

// The zones of a Zones value: each top-level bracketed group holding exactly four
// numbers becomes a zone; other groups are skipped.
std::vector<Zone> read_zones(std::string_view value);

// A ScreenLayouts entry after reading: the layout and the Id of its screen.
struct StoredLayout {
    std::string screen;
    Layout layout;
};
std::vector<ScreenLayout> read_screens(std::string_view text);
std::vector<StoredLayout> read_screen_layouts(std::string_view text);

// The single-screen format of earlier versions as one screen record, or none when the
// text holds no legacy keys (or a custom region that cannot be converted).
std::optional<ScreenLayout> migrate_single_screen(std::string_view text, const WorkAreaSize& work);

// Top-level entries whose key is not one the program reads, as raw (key, value) text
// in file order.
bool is_known_key(std::string_view key);
std::vector<std::pair<std::string, std::string>> read_extra_entries(std::string_view text);
// The same; `complete` tells whether the scan read every entry up to the object's
// closing brace with nothing but white space after it (a cut-off or malformed file
// ends the scan early, and whatever follows is not kept).
std::vector<std::pair<std::string, std::string>> read_extra_entries(std::string_view text, bool& complete);

}  // namespace tw
