// The editor's input rules: the size table's fields and their commit, keyboard focus,
// the canvas under the pointer (split, merge, border drag), the manage row under the
// pointer and the mouse wheel.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/base/text_util.h"
#include "core/model/settings_reader.h"
#include "core/views/editor_command.h"
#include "core/views/main_view.h"

namespace tw {

namespace {

using Field = EditorFocus::Field;

bool is_size_field(const EditorFocus& f) { return f.field == Field::Width || f.field == Field::Height; }

// The text a size field shows for the current grid.
std::string current_size_text(const EditorState& st, const Zone& z, size_t zone, bool width) {
    const bool px = zone < st.unit_px.size() && st.unit_px[zone];
    return width ? size_text(z.right - z.left, st.area_width, px) : size_text(z.bottom - z.top, st.area_height, px);
}

// A field's rectangle before scrolling.
Rect field_rect(const EditorState& st, const EditorFocus& f) {
    if (f.field == Field::Name) return {16, 74, 280, 102};
    const int32_t y = st.canvas_height + 316 + 28 * static_cast<int32_t>(f.zone);
    return f.field == Field::Width ? Rect{80, y - 27, 152, y - 3} : Rect{160, y - 27, 232, y - 3};
}

// The height the scrolled part of the edit view shows: above a pinned footer.
int32_t edit_viewport(const EditorState& st, int32_t client_height) {
    return std::min(client_height, build_edit_view(st, client_height).body_bottom);
}

void scroll_into_view(EditorState& st, const EditorFocus& f, int32_t client_height) {
    const Rect r = field_rect(st, f);
    const int32_t viewport = edit_viewport(st, client_height);
    if (r.top - 8 < st.scroll) st.scroll = std::max(0, r.top - 8);
    else if (r.bottom + 8 > st.scroll + viewport) st.scroll = r.bottom + 8 - viewport;
}

EditorOutcome move_focus(EditorState& st, bool backwards, int32_t client_height) {
    commit_focused_field(st);
    const size_t count = 1 + 2 * st.grid.cells.size();
    // Position in the order name, width 0, height 0, width 1, ...
    std::optional<size_t> at;
    if (st.focus.field == Field::Name) at = 0;
    else if (is_size_field(st.focus)) at = 1 + 2 * st.focus.zone + (st.focus.field == Field::Height ? 1 : 0);
    size_t next = backwards ? count - 1 : 0;
    if (at && *at < count) next = backwards ? (*at + count - 1) % count : (*at + 1) % count;
    st.focus = next == 0 ? EditorFocus{Field::Name, 0}
                         : EditorFocus{next % 2 == 1 ? Field::Width : Field::Height, (next - 1) / 2};
    if (TextField* field = text_field(st, st.focus)) field->select_all();
    scroll_into_view(st, st.focus, client_height);
    return EditorOutcome::rebuilt(true);
}

}  // namespace

void reset_size_fields(EditorState& st) {
    const std::vector<Zone> zones = zones_from_grid(st.grid);
    if (st.unit_px.size() != zones.size()) st.unit_px.assign(zones.size(), 0);
    st.width_fields.resize(zones.size());
    st.height_fields.resize(zones.size());
    for (size_t i = 0; i < zones.size(); ++i) {
        st.width_fields[i].set_text(current_size_text(st, zones[i], i, true));
        st.height_fields[i].set_text(current_size_text(st, zones[i], i, false));
    }
    if (is_size_field(st.focus) && st.focus.zone >= zones.size()) st.focus = {};
}

std::optional<double> parse_size_input(std::string_view text, bool pixels, int64_t area_pixels) {
    std::string_view t = trim_view(text);
    const std::string_view unit = pixels ? "px" : "%";
    if (t.ends_with(unit)) t = trim_view(t.substr(0, t.size() - unit.size()));
    const std::optional<double> v = parse_decimal(t);
    if (!v || (pixels && area_pixels <= 0)) return std::nullopt;
    return pixels ? *v / static_cast<double>(area_pixels) : *v / 100;
}

bool commit_focused_field(EditorState& st) {
    const EditorFocus f = st.focus;
    const std::vector<Zone> zones = zones_from_grid(st.grid);
    if (!is_size_field(f) || f.zone >= zones.size() || f.zone >= st.unit_px.size()) return false;
    const bool width = f.field == Field::Width;
    const std::string typed = text_field(st, f)->text();
    bool changed = false;
    // A field left as it was shows a rounded value: taking that value back would
    // nudge the grid each time the focus passes through.
    if (typed != current_size_text(st, zones[f.zone], f.zone, width)) {
        const std::optional<double> size =
            parse_size_input(typed, st.unit_px[f.zone] != 0, width ? st.area_width : st.area_height);
        const std::optional<Grid> next =
            size ? resize_cell(st.grid, f.zone, width ? GridAxis::Columns : GridAxis::Rows, *size) : std::nullopt;
        // A size that would leave a zone too small is refused like any other.
        if (next && keeps_zone_minimum(st.grid, *next, zone_minimum(st))) {
            st.grid = *next;
            changed = true;
        }
    }
    reset_size_fields(st);
    return changed;
}

EditorOutcome focus_field(EditorState& st, const EditorFocus& target) {
    if (!text_field(st, target)) return {};
    if (st.focus != target) commit_focused_field(st);
    st.focus = target;
    return EditorOutcome::rebuilt(true);
}

EditorOutcome release_focus(EditorState& st) {
    if (st.focus.field == Field::None) return {};
    commit_focused_field(st);
    st.focus = {};
    return EditorOutcome::rebuilt();
}

EditorOutcome editor_key(EditorState& st, Settings& settings, uint32_t virtual_key, bool shift,
                         int32_t client_height) {
    if (st.unsaved_prompt) {
        // The prompt's keys: Escape keeps editing, Enter saves; nothing reaches the fields.
        if (virtual_key == kVkEscape) return run_editor_command(st, settings, editor_id::kPromptKeepEditing);
        if (virtual_key == kVkReturn) return run_editor_command(st, settings, editor_id::kPromptSave);
        return EditorOutcome::repainted();
    }
    if (virtual_key == kVkEscape) return request_close(st);
    if (st.page != EditorPage::Edit) return {};
    if (virtual_key == kVkTab) return move_focus(st, shift, client_height);
    if (virtual_key != kVkReturn) return {};
    if (is_size_field(st.focus)) {
        commit_focused_field(st);
        if (TextField* field = text_field(st, st.focus)) field->select_all();
        return EditorOutcome::rebuilt();
    }
    return save_layout(st, settings);
}

EditorOutcome canvas_press(EditorState& st, Point p, bool shift) {
    const Rect area = canvas_rect(st);
    if (st.page != EditorPage::Edit || st.unsaved_prompt || !contains(area, p)) return {};
    const CanvasHover hit = canvas_hit(canvas_zone_rects(st.grid, area), p);
    if (hit.kind == CanvasHover::Kind::Zone) {
        const Grid split = split_cell(st.grid, hit.a, shift);
        if (split == st.grid || !keeps_zone_minimum(st.grid, split, zone_minimum(st))) return {};
        st.grid = split;
        reset_size_fields(st);
        st.canvas_hover = canvas_hit(canvas_zone_rects(st.grid, area), p);
        return EditorOutcome::rebuilt();
    }
    if (hit.kind == CanvasHover::Kind::Border)
        st.border_press = BorderPress{hit.a, hit.b, p, st.grid, shared_line(st.grid, hit.a, hit.b), false};
    return {};
}

EditorOutcome canvas_move(EditorState& st, Point p) {
    if (st.page != EditorPage::Edit || st.unsaved_prompt) return {};
    const Rect area = canvas_rect(st);
    if (st.border_press) {
        BorderPress& press = *st.border_press;
        // A hand that shakes by a DIP or two still clicks.
        if (!press.moved && std::abs(p.x - press.start.x) < 3 && std::abs(p.y - press.start.y) < 3) return {};
        press.moved = true;
        if (!press.line || area.width() <= 0 || area.height() <= 0) return {};
        const double position = press.line->axis == GridAxis::Columns
                                    ? static_cast<double>(p.x - area.left) / area.width()
                                    : static_cast<double>(p.y - area.top) / area.height();
        const Grid moved = move_line_within(press.grid, *press.line, position, zone_minimum(st));
        if (moved == st.grid) return {};
        st.grid = moved;
        reset_size_fields(st);
        return EditorOutcome::rebuilt();
    }
    const CanvasHover hover = contains(area, p) ? canvas_hit(canvas_zone_rects(st.grid, area), p) : CanvasHover{};
    if (hover == st.canvas_hover) return {};
    st.canvas_hover = hover;
    return EditorOutcome::repainted();
}

EditorOutcome canvas_release(EditorState& st) {
    if (!st.border_press) return {};
    const BorderPress press = std::move(*st.border_press);
    st.border_press.reset();
    if (press.moved) return EditorOutcome::repainted();
    const Grid merged = drop_unused_lines(merge_cells(st.grid, press.a, press.b));
    if (merged == st.grid) return {};
    st.grid = merged;
    st.canvas_hover = {};
    reset_size_fields(st);
    return EditorOutcome::rebuilt();
}

void canvas_cancel(EditorState& st) { st.border_press.reset(); }

EditorOutcome hover_row_at(EditorState& st, const std::vector<WidgetItem>& widgets, Point p) {
    std::optional<size_t> row;
    if (st.page == EditorPage::Manage) {
        for (const WidgetItem& w : widgets)
            if (w.kind == 20 && contains(w.rect, p)) row = w.id - editor_id::kRow;
    }
    if (row == st.hover_row) return {};
    st.hover_row = row;
    return EditorOutcome::rebuilt();
}

EditorOutcome editor_wheel(EditorState& st, int32_t delta, const std::vector<WidgetItem>& /*widgets*/,
                           int32_t client_height) {
    if (st.page == EditorPage::Edit) {
        // The view clamps a scroll beyond its end: asking for the most gives the limit.
        EditorState furthest = st;
        furthest.scroll = INT32_MAX;
        const int32_t most = build_edit_view(furthest, client_height).scroll;
        const int32_t next = std::clamp(st.scroll - 48 * (delta / 120), 0, std::max(0, most));
        if (next == st.scroll) return {};
        st.scroll = next;
        return EditorOutcome::rebuilt();
    }
    const size_t n = st.layouts.size();
    const int64_t most = n > editor_id::kVisibleRows ? static_cast<int64_t>(n - editor_id::kVisibleRows) : 0;
    const int64_t first = std::min<int64_t>(static_cast<int64_t>(st.first_row), most);
    const auto next = static_cast<size_t>(std::clamp<int64_t>(first - delta / 120, 0, most));
    if (next == st.first_row) return {};
    st.first_row = next;
    return EditorOutcome::rebuilt();
}

}  // namespace tw
