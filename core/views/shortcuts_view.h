#pragma once
// The keyboard shortcuts window as pure functions: the working copy of the sixteen
// bindings, its widget list, and what clicks and key presses do to it. The window
// procedure only asks the system (key state, the test registration) and saves.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/model/hotkeys.h"
#include "core/model/settings.h"
#include "core/ui/canvas.h"
#include "core/ui/widgets.h"

namespace tw {

namespace shortcuts_id {
// Change and Clear buttons of rows 0 to 28 (rows 16 to 24: Apply layout 1 to 9; rows 25
// to 28: Extend left, right, up, down).
inline constexpr std::array<uint64_t, kHotkeyActionCount> kChange = {
    501, 502, 503, 509, 510, 511, 512, 518, 519, 520, 521, 522, 523, 524, 525, 526,
    536, 537, 538, 539, 540, 541, 542, 543, 544, 554, 555, 556, 557};
inline constexpr std::array<uint64_t, kHotkeyActionCount> kClear = {
    504, 505, 506, 513, 514, 515, 516, 527, 528, 529, 530, 531, 532, 533, 534, 535,
    545, 546, 547, 548, 549, 550, 551, 552, 553, 558, 559, 560, 561};
inline constexpr uint64_t kSave = 507;
inline constexpr uint64_t kCancel = 508;
inline constexpr uint64_t kCloseGlyph = 517;
}  // namespace shortcuts_id

// Design size in DIPs.
inline constexpr int32_t kShortcutsWidth = 640;
inline constexpr int32_t kShortcutsHeight = 756;

struct ShortcutsState {
    std::array<HotkeyBinding, kHotkeyActionCount> working{};  // settings order
    std::optional<size_t> capture;  // the row whose next combination is captured
    std::string error;              // the message shown; empty when none
    size_t first_row = 0;           // the row shown at the top of a list that scrolls
};

ShortcutsState open_shortcuts(const Settings& settings);

// The row's action name ("Share Zone {n}" for rows 7 to 15, "Apply layout {n}" for
// rows 16 to 24) and binding text.
std::string shortcut_row_label(size_t row);
std::string shortcut_binding_text(HotkeyBinding binding);

// A: the widest row label (at least 118); X: left edge of the Clear buttons; P: width
// of the Change buttons, so that every translation fits its button.
struct ShortcutsColumns {
    int32_t label = 118;
    int32_t clear_left = 0;
    int32_t change_width = 96;
    friend bool operator==(const ShortcutsColumns&, const ShortcutsColumns&) = default;
};
ShortcutsColumns shortcuts_columns(int32_t width, TextMeasure* measure);

// The rows a client `height` DIPs high shows: as many whole rows as fit above Save and
// Cancel (at least one), from `first` on, the captured row always among them.
struct ShortcutsRows {
    size_t first = 0;
    size_t count = 0;
    friend bool operator==(const ShortcutsRows&, const ShortcutsRows&) = default;
};
ShortcutsRows shortcuts_rows(const ShortcutsState& state, int32_t height);

// The list scrolls by whole rows with a bar beside them when not every row fits; Clear
// is greyed on a row without a shortcut; the captured row is marked.
std::vector<WidgetItem> build_shortcuts_view(const ShortcutsState& state, int32_t width,
                                             TextMeasure* measure, int32_t height = kShortcutsHeight);

// The mouse wheel over the window: a row a notch. True when the list moved.
bool shortcuts_wheel(ShortcutsState& state, int32_t delta, int32_t height);

enum class ShortcutsEffect : uint8_t {
    None,     // nothing changed
    PassOn,   // a key the window does not use: default handling
    Rebuild,  // the state changed: rebuild and repaint
    Capture,  // a capture started: take the keyboard focus, rebuild
    Save,     // write the working copy to the settings, save, close
    Close,    // close without saving
};

ShortcutsEffect shortcuts_click(ShortcutsState& state, uint64_t id);

// Tries a test registration of a combination and removes it at once: false when
// another program holds it.
using HotkeyProbe = std::function<bool(HotkeyBinding)>;

// WM_KEYDOWN / WM_SYSKEYDOWN of `vk` with the modifiers held at that moment. While a
// row is captured, the combination passes the four rules in order (a modifier,
// not reserved by Windows, no other row, not held by another program: `probe`, asked
// last and only then) or the capture stays with the rule's message shown.
ShortcutsEffect shortcuts_key(ShortcutsState& state, uint32_t vk, uint32_t modifiers,
                              const HotkeyProbe& probe);

// Copies the working copy into the settings; logs each changed action. Returns
// whether anything changed.
bool save_shortcuts(const ShortcutsState& state, Settings& settings);

}  // namespace tw
