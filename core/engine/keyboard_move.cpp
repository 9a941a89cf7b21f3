#include "core/engine/keyboard_move.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>

#include "core/engine/engine.h"
#include "core/engine/engine_placement.h"
#include "core/engine/extend_window.h"
#include "core/base/log.h"
#include "core/model/settings.h"

namespace tw {

namespace {

bool horizontal(Direction d) { return d == Direction::Left || d == Direction::Right; }

int64_t dist(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

std::string dir_text(Direction d) { return std::string(direction_name(d)); }

void log_move(std::string_view text) { log("move_active_window: " + std::string(text)); }

}  // namespace

void place_by_key(Engine& engine, WindowId w, const Rect& zone) {
    Confiner& confiner = engine.confiner();
    confiner.move_hold(w, zone);
    auto placed = place_window_in_zone(engine.desktop(), w, zone, &confiner.own_sizes());
    if (!placed) return;
    if (placed->fixed_size) confiner.move_hold(w, zone, placed->target);
    engine.count_use();
    if (engine.running()) engine.note_placed(w, zone);
}

namespace {

int64_t clamp_into(int64_t v, int64_t size, int32_t lo, int32_t hi) {
    v = std::min(v, int64_t{hi} - size);
    return std::max(v, int64_t{lo});
}

// The program's own main window keeps its size and is centred in the zone next to
// the one it is over, staying inside its monitor.
void centre_main_window(Engine& engine, Direction d, WindowId main, const Rect& wr, Point c,
                        const MonitorZones* row) {
    if (!row) {
        log_move("TW window, no zones on its monitor " + dir_text(d));
        return;
    }
    const auto& rows = engine.zone_table();
    const Rect cur = *zone_at_point(c, row->zones);
    std::optional<Rect> mon = row->monitor;
    std::optional<Rect> t = neighbour_zone(cur, row->zones, d);
    if (!t) {
        t = cross_monitor_zone(d, row->monitor, c, rows);
        if (t) {
            const MonitorZones* landing = row_containing(rows, centre(*t));
            mon = landing ? std::optional<Rect>(landing->monitor) : std::nullopt;
        } else {
            t = cur;
        }
    }
    const int64_t w = int64_t{wr.right} - wr.left;
    const int64_t h = int64_t{wr.bottom} - wr.top;
    const Point tc = centre(*t);
    int64_t x = int64_t{tc.x} - w / 2;
    int64_t y = int64_t{tc.y} - h / 2;
    if (mon) {
        x = clamp_into(x, w, mon->left, mon->right);
        y = clamp_into(y, h, mon->top, mon->bottom);
    }
    const auto xi = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
    const auto yi = static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX));
    log_move("centering TW window in target zone " + rect_struct_text(*t) + " at (" +
             std::to_string(xi) + "," + std::to_string(yi) + ")");
    // Counted like every other placement: only when the window was actually moved.
    if (engine.desktop().set_window_pos(main, xi, yi, 0, 0,
                                        kSwpNoSize | kSwpNoZOrder | kSwpNoActivate))
        engine.count_use();
}

}  // namespace

std::string_view direction_name(Direction d) {
    switch (d) {
    case Direction::Left: return "Left";
    case Direction::Right: return "Right";
    case Direction::Up: return "Up";
    case Direction::Down: return "Down";
    }
    return "Left";
}

std::optional<Rect> neighbour_zone(const Rect& from, const std::vector<Rect>& zones,
                                   Direction d) {
    const Point f = centre(from);
    std::optional<Rect> best;
    int64_t best_dist = 0, best_overlap = 0;
    for (const Rect& z : zones) {
        if (is_empty(z)) continue;  // what lay outside the screen is never a target
        const Point zc = centre(z);
        bool candidate = false;
        switch (d) {
        case Direction::Left: candidate = zc.x < f.x; break;
        case Direction::Right: candidate = zc.x > f.x; break;
        case Direction::Up: candidate = zc.y < f.y; break;
        case Direction::Down: candidate = zc.y > f.y; break;
        }
        if (!candidate) continue;
        const int64_t distance = horizontal(d) ? dist(f.x, zc.x) : dist(f.y, zc.y);
        const int64_t shared = horizontal(d) ? overlap_length(from.top, from.bottom, z.top, z.bottom)
                                             : overlap_length(from.left, from.right, z.left, z.right);
        if (!best || distance < best_dist || (distance == best_dist && shared > best_overlap)) {
            best = z;
            best_dist = distance;
            best_overlap = shared;
        }
    }
    return best;
}

