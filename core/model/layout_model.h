#pragma once
// Zones, layouts and the per-screen state that every other part works on, with the
// built-in default layouts and the repair and reconciliation rules.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/text_util.h"

namespace tw {

// Fractions 0..1 of the screen area chosen by the screen's CoverTaskbar flag. Values
// read from the file are kept as they are (no clamping, no reordering).
struct Zone {
    double left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Zone&, const Zone&) = default;
};

inline constexpr int kMinSpacing = 0;
inline constexpr int kMaxSpacing = 64;

struct Layout {
    std::string name;         // unique key within its screen for all look-ups
    std::vector<Zone> zones;  // zone n in the UI is zones[n - 1]
    // Gap in pixels at 100 % scaling between neighbouring zones and between the zones
    // and the edge of the screen area, kMinSpacing..kMaxSpacing.
    int spacing = 0;
    friend bool operator==(const Layout&, const Layout&) = default;
};

struct ScreenLayout {
    std::string id;             // stable monitor id, or "primary-legacy" after migration
    std::string name;           // display name, refreshed at every reconciliation
    bool enabled = false;
    bool cover_taskbar = false;
    std::string active_layout;  // Name of the active layout
    std::vector<Layout> layouts;
    friend bool operator==(const ScreenLayout&, const ScreenLayout&) = default;
};

inline constexpr std::string_view kLegacyPrimaryId = "primary-legacy";

// The built-in default layouts as the program carries them: CRLF, one line per layout.
std::string_view default_layouts_text();
std::vector<Layout> default_layouts();
// Defaults whose name no layout of `existing` has, in default order.
std::vector<Layout> missing_default_layouts(const std::vector<Layout>& existing);
// Rule A: a screen with layouts always names one of them as active.
void repair_active_layout(ScreenLayout& screen);
std::string translate_legacy_layout_id(std::string_view id);
// Rule B: the record for an attached screen that has no entry yet.
ScreenLayout new_screen_layout(std::string_view id, std::string_view name);
const Layout* active_layout(const ScreenLayout& screen);
bool is_valid_layout_name(std::string_view name);

// One attached screen as the reconciliation needs it.
struct AttachedScreen {
    std::string id;
    std::string name;
    bool primary = false;
};

struct Settings;
ScreenLayout* find_screen(Settings& settings, std::string_view id);
const ScreenLayout* find_screen(const Settings& settings, std::string_view id);

// Brings the screen entries and SelectedScreen in step with the attached screens
// (legacy primary take-over, names refreshed, new entries appended, unplugged
// screens kept).
void reconcile_screens(Settings& settings, const std::vector<AttachedScreen>& attached);

}  // namespace tw
