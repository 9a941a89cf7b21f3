#include "core/engine/extend_window.h"

#include <string>

#include "core/base/log.h"
#include "core/engine/engine.h"
#include "core/engine/zone_span.h"

namespace tw {

namespace {

// The same tolerance the plain move uses to tell that a window sits in a zone.
constexpr int32_t kInZoneTolerance = 8;

void log_extend(const std::string& text) { log("extend_active_window: " + text); }

}  // namespace

void extend_active_window(Engine& engine, Direction d) {
    const std::string dir(direction_name(d));
    log_extend(dir + " pressed");
    if (!engine.running()) {
        log_extend("skip, not running");
        return;
    }
    Desktop& desktop = engine.desktop();
    const WindowId f = desktop.foreground_window();
    // Windows the engine leaves alone, and the program's own window, are the plain
    // move's to refuse or handle.
    const bool may_extend = f != 0 && f != engine.own_windows().main && !desktop.is_cloaked(f) &&
                            is_snappable(desktop, f, engine.own_windows()) &&
                            !engine.window_apps().is_excluded(f);
    if (may_extend) {
        if (const auto wr = desktop.window_rect(f)) {
            const Rect vis = desktop.visible_frame(f, *wr);
            const MonitorZones* row = row_containing(engine.zone_table(), centre(*wr));
            const auto from = row ? zone_or_span_near(vis, row->zones, kInZoneTolerance) : std::nullopt;
            if (from) {
                const auto to = extend_span(*from, row->zones, d);
                if (!to) {
                    log_extend("hwnd=" + std::to_string(f) + " in " + span_text(*from, row->zones) +
                               " " + rect_text(*from) + ": no zone " + dir +
                               " of it on this monitor, nothing changed");
                    return;
                }
                log_extend("hwnd=" + std::to_string(f) + " from " + span_text(*from, row->zones) +
                           " " + rect_text(*from) + " to " + span_text(*to, row->zones) + " " +
                           rect_text(*to));
                place_by_key(engine, f, *to);
                return;
            }
        }
        log_extend("hwnd=" + std::to_string(f) + " is in no zone or span, moving it instead");
    }
    move_active_window(engine, d);
}

}  // namespace tw
