#include "core/hotkeys.h"

namespace tw {

const std::array<HotkeyActionInfo, kHotkeyActionCount>& hotkey_actions() {
    using A = HotkeyAction;
    constexpr uint32_t kCtrlAlt = kModControl | kModAlt;
    static const std::array<HotkeyActionInfo, kHotkeyActionCount> table = {{
        {A::StartStop, "HotkeyStartStop", "shortcuts.action_start_stop", {kCtrlAlt, 0x52}},
        {A::ToggleZones, "HotkeyToggleZones", "shortcuts.action_toggle_zones", {kCtrlAlt, 0x5A}},
        {A::CycleLayout, "HotkeyCycleLayout", "shortcuts.action_cycle_layout", {kCtrlAlt, 0x43}},
        {A::MoveLeft, "HotkeyMoveLeft", "shortcuts.action_move_left", {kCtrlAlt, 0x41}},
        {A::MoveRight, "HotkeyMoveRight", "shortcuts.action_move_right", {kCtrlAlt, 0x44}},
        {A::MoveUp, "HotkeyMoveUp", "shortcuts.action_move_up", {kCtrlAlt, 0x57}},
        {A::MoveDown, "HotkeyMoveDown", "shortcuts.action_move_down", {kCtrlAlt, 0x53}},
        {A::ShareZone1, "HotkeyShareZone1", "shortcuts.action_share_zone", {kCtrlAlt, 0x31}},
        {A::ShareZone2, "HotkeyShareZone2", "shortcuts.action_share_zone", {kCtrlAlt, 0x32}},
        {A::ShareZone3, "HotkeyShareZone3", "shortcuts.action_share_zone", {kCtrlAlt, 0x33}},
        {A::ShareZone4, "HotkeyShareZone4", "shortcuts.action_share_zone", {}},
        {A::ShareZone5, "HotkeyShareZone5", "shortcuts.action_share_zone", {}},
        {A::ShareZone6, "HotkeyShareZone6", "shortcuts.action_share_zone", {}},
        {A::ShareZone7, "HotkeyShareZone7", "shortcuts.action_share_zone", {}},
        {A::ShareZone8, "HotkeyShareZone8", "shortcuts.action_share_zone", {}},
        {A::ShareZone9, "HotkeyShareZone9", "shortcuts.action_share_zone", {}},
    }};
    return table;
}

std::array<HotkeyBinding, kHotkeyActionCount> default_bindings() {
    std::array<HotkeyBinding, kHotkeyActionCount> out{};
    for (size_t i = 0; i < kHotkeyActionCount; ++i) out[i] = hotkey_actions()[i].default_binding;
    return out;
}

}  // namespace tw