std::optional<Rect> cross_monitor_zone(Direction d, const Rect& mon, Point window_centre,
                                       const std::vector<MonitorZones>& rows) {
    const Point m = centre(mon);
    const MonitorZones* best_row = nullptr;
    int64_t best_gap = 0;
    for (const MonitorZones& row : rows) {
        if (row.zones.empty()) continue;
        const Rect& b = row.monitor;
        const Point bc = centre(b);
        bool candidate = false;
        int64_t gap = 0;
        switch (d) {
        case Direction::Left:
            candidate = bc.x < m.x;
            gap = dist(mon.left, b.right);
            break;
        case Direction::Right:
            candidate = bc.x > m.x;
            gap = dist(b.left, mon.right);
            break;
        case Direction::Up:
            candidate = bc.y < m.y;
            gap = dist(mon.top, b.bottom);
            break;
        case Direction::Down:
            candidate = bc.y > m.y;
            gap = dist(b.top, mon.bottom);
            break;
        }
        const int64_t across = horizontal(d) ? overlap_length(b.top, b.bottom, mon.top, mon.bottom)
                                             : overlap_length(b.left, b.right, mon.left, mon.right);
        if (!candidate || across <= 0) continue;
        if (!best_row || gap < best_gap) {
            best_row = &row;
            best_gap = gap;
        }
    }
    if (!best_row) return std::nullopt;
    const Rect& b = best_row->monitor;
    std::optional<Rect> best;
    std::pair<int64_t, int64_t> best_key{0, 0};
    for (const Rect& z : best_row->zones) {
        if (is_empty(z)) continue;
        const Point zc = centre(z);
        std::pair<int64_t, int64_t> key;
        switch (d) {
        case Direction::Left: key = {dist(b.right, z.right), dist(zc.y, window_centre.y)}; break;
        case Direction::Right: key = {dist(z.left, b.left), dist(zc.y, window_centre.y)}; break;
        case Direction::Up: key = {dist(b.bottom, z.bottom), dist(zc.x, window_centre.x)}; break;
        case Direction::Down: key = {dist(z.top, b.top), dist(zc.x, window_centre.x)}; break;
        }
        if (!best || key < best_key) {
            best = z;
            best_key = key;
        }
    }
    return best;
}

void move_active_window(Engine& engine, Direction d) {
    log_move(dir_text(d) + " pressed");
    if (!engine.running()) {
        log_move("skip, not running");
        return;
    }
    Desktop& desktop = engine.desktop();
    const WindowId main = engine.own_windows().main;
    const WindowId f = desktop.foreground_window();
    if (f != 0 && desktop.is_cloaked(f)) {
        log_move("skip, hwnd=" + std::to_string(f) + " cloaked (another virtual desktop)");
        return;
    }
    const bool is_main = f != 0 && f == main;
    if (!is_main && !is_snappable(desktop, f, engine.own_windows())) {
        log_move("skip, hwnd=" + std::to_string(f) +
                 " not snappable (own/shell/foreign-pid window)");
        return;
    }
    if (!is_main && engine.window_apps().is_excluded(f)) {
        log_move("skip, hwnd=" + std::to_string(f) + " of excluded application '" +
                 engine.window_apps().exe_path(f) + "'");
        return;
    }
    const auto wr = desktop.window_rect(f);
    if (!wr) {
        log_move("skip, GetWindowRect failed for hwnd=" + std::to_string(f));
        return;
    }
    const Point c = centre(*wr);
    const auto& rows = engine.zone_table();
    const MonitorZones* row = row_containing(rows, c);
    if (is_main) {
        centre_main_window(engine, d, main, *wr, c, row);
        return;
    }
    const std::vector<Rect> no_zones;
    const std::vector<Rect>& zones = row ? row->zones : no_zones;
    const Rect vis = desktop.visible_frame(f, *wr);
    log_move("hwnd=" + std::to_string(f) + " center=(" + std::to_string(c.x) + "," +
             std::to_string(c.y) + ") vis=" + rect_struct_text(vis) +
             " zones=" + rect_list_text(zones));

    if (!zones.empty()) {
        const Rect cur = *zone_at_point(c, zones);
        auto in = std::find_if(zones.begin(), zones.end(),
                               [&](const Rect& z) { return near(z, vis, 8); });
        std::optional<Rect> t;
        if (in != zones.end())
            t = neighbour_zone(*in, zones, d);
        else
            t = neighbour_zone(cur, zones, d).value_or(cur);
        if (t) {
            log_move("moving hwnd=" + std::to_string(f) + " to target_zone=" +
                     rect_struct_text(*t));
            place_by_key(engine, f, *t);
            return;
        }
    }
    if (row) {
        if (auto t = cross_monitor_zone(d, row->monitor, c, rows)) {
            log_move("cross-monitor " + dir_text(d) + " to " + rect_struct_text(*t));
            place_by_key(engine, f, *t);
            return;
        }
    }
    log_move("no destination " + dir_text(d) + " (edge or no zones)");
}

