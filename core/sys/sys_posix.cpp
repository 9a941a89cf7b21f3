#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "core/sys/sys.h"

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
