#include "core/views/main_view.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "core/ui/text_metrics.h"
#include "core/ui/window_fit.h"

namespace tw {

namespace {

// Text widths feed sums of rectangle edges; a hostile or broken measure (NaN, huge
// values, a name of a million characters) must not overflow them.
constexpr int32_t kMaxTextWidth = 100000;
// The preferences card's row for applications (last zones, excluded applications).
constexpr int32_t kAppsRow = 34;

struct Builder {
    const MainViewInput& in;
    MainView view;
    int32_t W = in.width;

    WidgetItem& add(uint64_t id, uint8_t kind, Rect r, std::string_view text = {}) {
        return push_item(view.widgets, id, kind, r, text);
    }
    int32_t tw(std::string_view text) const { return main_text_width(in.measure, text); }
};

std::string language_display_name(const MainViewInput& in) {
    for (const auto& l : in.languages)
        if (l.code == in.current_language) return l.name;
    // The index has not arrived yet (or no longer lists the language): English is
    // built in, anything else is shown by its code rather than left blank.
    return in.current_language == "en" ? std::string("English") : in.current_language;
}

void add_title_row(Builder& b) {
    const int32_t W = b.W;
    const MainViewInput& in = b.in;
    b.add(0, 1, {16, 0, W - 304, 40}, tr("app.name"));
    b.add(main_id::kMinimise, 17, {W - 80, 0, W - 40, 40}, "\u2013");
    b.add(main_id::kClose, 17, {W - 40, 0, W, 40}, "\u2715");
    WidgetItem& language = b.add(main_id::kLanguageField, 14, {W - 296, 8, W - 186, 32},
                                 language_display_name(in));
    language.enabled = in.language_download_pending ? 0 : 1;
    language.label = tr("a11y.language");
    b.add(0, 30, {W - 178, 8, W - 88, 32});
    struct Segment { uint64_t id; const char* glyph; Theme theme; };
    const Segment segments[] = {
        {main_id::kThemeLight, "\u2600\uFE0E", Theme::Light},
        {main_id::kThemeAuto, "\u25D0", Theme::Auto},
        {main_id::kThemeDark, "\u263E\uFE0E", Theme::Dark},
    };
    for (int32_t i = 0; i < 3; ++i) {
        const Segment& s = segments[i];
        b.add(s.id, 29, {W - 178 + 30 * i, 8, W - 148 + 30 * i, 32}, s.glyph).selected =
            in.settings.theme == s.theme ? 1 : 0;
    }
}

void add_status_card(Builder& b, const ScreenLayout* entry) {
    const int32_t W = b.W;
    const bool has_layouts = entry && !entry->layouts.empty();
    b.add(0, 0, {16, 48, W - 16, 100});
    const char* status = b.in.engine_running ? "main.status_active"
                         : has_layouts       ? "main.status_idle"
                                             : "main.status_no_layouts";
    if (!b.in.status_note.empty()) {
        b.add(0, 4, {150, 57, W - 28, 91}, b.in.status_note);
    } else if (shows_start_hint(b.in)) {
        b.add(0, 4, {150, 57, W - 48, 91}, tr("main.start_hint"));
        // A screen reader names the cross by what it does, as its tooltip does.
        b.add(main_id::kDismissStartHint, 17, {W - 44, 52, W - 20, 76}, "\u2715").label =
            tr("tooltip.dismiss_start_hint");
    } else {
        b.add(0, 4, {150, 57, W - 28, 91}, tr(status));
    }
    if (has_layouts) {
        b.add(main_id::kStartStop, 11, {28, 60, 138, 88},
              tr(b.in.engine_running ? "common.stop" : "common.start"))
            .on = b.in.engine_running ? 1 : 0;
    } else {
        b.add(main_id::kAdd, 12, {28, 60, 138, 88}, tr("common.add"));
    }
}

LayoutPreview preview_of(const ScreenInfo& screen, const ScreenLayout* entry) {
    LayoutPreview p;
    p.name = screen.name;
    p.secondary = std::to_string(static_cast<int64_t>(screen.bounds.right) - screen.bounds.left) +
                  "\u00D7" +
                  std::to_string(static_cast<int64_t>(screen.bounds.bottom) - screen.bounds.top);
    if (entry) {
        if (const Layout* l = layout_in_force(*entry)) p.zones = l->zones;
        p.enabled = entry->enabled;
    } else {
        p.enabled = false;
    }
    return p;
}

struct ScreenCardRows {
    int32_t H, R, B, Y;
};

// Screens listed as tabs: only those a command number exists for.
size_t listed_screens(const MainViewInput& in) {
    return std::min(in.screens.size(), main_id::kMaxScreenTabs);
}

// The rows below the screen card: heading, layout row top and bottom, preferences.
ScreenCardRows screen_card_rows(size_t n) {
    return n == 0 ? ScreenCardRows{298, 322, 350, 378} : ScreenCardRows{328, 352, 380, 408};
}

ScreenCardRows add_screen_card(Builder& b, size_t n, std::optional<size_t> selected) {
    const int32_t W = b.W;
    if (n == 0) {
        b.add(0, 0, {16, 116, W - 16, 362});
        return screen_card_rows(n);
    }
    const int32_t count = static_cast<int32_t>(n);
    const int32_t t = std::clamp((W - 28 - 4 * count) / count, 40, 140);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t x = 16 + i * (t + 4);
        if (i > 0 && x + t > W - 16) break;
        const ScreenInfo& s = b.in.screens[static_cast<size_t>(i)];
        const ScreenLayout* entry = find_screen(b.in.settings, s.id);
        WidgetItem& tab = b.add(main_id::kScreenTab + static_cast<uint64_t>(i), 22,
                                {x, 116, x + t, 146}, s.name);
        tab.selected = selected == static_cast<size_t>(i) ? 1 : 0;
        tab.strong = entry && entry->enabled ? 1 : 0;
        tab.preview = static_cast<uint64_t>(i);
    }
    b.add(0, 24, {16, 146, W - 16, 392});
    if (selected) {
        const Rect& bounds = b.in.screens[*selected].bounds;
        const int64_t w = std::max<int64_t>(1, static_cast<int64_t>(bounds.right) - bounds.left);
        const int64_t h = std::max<int64_t>(1, static_cast<int64_t>(bounds.bottom) - bounds.top);
        const int64_t widest = std::max<int64_t>(80, W - 56);
        const int32_t p = static_cast<int32_t>(std::clamp<int64_t>(w * 120 / h, 80, widest));
        const int32_t x0 = (W - 56 - p) / 2;
        b.add(0, 23, {x0 + 28, 172, x0 + 28 + p, 316}).preview = *selected;
    }
    return screen_card_rows(n);
}

void add_layout_row(Builder& b, const ScreenCardRows& rows, const ScreenLayout* entry,
                    size_t n) {
    const int32_t W = b.W;
    const auto [H, R, B, Y] = rows;
    b.add(0, 1, {28, H, W - 28, H + 18}, tr("main.current_layout_heading"));

    const std::string enabled_text = tr("main.screen_enabled_toggle");
    const int32_t toggle_left =
        std::max(168, W - 28 - std::max(100, b.tw(enabled_text) + 56));
    WidgetItem& toggle =
        b.add(main_id::kScreenEnabled, 10, {toggle_left, R, W - 28, B}, enabled_text);
    toggle.on = entry && entry->enabled ? 1 : 0;
    toggle.enabled = n >= 1 && entry ? 1 : 0;

    const Layout* active = entry ? layout_in_force(*entry) : nullptr;
    WidgetItem& field = b.add(main_id::kLayoutField, 14, {28, R, 228, B},
                              active ? active->name : tr("main.no_layouts"));
    field.enabled = active ? 1 : 0;

    const std::string link = tr("main.edit_layouts_link");
    b.add(main_id::kEditLayouts, 7, {244, R + 5, std::min(b.tw(link) + 252, toggle_left - 12), B - 3},
          link);
}

// Returns how much taller the card is than its four rows of switches make it.
int32_t add_preferences(Builder& b, int32_t Y, const ScreenLayout* entry) {
    const int32_t W = b.W;
    const MainViewInput& in = b.in;
    const Settings& s = in.settings;
    struct Switch { uint64_t id; const char* key; bool on; bool enabled; };
    const Switch switches[] = {
        {main_id::kShowZones, "main.pref_show_zones", in.zones_shown, in.engine_running},
        {main_id::kAutoStart, "main.pref_auto_start", s.auto_start, true},
        {main_id::kCoverTaskbar, "main.pref_cover_taskbar", entry && entry->cover_taskbar, true},
        {main_id::kStartWithWindows, "main.pref_start_with_windows", in.autostart_enabled, true},
        {main_id::kShowInTray, "main.pref_show_in_tray", s.hide_to_tray, true},
        {main_id::kStartMinimized, "main.pref_start_minimized", s.start_minimized, true},
        {main_id::kUpdateAutomatically, "main.pref_update_automatically",
         s.update_automatically, true},
        {main_id::kUsageStatistics, "main.pref_usage_statistics", s.usage_statistics, true},
        {main_id::kCheckForUpdates, "main.pref_check_for_updates", s.check_for_updates, true},
        {main_id::kOpenInLastZone, "main.pref_open_in_last_zone", s.open_in_last_zone, true},
    };
    constexpr int32_t kSwitches = static_cast<int32_t>(std::size(switches));
    constexpr int32_t kSwitchRows = (kSwitches + 1) / 2;
    const int32_t more = 34 * (kSwitchRows - 4) + kAppsRow;
    b.add(0, 0, {16, Y, W - 16, Y + 218 + more});
    b.add(0, 1, {28, Y + 10, W - 28, Y + 28}, tr("main.preferences_heading"));
    const int32_t c = (W - 72) / 2;
    for (int32_t k = 0; k < kSwitches; ++k) {
        const Switch& sw = switches[k];
        const int32_t row = k / 2;
        const int32_t x = k % 2 == 0 ? 28 : 44 + c;
        WidgetItem& it =
            b.add(sw.id, 10, {x, Y + 36 + 34 * row, x + c, Y + 64 + 34 * row}, tr(sw.key));
        it.on = sw.on ? 1 : 0;
        it.enabled = sw.enabled ? 1 : 0;
    }

    // The excluded applications' link, under the switch of the windows that open in their
    // last zone: both are about which windows Tilewright moves.
    const int32_t A = Y + 36 + 34 * kSwitchRows;
    const std::string excluded = tr("main.excluded_apps_link");
    b.add(main_id::kExcludedApps, 7, {44 + c, A + 5, std::min(W - 28, 52 + c + b.tw(excluded)), A + 25},
          excluded);

    const std::string shortcuts = tr("main.shortcuts_button");
    const int32_t Yb = Y + more;
    b.add(main_id::kShortcuts, 13, {28, Yb + 176, b.tw(shortcuts) + 52, Yb + 206}, shortcuts);
    const std::string colour = tr("main.app_color_button");
    b.add(main_id::kAppColour, 13, {W - b.tw(colour) - 84, Yb + 176, W - 60, Yb + 206}, colour);
    b.add(main_id::kAppColour, 26, {W - 52, Yb + 179, W - 28, Yb + 203}).color =
        s.accent_color & 0xFFFFFF;
    return more;
}

void add_last_card(Builder& b, int32_t Y) {
    const int32_t W = b.W;
    const int32_t Yp = Y + 234;
    b.add(0, 0, {16, Yp, W - 16, Yp + 76});
    if (b.in.update_version) {
        const std::string link = tr_args("main.update_link", {{"version", *b.in.update_version}});
        b.add(main_id::kUpdateLink, 9, {W - b.tw(link) - 34, Yp + 10, W - 28, Yp + 28}, link);
    }
    const std::string version = "v" + b.in.program_version;
    const int32_t v = std::max(56, b.tw(version) + 6);
    b.add(0, 2, {W - v - 140, Yp + 36, W - 140, Yp + 64}, version);
    b.add(main_id::kAbout, 13, {W - 128, Yp + 36, W - 28, Yp + 64}, tr("main.about_button"));
}

// Where the shown rows lie in the whole list: a slim thumb along the panel's right
// edge, beside the rows' text (which ends 4 DIPs before it), as long as the shown part
// is of the whole (at least 16 DIPs).
void add_layout_list_thumb(Builder& b, int32_t top, const LayoutListWindow& lw) {
    const int64_t track = 28 * static_cast<int64_t>(lw.rows) - 12;
    const int64_t length = std::max<int64_t>(16, track * static_cast<int64_t>(lw.rows) /
                                                     static_cast<int64_t>(lw.total));
    const int64_t offset = (track - length) * static_cast<int64_t>(lw.first) /
                           static_cast<int64_t>(lw.total - lw.rows);
    const int32_t y = top + 6 + static_cast<int32_t>(offset);
    b.add(0, 31, {224, y, 227, y + static_cast<int32_t>(length)});
}

void add_open_lists(Builder& b, int32_t B, const ScreenLayout* entry) {
    const MainViewInput& in = b.in;
    const LayoutListWindow lw = layout_list_window(in);
    if (in.layout_menu_open && entry && lw.rows > 0) {
        const Layout* active = layout_in_force(*entry);
        b.add(0, 15, {28, B, 228, B + 28 * static_cast<int32_t>(lw.rows)});
        for (size_t r = 0; r < lw.rows; ++r) {
            const int32_t top = B + 28 * static_cast<int32_t>(r);
            const Layout& l = entry->layouts[lw.first + r];
            b.add(main_id::kLayoutRow + r, 16, {28, top, 228, top + 28}, l.name).on =
                &l == active ? 1 : 0;
        }
        if (lw.total > lw.rows) add_layout_list_thumb(b, B, lw);
    }
    if (in.language_menu_open && !in.languages.empty()) {
        // Only the entries a command number exists for are listed.
        const size_t n = std::min(in.languages.size(), main_id::kMaxLanguageRows);
        const size_t k = std::min<size_t>(2, n);
        const size_t r = (n + k - 1) / k;
        int32_t widest = 110;
        for (size_t i = 0; i < n; ++i) widest = std::max(widest, b.tw(in.languages[i].name));
        const int32_t c = widest + 20;
        const int32_t right = b.W - 186;
        const int32_t L = right - static_cast<int32_t>(k) * c;
        b.add(0, 15, {L, 32, right, 32 + 28 * static_cast<int32_t>(r)});
        for (size_t i = 0; i < n; ++i) {
            const int32_t col = static_cast<int32_t>(i / r);
            const int32_t row = static_cast<int32_t>(i % r);
            const LanguageIndexEntry& l = in.languages[i];
            b.add(main_id::kLanguageRow + i, 16,
                  {L + col * c, 32 + 28 * row, L + (col + 1) * c, 60 + 28 * row}, l.name)
                .on = l.code == in.current_language ? 1 : 0;
        }
    }
}

// A window cut by a small screen or a large scale shows that more lies below: a slim
// bar at the right edge, under the title row's glyphs.
// It goes under the open lists, which lie on top of everything.
void add_scroll_bar(Builder& b, size_t before) {
    const int32_t W = b.W;
    const std::optional<Rect> thumb =
        scroll_thumb({W - 7, 44, W - 4, b.in.height - 8}, b.view.content_bottom, b.in.height, b.view.scroll);
    if (!thumb) return;
    WidgetItem bar;
    bar.kind = 31;
    bar.rect = *thumb;
    b.view.widgets.insert(b.view.widgets.begin() + static_cast<std::ptrdiff_t>(before), std::move(bar));
}

// What the user is told until they dismiss it (a copy kept of the settings file): a
// row between the title and the status card, which moves everything below it down.
void add_notice_row(Builder& b) {
    if (b.in.settings.kept_settings_copy.empty()) return;
    constexpr int32_t kShift = 60;
    for (auto& w : b.view.widgets) {
        if (w.rect.top < 48) continue;
        w.rect.top += kShift;
        w.rect.bottom += kShift;
    }
    const int32_t W = b.W;
    const std::string path = "%APPDATA%\\Tilewright\\" + b.in.settings.kept_settings_copy;
    b.add(0, 0, {16, 48, W - 16, 48 + kShift - 8});
    b.add(0, 3, {28, 54, W - 60, 48 + kShift - 14}, tr_args("main.notice_settings_copy", {{"path", path}}));
    b.add(main_id::kDismissNotice, 17, {W - 56, 48, W - 16, 88}, "\u2715").label = tr("main.notice_dismiss");
}

}  // namespace

