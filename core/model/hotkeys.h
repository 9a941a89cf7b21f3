#pragma once
// Global keyboard shortcuts: bindings as stored in the settings file, the bindable
// actions with their defaults, and the text form shown to the user.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
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

// The bindable actions, in settings order: the seven engine actions, Share Zone 1 to
// 9, Apply layout 1 to 9, then extending the active window's span left, right, up, down.
enum class HotkeyAction : uint8_t {
    StartStop, ToggleZones, CycleLayout, MoveLeft, MoveRight, MoveUp, MoveDown,
    ShareZone1, ShareZone2, ShareZone3, ShareZone4, ShareZone5, ShareZone6, ShareZone7,
    ShareZone8, ShareZone9,
    ApplyLayout1, ApplyLayout2, ApplyLayout3, ApplyLayout4, ApplyLayout5, ApplyLayout6,
    ApplyLayout7, ApplyLayout8, ApplyLayout9,
    ExtendLeft, ExtendRight, ExtendUp, ExtendDown,
};
inline constexpr size_t kHotkeyActionCount = 29;
inline constexpr size_t kEngineActionCount = 7;
inline constexpr size_t kShareZoneActionCount = 9;
inline constexpr size_t kFirstApplyLayoutAction = static_cast<size_t>(HotkeyAction::ApplyLayout1);
inline constexpr size_t kApplyLayoutActionCount = 9;
inline constexpr size_t kFirstExtendAction = static_cast<size_t>(HotkeyAction::ExtendLeft);
inline constexpr size_t kExtendActionCount = 4;

// 1 to 9 for Apply layout 1 to 9; none for the other actions.
std::optional<size_t> apply_layout_number(HotkeyAction action);
// Settings keys that older files never had are written only while their binding
// differs from the default, so that a file stays as it was for whoever never rebinds.
bool written_only_when_changed(HotkeyAction action);

struct HotkeyActionInfo {
    HotkeyAction action;
    std::string_view settings_key;  // "HotkeyStartStop" ...
    std::string_view catalog_key;   // "shortcuts.action_start_stop" ...
    HotkeyBinding default_binding;
};

const std::array<HotkeyActionInfo, kHotkeyActionCount>& hotkey_actions();
std::array<HotkeyBinding, kHotkeyActionCount> default_bindings();

// "Ctrl+Alt+R": modifiers in the order Ctrl, Alt, Shift, Win, then the key (letters,
// digits, Tab, Esc, Delete, F4, anything else "?"); "Unbound" when modifiers is 0.
std::string binding_text(uint32_t modifiers, uint32_t key);

// Capturing a new combination in the keyboard-shortcuts window.

inline constexpr uint32_t kVkTab = 0x09;
inline constexpr uint32_t kVkReturn = 0x0D;
inline constexpr uint32_t kVkEscape = 0x1B;
inline constexpr uint32_t kVkDelete = 0x2E;
inline constexpr uint32_t kVkF4 = 0x73;

// Shift, Ctrl, Alt and the two Win keys: pressed alone they do not end a capture.
bool is_modifier_only_key(uint32_t vk);
// The modifier flags for the keys held down; Win stands for either Win key.
uint32_t modifiers_from_keys(bool alt, bool ctrl, bool shift, bool win);

// What a key press in the shortcuts window does.
enum class ShortcutKey : uint8_t {
    Save,           // Enter while not capturing
    Close,          // Escape while not capturing
    PassOn,         // any other key while not capturing: default handling
    Ignore,         // a modifier alone while capturing: wait for the main key
    CancelCapture,  // Escape while capturing: the row keeps its binding
    Check,          // any other key while capturing: validate the combination
};
ShortcutKey classify_shortcut_key(bool capturing, uint32_t vk);

enum class CaptureRule : uint8_t { Accepted, NoModifier, ReservedByWindows, Duplicate };

struct CaptureVerdict {
    CaptureRule rule = CaptureRule::Accepted;
    std::string_view catalog_key;           // the message to show; empty when accepted
    std::optional<size_t> duplicate_row;    // the row already holding it (fills {action})
    bool accepted() const { return rule == CaptureRule::Accepted; }
};

// Checks a captured combination for `row` against the rules that need no system
// call: a modifier is required, combinations reserved by Windows are refused, and
// no other row of `working` may hold the same combination. Whether another program
// owns the combination is left to the caller's test registration.
CaptureVerdict check_captured_binding(const std::array<HotkeyBinding, kHotkeyActionCount>& working,
                                      size_t row, HotkeyBinding candidate);

}  // namespace tw
