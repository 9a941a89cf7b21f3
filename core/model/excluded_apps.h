#pragma once
// The applications the placement engine leaves alone, named by the user as an
// executable's file name ("vlc.exe") or its full path. Windows paths ignore case, and
// so does every comparison here.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

// ASCII letters lowered; other bytes (UTF-8 sequences included) as they are.
std::string ascii_lower(std::string_view s);

// The part after the last backslash or slash.
std::string_view exe_file_name(std::string_view path);

// Whether the executable at `exe_path` is on the list: an entry holding a backslash,
// slash or colon names a full path (slashes count as backslashes), any other entry a
// file name. An unknown path (empty) matches nothing.
bool is_excluded_app(const std::vector<std::string>& list, std::string_view exe_path);

// What a typed or chosen entry becomes: trimmed, control characters and surrounding
// double quotes removed; none when nothing is left.
std::optional<std::string> clean_excluded_entry(std::string_view text);

// Adds a cleaned entry unless the list already has it (ignoring case). Returns whether
// the list changed.
bool add_excluded_app(std::vector<std::string>& list, std::string_view text);
// Removes entry `index`. Returns whether the list changed.
bool remove_excluded_app(std::vector<std::string>& list, size_t index);

}  // namespace tw
