#pragma once
// Which application a window belongs to, and whether the user asked the engine to
// leave that application alone. The executable's path is asked once per window: it
// never changes while the window exists.
#include <map>
#include <string>
#include <vector>

#include "core/engine/desktop.h"

namespace tw {

class WindowApps {
public:
    // Above this many remembered windows, those that are gone are forgotten.
    static constexpr size_t kCacheLimit = 256;

    explicit WindowApps(Desktop& desktop) : desktop_(desktop) {}

    void set_excluded(std::vector<std::string> list) { excluded_ = std::move(list); }
    const std::vector<std::string>& excluded() const { return excluded_; }

    // The window's executable path; empty when it cannot be read.
    const std::string& exe_path(WindowId w);
    // On the excluded list. Asks nothing while the list is empty.
    bool is_excluded(WindowId w);

private:
    Desktop& desktop_;
    std::vector<std::string> excluded_;
    std::map<WindowId, std::string> paths_;
};

// The executables' file names of the visible top-level windows of other processes,
// each once (ignoring case), sorted without regard to case: what the user can pick to
// exclude.
std::vector<std::string> running_applications(Desktop& desktop);

}  // namespace tw
