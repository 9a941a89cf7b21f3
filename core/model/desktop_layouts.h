#pragma once
// A layout per virtual desktop: for each screen, the layout the user chose while a
// given virtual desktop was current. Switching to that desktop makes the choice the
// screen's active layout again; a desktop without a choice keeps the screen's
// ActiveLayout (the layout in force, as without virtual desktops). Choices for
// desktops, screens or layouts that no longer exist are dropped.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

struct Settings;

// One choice; stored in settings.json as the list "DesktopLayouts" of
// { "Screen": id, "Desktop": "{GUID}", "Layout": name }, written only when not empty.
struct DesktopLayoutChoice {
    std::string screen;
    std::string desktop;
    std::string layout;
    friend bool operator==(const DesktopLayoutChoice&, const DesktopLayoutChoice&) = default;
};

inline constexpr std::string_view kDesktopLayoutsKey = "DesktopLayouts";

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (upper-case) of a GUID as the 16 bytes the
// system stores (Data1, Data2 and Data3 little-endian, then Data4 as it stands).
std::string guid_text(std::span<const uint8_t, 16> bytes);
// The GUIDs of a value that holds them back to back; a trailing partial one is ignored.
std::vector<std::string> guid_list(std::span<const uint8_t> bytes);

// The user chose the screen's active layout while `desktop` is current: remembered
// for that screen and desktop. Nothing without a known desktop or screen entry.
// Returns whether the choices changed.
bool record_desktop_choice(Settings& settings, std::string_view screen_id, std::string_view desktop);

// `desktop` became current: every screen with a choice for it (naming a layout it
// still has) takes that layout. Returns the ids of the screens whose active layout
// changed.
std::vector<std::string> apply_desktop_choices(Settings& settings, std::string_view desktop);

// Drops the choices for desktops not in `desktops` (only when the list is known, i.e.
// not empty), for screens without an entry and for layouts their screen no longer
// has. Returns how many were dropped.
size_t prune_desktop_choices(Settings& settings, std::span<const std::string> desktops);

// Reading and writing the settings list.
std::vector<DesktopLayoutChoice> read_desktop_choices(std::string_view settings_text);
std::string desktop_choices_value(const std::vector<DesktopLayoutChoice>& choices);

}  // namespace tw
