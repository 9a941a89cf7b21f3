#pragma once
// Seeing a new top-level window appear, by comparing the system's list of top-level
// windows from one pass to the next. The window-event hooks would tell of it, but they
// do not reach the program everywhere (Wine never delivers them for other processes),
// and one enumeration is a single cheap question.
#include <cstdint>
#include <map>
#include <vector>

#include "core/engine/desktop.h"

namespace tw {

class NewWindowWatch {
public:
    // At most one enumeration per this many ms, however often passes run.
    static constexpr uint64_t kMinGapMs = 100;
    // A new window not shown within this long is no longer waited for.
    static constexpr uint64_t kShowWaitMs = 10000;

    // The next poll learns the windows that exist without reporting them.
    void reset();
    // The windows that are visible for the first time since they appeared, in the
    // system's order. A window created hidden is reported when it is first shown.
    std::vector<WindowId> poll(Desktop& desktop, uint64_t now_ms);

    size_t waiting() const { return pending_.size(); }

private:
    bool seeded_ = false;
    uint64_t last_poll_ = 0;
    std::vector<WindowId> known_;  // sorted
    std::map<WindowId, uint64_t> pending_;  // new, not shown yet: since when
};

}  // namespace tw