int32_t main_text_width(TextMeasure* measure, std::string_view text) {
    double w = 0;
    if (measure) {
        w = std::ceil(static_cast<double>(measure->measure_text_width(text, TextFormat::Label)));
        if (!(w >= 0)) w = 0;  // NaN or negative from a failing measure
    } else {
        w = estimate_text_width(text);
    }
    return static_cast<int32_t>(std::min<double>(w, kMaxTextWidth));
}

bool shows_start_hint(const MainViewInput& in) {
    const ScreenLayout* entry = selected_screen_entry(in.settings);
    return !in.settings.start_hint_done && !in.engine_running && entry && !entry->layouts.empty();
}

const ScreenLayout* selected_screen_entry(const Settings& settings) {
    return find_screen(settings, settings.selected_screen);
}

LayoutListWindow layout_list_window(const MainViewInput& in) {
    LayoutListWindow lw;
    const ScreenLayout* entry = selected_screen_entry(in.settings);
    if (!entry) return lw;
    lw.total = entry->layouts.size();
    const int32_t top = screen_card_rows(listed_screens(in)).B;
    const int64_t room = (int64_t{in.height} - 16 - top) / 28;
    lw.rows = std::min(lw.total, static_cast<size_t>(std::clamp<int64_t>(
                                     room, kMinLayoutListRows, main_id::kMaxLayoutRows)));
    lw.first = std::min(in.layout_list_first, lw.total - lw.rows);
    return lw;
}

