#include "core/engine/window_apps.h"

#include <algorithm>

#include "core/model/excluded_apps.h"

namespace tw {

const std::string& WindowApps::exe_path(WindowId w) {
    if (auto it = paths_.find(w); it != paths_.end()) return it->second;
    if (paths_.size() >= kCacheLimit)
        std::erase_if(paths_, [this](const auto& entry) { return !desktop_.is_window(entry.first); });
    // A path that could not be read is not kept: the next question asks again.
    std::string path = desktop_.process_path(w);
    if (path.empty()) {
        static const std::string kNone;
        return kNone;
    }
    return paths_[w] = std::move(path);
}

bool WindowApps::is_excluded(WindowId w) {
    if (excluded_.empty() || w == 0) return false;
    return is_excluded_app(excluded_, exe_path(w));
}

std::vector<std::string> running_applications(Desktop& desktop) {
    std::vector<std::string> out;
    const uint32_t own = desktop.current_process_id();
    for (WindowId w : desktop.top_level_windows()) {
        if (!desktop.is_visible(w) || desktop.process_id(w) == own) continue;
        const std::string name(exe_file_name(desktop.process_path(w)));
        if (name.empty()) continue;
        const std::string key = ascii_lower(name);
        if (std::none_of(out.begin(), out.end(), [&](const std::string& n) { return ascii_lower(n) == key; }))
            out.push_back(name);
    }
    std::sort(out.begin(), out.end(),
              [](const std::string& a, const std::string& b) { return ascii_lower(a) < ascii_lower(b); });
    return out;
}

}  // namespace tw
