#pragma once
// Housekeeping of the downloaded-language folder (%APPDATA%\Tilewright\lang).
#include <filesystem>
#include <string_view>

namespace tw {

// True for a file name whose extension (the text after its last dot, when the name is
// not ".." and the dot is not its first character) is exactly "version".
bool is_version_marker_name(std::string_view file_name);

// Deletes the version markers left by older releases; a missing folder is no error.
// Returns how many entries were removed.
size_t remove_version_markers(const std::filesystem::path& lang_folder);

}  // namespace tw