size_t layout_list_first_on_open(const MainViewInput& in) {
    const ScreenLayout* entry = selected_screen_entry(in.settings);
    const Layout* active = entry ? layout_in_force(*entry) : nullptr;
    if (!active) return 0;
    const auto a = static_cast<size_t>(active - entry->layouts.data());
    const LayoutListWindow lw = layout_list_window(in);
    if (a < lw.rows) return 0;
    return std::min(a - lw.rows / 2, lw.total - lw.rows);
}

MainView build_main_view(const MainViewInput& in) {
    Builder b{in, {}};
    const ScreenLayout* entry = selected_screen_entry(in.settings);
    const size_t n = listed_screens(in);
    b.view.layout_list_first = layout_list_window(in).first;
    std::optional<size_t> selected;
    for (size_t i = 0; i < n; ++i) {
        if (!selected && in.screens[i].id == in.settings.selected_screen) selected = i;
        b.view.previews.push_back(preview_of(in.screens[i], find_screen(in.settings, in.screens[i].id)));
    }

    add_title_row(b);
    add_status_card(b, entry);
    const ScreenCardRows rows = add_screen_card(b, n, selected);
    add_layout_row(b, rows, entry, n);
    const int32_t more = add_preferences(b, rows.Y, entry);
    add_last_card(b, rows.Y + more);
    const size_t lists_start = b.view.widgets.size();
    add_open_lists(b, rows.B, entry);
    add_notice_row(b);

    int32_t lowest = 0;
    for (const auto& w : b.view.widgets) lowest = std::max(lowest, w.rect.bottom);
    b.view.content_bottom = lowest + 16;
    const int64_t most = std::max<int64_t>(0, int64_t{b.view.content_bottom} - in.height);
    b.view.scroll = static_cast<int32_t>(std::clamp<int64_t>(in.scroll, 0, most));
    if (b.view.scroll != 0) {
        for (auto& w : b.view.widgets) {
            w.rect.top -= b.view.scroll;
            w.rect.bottom -= b.view.scroll;
        }
    }
    add_scroll_bar(b, lists_start);
    return std::move(b.view);
}

}  // namespace tw
