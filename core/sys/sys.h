#pragma once
// The few operating-system file services the portable core needs, where the C++
// standard library does not say what Windows does: the temporary folder, replacing
// moves, and appending to a file that other processes may read, write or delete.
// Implemented in sys_windows.cpp (the only core file that sees <windows.h>) and
// sys_posix.cpp.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace tw::sys {

// GetTempPath2W when the system has it, else GetTempPathW; the standard temporary
// directory elsewhere.
std::optional<std::filesystem::path> temp_dir();

// The environment variable as a path (read as UTF-16 on Windows); none when unset.
std::optional<std::filesystem::path> env_path(const char* name);

// Moves `from` onto `to`, replacing an existing `to` (MoveFileExW with
// MOVEFILE_REPLACE_EXISTING only).
bool move_replace(const std::filesystem::path& from, const std::filesystem::path& to);

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
