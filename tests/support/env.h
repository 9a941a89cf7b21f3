#pragma once
// Setting environment variables from tests, portably. On Windows the value goes
// through the wide API so that non-ASCII folder names survive the trip.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace tw::test {

#ifdef _WIN32
using EnvString = std::wstring;
inline std::wstring env_name(const char* name) { return std::wstring(name, name + std::char_traits<char>::length(name)); }
inline std::optional<EnvString> get_env(const char* name) {
    const wchar_t* v = _wgetenv(env_name(name).c_str());
    if (!v) return std::nullopt;
    return EnvString(v);
}
inline void set_env(const char* name, const EnvString& value) { _wputenv_s(env_name(name).c_str(), value.c_str()); }
// An empty value removes the variable on Windows.
inline void unset_env(const char* name) { _wputenv_s(env_name(name).c_str(), L""); }
#else
using EnvString = std::string;
inline std::optional<EnvString> get_env(const char* name) {
    const char* v = std::getenv(name);
    if (!v) return std::nullopt;
    return EnvString(v);
}
inline void set_env(const char* name, const EnvString& value) { setenv(name, value.c_str(), 1); }
inline void unset_env(const char* name) { unsetenv(name); }
#endif

// Sets or removes a variable for the lifetime of the object and restores the previous
// state afterwards.
class ScopedEnv {
public:
    explicit ScopedEnv(const char* name) : name_(name), saved_(get_env(name)) {}
    // Sets `value`, or removes the variable when there is none.
    ScopedEnv(const char* name, const std::optional<std::filesystem::path>& value) : ScopedEnv(name) {
        if (value)
            set(*value);
        else
            unset();
    }
    ~ScopedEnv() {
        if (saved_)
            set_env(name_, *saved_);
        else
            unset_env(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void set(const std::filesystem::path& value) { set_env(name_, value.native()); }
    void unset() { unset_env(name_); }

private:
    const char* name_;
    std::optional<EnvString> saved_;
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
