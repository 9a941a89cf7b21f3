// The limits of the editor's edits: the smallest zone it makes, through splits, border
// drags and typed sizes, and the name message that goes once the name is valid.
#include <algorithm>
#include <cmath>

#include "core/base/text_util.h"
#include "core/model/catalog.h"
#include "core/views/editor_command.h"

namespace tw {

namespace {

struct Smallest {
    double width = 1;
    double height = 1;
};

Smallest smallest_zone(const Grid& grid) {
    Smallest s{INFINITY, INFINITY};
    for (const Zone& z : zones_from_grid(grid)) {
        s.width = std::min(s.width, z.right - z.left);
        s.height = std::min(s.height, z.bottom - z.top);
    }
    return s;
}

// Positions are rounded to whole tenths of a per cent: a hair's breadth of give.
constexpr double kSlack = 1e-9;

bool axis_keeps(double before, double after, double minimum) {
    return after >= minimum - kSlack || after >= before - kSlack;
}

}  // namespace

ZoneMinimum zone_minimum(int64_t area_width, int64_t area_height, double scale) {
    const double s = std::isfinite(scale) && scale >= 1 ? scale : 1;
    auto part = [s](int64_t pixels) {
        return pixels > 0 ? std::max(0.05, std::min(0.5, 100 * s / static_cast<double>(pixels))) : 0.05;
    };
    return {part(area_width), part(area_height)};
}

ZoneMinimum zone_minimum(const EditorState& st) { return zone_minimum(st.area_width, st.area_height, st.area_scale); }

bool keeps_zone_minimum(const Grid& before, const Grid& after, const ZoneMinimum& m) {
    const Smallest b = smallest_zone(before), a = smallest_zone(after);
    return axis_keeps(b.width, a.width, m.width) && axis_keeps(b.height, a.height, m.height);
}

Grid move_line_within(const Grid& grid, GridLine line, double position, const ZoneMinimum& m) {
    const Grid wanted = move_line(grid, line, position);
    if (keeps_zone_minimum(grid, wanted, m)) return wanted;
    // Zones shrink steadily as the line travels: the furthest allowed stop lies between
    // where the line is and where it was asked to go.
    const double from = line_position(grid, line);
    double ok = 0, too_far = 1;
    for (int i = 0; i < 40; ++i) {
        const double t = (ok + too_far) / 2;
        (keeps_zone_minimum(grid, move_line(grid, line, from + t * (position - from)), m) ? ok : too_far) = t;
    }
    // move_line rounds to a tenth of a per cent, which may step over the limit.
    const double step = position > from ? -0.001 : 0.001;
    for (const double nudge : {0.0, step}) {
        const Grid g = move_line(grid, line, from + ok * (position - from) + nudge);
        if (keeps_zone_minimum(grid, g, m)) return g;
    }
    return grid;
}

bool name_edited(EditorState& st) {
    if (st.error.empty()) return false;
    const std::string name = trim(st.name_field.text());
    const std::string now = name.empty()                  ? tr("edit.error_name_empty")
                            : !is_valid_layout_name(name) ? tr("edit.error_name_invalid")
                                                          : std::string();
    if (now == st.error) return false;
    st.error = now;
    return true;
}

}  // namespace tw
