#include "core/engine/usage_tally.h"

namespace tw {

size_t UsageTally::consume(const std::vector<ConfinerEvent>& events, Desktop& desktop,
                           const std::function<void()>& count_use) {
    size_t uses = 0;
    for (const ConfinerEvent& e : events) {
        if (e.kind == ConfinerEventKind::NotInZone) {
            counted_.erase(e.window);
            continue;
        }
        if (counted_.count(e.window)) {
            if (desktop.is_window(e.window)) continue;
            // The handle was reused by a new window: that one counts afresh.
            counted_.erase(e.window);
        }
        if (counted_.size() > kPruneAbove) {
            for (auto it = counted_.begin(); it != counted_.end();)
                it = desktop.is_window(*it) ? std::next(it) : counted_.erase(it);
        }
        counted_.insert(e.window);
        ++uses;
        if (count_use) count_use();
    }
    return uses;
}

}  // namespace tw