ScreenLayout* cycle_layout_screen(Settings& settings) {
    if (settings.screens.empty()) return nullptr;
    ScreenLayout* screen = find_screen(settings, settings.selected_screen);
    return screen ? screen : &settings.screens.front();
}

bool cycle_layout(Settings& settings) {
    ScreenLayout* screen = cycle_layout_screen(settings);
    if (!screen) return false;
    const auto& layouts = screen->layouts;
    if (layouts.empty()) return false;
    auto it = std::find_if(layouts.begin(), layouts.end(),
                           [&](const Layout& l) { return l.name == screen->active_layout; });
    const std::string& next =
        (it == layouts.end() || std::next(it) == layouts.end()) ? layouts.front().name
                                                                 : std::next(it)->name;
    // Even when the only layout is chosen again, the follow-ups (save, close the shares,
    // held windows follow) run, as for any choice of layout.
    screen->active_layout = next;
    return true;
}

std::optional<HotkeyAction> engine_hotkey_action(int id) {
    if (id >= kFirstExtendHotkeyId && id <= kLastExtendHotkeyId)
        return static_cast<HotkeyAction>(kFirstExtendAction + static_cast<size_t>(id - kFirstExtendHotkeyId));
    if (id < kFirstEngineHotkeyId || id > kLastEngineHotkeyId) return std::nullopt;
    return static_cast<HotkeyAction>(id - kFirstEngineHotkeyId);
}

int engine_hotkey_id(HotkeyAction action) {
    const int index = static_cast<int>(action);
    if (extend_direction(action)) return kFirstExtendHotkeyId + index - static_cast<int>(kFirstExtendAction);
    if (index >= static_cast<int>(kEngineActionCount)) return 0;
    return kFirstEngineHotkeyId + index;
}

std::optional<Direction> move_direction(HotkeyAction action) {
    switch (action) {
    case HotkeyAction::MoveLeft: return Direction::Left;
    case HotkeyAction::MoveRight: return Direction::Right;
    case HotkeyAction::MoveUp: return Direction::Up;
    case HotkeyAction::MoveDown: return Direction::Down;
    default: return std::nullopt;
    }
}

std::optional<Direction> extend_direction(HotkeyAction action) {
    switch (action) {
    case HotkeyAction::ExtendLeft: return Direction::Left;
    case HotkeyAction::ExtendRight: return Direction::Right;
    case HotkeyAction::ExtendUp: return Direction::Up;
    case HotkeyAction::ExtendDown: return Direction::Down;
    default: return std::nullopt;
    }
}

HotkeyOutcome handle_engine_hotkey(Engine& engine, Settings& settings, int id,
                                   std::span<const ScreenInfo> screens) {
    if (auto n = apply_layout_hotkey_number(id)) {
        HotkeyOutcome out{true, false, std::nullopt};
        const ScreenInfo* screen = layout_hotkey_screen(engine.desktop(), screens);
        if (!screen) {
            log("layout_hotkey: layout " + std::to_string(*n) + " pressed, but no screen is in front; nothing changed");
            return out;
        }
        out.layout = apply_layout_number(settings, screen->id, *n);
        out.settings_changed = out.layout.has_value();
        return out;
    }
    const auto action = engine_hotkey_action(id);
    if (!action) return {};
    HotkeyOutcome out{true, false, std::nullopt};
    switch (*action) {
    case HotkeyAction::StartStop: engine.toggle_running(); break;
    case HotkeyAction::ToggleZones: engine.toggle_zones(); break;
    case HotkeyAction::CycleLayout:
        out.settings_changed = cycle_layout(settings);
        if (out.settings_changed) {
            const ScreenLayout* screen = cycle_layout_screen(settings);
            out.layout = AppliedLayout{screen->id, screen->active_layout};
        }
        break;
    default:
        if (auto d = move_direction(*action)) {
            move_active_window(engine, *d);
            engine.report_refused_moves();
        } else if (auto e = extend_direction(*action)) {
            extend_active_window(engine, *e);
            engine.report_refused_moves();
        }
        break;
    }
    return out;
}

}  // namespace tw
