#include "core/views/editor_keys.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace tw {

namespace {

bool near_edge(int32_t a, int32_t b) { return std::abs(a - b) <= 1; }

// The zone across the chosen zone's edge on that side that shares the most of it.
std::optional<size_t> neighbour(const std::vector<Rect>& zones, size_t z, CanvasKey side) {
    const Rect& a = zones[z];
    std::optional<size_t> best;
    int64_t best_shared = 0;
    for (size_t i = 0; i < zones.size(); ++i) {
        const Rect& b = zones[i];
        int64_t shared = 0;
        switch (side) {
        case CanvasKey::Left:
            if (near_edge(b.right, a.left)) shared = overlap_length(a.top, a.bottom, b.top, b.bottom);
            break;
        case CanvasKey::Right:
            if (near_edge(b.left, a.right)) shared = overlap_length(a.top, a.bottom, b.top, b.bottom);
            break;
        case CanvasKey::Up:
            if (near_edge(b.bottom, a.top)) shared = overlap_length(a.left, a.right, b.left, b.right);
            break;
        case CanvasKey::Down:
            if (near_edge(b.top, a.bottom)) shared = overlap_length(a.left, a.right, b.left, b.right);
            break;
        default: break;
        }
        if (i != z && shared > best_shared) {
            best = i;
            best_shared = shared;
        }
    }
    return best;
}

EditorOutcome choose(EditorState& st, size_t zone) {
    const CanvasHover chosen{CanvasHover::Kind::Zone, zone, 0};
    if (st.canvas_hover == chosen) return {};
    st.canvas_hover = chosen;
    return EditorOutcome::repainted();
}

EditorOutcome new_grid(EditorState& st, Grid grid, size_t chosen) {
    if (grid == st.grid) return {};
    st.grid = std::move(grid);
    reset_size_fields(st);
    st.canvas_hover = {CanvasHover::Kind::Zone, std::min(chosen, st.grid.cells.size() - 1), 0};
    return EditorOutcome::rebuilt();
}

}  // namespace

EditorOutcome canvas_key(EditorState& st, CanvasKey key, CanvasKeyMods mods) {
    if (st.page != EditorPage::Edit || st.grid.cells.empty()) return {};
    const std::vector<Rect> zones = canvas_zone_rects(st.grid, canvas_rect(st));
    const bool has_choice = st.canvas_hover.kind == CanvasHover::Kind::Zone && st.canvas_hover.a < zones.size();
    if (key == CanvasKey::Home || (!has_choice && key != CanvasKey::End)) return choose(st, 0);
    if (key == CanvasKey::End) return choose(st, zones.size() - 1);
    const size_t z = st.canvas_hover.a;
    if (key == CanvasKey::Activate) return new_grid(st, split_cell(st.grid, z, mods.shift), z);
    const std::optional<size_t> other = neighbour(zones, z, key);
    if (!other) return {};
    if (mods.ctrl) {
        const Grid merged = merge_cells(st.grid, std::min(z, *other), std::max(z, *other));
        return new_grid(st, merged, std::min(z, *other));
    }
    if (mods.shift) {
        const std::optional<GridLine> line = shared_line(st.grid, z, *other);
        if (!line) return {};
        const bool forward = key == CanvasKey::Right || key == CanvasKey::Down;
        const double at = line_position(st.grid, *line) + (forward ? kBorderKeyStep : -kBorderKeyStep);
        return new_grid(st, move_line(st.grid, *line, at), z);
    }
    return choose(st, *other);
}

}  // namespace tw
