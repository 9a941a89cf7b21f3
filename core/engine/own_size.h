#pragma once
// A window's own size: the size it had before the engine first put it into a zone
// (confinement, snap, keyboard move, layout change). When the user drags such a window
// out of its zones to a free position, it gets that size back where it was dropped,
// as a window dragged out of a maximised state does.
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "core/base/geometry.h"
#include "core/engine/desktop.h"
#include "core/engine/eligibility.h"

namespace tw {

struct OwnSize {
    int32_t width = 0;  // window rectangle before the first placement
    int32_t height = 0;
    Rect placed;        // the window rectangle the engine last gave it
    friend bool operator==(const OwnSize&, const OwnSize&) = default;
};

// Where a window dropped at `dropped` goes when it gets back its own size: the point
// of the window the cursor holds (when the cursor is over its top edge's span) stays
// under the cursor horizontally, the top edge stays where it was dropped, and the
// window is kept inside the work area of its monitor as far as it fits.
Rect own_size_rect(const Rect& dropped, int32_t width, int32_t height,
                   std::optional<Point> cursor, const Rect& work);

class OwnSizes {
public:
    // The engine is about to give w the window rectangle `placed`; `before` is w's
    // rectangle now (a maximised window already restored). Only the first placement
    // sets the own size; every one moves `placed`.
    void note_placement(WindowId w, const Rect& before, const Rect& placed);
    void forget(WindowId w) { sizes_.erase(w); }
    void clear() { sizes_.clear(); }
    const OwnSize* find(WindowId w) const;
    size_t size() const { return sizes_.size(); }

    // After a pass, with the left button up: a window that is no longer where the
    // engine put it, lies in none of the zones of `table` and still has the size the
    // engine gave it was dragged out to a free position: it gets its own size back.
    // A window the user or its application resized is forgotten; so is one that is
    // gone. Returns how many windows were resized.
    size_t give_back(Desktop& desktop, const std::vector<ConfinerRow>& table);

private:
    std::map<WindowId, OwnSize> sizes_;
};

}  // namespace tw
