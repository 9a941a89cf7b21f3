#pragma once
// The tray icon's popup menu as data: its items (texts with the shortcut after a tab,
// greyed and checked flags, command numbers, the Layout and Share submenus) built
// from the program state, and what a chosen command number means. The Win32 side only
// turns the items into a menu and carries out the decision.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/monitors.h"
#include "core/model/settings.h"

namespace tw {

namespace tray_id {
inline constexpr uint32_t kShow = 200;
inline constexpr uint32_t kExit = 201;
inline constexpr uint32_t kStartStop = 202;
inline constexpr uint32_t kZones = 203;
inline constexpr uint32_t kLayout = 250;  // + layout index
inline constexpr size_t kMaxLayouts = 20;
inline constexpr uint32_t kShare = 1000;  // + 9 x table row + zone index
inline constexpr size_t kZonesPerRow = 9;
inline constexpr uint32_t kLastShare = 1269;
}  // namespace tray_id

enum class TrayItemKind : uint8_t { Command, Separator, Submenu };

struct TrayMenuItem {
    TrayItemKind kind = TrayItemKind::Command;
    std::string text;  // UTF-8, ready for a menu: "&" doubled in names, tab before a shortcut
    uint32_t command = 0;
    bool grayed = false;
    bool checked = false;
    std::vector<TrayMenuItem> children;  // a submenu's items
    friend bool operator==(const TrayMenuItem&, const TrayMenuItem&) = default;
};

struct TrayMenuInput {
    explicit TrayMenuInput(const Settings& s) : settings(s) {}
    const Settings& settings;
    std::span<const ScreenInfo> screens;
    std::span<const MonitorZones> zone_table;  // the monitor zone table of the settings
    bool engine_running = false;
    bool zones_shown = false;
    // Whether a share window for (screen id, zone index) exists.
    std::function<bool(const std::string& screen_id, size_t zone)> shared;
};

// The whole menu, texts from the current catalog: Show, separator, Start/Stop, the
// zones item, the Layout submenu, the Share submenu, separator, Exit.
std::vector<TrayMenuItem> build_tray_menu(const TrayMenuInput& in);

// A name the user chose, made safe as a menu text: "&" would underline the next
// character and a tab would start the shortcut column.
std::string menu_safe(std::string_view name);

enum class TrayAction : uint8_t {
    None,         // dismissed, or the layout or table row is gone
    ShowMain,
    Exit,
    MainCommand,  // the main window's command `main_command`, the one path for it
    ToggleShare,  // zone `zone` of screen `screen_id`
    // Layout `layout` of screen `screen_id` by its place in the screen's list, picked as
    // in the main window (not as a row of that window's list, which may be scrolled).
    SelectLayout,
};

struct TrayCommand {
    TrayAction action = TrayAction::None;
    uint64_t main_command = 0;
    std::string screen_id;
    size_t zone = 0;
    size_t layout = 0;
    friend bool operator==(const TrayCommand&, const TrayCommand&) = default;
};

// What a command returned by the menu does, against the state at the moment it was
// chosen (`zone_table` rebuilt then): Start/Stop, the zones item and a layout become
// the main window's commands for them; a share names its screen and zone while that
// row and zone still exist.
TrayCommand decide_tray_command(uint32_t command, const Settings& settings,
                                std::span<const MonitorZones> zone_table);

}  // namespace tw
