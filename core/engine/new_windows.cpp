#include "core/engine/new_windows.h"

#include <algorithm>
#include <iterator>

namespace tw {

void NewWindowWatch::reset() {
    seeded_ = false;
    known_.clear();
    pending_.clear();
}

std::vector<WindowId> NewWindowWatch::poll(Desktop& desktop, uint64_t now_ms) {
    std::vector<WindowId> shown;
    if (seeded_ && now_ms - last_poll_ < kMinGapMs && now_ms >= last_poll_) return shown;
    last_poll_ = now_ms;
    std::vector<WindowId> all = desktop.top_level_windows();
    std::vector<WindowId> sorted = all;
    std::sort(sorted.begin(), sorted.end());
    if (!seeded_) {
        known_ = std::move(sorted);
        seeded_ = true;
        return shown;
    }
    std::vector<WindowId> fresh;
    std::set_difference(sorted.begin(), sorted.end(), known_.begin(), known_.end(),
                        std::back_inserter(fresh));
    known_ = std::move(sorted);
    for (WindowId w : fresh) pending_.emplace(w, now_ms);
    if (pending_.empty()) return shown;
    for (WindowId w : all) {
        auto it = pending_.find(w);
        if (it == pending_.end()) continue;
        if (desktop.is_visible(w)) {
            shown.push_back(w);
            pending_.erase(it);
        } else if (now_ms - it->second > kShowWaitMs) {
            pending_.erase(it);
        }
    }
    // Windows destroyed before they were shown.
    std::erase_if(pending_, [&](const auto& e) {
        return !std::binary_search(known_.begin(), known_.end(), e.first);
    });
    return shown;
}

}  // namespace tw
