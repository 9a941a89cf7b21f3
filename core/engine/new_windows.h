#pragma once
// Seeing a new top-level window appear without the window-event hooks, which do not
// reach the program everywhere (Wine never delivers them for other processes). A new
// window the user will work with becomes the foreground window, which every confiner
// pass asks for anyway: one that was not in the last list of top-level windows is new.
// Windows shown without being activated are found by comparing that list
// (EnumWindows, one question) with the previous one, once a second.
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "core/engine/desktop.h"

namespace tw {

class NewWindowWatch {
public:
    // The list of top-level windows is compared at most this often.
    static constexpr uint64_t kListEveryMs = 1000;
    // A new window not shown within this long is no longer waited for.
    static constexpr uint64_t kShowWaitMs = 10000;
    // Above this many windows reported from the foreground, those gone are forgotten.
    static constexpr size_t kReportedLimit = 64;

    // The next poll learns the windows that exist without reporting them.
    void reset();
    // The windows that are visible for the first time since they appeared, each once.
    // `foreground` is the foreground window of this pass.
    std::vector<WindowId> poll(Desktop& desktop, uint64_t now_ms, WindowId foreground);

    size_t waiting() const { return pending_.size(); }

private:
    void compare_lists(Desktop& desktop, uint64_t now_ms, std::vector<WindowId>& shown);

    bool seeded_ = false;
    uint64_t last_list_ = 0;
    std::vector<WindowId> known_;           // the last list, sorted
    std::map<WindowId, uint64_t> pending_;  // new, not shown yet: since when
    std::set<WindowId> reported_;           // reported before the list had them
};

}  // namespace tw
