#pragma once
// Small-file helpers shared by the settings, usage, install-id and update modules.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

// Writes `bytes` to "<path>.tmp" and moves it onto `path`, replacing it. On any
// failure the temporary file is removed, the old file is untouched and false returned.
bool write_atomically(const std::filesystem::path& path, std::string_view bytes);

enum class ReadError { None, NotFound, Unreadable };
struct ReadResult {
    std::optional<std::string> bytes;
    ReadError error = ReadError::None;
};
// Reads a whole file as bytes, telling "not found" apart from other failures.
ReadResult read_file(const std::filesystem::path& path);

bool is_valid_utf8(std::string_view text);

}  // namespace tw
