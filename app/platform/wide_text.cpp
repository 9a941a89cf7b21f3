#include "app/platform/wide_text.h"

#include <windows.h>

#include <climits>
#include <cstdio>

namespace tw::app {

std::wstring utf8_to_wide(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > static_cast<size_t>(INT_MAX)) return {};
    const int in_len = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in_len, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in_len, out.data(), n);
    return out;
}

std::string wide_to_utf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > static_cast<size_t>(INT_MAX)) return {};
    const int in_len = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), in_len, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), in_len, out.data(), n, nullptr, nullptr);
    return out;
}

std::string hr_text(int32_t hr) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "hr=0x%lX", static_cast<unsigned long>(static_cast<uint32_t>(hr)));
    return buf;
}

}  // namespace tw::app
