#pragma once
// Windows the engine may not move: Windows refuses a program the placement of windows
// that belong to a program running with higher rights (as administrator). Each such
// window is logged once, and the user is told once per run.
#include <set>
#include <vector>

#include "core/engine/desktop.h"

namespace tw {

class RefusedMoves {
public:
    // Logs each window of `refused` not logged before. True when the user is to be
    // told now: the first refusal of the run.
    bool note(Desktop& desktop, const std::vector<WindowId>& refused);
    bool notified() const { return notified_; }

private:
    std::set<WindowId> logged_;
    bool notified_ = false;
};

}  // namespace tw
