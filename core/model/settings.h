#pragma once
// The settings record persisted in %APPDATA%\Tilewright\settings.json: a tolerant
// hand-written reader (a bad value falls back to its default, unknown top-level
// entries are kept verbatim), a fixed-template writer and an atomic save.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/color.h"
#include "core/model/desktop_layouts.h"
#include "core/model/hotkeys.h"
#include "core/model/layout_model.h"

namespace tw {

enum class Theme : uint8_t { Dark, Light, Auto };

struct Settings {
    bool auto_start = false;
    uint32_t accent_color = kDefaultAccent;  // 0xRRGGBB
    Theme theme = Theme::Dark;
    std::string language = "en";
    bool hide_to_tray = true;
    bool start_minimized = false;
    bool update_automatically = false;
    bool usage_statistics = true;
    // Off: no update request at all, so no usage ping either. Written only when off.
    bool check_for_updates = true;
    // When "Later" was chosen in the update dialog (seconds since 1970); the dialog
    // stays away until the next daily check. Written only while set.
    std::optional<uint64_t> update_later_at;
    std::optional<std::string> skipped_update_version;
    std::optional<std::pair<int32_t, int32_t>> window_pos;
    bool default_layouts_seeded = false;
    // The first-start hint was dismissed, or Tilewright was started: written only then.
    bool start_hint_done = false;
    // The main window was hidden to the tray once and said so: written only then.
    bool tray_notice_shown = false;
    // Indexed by HotkeyAction: the seven engine actions, then Share Zone 1 to 9.
    std::array<HotkeyBinding, kHotkeyActionCount> hotkeys = default_bindings();
    std::vector<ScreenLayout> screens;
    std::string selected_screen;
    // Windows of a new application go to the zone its windows were last put in.
    bool open_in_last_zone = false;
    // Executables the engine never touches: file names ("vlc.exe") or full paths.
    std::vector<std::string> excluded_apps;
    // The file name of a copy kept of a settings file that could not be read in full,
    // shown to the user until dismissed; empty (and not written) otherwise.
    std::string kept_settings_copy;
    // The layout chosen per screen and virtual desktop ("DesktopLayouts").
    std::vector<DesktopLayoutChoice> desktop_layouts;
    // Top-level entries with unknown keys: (raw key text, raw value text), in file order.
    std::vector<std::pair<std::string, std::string>> extra;
    // Read from old files for the usage counter only; never written as fixed lines.
    std::optional<uint64_t> used_count;
    std::optional<uint64_t> counting_since;

    HotkeyBinding& hotkey(HotkeyAction a) { return hotkeys[static_cast<size_t>(a)]; }
    const HotkeyBinding& hotkey(HotkeyAction a) const { return hotkeys[static_cast<size_t>(a)]; }
    friend bool operator==(const Settings&, const Settings&) = default;
};

// Size of the primary monitor's work area, for migrating a legacy custom region.
struct WorkAreaSize {
    int64_t width = 1920;
    int64_t height = 1080;
};

// Pure reader and writer of the file text.
Settings parse_settings(std::string_view text, WorkAreaSize primary_work = {});
std::string serialize_settings(const Settings& settings);

// "APPDATA"\Tilewright; none when the variable is missing.
std::optional<std::filesystem::path> settings_dir();
std::optional<std::filesystem::path> settings_path();

// Reads settings.json (after the one-time copy from the former folder); never fails.
// A file that exists but cannot be read gives the defaults, and then no save of this
// run writes over it.
Settings load_settings(WorkAreaSize primary_work = {});
// Writes settings.json atomically; failures leave the old file as it was.
void save_settings(const Settings& settings);

}  // namespace tw
