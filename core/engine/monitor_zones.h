#pragma once
// One row of the monitor zone table: the pixel rectangles of an enabled screen's
// active layout. The one geometric input of the placement engine.
#include <string>
#include <vector>

#include "core/base/geometry.h"

namespace tw {

struct MonitorZones {
    std::string screen_id;
    // In the layout's zone order, inside `area`; at least one is not empty. An empty
    // zone (what lay outside the screen) keeps zone numbers and is never a target.
    std::vector<Rect> zones;
    Rect monitor;             // the screen's bounds
    Rect area;                // bounds when CoverTaskbar is on, else the work area
    std::string layout = {};  // the name of the layout in force
    // The zones before the layout's spacing was taken off them; empty without spacing.
    // The overlay draws its lines here, in the middle of the gaps.
    std::vector<Rect> unspaced = {};
    friend bool operator==(const MonitorZones&, const MonitorZones&) = default;
};

}  // namespace tw
