#include "core/engine/layout_hotkeys.h"

#include <algorithm>

#include "core/base/log.h"
#include "core/engine/eligibility.h"

namespace tw {

std::optional<size_t> apply_layout_hotkey_number(int id) {
    if (id < kFirstApplyLayoutHotkeyId || id > kLastApplyLayoutHotkeyId) return std::nullopt;
    return static_cast<size_t>(id - kFirstApplyLayoutHotkeyId + 1);
}

const ScreenInfo* layout_hotkey_screen(Desktop& desktop, std::span<const ScreenInfo> screens) {
    const WindowId f = desktop.foreground_window();
    if (f != 0 && !desktop.is_cloaked(f) && !is_shell_window_class(desktop.class_name(f))) {
        if (auto mon = desktop.monitor_of_window(f))
            for (const ScreenInfo& s : screens)
                if (s.bounds == mon->monitor) return &s;
    }
    if (auto cursor = desktop.cursor_pos())
        for (const ScreenInfo& s : screens)
            if (contains(s.bounds, *cursor)) return &s;
    return nullptr;
}

std::optional<AppliedLayout> apply_layout_number(Settings& settings, const std::string& screen_id, size_t n) {
    ScreenLayout* entry = find_screen(settings, screen_id);
    if (!entry || n == 0 || n > entry->layouts.size()) {
        log("layout_hotkey: no layout " + std::to_string(n) + " on screen '" + screen_id + "' (it has " +
            std::to_string(entry ? entry->layouts.size() : 0) + "); nothing changed");
        return std::nullopt;
    }
    entry->active_layout = entry->layouts[n - 1].name;
    log("layout_hotkey: layout " + std::to_string(n) + " '" + entry->active_layout + "' on screen '" +
        screen_id + "'");
    return AppliedLayout{screen_id, entry->active_layout};
}

LayoutNoticeShape layout_notice_shape(const Rect& area, const std::vector<Rect>& zones,
                                      int32_t text_width, int32_t text_height) {
    LayoutNoticeShape out;
    out.window = area;
    const int64_t aw = int64_t{area.right} - area.left;
    const int64_t ah = int64_t{area.bottom} - area.top;
    const int64_t w = std::clamp<int64_t>(int64_t{std::max(text_width, 0)} + 2 * kNoticePadX, 0, aw);
    const int64_t h = std::clamp<int64_t>(int64_t{std::max(text_height, 0)} + 2 * kNoticePadY, 0, ah);
    const auto left = static_cast<int32_t>((aw - w) / 2);
    const auto top = static_cast<int32_t>((ah - h) / 2);
    out.box = {left, top, static_cast<int32_t>(left + w), static_cast<int32_t>(top + h)};
    out.region = outline_region(to_window_coords(zones, area));
    if (!is_empty(out.box)) out.region.push_back({out.box, RegionMode::Or});
    return out;
}

}  // namespace tw
