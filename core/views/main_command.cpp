// What a main-window command number means, and the input rules around it: the
// settings it changes, the dropdown lists, keyboard focus and the mouse wheel.
#include <algorithm>

#include "core/views/main_view.h"

namespace tw {

namespace {

bool first_on(const std::vector<WidgetItem>& widgets, uint64_t id) {
    for (const auto& w : widgets)
        if (w.id == id) return w.on != 0;
    return false;
}

MainCommand simple(MainAction a, bool on) {
    MainCommand c;
    c.action = a;
    c.on = on;
    return c;
}

// A row or tab: its index when the target still exists, else only the lists close.
MainCommand indexed(MainAction a, size_t index, size_t available, bool close_lists) {
    MainCommand c;
    c.close_lists = true;
    if (index >= available) {
        c.action = MainAction::CloseLists;
        return c;
    }
    c.action = a;
    c.index = index;
    c.close_lists = close_lists;
    return c;
}

bool focusable(const WidgetItem& w) { return w.enabled != 0 && w.kind >= 7 && w.kind <= 13; }

}  // namespace

MainCommand decide_main_command(uint64_t id, const MainViewInput& in,
                                const std::vector<WidgetItem>& widgets) {
    using A = MainAction;
    const bool on = first_on(widgets, id);
    if (id >= main_id::kLayoutRow && id < main_id::kScreenTab) {
        // Row numbers count the shown rows; the list may be scrolled.
        const LayoutListWindow lw = layout_list_window(in);
        const size_t row = id - main_id::kLayoutRow;
        return indexed(A::SelectLayout, lw.first + row, row < lw.rows ? lw.total : 0, true);
    }
    if (id >= main_id::kScreenTab && id < main_id::kLanguageRow) {
        const size_t n = std::min(in.screens.size(), main_id::kMaxScreenTabs);
        return indexed(A::SelectScreen, id - main_id::kScreenTab, n, false);
    }
    if (id >= main_id::kLanguageRow && id < main_id::kLanguageRow + main_id::kMaxLanguageRows) {
        const size_t n = std::min(in.languages.size(), main_id::kMaxLanguageRows);
        return indexed(A::SelectLanguage, id - main_id::kLanguageRow, n, true);
    }
    switch (id) {
    case main_id::kAutoStart: return simple(A::ToggleAutoStart, on);
    case main_id::kStartStop: return simple(A::ToggleEngine, on);
    // Zones can only be shown over a running engine.
    case main_id::kShowZones: return simple(in.engine_running ? A::ToggleZones : A::None, on);
    case main_id::kCoverTaskbar: return simple(A::ToggleCoverTaskbar, on);
    case main_id::kStartWithWindows: {
        MainCommand c = simple(A::SetStartWithWindows, on);
        c.value = !on;
        return c;
    }
    case main_id::kShowInTray: return simple(A::ToggleHideToTray, on);
    case main_id::kUpdateAutomatically: return simple(A::ToggleUpdateAutomatically, on);
    case main_id::kShortcuts: return simple(A::OpenShortcuts, on);
    case main_id::kEditLayouts:
    case main_id::kAdd: return simple(A::OpenLayoutManager, on);
    case main_id::kLayoutField: return simple(A::ToggleLayoutMenu, on);
    case main_id::kMinimise: return simple(A::Minimise, on);
    case main_id::kClose: return simple(A::Close, on);
    case main_id::kStartMinimized: return simple(A::ToggleStartMinimized, on);
    case main_id::kAppColour: return simple(A::OpenColour, on);
    case main_id::kThemeDark:
    case main_id::kThemeLight:
    case main_id::kThemeAuto: {
        MainCommand c = simple(A::SetTheme, on);
        c.theme = id == main_id::kThemeDark    ? Theme::Dark
                  : id == main_id::kThemeLight ? Theme::Light
                                               : Theme::Auto;
        return c;
    }
    case main_id::kUpdateLink:
        return simple(in.update_version ? A::OpenUpdate : A::None, on);
    case main_id::kScreenEnabled: return simple(A::ToggleScreenEnabled, on);
    case main_id::kAbout: return simple(A::OpenAbout, on);
    case main_id::kLanguageField: return simple(A::ToggleLanguageMenu, on);
    case main_id::kUsageStatistics: return simple(A::ToggleUsageStatistics, on);
    case main_id::kCheckForUpdates: return simple(A::ToggleCheckForUpdates, on);
    case main_id::kOpenInLastZone: return simple(A::ToggleOpenInLastZone, on);
    case main_id::kExcludedApps: return simple(A::OpenExcludedApps, on);
    case main_id::kDismissStartHint: return simple(A::DismissStartHint, on);
    case main_id::kDismissNotice: return simple(A::DismissNotice, on);
    default: return simple(A::None, on);
    }
}

bool apply_main_command(Settings& s, const MainCommand& cmd, std::span<const ScreenInfo> screens) {
    using A = MainAction;
    ScreenLayout* entry = find_screen(s, s.selected_screen);
    const bool flipped = !cmd.on;
    switch (cmd.action) {
    case A::ToggleAutoStart: s.auto_start = flipped; return true;
    case A::ToggleHideToTray: s.hide_to_tray = flipped; return true;
    case A::ToggleUpdateAutomatically: s.update_automatically = flipped; return true;
    case A::ToggleStartMinimized: s.start_minimized = flipped; return true;
    case A::ToggleUsageStatistics: s.usage_statistics = flipped; return true;
    case A::ToggleCheckForUpdates: s.check_for_updates = flipped; return true;
    case A::ToggleOpenInLastZone: s.open_in_last_zone = flipped; return true;
    case A::ToggleCoverTaskbar:
        if (!entry) return false;
        entry->cover_taskbar = flipped;
        return true;
    case A::ToggleScreenEnabled:
        if (!entry) return false;
        entry->enabled = flipped;
        return true;
    case A::SetTheme: s.theme = cmd.theme; return true;
    case A::DismissStartHint:
        if (s.start_hint_done) return false;
        s.start_hint_done = true;
        return true;
    case A::DismissNotice:
        if (s.kept_settings_copy.empty()) return false;
        s.kept_settings_copy.clear();
        return true;
    case A::SelectLayout:
        if (!entry || cmd.index >= entry->layouts.size()) return false;
        entry->active_layout = entry->layouts[cmd.index].name;
        return true;
    case A::SelectScreen:
        if (cmd.index >= screens.size() || cmd.index >= main_id::kMaxScreenTabs) return false;
        s.selected_screen = screens[cmd.index].id;
        return true;
    default: return false;
    }
}

bool apply_list_command(const MainCommand& cmd, bool& layout_menu_open, bool& language_menu_open) {
    const bool before_layout = layout_menu_open;
    const bool before_language = language_menu_open;
    if (cmd.close_lists) layout_menu_open = language_menu_open = false;
    if (cmd.action == MainAction::ToggleLayoutMenu) {
        layout_menu_open = !layout_menu_open;
        if (layout_menu_open) language_menu_open = false;
    } else if (cmd.action == MainAction::ToggleLanguageMenu) {
        language_menu_open = !language_menu_open;
        if (language_menu_open) layout_menu_open = false;
    }
    return layout_menu_open != before_layout || language_menu_open != before_language;
}

bool press_proceeds(const std::vector<WidgetItem>& widgets, int32_t x, int32_t y,
                    bool layout_menu_open, bool language_menu_open) {
    if (!layout_menu_open && !language_menu_open) return true;
    const std::optional<size_t> hit = hit_test(widgets, x, y);
    if (!hit) return false;
    const uint64_t id = widgets[*hit].id;
    if (layout_menu_open &&
        (id == main_id::kLayoutField || (id >= main_id::kLayoutRow && id < main_id::kScreenTab)))
        return true;
    if (language_menu_open &&
        (id == main_id::kLanguageField ||
         (id >= main_id::kLanguageRow && id < main_id::kLanguageRow + main_id::kMaxLanguageRows)))
        return true;
    return false;
}

std::optional<size_t> next_focus(const std::vector<WidgetItem>& widgets,
                                 std::optional<size_t> current, bool backwards) {
    const size_t n = widgets.size();
    if (n == 0) return std::nullopt;
    size_t start = 0;
    if (current && *current < n) {
        start = backwards ? (*current + n - 1) % n : (*current + 1) % n;
    } else {
        start = backwards ? n - 1 : 0;
    }
    for (size_t step = 0; step < n; ++step) {
        const size_t i = backwards ? (start + n - step) % n : (start + step) % n;
        if (focusable(widgets[i])) return i;
    }
    return std::nullopt;
}

int32_t wheel_scroll(int32_t scroll, int32_t delta, const std::vector<WidgetItem>& widgets,
                     int32_t client_height) {
    const int64_t notches = delta / 120;
    int64_t lowest = 0;
    // Scroll bars (kind 31) stay in the window; only the content says where it ends.
    for (const auto& w : widgets)
        if (w.kind != 31) lowest = std::max<int64_t>(lowest, w.rect.bottom);
    const int64_t most = std::max<int64_t>(0, lowest + scroll + 16 - client_height);
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{scroll} - 48 * notches, 0, most));
}

std::optional<size_t> layout_list_wheel(const MainViewInput& in,
                                        const std::vector<WidgetItem>& widgets, int32_t x,
                                        int32_t y, int32_t delta) {
    if (!in.layout_menu_open) return std::nullopt;
    const bool over_list = std::any_of(widgets.begin(), widgets.end(), [&](const WidgetItem& w) {
        return w.kind == 15 && contains(w.rect, {x, y});
    });
    if (!over_list) return std::nullopt;
    const LayoutListWindow lw = layout_list_window(in);
    const int64_t step = static_cast<int64_t>(kLayoutListWheelRows) * (delta / 120);
    const auto most = static_cast<int64_t>(lw.total - lw.rows);
    return static_cast<size_t>(std::clamp<int64_t>(static_cast<int64_t>(lw.first) - step, 0, most));
}

}  // namespace tw
