// The editor's commands: opening the editor, the manage view's rows and buttons, and
// the edit view's templates, steppers, unit buttons, Save and Cancel.
#include "core/views/editor_command.h"

#include <algorithm>

#include "core/model/catalog.h"
#include "core/base/text_util.h"

namespace tw {

namespace {

// The zones in force on the screen and their spacing, to tell whether an edit changed
// where windows go.
std::optional<std::pair<std::vector<Zone>, int>> zones_in_force(const ScreenLayout* entry) {
    if (!entry) return std::nullopt;
    const Layout* l = layout_in_force(*entry);
    if (!l) return std::nullopt;
    return std::pair{l->zones, l->spacing};
}

void remove_named(std::vector<Layout>& list, std::string_view name) {
    std::erase_if(list, [&](const Layout& l) { return l.name == name; });
}

std::string in_quotes(std::string_view name) { return "\"" + std::string(name) + "\""; }

// The edit view for `grid`, with the focus, hover, drag, scroll and error of the view
// before cleared.
// The edit view's starting point, to tell later whether anything changed.
void remember_opened(EditorState& st) {
    st.opened_name = trim(st.name_field.text());
    st.opened_zones = zones_from_grid(st.grid);
    st.opened_spacing = st.spacing;
    st.unsaved_prompt = false;
}

// A layout of this name exists again (saved, restored): bringing back a deleted one
// of the same name would leave two.
void forget_deleted(EditorState& st, std::string_view name) {
    std::erase_if(st.deleted, [&](const DeletedLayout& d) { return d.name == name; });
}

// The layouts of `name` with their places in `list`, removed from it.
std::vector<std::pair<size_t, Layout>> take_named(std::vector<Layout>& list, std::string_view name) {
    std::vector<std::pair<size_t, Layout>> taken;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].name == name) taken.emplace_back(i, list[i]);
    remove_named(list, name);
    return taken;
}

// Back in their places: ascending, so that each index means what it meant before.
void put_back(std::vector<Layout>& list, const std::vector<std::pair<size_t, Layout>>& taken) {
    for (const auto& [index, layout] : taken)
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(index, list.size())), layout);
}

void enter_edit(EditorState& st, Grid grid) {
    st.page = EditorPage::Edit;
    st.grid = std::move(grid);
    st.unit_px.clear();
    st.focus = {};
    st.canvas_hover = {};
    st.border_press.reset();
    st.error.clear();
    st.scroll = 0;
    reset_size_fields(st);
}

// A template or stepper replaced the grid: saving now makes a new layout.
EditorOutcome replace_grid(EditorState& st, Grid grid) {
    st.grid = std::move(grid);
    st.reshaped = false;
    if (st.former_name) {
        st.former_name.reset();
        st.name_field.set_text("");
    }
    reset_size_fields(st);
    return EditorOutcome::rebuilt();
}

EditorOutcome edit_row(EditorState& st, size_t row) {
    const size_t index = st.first_row + row;
    if (index >= st.layouts.size()) return {};
    const Layout& layout = st.layouts[index];
    GridFit fit = fit_grid(layout.zones);
    enter_edit(st, std::move(fit.grid));
    st.reshaped = !fit.exact;
    st.former_name = layout.name;
    st.name_field.set_text(layout.name);
    st.spacing = std::clamp(layout.spacing, kMinSpacing, kMaxSpacing);
    remember_opened(st);
    EditorOutcome out = EditorOutcome::rebuilt();
    if (!fit.exact)
        out.log = "editor: layout " + in_quotes(layout.name) +
                  " is not a grid (gaps, overlaps or odd zones); it opens reshaped and is stored only when saved";
    return out;
}

EditorOutcome delete_row(EditorState& st, Settings& settings, size_t row) {
    const size_t index = st.first_row + row;
    if (index >= st.layouts.size()) return {};
    const std::string name = st.layouts[index].name;
    DeletedLayout deleted{name, take_named(st.layouts, name), {}, false};
    st.hover_row.reset();
    EditorOutcome out = EditorOutcome::rebuilt();
    out.log = "editor: deleted layout " + in_quotes(name);
    ScreenLayout* entry = find_screen(settings, st.screen_id);
    if (!entry) {
        st.deleted.push_back(std::move(deleted));
        return out;
    }
    const auto before = zones_in_force(entry);
    deleted.stored = take_named(entry->layouts, name);
    deleted.was_active = entry->active_layout == name;
    st.deleted.push_back(std::move(deleted));
    if (entry->active_layout == name)
        entry->active_layout = entry->layouts.empty() ? std::string() : entry->layouts.front().name;
    out.settings_changed = true;
    out.zones_changed = zones_in_force(entry) != before;
    return out;
}

