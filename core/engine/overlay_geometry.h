#pragma once
// Shapes of the zone overlay (thin lines along the zone borders) and of a share
// frame (a dashed border), as lists of rectangle operations that the Win32 side
// replays into a window region.
//
// Replaying: start from an empty region; for each operation create a region of its
// rectangle and combine it into the result with RGN_OR or RGN_DIFF. The builders never
// emit an empty or inverted rectangle, so the replay needs no special cases (GDI would
// silently swap the corners of an inverted rectangle, turning "nothing" into a shape).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/geometry.h"
#include "core/engine/monitor_zones.h"

namespace tw {

enum class RegionMode : uint8_t { Or, Diff };

struct RegionOp {
    Rect rect;
    RegionMode mode = RegionMode::Or;
    friend bool operator==(const RegionOp&, const RegionOp&) = default;
};

using RegionOps = std::vector<RegionOp>;

// Whether the region described by `ops` contains p (same edge rules as Rect).
bool region_contains(const RegionOps& ops, Point p);

// Smallest rectangle holding every zone (minimum left and top, maximum right and
// bottom); an empty rectangle for no zones.
Rect bounding_box(const std::vector<Rect>& zones);

// Zones moved into the coordinates of a window whose top-left corner is area's.
std::vector<Rect> to_window_coords(const std::vector<Rect>& zones, const Rect& area);

// The overlay lines for zones in window coordinates: a 2-pixel frame just inside the
// bounding box, and a 2-pixel line centred on every border two zones share (edges less
// than 2 pixels apart count as shared), over the stretch they share. Zones that do not
// touch get no line between them.
RegionOps outline_region(const std::vector<Rect>& zones);

// Removes from the region the 4-pixel band around each shared zone's edges (2 pixels
// on either side), keeping the lines clear for that zone's share frame. Indexes not
// below the number of zones are ignored. The band is the ring between the zone grown
// by 2 and shrunk by 2; it is removed as four edge strips, which together are exactly
// that ring, or as the grown rectangle alone when the shrunk one is empty.
void cut_share_rings(RegionOps& ops, const std::vector<Rect>& zones, const std::vector<size_t>& shared);

// The region of one overlay window: where it goes (the row's area, covered exactly)
// and its lines (along the unspaced zones when the row has them) with the rings of the
// shared zones cut out.
struct OverlayShape {
    std::string screen_id;
    Rect window;              // screen coordinates
    std::vector<Rect> zones;  // window coordinates
    RegionOps region;         // window coordinates
};
OverlayShape overlay_shape(const MonitorZones& row, const std::vector<size_t>& shared);

// Dash pattern of a share frame: 2 pixels thick, 24 pixels on, 12 off, from the start
// of each edge.
inline constexpr int32_t kDashOn = 24;
inline constexpr int32_t kDashPeriod = 36;
// No arrangement of displays reaches beyond 16-bit coordinates; dashes are not
// generated past this many pixels of an edge, so an absurd zone from a hand-edited
// settings file cannot make the list grow without bound.
inline constexpr int32_t kMaxDashedExtent = 1 << 16;

// The region of a share frame window of w x h pixels (each taken as at least 1) around
// `zone` (screen coordinates): dashes along all four edges, a 2 x 2 square in each
// corner, and the stretches of edge shared with a neighbour (screen coordinates)
// left out, so that of two adjacent frames only one draws the common border.
RegionOps dashed_frame_region(int32_t w, int32_t h, const Rect& zone, const std::vector<Rect>& neighbours);

// One share frame to refresh on a screen.
struct ShareFrameShape {
    size_t zone_index = 0;
    Rect zone;           // screen coordinates
    int32_t width = 1;   // frame window size, at least 1 x 1
    int32_t height = 1;
    RegionOps region;
};

// Frames of the shared zones of one screen (zones of its layout in force, screen
// coordinates), in ascending zone order; indexes not below the number of zones and
// repeated indexes are skipped. Each frame leaves out the borders it shares with the
// shared zones of lower index, so every common border is drawn once.
std::vector<ShareFrameShape> share_frame_shapes(const std::vector<Rect>& zones, std::vector<size_t> shared);

}  // namespace tw
