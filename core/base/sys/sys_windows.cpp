#ifdef _WIN32
#include <windows.h>
// After windows.h, which bcrypt.h needs for its base types.
#include <bcrypt.h>

#include <cstring>
#include <string>

#include "core/base/sys/sys.h"

namespace tw::sys {

std::optional<std::filesystem::path> temp_dir() {
    // GetTempPath2W is missing on older Windows 10 builds (and in Wine 8): look it up.
    using GetTempPath2Fn = DWORD(WINAPI*)(DWORD, LPWSTR);
    static const auto get_temp_path2 = reinterpret_cast<GetTempPath2Fn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTempPath2W")));
    wchar_t buf[MAX_PATH + 2] = {};
    DWORD n = get_temp_path2 ? get_temp_path2(MAX_PATH + 1, buf) : GetTempPathW(MAX_PATH + 1, buf);
    if (n == 0 || n > MAX_PATH + 1) return std::nullopt;
    return std::filesystem::path(std::wstring(buf, n));
}

std::optional<std::filesystem::path> env_path(const char* name) {
    std::wstring wname(name, name + std::strlen(name));
    DWORD n = GetEnvironmentVariableW(wname.c_str(), nullptr, 0);
    if (n == 0) return std::nullopt;
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(wname.c_str(), value.data(), n);
    if (n == 0 || n >= value.size()) return std::nullopt;
    value.resize(n);
    return std::filesystem::path(value);
}

bool move_replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::optional<std::vector<uint8_t>> random_bytes(size_t count) {
    if (count > 0xFFFFFFFFu) return std::nullopt;
    std::vector<uint8_t> bytes(count);
    if (count == 0) return bytes;  // BCryptGenRandom refuses an empty buffer
    NTSTATUS status = BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(count),
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    if (!BCRYPT_SUCCESS(status)) return std::nullopt;
    return bytes;
}

namespace {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

}  // namespace

std::optional<std::string> format_short_date(uint64_t file_time, std::string_view locale_name) {
    FILETIME ft{static_cast<DWORD>(file_time & 0xFFFFFFFFu), static_cast<DWORD>(file_time >> 32)};
    SYSTEMTIME st{};
    if (!FileTimeToSystemTime(&ft, &st)) return std::nullopt;
    const std::wstring locale = widen(locale_name);
    if (!locale_name.empty() && locale.empty()) return std::nullopt;
    constexpr int kCapacity = 80;
    wchar_t buf[kCapacity] = {};
    int n = GetDateFormatEx(locale.empty() ? nullptr : locale.c_str(), DATE_SHORTDATE, &st, nullptr,
                            buf, kCapacity, nullptr);
    // The count includes the terminating null.
    if (n <= 0 || n > kCapacity) return std::nullopt;
    return narrow(std::wstring_view(buf, static_cast<size_t>(n - 1)));
}

FileBytes read_whole_file(const std::filesystem::path& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        return {std::nullopt, err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND};
    }
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (LONGLONG{1} << 31))
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    char chunk[65536];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(h, chunk, sizeof chunk, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    CloseHandle(h);
    if (!ok) return {};
    return {std::move(bytes), false};
}

bool write_file_flushed(const std::filesystem::path& path, std::string_view bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    while (ok && !bytes.empty()) {
        DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        ok = WriteFile(h, bytes.data(), chunk, &written, nullptr) && written > 0;
        bytes.remove_prefix(written);
    }
    ok = ok && FlushFileBuffers(h);
    return CloseHandle(h) && ok;
}

AppendFile::~AppendFile() { close(); }

bool AppendFile::open(const std::filesystem::path& path) {
    close();
    // FILE_READ_ATTRIBUTES: GetFileSizeEx needs it for the rotation check.
    HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = h;
    return true;
}

std::optional<uint64_t> AppendFile::size() const {
    LARGE_INTEGER li{};
    if (!handle_ || !GetFileSizeEx(static_cast<HANDLE>(handle_), &li)) return std::nullopt;
    return static_cast<uint64_t>(li.QuadPart);
}

bool AppendFile::write(std::string_view bytes) {
    if (!handle_) return false;
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(static_cast<HANDLE>(handle_), bytes.data(), chunk, &written, nullptr) ||
            written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

void AppendFile::close() {
    if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

bool AppendFile::is_open() const { return handle_ != nullptr; }

}  // namespace tw::sys
#endif
