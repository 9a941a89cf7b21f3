#pragma once
// Held windows follow a change of their screen's zones (another layout, the taskbar
// area taken in or left out, a screen switched on or off): a window held in zone n
// goes into zone n of the new zones, or into the nearest zone when there are fewer,
// and stays held; one held in a span goes into the span of the zones with the numbers
// of its corner zones. A window whose screen has no zones any more is let go.
#include <cstddef>
#include <optional>
#include <vector>

#include "core/base/geometry.h"
#include "core/engine/confiner.h"
#include "core/engine/desktop.h"
#include "core/engine/monitor_zones.h"

namespace tw {

// The zone that takes over from `held` when a screen's zones `before` become `after`:
// the zone with held's number, or, when `after` has no such zone (or `held` is not one
// of `before`), the zone of `after` nearest to held's centre. None when `after` is empty.
std::optional<Rect> following_zone(const Rect& held, const std::vector<Rect>& before,
                                   const std::vector<Rect>& after);

// Moves every held window whose screen's zones changed from the table `before` to
// the table `after` (rows matched by screen id) and holds it in its new zone; lets go
// of those whose screen has no row in `after`. Minimised, hidden and not-responding
// windows are not moved: their hold follows and they go into the new zone the next
// time they are confined. Returns how many windows were moved.
size_t follow_zones(Confiner& confiner, Desktop& desktop, const std::vector<MonitorZones>& before,
                    const std::vector<MonitorZones>& after);

}  // namespace tw
