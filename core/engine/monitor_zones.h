#pragma once
// One row of the monitor zone table: the pixel rectangles of an enabled screen's
// active layout. The one geometric input of the placement engine.
#include <string>
#include <vector>

#include "core/base/geometry.h"

namespace tw {

struct MonitorZones {
    std::string screen_id;
    std::vector<Rect> zones;  // in the layout's zone order
    Rect monitor;             // the screen's bounds
    Rect area;                // bounds when CoverTaskbar is on, else the work area
    friend bool operator==(const MonitorZones&, const MonitorZones&) = default;
};

}  // namespace tw
