#include "core/engine/last_zone.h"

#include <algorithm>

#include "core/base/log.h"
#include "core/engine/eligibility.h"
#include "core/engine/zone_span.h"

namespace tw {

namespace {

std::string window_text(WindowId w, const AppKey& app) {
    return "hwnd=" + std::to_string(w) + " '" + app.exe_path + "' cls='" + app.cls + "'";
}

std::string place_text(const ZonePlace& p) {
    const std::string zones = p.span_end == 0 ? "zone " + std::to_string(p.zone)
                                              : "span of zones " + std::to_string(p.zone) + " to " +
                                                    std::to_string(p.span_end);
    return zones + " of '" + p.layout + "' on " + p.screen_id;
}

bool usable(const std::vector<Rect>& zones, uint32_t number) {
    return number != 0 && number <= zones.size() && !is_empty(zones[number - 1]);
}

}  // namespace

std::optional<ZonePlace> place_of_zone(const std::vector<MonitorZones>& table, const Rect& zone) {
    for (const MonitorZones& row : table)
        for (size_t i = 0; i < row.zones.size(); ++i)
            if (row.zones[i] == zone)
                return ZonePlace{row.screen_id, row.layout, static_cast<uint32_t>(i + 1)};
    // A span is kept as its top-left and bottom-right zones: their span is the span.
    for (const MonitorZones& row : table) {
        if (const auto corners = span_corners(zone, row.zones))
            return ZonePlace{row.screen_id, row.layout, static_cast<uint32_t>(corners->first + 1),
                             static_cast<uint32_t>(corners->second + 1)};
    }
    return std::nullopt;
}

PlaceLookup zone_of_place(const std::vector<MonitorZones>& table, const ZonePlace& place) {
    for (const MonitorZones& row : table) {
        if (row.screen_id != place.screen_id) continue;
        if (row.layout != place.layout)
            return {std::nullopt, "layout '" + place.layout + "' is not active on " + place.screen_id};
        const bool span = place.span_end != 0;
        for (uint32_t n : {place.zone, span ? place.span_end : place.zone}) {
            if (!usable(row.zones, n))
                return {std::nullopt, "zone " + std::to_string(n) + " of '" + place.layout +
                                          "' is not on the screen"};
        }
        const Rect& first = row.zones[place.zone - 1];
        if (!span) return {first, {}};
        return {span_of(first, row.zones[place.span_end - 1], row.zones), {}};
    }
    return {std::nullopt, "screen " + place.screen_id + " is not attached or has no zones"};
}

void LastZoneKeeper::set_enabled(bool on) {
    if (on && !enabled_) watch_.reset();
    enabled_ = on;
    if (!on) placed_.clear();
}

void LastZoneKeeper::changed() {
    if (persist_) persist_(memory_);
}

void LastZoneKeeper::placed(WindowId w, const Rect& zone, const std::vector<MonitorZones>& table) {
    if (!enabled_) return;
    auto place = place_of_zone(table, zone);
    if (!place) return;
    AppKey app{apps_.exe_path(w), desktop_.class_name(w)};
    if (app.exe_path.empty()) return;
    if (placed_.size() >= kPlacedLimit)
        std::erase_if(placed_, [this](const auto& e) { return !desktop_.is_window(e.first); });
    if (memory_.remember(app, *place)) changed();
    placed_[w] = Placed{std::move(app), std::move(*place)};
}

void LastZoneKeeper::note_events(const std::vector<ConfinerEvent>& events, const Confiner& confiner,
                                 const std::vector<MonitorZones>& table) {
    if (!enabled_) return;
    for (const ConfinerEvent& e : events) {
        auto it = placed_.find(e.window);
        if (e.kind == ConfinerEventKind::NotInZone) {
            if (it == placed_.end()) continue;
            if (memory_.forget(it->second.app, it->second.place)) {
                log("last_zone: " + window_text(e.window, it->second.app) +
                    " was moved out of its zone; its application's zone is forgotten");
                changed();
            }
            placed_.erase(it);
            continue;
        }
        const HeldWindow* hw = confiner.hold(e.window);
        if (!hw) continue;
        // Seen in its zone on every pass: remembered once, not on every pass.
        if (it != placed_.end()) {
            auto place = place_of_zone(table, hw->zone);
            if (place && *place == it->second.place) continue;
        }
        placed(e.window, hw->zone, table);
    }
}

bool LastZoneKeeper::may_open(WindowId w, uint32_t own_pid, std::string& cls) {
    // The confiner's rules for windows it may touch, and no dialogs or owned windows:
    // a maximised window is confined as any other.
    auto snap = desktop_.snapshot(w);
    if (!snap || !(snap->style & kWsVisible) || (snap->style & (kWsMinimize | kWsMaximize)))
        return false;
    if (snap->ex_style & (kWsExTopmost | kWsExToolWindow | kWsExDlgModalFrame)) return false;
    if (desktop_.process_id(w) == own_pid || desktop_.owner_window(w) != 0) return false;
    cls = desktop_.class_name(w);
    return !cls.empty() && cls != "#32770" && !is_shell_window_class(cls);
}

std::vector<LastZoneKeeper::Opening> LastZoneKeeper::take_openings(
    const std::vector<MonitorZones>& table, const std::vector<WindowId>& own, uint32_t own_pid,
    uint64_t now_ms, WindowId foreground) {
    std::vector<Opening> out;
    if (!enabled_) return out;
    for (WindowId w : watch_.poll(desktop_, now_ms, foreground)) {
        if (std::find(own.begin(), own.end(), w) != own.end()) continue;
        std::string cls;
        if (!may_open(w, own_pid, cls) || apps_.is_excluded(w)) continue;
        const AppKey app{apps_.exe_path(w), cls};
        const ZonePlace* place = app.exe_path.empty() ? nullptr : memory_.find(app);
        if (!place) continue;
        const PlaceLookup found = zone_of_place(table, *place);
        if (!found.zone) {
            log("last_zone: " + window_text(w, app) + " left where it opened: " + found.reason);
            continue;
        }
        log("last_zone: opening " + window_text(w, app) + " in " + place_text(*place) + " " +
            rect_text(*found.zone));
        out.push_back({w, *found.zone});
    }
    return out;
}

}  // namespace tw
