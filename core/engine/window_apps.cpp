#include "core/engine/window_apps.h"

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

}  // namespace tw
