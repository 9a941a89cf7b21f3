#pragma once
// A fresh, empty folder under the system's temporary folder for one test, removed
// with everything in it afterwards; and an environment variable set for one test.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace tw::test {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> serial{0};
        std::random_device rd;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("tw-test-" + std::to_string(rd()) + "-" + std::to_string(stamp) + "-" +
                 std::to_string(serial++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline void write_bytes(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::optional<std::string> read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Sets (or with no value, removes) an environment variable, restoring it afterwards.
class ScopedEnv {
public:
    ScopedEnv(std::string name, std::optional<std::filesystem::path> value) : name_(std::move(name)) {
#ifdef _WIN32
        const std::wstring wname(name_.begin(), name_.end());
        wchar_t buf[32768];
        DWORD n = GetEnvironmentVariableW(wname.c_str(), buf, 32768);
        if (n > 0 && n < 32768) old_ = std::wstring(buf, n);
        SetEnvironmentVariableW(wname.c_str(), value ? value->wstring().c_str() : nullptr);
#else
        if (const char* v = std::getenv(name_.c_str())) old_ = std::string(v);
        if (value)
            ::setenv(name_.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
#endif
    }
    ~ScopedEnv() {
#ifdef _WIN32
        const std::wstring wname(name_.begin(), name_.end());
        SetEnvironmentVariableW(wname.c_str(), old_ ? old_->c_str() : nullptr);
#else
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
#endif
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
#ifdef _WIN32
    std::optional<std::wstring> old_;
#else
    std::optional<std::string> old_;
#endif
};

// Points the temporary folder of this process at `folder` (TMP and TEMP on Windows,
// TMPDIR elsewhere).
class ScopedTempFolder {
public:
    explicit ScopedTempFolder(const std::filesystem::path& folder)
        : tmp_("TMP", folder), temp_("TEMP", folder), tmpdir_("TMPDIR", folder) {}

private:
    ScopedEnv tmp_, temp_, tmpdir_;
};

}  // namespace tw::test
