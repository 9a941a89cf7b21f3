#include "core/base/exe_path.h"

#include "core/base/text_util.h"

namespace tw {

std::string normalise_exe_path(std::string_view path) {
    std::string p = trim(path);
    if (p.rfind("\\\\?\\", 0) == 0) p.erase(0, 4);
    for (char& c : p) {
        if (c == '/') c = '\\';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    while (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
}

bool same_exe_path(std::string_view a, std::string_view b) {
    return normalise_exe_path(a) == normalise_exe_path(b);
}

std::string autostart_command(std::string_view exe_path) {
    std::string out = "\"";
    out.append(exe_path);
    out += "\" --tray";
    return out;
}

std::string autostart_command_exe(std::string_view command) {
    const std::string text = trim(command);
    if (!text.empty() && text.front() == '"') {
        const size_t end = text.find('"', 1);
        return end == std::string::npos ? std::string() : text.substr(1, end - 1);
    }
    // Unquoted: Windows tries each blank in turn; the one after ".exe" is what a user
    // or another program writes.
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    size_t at = 0;
    while ((at = lower.find(".exe", at)) != std::string::npos) {
        at += 4;
        if (at == lower.size() || lower[at] == ' ' || lower[at] == '\t') return text.substr(0, at);
    }
    return text.substr(0, text.find_first_of(" \t"));
}

}  // namespace tw
