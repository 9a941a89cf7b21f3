#pragma once
// Where a zone share takes its pixels from and where its windows go: the display
// output that shows the zone (on whichever adapter drives it) with the zone translated
// into that output's image, the rectangles of the mirror and frame windows, and the
// zone of the "--test-mirror" window.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/base/geometry.h"

namespace tw {

// One display output as the graphics adapters list them.
struct OutputInfo {
    uint32_t adapter = 0;  // index of the adapter
    uint32_t output = 0;   // index of the output on that adapter
    Rect desktop;          // the output's rectangle in virtual-screen pixels
    bool attached = true;  // part of the desktop
};

// The output to duplicate for a zone, and how the zone maps into its image.
struct OutputChoice {
    uint32_t adapter = 0;
    uint32_t output = 0;
    Rect source;   // the part of the zone the output shows, in the output's image coordinates
    Point target;  // where that part goes in the zone-sized mirror image
    friend bool operator==(const OutputChoice&, const OutputChoice&) = default;
};

// The attached output that shows the largest part of the zone (the earlier on a tie).
// A zone that no output shows, or an empty zone, goes to the output holding its top-left
// corner, else the first attached output, with an empty source: nothing is copied.
// None when no output is attached.
std::optional<OutputChoice> choose_output(const std::vector<OutputInfo>& outputs, const Rect& zone);

// The rectangle of a share's mirror and frame windows: the zone, at least 1 x 1 pixel
// (the size saturated to the 32-bit range).
Rect share_window_rect(const Rect& zone);

// The zone of the test mirror: the left quarter (width / 4, integer division) of the
// primary monitor's work area.
Rect test_mirror_zone(const Rect& primary_work);

}  // namespace tw
