#pragma once
// Held windows left behind by a monitor that was switched off or unplugged. Windows
// itself moves the windows of a vanished monitor onto one that remains, but not every
// system does (Wine leaves them where they were), and a window that lies on no monitor
// at all is out of the user's reach. Such a window, when its hold's zone is on no
// remaining monitor either, is brought into the nearest zone of the nearest monitor
// that has zones and held there.
#include <cstddef>
#include <vector>

#include "core/engine/confiner.h"
#include "core/engine/desktop.h"
#include "core/engine/eligibility.h"

namespace tw {

// The row whose monitor rectangle lies nearest to p (distance 0 when p is inside it;
// the earlier row on a tie); null for an empty table.
const ConfinerRow* nearest_row(const std::vector<ConfinerRow>& table, Point p);

// Moves every stranded held window (visible, not minimised, on no monitor, its hold's
// zone on no row of the confiner's table) into the zone nearest to its centre on the
// nearest row, logs it, and holds it there. Returns how many windows were moved.
size_t bring_back_stranded(Confiner& confiner, Desktop& desktop);

}  // namespace tw
