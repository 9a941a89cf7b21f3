#pragma once
// One keystroke per layout: "Apply layout n" makes layout n of a screen its active
// layout. The screen is the one the foreground window is on, or the cursor's when no
// window is in front. Also the notice that shows a newly applied layout: its zones and
// its name in the middle of the screen for about a second.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/base/geometry.h"
#include "core/engine/desktop.h"
#include "core/engine/monitors.h"
#include "core/engine/overlay_geometry.h"
#include "core/model/settings.h"

namespace tw {

// RegisterHotKey ids of Apply layout 1 to 9.
inline constexpr int kFirstApplyLayoutHotkeyId = 331;
inline constexpr int kLastApplyLayoutHotkeyId = 339;
// 1 to 9 for the ids 331 to 339; none for any other id.
std::optional<size_t> apply_layout_hotkey_number(int id);

// The screen a layout hotkey acts on: the foreground window's (a cloaked window, a
// part of the shell or a window on no monitor counts as none), else the cursor's.
// Null when neither finds a screen.
const ScreenInfo* layout_hotkey_screen(Desktop& desktop, std::span<const ScreenInfo> screens);

// A layout that became a screen's active layout.
struct AppliedLayout {
    std::string screen_id;
    std::string layout;
    friend bool operator==(const AppliedLayout&, const AppliedLayout&) = default;
};

// Makes layout n (1-based) of the screen's entry its active layout. None, with a log
// line, when the screen has no entry or no n-th layout.
std::optional<AppliedLayout> apply_layout_number(Settings& settings, const std::string& screen_id, size_t n);

// How long the notice of a newly applied layout stays.
inline constexpr uint32_t kLayoutNoticeMs = 1000;

// The notice window covers `area` (screen coordinates): the zone lines of `zones`
// (screen coordinates) and a box of the given text size plus padding, centred in the
// area and kept inside it, for the layout's name.
struct LayoutNoticeShape {
    Rect window;       // screen coordinates
    Rect box;          // window coordinates
    RegionOps region;  // window coordinates: the lines and the box
};
inline constexpr int32_t kNoticePadX = 28;
inline constexpr int32_t kNoticePadY = 16;
LayoutNoticeShape layout_notice_shape(const Rect& area, const std::vector<Rect>& zones,
                                      int32_t text_width, int32_t text_height);

}  // namespace tw
