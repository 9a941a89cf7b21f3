#pragma once
// Keyboard control of the engine: moving the active window one zone left, right, up
// or down (across monitors at the edges), cycling the selected screen's layout, and
// the hotkey ids of the engine's actions.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/base/geometry.h"
#include "core/model/hotkeys.h"
#include "core/engine/layout_hotkeys.h"
#include "core/engine/monitor_zones.h"

namespace tw {

class Engine;
struct Settings;

enum class Direction : uint8_t { Left = 0, Right = 1, Up = 2, Down = 3 };

// "Left", "Right", "Up", "Down".
std::string_view direction_name(Direction d);

// The zone next to `from` in direction d: the nearest centre along the axis of
// movement, then the larger overlap across it, then the earlier zone. None when no
// zone lies that way.
std::optional<Rect> neighbour_zone(const Rect& from, const std::vector<Rect>& zones, Direction d);

// The zone of the adjacent monitor that a move across mon's edge in direction d lands
// in: the nearest monitor that overlaps mon across the movement, then its zone that
// touches the shared edge and lies nearest the window centre line through `window_centre`.
std::optional<Rect> cross_monitor_zone(Direction d, const Rect& mon, Point window_centre,
                                       const std::vector<MonitorZones>& rows);

// Moves the foreground window one zone in direction d; every outcome is logged.
void move_active_window(Engine& engine, Direction d);
// Puts w into `zone` (a zone or a span) for a key: an existing hold follows, and a
// placement made counts as a use and is remembered.
void place_by_key(Engine& engine, WindowId w, const Rect& zone);

// Selects the next layout of the selected screen (or of the first screen when none is
// selected). Returns whether a layout was chosen (the screen has layouts): the caller
// then saves the settings, closes the zone shares and lets a running engine's held
// windows follow (Engine::follow_layout_change).
bool cycle_layout(Settings& settings);
// The screen entry the cycle acts on: the selected screen's, else the first; null
// when there is none.
ScreenLayout* cycle_layout_screen(Settings& settings);

// RegisterHotKey ids of the seven engine actions: 320 start/stop, 321 hide/show
// zones, 322 cycle layout, 323 to 326 move left, right, up, down.
inline constexpr int kFirstEngineHotkeyId = 320;
inline constexpr int kLastEngineHotkeyId = 326;
// 327 to 330: extend left, right, up, down.
inline constexpr int kFirstExtendHotkeyId = 327;
inline constexpr int kLastExtendHotkeyId = 330;
std::optional<HotkeyAction> engine_hotkey_action(int id);
int engine_hotkey_id(HotkeyAction action);  // 0 for actions that are not the engine's
std::optional<Direction> move_direction(HotkeyAction action);
std::optional<Direction> extend_direction(HotkeyAction action);

// What the program must do after an engine hotkey.
struct HotkeyOutcome {
    bool handled = false;           // the id belongs to the engine
    bool settings_changed = false;  // save, close the zone shares, held windows follow
    // The layout that became active (cycle, Apply layout n): the caller shows its notice.
    std::optional<AppliedLayout> layout;
};
// Carries out the engine action bound to hotkey `id` (320 to 330, and Apply layout
// 331 to 339 on the screen `layout_hotkey_screen` picks among `screens`), except the
// follow-ups of a layout change, which the outcome asks for.
HotkeyOutcome handle_engine_hotkey(Engine& engine, Settings& settings, int id,
                                   std::span<const ScreenInfo> screens = {});

}  // namespace tw
