#include "core/engine/new_windows.h"

#include <algorithm>
#include <iterator>

namespace tw {

void NewWindowWatch::reset() {
    seeded_ = false;
    known_.clear();
    pending_.clear();
    reported_.clear();
}

std::vector<WindowId> NewWindowWatch::poll(Desktop& desktop, uint64_t now_ms, WindowId foreground) {
    std::vector<WindowId> shown;
    if (!seeded_) {
        known_ = desktop.top_level_windows();
        std::sort(known_.begin(), known_.end());
        seeded_ = true;
        last_list_ = now_ms;
        return shown;
    }
    // Asks nothing for a foreground window that was listed or reported already.
    if (foreground && !std::binary_search(known_.begin(), known_.end(), foreground) &&
        !reported_.count(foreground) && desktop.is_visible(foreground)) {
        if (reported_.size() >= kReportedLimit)
            std::erase_if(reported_, [&](WindowId w) { return !desktop.is_window(w); });
        reported_.insert(foreground);
        pending_.erase(foreground);
        shown.push_back(foreground);
    }
    if (now_ms - last_list_ >= kListEveryMs || now_ms < last_list_) {
        last_list_ = now_ms;
        compare_lists(desktop, now_ms, shown);
    }
    return shown;
}

void NewWindowWatch::compare_lists(Desktop& desktop, uint64_t now_ms, std::vector<WindowId>& shown) {
    std::vector<WindowId> all = desktop.top_level_windows();
    std::vector<WindowId> sorted = all;
    std::sort(sorted.begin(), sorted.end());
    std::vector<WindowId> fresh;
    std::set_difference(sorted.begin(), sorted.end(), known_.begin(), known_.end(),
                        std::back_inserter(fresh));
    known_ = std::move(sorted);
    for (WindowId w : fresh)
        if (!reported_.count(w)) pending_.emplace(w, now_ms);
    // Listed now, so no longer needed to tell them apart.
    std::erase_if(reported_, [&](WindowId w) { return std::binary_search(known_.begin(), known_.end(), w); });
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
}

}  // namespace tw
