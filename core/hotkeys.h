#pragma once
// Global keyboard shortcuts: bindings as stored in the settings file, the bindable
// actions with their defaults, and the text form shown to the user.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

inline constexpr uint32_t kModAlt = 1;
inline constexpr uint32_t kModControl = 2;
inline constexpr uint32_t kModShift = 4;
inline constexpr uint32_t kModWin = 8;
inline constexpr uint32_t kModNoRepeat = 0x4000;

// (modifier flags, virtual-key code); modifiers 0 means unbound, stored as (0, 0).
struct HotkeyBinding {
    uint32_t modifiers = 0;
    uint32_t key = 0;
    bool bound() const { return modifiers != 0; }
    friend bool operator==(const HotkeyBinding&, const HotkeyBinding&) = default;
};

// The sixteen bindable actions, in settings order: the seven engine actions, then
// Share Zone 1 to 9.
enum class HotkeyAction : uint8_t {
    StartStop, ToggleZones, CycleLayout, MoveLeft, MoveRight, MoveUp, MoveDown,
    ShareZone1, ShareZone2, ShareZone3, ShareZone4, ShareZone5, ShareZone6, ShareZone7,
    ShareZone8, ShareZone9,
};
inline constexpr size_t kHotkeyActionCount = 16;
inline constexpr size_t kEngineActionCount = 7;

struct HotkeyActionInfo {
    HotkeyAction action;
    std::string_view settings_key;  // "HotkeyStartStop" ...
    std::string_view catalog_key;   // "shortcuts.action_start_stop" ...
    HotkeyBinding default_binding;
};

const std::array<HotkeyActionInfo, kHotkeyActionCount>& hotkey_actions();
std::array<HotkeyBinding, kHotkeyActionCount> default_bindings();

}  // namespace tw
