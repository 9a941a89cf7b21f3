#include "core/engine/refused_moves.h"

#include <string>

#include "core/base/log.h"

namespace tw {

bool RefusedMoves::note(Desktop& desktop, const std::vector<WindowId>& refused) {
    if (refused.empty()) return false;
    for (WindowId w : refused)
        if (logged_.insert(w).second)
            log("engine: hwnd=" + std::to_string(w) + " cls='" + desktop.class_name(w) +
                "' cannot be moved: access denied (its program runs as administrator)");
    if (notified_) return false;
    notified_ = true;
    return true;
}

}  // namespace tw
