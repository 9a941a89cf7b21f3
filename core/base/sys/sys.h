#pragma once
// The few operating-system services the portable core needs, where the C++ standard
// library does not say what Windows does: the temporary folder, replacing moves,
// appending to a file that other processes may read, write or delete, a strong random
// source and the system's short date format.
// Implemented in sys_windows.cpp (the only core file that sees <windows.h>) and
// sys_posix.cpp.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string>
#include <string_view>
#include <vector>

namespace tw::sys {

// GetTempPath2W when the system has it, else GetTempPathW; the standard temporary
// directory elsewhere.
std::optional<std::filesystem::path> temp_dir();

// The environment variable as a path (read as UTF-16 on Windows); none when unset.
std::optional<std::filesystem::path> env_path(const char* name);

// Moves `from` onto `to`, replacing an existing `to` (MoveFileExW with
// MOVEFILE_REPLACE_EXISTING only).
bool move_replace(const std::filesystem::path& from, const std::filesystem::path& to);

// `count` bytes from the system's preferred cryptographic random source
// (BCryptGenRandom on Windows, /dev/urandom elsewhere); none when it fails.
std::optional<std::vector<uint8_t>> random_bytes(size_t count);

// A Windows file time (100-ns ticks since 1601-01-01 UTC) as a short calendar date in
// UTC, without conversion to local time. Windows: FileTimeToSystemTime and
// GetDateFormatEx with DATE_SHORTDATE in `locale_name` (empty: the user's default
// locale); none when either call fails or the text would not fit 80 UTF-16 units.
// Elsewhere an ISO date (YYYY-MM-DD) with the same range limit, for tests.
std::optional<std::string> format_short_date(uint64_t file_time, std::string_view locale_name);

// Reads a whole file. `not_found` tells a missing file (or folder on the way) apart
// from one that exists but cannot be read.
struct FileBytes {
    std::optional<std::string> bytes;
    bool not_found = false;
};
FileBytes read_whole_file(const std::filesystem::path& path);

// Creates or truncates `path`, writes `bytes` and flushes them to the disk before
// closing, so that a replacing move of the file afterwards cannot leave an empty file
// behind after a power loss.
bool write_file_flushed(const std::filesystem::path& path, std::string_view bytes);

// A file opened for appending, created when missing, shared for read, write and
// delete with other openers.
class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool open(const std::filesystem::path& path);
    std::optional<uint64_t> size() const;
    bool write(std::string_view bytes);
    void close();
    bool is_open() const;

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace tw::sys
