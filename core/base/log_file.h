#pragma once
// The pieces of log() that tests drive directly: the line format, the file location
// and appending with rotation.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

// A log of more than this many bytes (5 MiB or more) is rotated before the next line.
inline constexpr uint64_t kLogRotateAbove = 5242879;

// "[" + seconds right-aligned in 6 + "." + 3-digit milliseconds + "s] " + message + "\n".
std::string format_log_line(uint64_t elapsed_ms, std::string_view message);
// <temporary folder>\tilewright.log
std::optional<std::filesystem::path> log_file_path();
// Opens, rotates to "<name>.log.1" when too large, appends, closes.
void append_log_line(const std::filesystem::path& path, std::string_view line);

}  // namespace tw
