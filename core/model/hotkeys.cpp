#include "core/model/hotkeys.h"

namespace tw {

const std::array<HotkeyActionInfo, kHotkeyActionCount>& hotkey_actions() {
    using A = HotkeyAction;
    constexpr uint32_t kCtrlAlt = kModControl | kModAlt;
    constexpr uint32_t kCtrlWinAlt = kModControl | kModWin | kModAlt;
    constexpr uint32_t kCtrlAltShift = kModControl | kModAlt | kModShift;
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
        {A::ApplyLayout1, "HotkeyApplyLayout1", "shortcuts.action_apply_layout", {kCtrlWinAlt, 0x31}},
        {A::ApplyLayout2, "HotkeyApplyLayout2", "shortcuts.action_apply_layout", {kCtrlWinAlt, 0x32}},
        {A::ApplyLayout3, "HotkeyApplyLayout3", "shortcuts.action_apply_layout", {kCtrlWinAlt, 0x33}},
        {A::ApplyLayout4, "HotkeyApplyLayout4", "shortcuts.action_apply_layout", {kCtrlWinAlt, 0x34}},
        {A::ApplyLayout5, "HotkeyApplyLayout5", "shortcuts.action_apply_layout", {kCtrlWinAlt, 0x35}},
        {A::ApplyLayout6, "HotkeyApplyLayout6", "shortcuts.action_apply_layout", {kCtrlWinAlt, 0x36}},
        {A::ApplyLayout7, "HotkeyApplyLayout7", "shortcuts.action_apply_layout", {kCtrlWinAlt, 0x37}},
        {A::ApplyLayout8, "HotkeyApplyLayout8", "shortcuts.action_apply_layout", {kCtrlWinAlt, 0x38}},
        {A::ApplyLayout9, "HotkeyApplyLayout9", "shortcuts.action_apply_layout", {kCtrlWinAlt, 0x39}},
        {A::ExtendLeft, "HotkeyExtendLeft", "shortcuts.action_extend_left", {kCtrlAltShift, 0x41}},
        {A::ExtendRight, "HotkeyExtendRight", "shortcuts.action_extend_right", {kCtrlAltShift, 0x44}},
        {A::ExtendUp, "HotkeyExtendUp", "shortcuts.action_extend_up", {kCtrlAltShift, 0x57}},
        {A::ExtendDown, "HotkeyExtendDown", "shortcuts.action_extend_down", {kCtrlAltShift, 0x53}},
    }};
    return table;
}

std::array<HotkeyBinding, kHotkeyActionCount> default_bindings() {
    std::array<HotkeyBinding, kHotkeyActionCount> out{};
    for (size_t i = 0; i < kHotkeyActionCount; ++i) out[i] = hotkey_actions()[i].default_binding;
    return out;
}

std::optional<size_t> apply_layout_number(HotkeyAction action) {
    const auto index = static_cast<size_t>(action);
    if (index < kFirstApplyLayoutAction || index >= kFirstApplyLayoutAction + kApplyLayoutActionCount)
        return std::nullopt;
    return index - kFirstApplyLayoutAction + 1;
}

bool written_only_when_changed(HotkeyAction action) {
    return static_cast<size_t>(action) >= kFirstApplyLayoutAction;
}

std::string binding_text(uint32_t modifiers, uint32_t key) {
    if (modifiers == 0) return "Unbound";
    std::string out;
    auto add = [&out](std::string_view part) {
        if (!out.empty()) out += '+';
        out += part;
    };
    if (modifiers & kModControl) add("Ctrl");
    if (modifiers & kModAlt) add("Alt");
    if (modifiers & kModShift) add("Shift");
    if (modifiers & kModWin) add("Win");
    if ((key >= 0x41 && key <= 0x5A) || (key >= 0x30 && key <= 0x39))
        add(std::string(1, static_cast<char>(key)));
    else if (key == kVkTab)
        add("Tab");
    else if (key == kVkEscape)
        add("Esc");
    else if (key == kVkDelete)
        add("Delete");
    else if (key == kVkF4)
        add("F4");
    else
        add("?");
    return out;
}

bool is_modifier_only_key(uint32_t vk) { return (vk >= 0x10 && vk <= 0x12) || vk == 0x5B || vk == 0x5C; }

uint32_t modifiers_from_keys(bool alt, bool ctrl, bool shift, bool win) {
    return (alt ? kModAlt : 0) | (ctrl ? kModControl : 0) | (shift ? kModShift : 0) | (win ? kModWin : 0);
}

ShortcutKey classify_shortcut_key(bool capturing, uint32_t vk) {
    if (!capturing) {
        if (vk == kVkReturn) return ShortcutKey::Save;
        if (vk == kVkEscape) return ShortcutKey::Close;
        return ShortcutKey::PassOn;
    }
    if (is_modifier_only_key(vk)) return ShortcutKey::Ignore;
    if (vk == kVkEscape) return ShortcutKey::CancelCapture;
    return ShortcutKey::Check;
}

CaptureVerdict check_captured_binding(const std::array<HotkeyBinding, kHotkeyActionCount>& working,
                                      size_t row, HotkeyBinding candidate) {
    const uint32_t m = candidate.modifiers;
    const uint32_t k = candidate.key;
    if (m == 0) return {CaptureRule::NoModifier, "shortcuts.error_no_modifier", std::nullopt};
    const bool reserved = (m == (kModControl | kModAlt) && k == kVkDelete) ||
                          (m == kModAlt && (k == kVkTab || k == kVkF4)) || (m & kModWin) != 0;
    if (reserved) return {CaptureRule::ReservedByWindows, "shortcuts.error_reserved_windows", std::nullopt};
    for (size_t i = 0; i < working.size(); ++i)
        if (i != row && working[i] == candidate)
            return {CaptureRule::Duplicate, "shortcuts.error_duplicate", i};
    return {};
}

}  // namespace tw