EditorOutcome undo_delete(EditorState& st, Settings& settings) {
    if (st.deleted.empty()) return {};
    const DeletedLayout d = std::move(st.deleted.back());
    st.deleted.pop_back();
    put_back(st.layouts, d.working);
    EditorOutcome out = EditorOutcome::rebuilt();
    out.log = "editor: brought back layout " + in_quotes(d.name);
    ScreenLayout* entry = find_screen(settings, st.screen_id);
    if (!entry) return out;
    const auto before = zones_in_force(entry);
    put_back(entry->layouts, d.stored);
    if (d.was_active) entry->active_layout = d.name;
    repair_active_layout(*entry);
    out.settings_changed = true;
    out.zones_changed = zones_in_force(entry) != before;
    return out;
}

EditorOutcome restore_defaults(EditorState& st, Settings& settings) {
    const std::vector<Layout> missing = missing_default_layouts(st.layouts);
    if (missing.empty()) return {};
    for (const Layout& l : missing) forget_deleted(st, l.name);
    st.layouts.insert(st.layouts.end(), missing.begin(), missing.end());
    EditorOutcome out = EditorOutcome::rebuilt();
    out.log = "editor: restored " + std::to_string(missing.size()) + " default layouts";
    ScreenLayout* entry = find_screen(settings, st.screen_id);
    if (!entry) return out;
    const auto before = zones_in_force(entry);
    for (Layout& l : missing_default_layouts(entry->layouts)) entry->layouts.push_back(std::move(l));
    repair_active_layout(*entry);
    out.settings_changed = true;
    out.zones_changed = zones_in_force(entry) != before;
    return out;
}

EditorOutcome stepper(EditorState& st, uint64_t id) {
    using namespace editor_id;
    // Counts beyond the steppers' range (a grid opened from a layout) come back into
    // it: uniform_grid holds them to 1 to 6.
    uint32_t rows = st.grid.rows;
    uint32_t columns = st.grid.columns;
    uint32_t& count = id == kRowsMinus || id == kRowsPlus ? rows : columns;
    const bool up = id == kRowsPlus || id == kColumnsPlus;
    if (up ? count >= kMaxUniformTracks : count <= 1) return {};
    count = up ? count + 1 : count - 1;
    return replace_grid(st, uniform_grid(rows, columns));
}

// The gap is not part of the grid: changing it keeps the layout and its name.
EditorOutcome spacing_stepper(EditorState& st, bool up) {
    const int next = std::clamp(st.spacing + (up ? kSpacingStep : -kSpacingStep), kMinSpacing, kMaxSpacing);
    if (next == st.spacing) return {};
    st.spacing = next;
    return EditorOutcome::rebuilt();
}

}  // namespace

EditorState open_editor_state(const Settings& settings, std::span<const ScreenInfo> screens,
                              const Rect& primary_work) {
    EditorState st;
    const ScreenLayout* entry = find_screen(settings, settings.selected_screen);
    if (!entry && !settings.screens.empty()) entry = &settings.screens.front();
    const ScreenInfo* info = nullptr;
    if (entry) {
        st.screen_id = entry->id;
        st.layouts = entry->layouts;
        for (const ScreenInfo& s : screens)
            if (s.id == entry->id && !info) info = &s;
    }
    const Rect monitor = info ? info->bounds : primary_work;
    const CanvasSize canvas = canvas_size(monitor.width(), monitor.height());
    st.canvas_width = canvas.width;
    st.canvas_height = canvas.height;
    // Pixel sizes refer to what the zones are fractions of on this screen.
    const Rect area = info ? zone_area(*entry, *info) : primary_work;
    if (area.width() > 0 && area.height() > 0) {
        st.area_width = area.width();
        st.area_height = area.height();
    }
    if (info) st.area_dpi = info->dpi;
    st.grid = uniform_grid(1, 3);
    reset_size_fields(st);
    return st;
}

