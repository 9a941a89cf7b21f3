#pragma once
// Turns the confiner's events into uses: a window counts once when it is first
// confined or found in its zone, and again only after it has left its zone.
#include <cstddef>
#include <functional>
#include <set>
#include <vector>

#include "core/engine/confiner.h"
#include "core/engine/desktop.h"

namespace tw {

class UsageTally {
public:
    // Above this many counted windows, the handles of destroyed windows are pruned
    // before a new one is added.
    static constexpr size_t kPruneAbove = 64;

    // Consumes the events in order; calls count_use once for every new use and
    // returns how many there were.
    size_t consume(const std::vector<ConfinerEvent>& events, Desktop& desktop,
                   const std::function<void()>& count_use);
    bool counted(WindowId w) const { return counted_.count(w) != 0; }
    size_t size() const { return counted_.size(); }

private:
    std::set<WindowId> counted_;
};

}  // namespace tw
