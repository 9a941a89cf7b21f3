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

}  // namespace tw
