#pragma once
// Opening windows in their application's last zone: the engine tells the keeper of
// every window it puts into a zone and of every window found out of one; the keeper
// remembers, per application, the latest zone (screen, layout, zone number), forgets
// it when the window put there is moved to a free position, and picks the zone of a
// new window when it is first shown. Nothing is remembered or placed while the
// preference is off.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/confiner.h"
#include "core/engine/desktop.h"
#include "core/engine/monitor_zones.h"
#include "core/engine/new_windows.h"
#include "core/engine/window_apps.h"
#include "core/model/last_zones.h"

namespace tw {

// The screen, layout and zone number of a zone rectangle of the table (the first
// match); none for a rectangle that is no zone of it.
std::optional<ZonePlace> place_of_zone(const std::vector<MonitorZones>& table, const Rect& zone);
// The rectangle of a remembered place when its screen has zones and the layout in
// force there is the remembered one; otherwise the reason it cannot be used.
struct PlaceLookup {
    std::optional<Rect> zone;
    std::string reason;
};
PlaceLookup zone_of_place(const std::vector<MonitorZones>& table, const ZonePlace& place);

class LastZoneKeeper {
public:
    // Windows put into a zone are followed until this many are listed; then those that
    // are gone are forgotten.
    static constexpr size_t kPlacedLimit = 64;

    LastZoneKeeper(Desktop& desktop, WindowApps& apps) : desktop_(desktop), apps_(apps) {}

    // On: windows that exist now are not new; only those that appear later are opened
    // in their zone.
    void set_enabled(bool on);
    bool enabled() const { return enabled_; }
    // The engine starts: windows opened while it was stopped are not new.
    void watch_afresh() { watch_.reset(); }
    LastZones& memory() { return memory_; }
    // Called after every change of the memory (the application writes the file).
    void set_persist(std::function<void(const LastZones&)> persist) { persist_ = std::move(persist); }

    // The engine put `w` into `zone` of `table`.
    void placed(WindowId w, const Rect& zone, const std::vector<MonitorZones>& table);
    // A confiner pass: windows it confined (or found in their zone) are remembered, a
    // window put into a zone and now found at a free position makes its application
    // forget the zone.
    void note_events(const std::vector<ConfinerEvent>& events, const Confiner& confiner,
                     const std::vector<MonitorZones>& table);

    struct Opening {
        WindowId window = 0;
        Rect zone;
    };
    // New windows shown since the last call that go into their application's zone
    // (each such window, and each left alone, has its log line). `own` are the
    // program's windows, `own_pid` its process, `foreground` the pass's foreground window.
    std::vector<Opening> take_openings(const std::vector<MonitorZones>& table,
                                       const std::vector<WindowId>& own, uint32_t own_pid,
                                       uint64_t now_ms, WindowId foreground);

private:
    struct Placed {
        AppKey app;
        ZonePlace place;
    };
    void changed();
    bool may_open(WindowId w, uint32_t own_pid, std::string& cls);

    Desktop& desktop_;
    WindowApps& apps_;
    bool enabled_ = false;
    LastZones memory_;
    std::function<void(const LastZones&)> persist_;
    std::map<WindowId, Placed> placed_;
    NewWindowWatch watch_;
};

}  // namespace tw
