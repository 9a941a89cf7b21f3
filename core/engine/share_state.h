#pragma once
// The decisions of Share Zone that need no window system: which shares exist (the share
// map), what a toggle does, which screen a Share Zone hotkey acts on, and the
// application identity of a mirror window.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/geometry.h"
#include "core/engine/desktop.h"
#include "core/engine/monitors.h"

namespace tw {

struct Settings;

// The mirror windows whose shares are running.
using LiveShares = std::vector<WindowId>;

// (screen id, zero-based zone index in the screen's layout in force) -> mirror window.
// An entry whose window is not among the live shares counts as not shared.
class ShareMap {
public:
    std::optional<WindowId> live_window(const std::string& screen_id, size_t zone, const LiveShares& live) const;
    void put(const std::string& screen_id, size_t zone, WindowId mirror);
    void erase(const std::string& screen_id, size_t zone);
    // Zone indexes of a screen with a live share, ascending.
    std::vector<size_t> shared_zones(const std::string& screen_id, const LiveShares& live) const;
    // Screens with at least one live share, in id order.
    std::vector<std::string> shared_screens(const LiveShares& live) const;
    void clear() { entries_.clear(); }

private:
    struct Entry {
        std::string screen_id;
        size_t zone;
        WindowId mirror;
    };
    std::vector<Entry> entries_;  // a handful at most
};

// What toggling the share of one zone does.
struct ShareToggle {
    enum class Kind : uint8_t { Nothing, Stop, Start } kind = Kind::Nothing;
    WindowId mirror = 0;  // Stop: the window to destroy
    Rect zone;            // Start: the zone to share
    friend bool operator==(const ShareToggle&, const ShareToggle&) = default;
};

// `zones` are the pixel zones of the screen's layout in force (empty when the screen is
// not attached). A zone index beyond them does nothing; a live share stops; otherwise,
// also when the mirror window was closed some other way, a share starts.
ShareToggle decide_share_toggle(const ShareMap& map, const std::string& screen_id, size_t zone,
                                const std::vector<Rect>& zones, const LiveShares& live);

// The pixel zones of a screen's layout in force, for sharing: none when the screen is
// not attached or has no settings entry.
std::vector<Rect> share_zone_rects(const Settings& settings, const std::vector<ScreenInfo>& screens,
                                   const std::string& screen_id);

// The screen a Share Zone hotkey acts on: the monitor of the foreground window (given
// only when that window belongs to another program), else the monitor under the cursor,
// each only when it is an attached screen; else the selected screen's entry (the first
// entry when the selection names none) when that screen is attached. Monitors are the
// opaque handles of ScreenInfo::monitor.
std::optional<std::string> share_hotkey_screen(const std::vector<ScreenInfo>& screens, const Settings& settings,
                                               std::optional<int64_t> foreground_monitor,
                                               std::optional<int64_t> cursor_monitor);

// The mirror window's title: "Tilewright - Share Zone {zone + 1}".
std::string share_title(size_t zone);

// The AppUserModelID of a mirror window: "Corvane.Tilewright." followed by the title
// reduced to ASCII letters and digits, each run of other characters (any byte of a
// non-ASCII character included) becoming one "." and none at the start or the end; at
// most 127 bytes, never ending in ".".
inline constexpr size_t kMaxAppIdBytes = 127;
std::string share_app_id(std::string_view title);

}  // namespace tw
