#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "core/base/civil_date.h"
#include "core/base/sys/sys.h"

namespace tw::sys {

std::optional<std::filesystem::path> temp_dir() {
    std::error_code ec;
    auto p = std::filesystem::temp_directory_path(ec);
    if (ec) return std::nullopt;
    return p;
}

std::optional<std::filesystem::path> env_path(const char* name) {
    const char* v = std::getenv(name);
    if (!v) return std::nullopt;
    return std::filesystem::path(v);
}

bool move_replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

std::optional<std::vector<uint8_t>> random_bytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    size_t got = 0;
    while (got < count) {
        ssize_t n = ::read(fd, bytes.data() + got, count - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (got != count) return std::nullopt;
    return bytes;
}

std::optional<std::string> format_short_date(uint64_t file_time, std::string_view /*locale_name*/) {
    // The same range as FileTimeToSystemTime, so callers see the same failures.
    if (file_time >= (uint64_t{1} << 63)) return std::nullopt;
    constexpr int64_t kTicksPerSecond = 10'000'000;
    constexpr int64_t kFileTimeToUnix = 11'644'473'600;
    const int64_t seconds = static_cast<int64_t>(file_time / kTicksPerSecond) - kFileTimeToUnix;
    int64_t days = seconds / 86400;
    if (seconds % 86400 < 0) --days;
    const auto [year, month, day] = civil_from_days(days);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day));
    return std::string(text);
}

FileBytes read_whole_file(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {std::nullopt, errno == ENOENT || errno == ENOTDIR};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return {};
    }
    std::string bytes;
    if (st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            ::close(fd);
            return {};
        }
        if (n == 0) break;
        bytes.append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);
    return {std::move(bytes), false};
}

bool write_file_flushed(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    while (ok && !bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        ok = n > 0;
        if (ok) bytes.remove_prefix(static_cast<size_t>(n));
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

AppendFile::~AppendFile() { close(); }

bool AppendFile::open(const std::filesystem::path& path) {
    close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    return fd_ >= 0;
}

std::optional<uint64_t> AppendFile::size() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

bool AppendFile::write(std::string_view bytes) {
    if (fd_ < 0) return false;
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

void AppendFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool AppendFile::is_open() const { return fd_ >= 0; }

}  // namespace tw::sys
#endif
