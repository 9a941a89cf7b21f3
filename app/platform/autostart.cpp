#include "app/platform/autostart.h"

#include <windows.h>

#include <filesystem>

#include "app/platform/wide_text.h"
#include "core/base/exe_path.h"

namespace tw::app {

namespace {
// From appmodel.h, which mingw-w64 does not ship.
constexpr LONG kAppModelErrorNoPackage = 15700;
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Tilewright";
constexpr wchar_t kFormerRunValue[] = L"Fenceline";
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    L"{3C5F1B72-9E04-4A6D-B8E1-5D27C0A94F13}_is1";
constexpr wchar_t kUninstallKeyWow[] =
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    L"{3C5F1B72-9E04-4A6D-B8E1-5D27C0A94F13}_is1";

bool run_value_exists(const wchar_t* name) {
    DWORD size = 0;
    return RegGetValueW(HKEY_CURRENT_USER, kRunKey, name, RRF_RT_REG_SZ, nullptr, nullptr,
                        &size) == ERROR_SUCCESS;
}

std::optional<std::wstring> read_string(HKEY root, const wchar_t* key, const wchar_t* value) {
    DWORD size = 0;
    if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS ||
        size < sizeof(wchar_t))
        return std::nullopt;
    std::wstring out(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, out.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    out.resize(wcsnlen(out.c_str(), out.size()));
    return out;
}
}  // namespace

bool is_packaged() {
    // GetCurrentPackageFullName is missing before Windows 8 and in some Wine builds:
    // looked up at run time.
    static const bool packaged = [] {
        using Fn = LONG(WINAPI*)(UINT32*, PWSTR);
        auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetCurrentPackageFullName")));
        if (!fn) return false;
        UINT32 len = 0;
        return fn(&len, nullptr) != kAppModelErrorNoPackage;
    }();
    return packaged;
}

std::string current_exe_path() {
    wchar_t buf[300] = {};
    DWORD n = GetModuleFileNameW(nullptr, buf, 300);
    return wide_to_utf8(std::wstring_view(buf, n));
}

void set_autostart(bool enable) {
    if (is_packaged()) return;
    if (enable) {
        std::wstring data = utf8_to_wide(autostart_command(current_exe_path()));
        RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, REG_SZ, data.c_str(),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
    }
}

void remove_own_autostart() {
    if (is_packaged()) return;
    const auto command = read_string(HKEY_CURRENT_USER, kRunKey, kRunValue);
    if (command && same_exe_path(autostart_command_exe(wide_to_utf8(*command)), current_exe_path()))
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
}

bool autostart_enabled() { return !is_packaged() && run_value_exists(kRunValue); }

std::optional<std::string> installed_exe_path() {
    const std::pair<HKEY, const wchar_t*> records[] = {
        {HKEY_CURRENT_USER, kUninstallKey},
        {HKEY_LOCAL_MACHINE, kUninstallKey},
        {HKEY_LOCAL_MACHINE, kUninstallKeyWow},
    };
    for (auto [root, key] : records) {
        auto location = read_string(root, key, L"InstallLocation");
        if (!location) continue;
        std::filesystem::path exe = std::filesystem::path(*location) / L"Tilewright.exe";
        std::error_code ec;
        if (std::filesystem::is_regular_file(exe, ec)) return wide_to_utf8(exe.wstring());
    }
    return std::nullopt;
}

void migrate_former_autostart() {
    if (autostart_enabled() || !run_value_exists(kFormerRunValue)) return;
    set_autostart(true);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kFormerRunValue);
}

void refresh_autostart() {
    const std::string self = current_exe_path();
    if (!autostart_enabled()) return;
    auto installed = installed_exe_path();
    if (!installed || same_exe_path(*installed, self)) set_autostart(true);
}

}  // namespace tw::app