EditorOutcome save_layout(EditorState& st, Settings& settings) {
    const std::string name = trim(st.name_field.text());
    if (name.empty() || !is_valid_layout_name(name)) {
        st.error = tr(name.empty() ? "edit.error_name_empty" : "edit.error_name_invalid");
        return EditorOutcome::rebuilt();
    }
    Layout saved{name, zones_from_grid(st.grid), st.spacing};
    const std::string former = st.former_name.value_or(name);
    // The layout takes the place of its former self and of any other layout of the
    // new name: two layouts of one name would leave the later unreachable.
    auto put = [&](std::vector<Layout>& list) {
        remove_named(list, former);
        remove_named(list, name);
        list.push_back(saved);
    };
    put(st.layouts);
    forget_deleted(st, name);
    EditorOutcome out = EditorOutcome::rebuilt();
    if (ScreenLayout* entry = find_screen(settings, st.screen_id)) {
        const auto before = zones_in_force(entry);
        put(entry->layouts);
        if (entry->active_layout == former) entry->active_layout = name;
        repair_active_layout(*entry);
        out.settings_changed = true;
        out.zones_changed = zones_in_force(entry) != before;
        out.log = "editor: saved layout " + in_quotes(name) + " with " + std::to_string(saved.zones.size()) + " zones";
    } else {
        out.log = "editor: no settings entry for screen " + in_quotes(st.screen_id) + "; layout " + in_quotes(name) +
                  " kept in this window only";
    }
    st.former_name = name;
    st.page = EditorPage::Manage;
    st.focus = {};
    st.error.clear();
    st.reshaped = false;
    st.border_press.reset();
    st.hover_row.reset();
    return out;
}

bool has_unsaved_changes(const EditorState& st) {
    if (st.page != EditorPage::Edit) return false;
    return trim(st.name_field.text()) != st.opened_name || zones_from_grid(st.grid) != st.opened_zones ||
           st.spacing != st.opened_spacing;
}

EditorOutcome request_close(EditorState& st) {
    if (st.page == EditorPage::Edit && !st.unsaved_prompt) {
        commit_focused_field(st);  // a size typed but not yet taken counts too
        if (has_unsaved_changes(st)) {
            st.unsaved_prompt = true;
            st.focus = {};
            st.canvas_hover = {};
            st.border_press.reset();
            return EditorOutcome::rebuilt();
        }
    }
    return EditorOutcome::closing();
}

namespace {

EditorOutcome prompt_command(EditorState& st, Settings& settings, uint64_t id) {
    using namespace editor_id;
    st.unsaved_prompt = false;
    switch (id) {
    case kPromptSave: {
        EditorOutcome out = save_layout(st, settings);
        // A name that cannot be stored keeps the window open with its message.
        out.close = st.page == EditorPage::Manage;
        return out;
    }
    case kPromptDiscard: return EditorOutcome::closing();
    case kPromptKeepEditing: return EditorOutcome::rebuilt();
    default:
        st.unsaved_prompt = true;  // everything else waits for the answer
        return {};
    }
}

}  // namespace

EditorOutcome run_editor_command(EditorState& st, Settings& settings, uint64_t id) {
    using namespace editor_id;
    if (st.unsaved_prompt) return prompt_command(st, settings, id);
    if (id >= kRow && id < kRow + kVisibleRows) return edit_row(st, id - kRow);
    if (id >= kEditRow && id < kEditRow + kVisibleRows) return edit_row(st, id - kEditRow);
    if (id >= kDeleteRow && id < kDeleteRow + kVisibleRows) return delete_row(st, settings, id - kDeleteRow);
    if (id >= kTemplate && id < kTemplate + grid_templates().size()) {
        std::optional<Grid> g = template_grid(grid_templates()[id - kTemplate].layout_name);
        return g ? replace_grid(st, std::move(*g)) : EditorOutcome{};
    }
    if (id >= kUnit && id < kUnit + kMaxGridZones) {
        const size_t zone = id - kUnit;
        if (zone >= st.unit_px.size()) return {};
        st.unit_px[zone] = st.unit_px[zone] ? 0 : 1;
        reset_size_fields(st);
        return EditorOutcome::rebuilt();
    }
    if (const EditorFocus target = field_of_item(id); target.field != EditorFocus::Field::None)
        return focus_field(st, target);
    switch (id) {
    case kClose: return request_close(st);
    case kCloseButton: return EditorOutcome::closing();
    case kUndo: return undo_delete(st, settings);
    case kRestoreDefaults: return restore_defaults(st, settings);
    case kRowsMinus:
    case kRowsPlus:
    case kColumnsMinus:
    case kColumnsPlus: return stepper(st, id);
    case kSpacingMinus:
    case kSpacingPlus: return spacing_stepper(st, id == kSpacingPlus);
    case kSave: return save_layout(st, settings);
    case kCancel:
        st.page = EditorPage::Manage;
        st.focus = {};
        st.error.clear();
        st.reshaped = false;
        st.border_press.reset();
        st.hover_row.reset();
        return EditorOutcome::rebuilt();
    case kAdd:
        enter_edit(st, uniform_grid(1, 3));
        st.reshaped = false;
        st.former_name.reset();
        st.name_field.set_text("");
        st.spacing = 0;
        remember_opened(st);
        // The name comes first: typing can start at once.
        st.focus = {EditorFocus::Field::Name, 0};
        return EditorOutcome::rebuilt(true);
    default: return {};
    }
}

}  // namespace tw
