#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/views/main_view.h"
#include "core/ui/text_metrics.h"

namespace tw {
namespace {

constexpr int32_t W = 580;

ScreenInfo screen(int i, Rect bounds = {0, 0, 1920, 1080}) {
    ScreenInfo s;
    s.id = "id" + std::to_string(i);
    s.name = "Display " + std::to_string(i + 1);
    s.bounds = bounds;
    s.work = bounds;
    return s;
}

Layout layout(std::string name, size_t zones) {
    Layout l{std::move(name), {}};
    for (size_t i = 0; i < zones; ++i)
        l.zones.push_back({static_cast<double>(i) / zones, 0, static_cast<double>(i + 1) / zones, 1});
    return l;
}

// Settings with an entry (three layouts, the second active) for each screen.
Settings settings_for(const std::vector<ScreenInfo>& screens, size_t selected = 0) {
    Settings s;
    s.start_hint_done = true;  // the first-start hint has tests of its own
    for (const auto& si : screens) {
        ScreenLayout e;
        e.id = si.id;
        e.name = si.name;
        e.enabled = true;
        e.layouts = {layout("Full", 1), layout("Halves", 2), layout("Thirds", 3)};
        e.active_layout = "Halves";
        s.screens.push_back(e);
    }
    if (selected < screens.size()) s.selected_screen = screens[selected].id;
    return s;
}

const WidgetItem* find(const std::vector<WidgetItem>& items, uint64_t id, int kind = -1) {
    for (const auto& w : items)
        if (w.id == id && (kind < 0 || w.kind == kind)) return &w;
    return nullptr;
}

size_t count_kind(const std::vector<WidgetItem>& items, uint8_t kind) {
    size_t n = 0;
    for (const auto& w : items) n += w.kind == kind;
    return n;
}

struct FixedMeasure : TextMeasure {
    float width;
    explicit FixedMeasure(float w) : width(w) {}
    float measure_text_width(std::string_view, TextFormat) override { return width; }
};

TEST(MainView, ScreenCardVariantsPlaceTheRowsBelowIt) {
    struct Case {
        size_t screens;
        Rect card;
        uint8_t card_kind;
        int32_t heading, row, row_bottom, prefs, content_bottom;
    };
    const Case cases[] = {
        {0, {16, 116, W - 16, 362}, 0, 298, 322, 350, 378, 378 + 302 + 76 + 16},
        {1, {16, 146, W - 16, 392}, 24, 328, 352, 380, 408, 408 + 302 + 76 + 16},
    };
    for (const Case& c : cases) {
        std::vector<ScreenInfo> screens;
        for (size_t i = 0; i < c.screens; ++i) screens.push_back(screen(static_cast<int>(i)));
        const Settings s = settings_for(screens);
        MainViewInput in{s};
        in.screens = screens;
        const MainView v = build_main_view(in);
        const auto& w = v.widgets;
        ASSERT_GT(w.size(), 8u);
        EXPECT_EQ(w[8].rect, (Rect{16, 48, W - 16, 100}));  // status card
        EXPECT_EQ(w[11 + c.screens].kind, c.card_kind);
        EXPECT_EQ(w[11 + c.screens].rect, c.card);
        const WidgetItem* heading = nullptr;
        for (const auto& it : w)
            if (it.text == tr("main.current_layout_heading")) heading = &it;
        ASSERT_NE(heading, nullptr);
        EXPECT_EQ(heading->rect, (Rect{28, c.heading, W - 28, c.heading + 18}));
        EXPECT_EQ(find(w, 112)->rect, (Rect{28, c.row, 228, c.row_bottom}));
        EXPECT_EQ(find(w, 122)->rect.top, c.row);
        EXPECT_EQ(find(w, 122)->enabled, c.screens >= 1 ? 1 : 0);
        EXPECT_EQ(find(w, 111)->rect.top, c.row + 5);
        EXPECT_EQ(find(w, 111)->rect.bottom, c.row_bottom - 3);
        EXPECT_EQ(find(w, 123)->rect, (Rect{W - 128, c.prefs + 338, W - 28, c.prefs + 366}));
        EXPECT_EQ(v.content_bottom, c.content_bottom);
        EXPECT_EQ(v.previews.size(), c.screens);
        EXPECT_EQ(count_kind(w, 23), c.screens == 0 ? 0u : 1u);
        bool prefs_card = false;
        for (const auto& it : w)
            prefs_card |= it.kind == 0 && it.rect == Rect{16, c.prefs, W - 16, c.prefs + 286};
        EXPECT_TRUE(prefs_card) << c.screens;
    }
}

TEST(MainView, ScreenTabsShareTheWidthAndStopAtTheCardEdge) {
    struct Case {
        size_t screens;
        int32_t width;
        int32_t tab;      // width of each tab
        size_t shown;     // tabs added
        size_t previews;
    };
    const Case cases[] = {
        {1, 580, 140, 1, 1},   {2, 580, 140, 2, 2},  {5, 580, 106, 5, 5},
        {20, 580, 40, 12, 20}, {45, 580, 40, 12, 30}, {3, 100, 40, 1, 3},
        {2, 50, 40, 1, 2},     {30, 2000, 61, 30, 30},
    };
    for (const Case& c : cases) {
        std::vector<ScreenInfo> screens;
        for (size_t i = 0; i < c.screens; ++i) screens.push_back(screen(static_cast<int>(i)));
        Settings s = settings_for(screens, 1);
        s.screens[0].enabled = false;
        MainViewInput in{s};
        in.screens = screens;
        in.width = c.width;
        const MainView v = build_main_view(in);
        EXPECT_EQ(count_kind(v.widgets, 22), c.shown) << c.screens << " on " << c.width;
        EXPECT_EQ(v.previews.size(), c.previews);
        for (size_t i = 0; i < c.shown; ++i) {
            const WidgetItem* t = find(v.widgets, 650 + i);
            ASSERT_NE(t, nullptr);
            const int32_t x = 16 + static_cast<int32_t>(i) * (c.tab + 4);
            EXPECT_EQ(t->kind, 22);
            EXPECT_EQ(t->rect, (Rect{x, 116, x + c.tab, 146}));
            EXPECT_EQ(t->text, screens[i].name);
            EXPECT_EQ(t->selected, i == 1 ? 1 : 0);
            EXPECT_EQ(t->strong, i == 0 ? 0 : 1);
            EXPECT_EQ(t->preview, i);
            if (i > 0) {
                EXPECT_LE(t->rect.right, c.width - 16);
            }
        }
    }
}

TEST(MainView, PreviewIsCentredAndKeepsTheScreenShape) {
    struct Case {
        Rect bounds;
        Rect preview;
        const char* secondary;
    };
    const Case cases[] = {
        {{0, 0, 1920, 1080}, {183, 172, 396, 316}, "1920\u00D71080"},
        {{-1080, 0, 0, 1920}, {250, 172, 330, 316}, "1080\u00D71920"},  // portrait: at least 80
        {{0, 0, 10000, 1000}, {28, 172, 552, 316}, "10000\u00D71000"},  // at most W - 56
        {{0, 0, 1920, 0}, {28, 172, 552, 316}, "1920\u00D70"},          // no height: taken as 1
    };
    for (const Case& c : cases) {
        const std::vector<ScreenInfo> screens = {screen(0), screen(1, c.bounds)};
        const Settings s = settings_for(screens, 1);
        MainViewInput in{s};
        in.screens = screens;
        const MainView v = build_main_view(in);
        const WidgetItem* p = nullptr;
        for (const auto& w : v.widgets)
            if (w.kind == 23) p = &w;
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->rect, c.preview);
        EXPECT_EQ(p->preview, 1u);
        ASSERT_EQ(v.previews.size(), 2u);
        EXPECT_EQ(v.previews[1].name, "Display 2");
        EXPECT_EQ(v.previews[1].secondary, c.secondary);
        EXPECT_EQ(v.previews[1].zones, s.screens[1].layouts[1].zones);
        EXPECT_TRUE(v.previews[1].enabled);
    }
}

TEST(MainView, StartStopAddAndStatusFollowEngineAndLayouts) {
    struct Case {
        bool running, layouts;
        const char* status;
        uint64_t button;
        uint8_t kind;
        const char* text;
        uint8_t on;
        uint8_t show_zones_enabled;
    };
    const Case cases[] = {
        {false, true, "main.status_idle", 103, 11, "common.start", 0, 0},
        {true, true, "main.status_active", 103, 11, "common.stop", 1, 1},
        {false, false, "main.status_no_layouts", 115, 12, "common.add", 0, 0},
        {true, false, "main.status_active", 115, 12, "common.add", 0, 1},
    };
    for (const Case& c : cases) {
        const std::vector<ScreenInfo> screens = {screen(0)};
        Settings s = settings_for(screens);
        if (!c.layouts) {
            s.screens[0].layouts.clear();
            s.screens[0].active_layout.clear();
        }
        MainViewInput in{s};
        in.screens = screens;
        in.engine_running = c.running;
        const MainView v = build_main_view(in);
        EXPECT_EQ(v.widgets[9].text, tr(c.status));
        const WidgetItem* b = find(v.widgets, c.button);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(find(v.widgets, c.button == 103 ? 115 : 103), nullptr);
        EXPECT_EQ(b->kind, c.kind);
        EXPECT_EQ(b->rect, (Rect{28, 60, 138, 88}));
        EXPECT_EQ(b->text, tr(c.text));
        EXPECT_EQ(b->on, c.on);
        EXPECT_EQ(find(v.widgets, 104)->enabled, c.show_zones_enabled);
        const WidgetItem* field = find(v.widgets, 112);
        EXPECT_EQ(field->text, c.layouts ? "Halves" : tr("main.no_layouts"));
        EXPECT_EQ(field->enabled, c.layouts ? 1 : 0);
    }
}

TEST(MainView, PreferenceSwitchesInOrderWithTheirState) {
    const std::vector<ScreenInfo> screens = {screen(0)};
    Settings s = settings_for(screens);
    s.auto_start = true;
    s.screens[0].cover_taskbar = true;
    s.hide_to_tray = false;
    s.start_minimized = true;
    s.update_automatically = false;
    s.usage_statistics = true;
    s.check_for_updates = false;
    MainViewInput in{s};
    in.screens = screens;
    in.engine_running = true;
    in.zones_shown = true;
    in.autostart_enabled = false;
    const MainView v = build_main_view(in);
    struct Expect { uint64_t id; const char* key; uint8_t on; };
    const Expect order[] = {
        {104, "main.pref_show_zones", 1},         {102, "main.pref_auto_start", 1},
        {105, "main.pref_cover_taskbar", 1},      {106, "main.pref_start_with_windows", 0},
        {107, "main.pref_show_in_tray", 0},       {116, "main.pref_start_minimized", 1},
        {109, "main.pref_update_automatically", 0}, {125, "main.pref_usage_statistics", 1},
        {138, "main.pref_check_for_updates", 0},  {150, "main.pref_open_in_last_zone", 0},
    };
    std::vector<const WidgetItem*> switches;
    for (const auto& w : v.widgets)
        if (w.kind == 10 && w.id != 122) switches.push_back(&w);
    ASSERT_EQ(switches.size(), 10u);
    const int32_t Y = 408, c = (W - 72) / 2;
    for (int32_t k = 0; k < 10; ++k) {
        const WidgetItem& w = *switches[k];
        const int32_t x = k % 2 ? 44 + c : 28, row = k / 2;
        EXPECT_EQ(w.id, order[k].id);
        EXPECT_EQ(w.text, tr(order[k].key));
        EXPECT_EQ(w.on, order[k].on) << order[k].key;
        EXPECT_EQ(w.enabled, 1);
        EXPECT_EQ(w.rect, (Rect{x, Y + 36 + 34 * row, x + c, Y + 64 + 34 * row}));
    }
    const WidgetItem* swatch = find(v.widgets, 117, 26);
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(swatch->color, s.accent_color);
    // below the fifth row of switches and the excluded applications' link
    EXPECT_EQ(swatch->rect, (Rect{W - 52, Y + 68 + 179, W - 28, Y + 68 + 203}));
}

TEST(MainView, ThemeSegmentSelectedForTheSetting) {
    const struct { Theme theme; uint64_t selected; } cases[] = {
        {Theme::Light, 119}, {Theme::Auto, 120}, {Theme::Dark, 118}};
    for (const auto& c : cases) {
        Settings s;
        s.theme = c.theme;
        MainViewInput in{s};
        const MainView v = build_main_view(in);
        EXPECT_EQ(v.widgets[4].kind, 30);
        EXPECT_EQ(v.widgets[4].rect, (Rect{W - 178, 8, W - 88, 32}));
        const uint64_t ids[] = {119, 120, 118};
        for (int i = 0; i < 3; ++i) {
            const WidgetItem& seg = v.widgets[5 + i];
            EXPECT_EQ(seg.kind, 29);
            EXPECT_EQ(seg.id, ids[i]);
            EXPECT_EQ(seg.rect, (Rect{W - 178 + 30 * i, 8, W - 148 + 30 * i, 32}));
            EXPECT_EQ(seg.selected, seg.id == c.selected ? 1 : 0);
        }
    }
}

TEST(MainView, MeasuredWidthsPlaceTheToggleLinkAndButtons) {
    struct Case {
        float measured;
        int32_t toggle_left, link_right, shortcuts_right, colour_left;
    };
    const Case cases[] = {
        {40, 452, 292, 92, W - 124},   // short texts: the toggle keeps 100 DIPs
        {200, 296, 284, 252, W - 284}, // the link ends 12 before the toggle
        {1000, 168, 156, 1052, W - 1084},
        {std::numeric_limits<float>::quiet_NaN(), 452, 252, 52, W - 84},
        {-5, 452, 252, 52, W - 84},
    };
    for (const Case& c : cases) {
        const std::vector<ScreenInfo> screens = {screen(0)};
        const Settings s = settings_for(screens);
        FixedMeasure m(c.measured);
        MainViewInput in{s};
        in.screens = screens;
        in.measure = &m;
        const MainView v = build_main_view(in);
        EXPECT_EQ(find(v.widgets, 122)->rect, (Rect{c.toggle_left, 352, W - 28, 380})) << c.measured;
        EXPECT_EQ(find(v.widgets, 111)->rect, (Rect{244, 357, c.link_right, 377})) << c.measured;
        EXPECT_EQ(find(v.widgets, 110)->rect.right, c.shortcuts_right);
        EXPECT_EQ(find(v.widgets, 117, 13)->rect.left, c.colour_left);
    }
}

TEST(MainView, LastCardShowsUpdateLinkOnlyWhenKnown) {
    for (const bool known : {false, true}) {
        Settings s;
        MainViewInput in{s};
        in.program_version = "1.3.19";
        if (known) in.update_version = "2.0.0";
        const MainView v = build_main_view(in);
        const int32_t Yp = 378 + 302;
        const WidgetItem* link = find(v.widgets, 121);
        ASSERT_EQ(link != nullptr, known);
        if (link) {
            EXPECT_EQ(link->kind, 9);
            EXPECT_EQ(link->text, tr_args("main.update_link", {{"version", "2.0.0"}}));
            const int32_t tw = estimate_text_width(link->text);
            EXPECT_EQ(link->rect, (Rect{W - tw - 34, Yp + 10, W - 28, Yp + 28}));
        }
        const WidgetItem* version = nullptr;
        for (const auto& w : v.widgets)
            if (w.kind == 2) version = &w;
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(version->text, "v1.3.19");
        EXPECT_EQ(version->rect, (Rect{W - 59 - 140, Yp + 36, W - 140, Yp + 64}));
    }
}

TEST(MainView, LanguageFieldNamesTheLanguageAndWaitsForDownloads) {
    const std::vector<LanguageIndexEntry> langs = {{"en", "English"}, {"de", "Deutsch"}};
    struct Case { std::vector<LanguageIndexEntry> list; const char* code; bool pending; const char* shown; };
    const Case cases[] = {
        {langs, "de", false, "Deutsch"}, {langs, "de", true, "Deutsch"},
        {{}, "en", false, "English"},    {{}, "fr", false, "fr"},
    };
    for (const Case& c : cases) {
        Settings s;
        MainViewInput in{s};
        in.languages = c.list;
        in.current_language = c.code;
        in.language_download_pending = c.pending;
        const MainView view = build_main_view(in);  // the widget lives as long as its view
        const WidgetItem& f = view.widgets[3];
        EXPECT_EQ(f.id, 124u);
        EXPECT_EQ(f.kind, 14);
        EXPECT_EQ(f.rect, (Rect{W - 296, 8, W - 186, 32}));
        EXPECT_EQ(f.text, c.shown);
        EXPECT_EQ(f.enabled, c.pending ? 0 : 1);
    }
}

// Settings whose selected screen has `count` layouts named L0, L1, ..., `active` on.
Settings with_layouts(size_t count, const std::string& active) {
    Settings s = settings_for({screen(0)});
    auto& ls = s.screens[0].layouts;
    ls.clear();
    for (size_t i = 0; i < count; ++i) ls.push_back(layout("L" + std::to_string(i), 1));
    s.screens[0].active_layout = active;
    return s;
}

TEST(MainView, LayoutListRowsUnderTheFieldWithTheActiveOneOn) {
    // A 734-DIP window has room for 12 rows under the field (380 + 12 x 28 + 16 <= 734).
    struct Case { size_t layouts; int32_t height; size_t first; size_t rows, shown_first; };
    const Case cases[] = {
        {3, 734, 0, 3, 0},    {1, 734, 0, 1, 0},    {0, 734, 0, 0, 0},
        {12, 734, 0, 12, 0},  {13, 734, 0, 12, 0},  {70, 734, 0, 12, 0},
        {70, 734, 30, 12, 30}, {70, 734, 58, 12, 58}, {70, 734, 500, 12, 58},
        {70, 1000, 0, 21, 0}, {70, 5000, 0, 50, 0},  // never more rows than numbers
        {70, 400, 0, 3, 0},   {70, 0, 0, 3, 0},       // a short window still shows three
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.layouts << " layouts, " << c.height << " high, from "
                                        << c.first);
        const Settings s = with_layouts(c.layouts, c.layouts > 1 ? "L1" : "");
        MainViewInput in{s};
        const std::vector<ScreenInfo> screens = {screen(0)};
        in.screens = screens;
        in.layout_menu_open = true;
        in.height = c.height;
        in.layout_list_first = c.first;
        in.scroll = 0;
        MainView v = build_main_view(in);
        // Compare unscrolled positions: a short window scrolls its content.
        for (auto& w : v.widgets) {
            w.rect.top += v.scroll;
            w.rect.bottom += v.scroll;
        }
        EXPECT_EQ(v.layout_list_first, c.shown_first);
        EXPECT_EQ(count_kind(v.widgets, 15), c.rows ? 1u : 0u);
        EXPECT_EQ(count_kind(v.widgets, 16), c.rows);
        const int32_t B = 380;
        const int32_t bottom = B + 28 * static_cast<int32_t>(c.rows);
        for (const auto& w : v.widgets)
            if (w.kind == 15) {
                EXPECT_EQ(w.rect, (Rect{28, B, 228, bottom}));
            }
        for (size_t r = 0; r < c.rows; ++r) {
            const WidgetItem* row = find(v.widgets, 600 + r);
            ASSERT_NE(row, nullptr);
            const int32_t top = B + 28 * static_cast<int32_t>(r);
            const size_t i = c.shown_first + r;
            EXPECT_EQ(row->kind, 16);
            EXPECT_EQ(row->rect, (Rect{28, top, 228, top + 28}));
            EXPECT_EQ(row->text, "L" + std::to_string(i));
            // A single layout is the one in force even without a matching name.
            EXPECT_EQ(row->on, (c.layouts > 1 ? i == 1 : i == 0) ? 1 : 0);
        }
        if (c.rows < 50) {
            EXPECT_EQ(find(v.widgets, 600 + c.rows), nullptr);
        }
        // A thumb along the panel's right edge shows which part of the list is in view.
        // (The window's own scroll bar runs along its right edge, outside the list.)
        const size_t thumbs = static_cast<size_t>(std::count_if(v.widgets.begin(), v.widgets.end(), [](const WidgetItem& w) {
            return w.kind == 31 && w.rect.right <= 228;
        }));
        ASSERT_EQ(thumbs, c.layouts > c.rows ? 1u : 0u);
        if (thumbs) {
            const WidgetItem& t = v.widgets.back();
            EXPECT_EQ(t.kind, 31);
            EXPECT_EQ(t.rect.left, 224);  // right of the rows' text, inside the panel's edge
            EXPECT_EQ(t.rect.right, 227);
            EXPECT_GE(t.rect.top, B + 6);
            EXPECT_LE(t.rect.bottom, bottom - 6);
            EXPECT_GE(t.rect.bottom - t.rect.top, 16);
            EXPECT_EQ(t.rect.top == B + 6, c.shown_first == 0);
            EXPECT_EQ(t.rect.bottom == bottom - 6, c.shown_first + c.rows == c.layouts);
        }
    }
}

TEST(MainView, LayoutListOpensWithTheActiveLayoutInView) {
    struct Case { size_t layouts; size_t active; size_t first; };
    const Case cases[] = {{3, 2, 0},    {70, 0, 0},   {70, 11, 0},
                          {70, 12, 6},  {70, 40, 34}, {70, 69, 58}};
    const std::vector<ScreenInfo> screens = {screen(0)};
    for (const Case& c : cases) {
        const Settings s = with_layouts(c.layouts, "L" + std::to_string(c.active));
        MainViewInput in{s};
        in.screens = screens;
        EXPECT_EQ(layout_list_first_on_open(in), c.first) << c.active;
    }
}

TEST(MainView, WheelOverTheOpenLayoutListScrollsItsRows) {
    const std::vector<ScreenInfo> screens = {screen(0)};
    struct Case {
        size_t layouts;
        bool open;
        size_t first;
        Point at;
        int32_t delta;
        std::optional<size_t> result;
    };
    const Case cases[] = {
        {70, true, 0, {100, 400}, -120, 3},     {70, true, 3, {100, 400}, 120, 0},
        {70, true, 0, {100, 400}, 120, 0},      // at the top: swallowed, the window stays
        {70, true, 0, {100, 400}, -119, 0},     // less than a notch
        {70, true, 50, {100, 400}, -360, 58},   {70, true, 0, {100, 400}, -1200000, 58},
        {70, true, 0, {227, 715}, -120, 3},     // the panel's last pixel
        {70, true, 0, {100, 716}, -120, std::nullopt},  // below the panel
        {70, true, 0, {300, 400}, -120, std::nullopt},  // beside it
        {70, false, 0, {100, 400}, -120, std::nullopt}, // no list open
        {5, true, 0, {100, 400}, -120, 0},      // everything shown: nothing to scroll
    };
    for (const Case& c : cases) {
        const Settings s = with_layouts(c.layouts, "L0");
        MainViewInput in{s};
        in.screens = screens;
        in.layout_menu_open = c.open;
        in.layout_list_first = c.first;
        const MainView v = build_main_view(in);
        EXPECT_EQ(layout_list_wheel(in, v.widgets, c.at.x, c.at.y, c.delta), c.result)
            << c.first << " by " << c.delta << " at " << c.at.x << "," << c.at.y;
    }
}

TEST(MainView, LanguageListInUpToTwoColumns) {
    struct Case {
        size_t entries;
        size_t columns, rows;
        std::string long_name;  // replaces the last entry's name
        int32_t column_width;
    };
    const Case cases[] = {
        {1, 1, 1, "", 130},  {2, 2, 1, "", 130}, {3, 2, 2, "", 130},
        {5, 2, 3, std::string(20, 'x'), 170},  // 20 x 7.5 = 150 wide, + 20
        {45, 2, 20, "", 130},                   // only as many as there are numbers for
    };
    for (const Case& c : cases) {
        std::vector<LanguageIndexEntry> langs;
        for (size_t i = 0; i < c.entries; ++i) langs.push_back({"c" + std::to_string(i), "Lang " + std::to_string(i)});
        if (!c.long_name.empty()) langs.back().name = c.long_name;
        Settings s;
        MainViewInput in{s};
        in.languages = langs;
        in.current_language = "c1";
        in.language_menu_open = true;
        const MainView v = build_main_view(in);
        const size_t shown = std::min<size_t>(c.entries, 40);
        ASSERT_EQ(count_kind(v.widgets, 16), shown);
        const int32_t cw = c.column_width;
        const int32_t L = W - 186 - static_cast<int32_t>(c.columns) * cw;
        const WidgetItem& panel = v.widgets[v.widgets.size() - shown - 1];
        EXPECT_EQ(panel.kind, 15);
        EXPECT_EQ(panel.rect, (Rect{L, 32, W - 186, 32 + 28 * static_cast<int32_t>(c.rows)}));
        for (size_t i = 0; i < shown; ++i) {
            const WidgetItem* row = find(v.widgets, 680 + i);
            ASSERT_NE(row, nullptr);
            const int32_t col = static_cast<int32_t>(i / c.rows), r = static_cast<int32_t>(i % c.rows);
            EXPECT_EQ(row->rect, (Rect{L + col * cw, 32 + 28 * r, L + (col + 1) * cw, 60 + 28 * r}))
                << c.entries << " entry " << i;
            EXPECT_EQ(row->on, i == 1 ? 1 : 0);
        }
    }
}

TEST(MainView, ScrollIsClampedAndShiftsEveryItem) {
    const std::vector<ScreenInfo> screens = {screen(0)};
    const Settings s = settings_for(screens);
    MainViewInput base{s};
    base.screens = screens;
    base.height = 802;  // all of it: no scroll bar
    const MainView unscrolled = build_main_view(base);
    ASSERT_EQ(unscrolled.content_bottom, 802);
    struct Case { int32_t scroll, height, clamped; };
    const Case cases[] = {
        {0, 400, 0},       {100, 400, 100}, {10000, 400, 402}, {-50, 400, 0},
        {200, 802, 0},     {200, 1000, 0},  {5, 0, 5},         {std::numeric_limits<int32_t>::max(), 100, 702},
    };
    for (const Case& c : cases) {
        MainViewInput in{s};
        in.screens = screens;
        in.scroll = c.scroll;
        in.height = c.height;
        MainView v = build_main_view(in);
        std::erase_if(v.widgets, [](const WidgetItem& w) { return w.kind == 31; });  // the scroll bar
        EXPECT_EQ(v.scroll, c.clamped) << c.scroll << " in " << c.height;
        EXPECT_EQ(v.content_bottom, 802);
        ASSERT_EQ(v.widgets.size(), unscrolled.widgets.size());
        for (size_t i = 0; i < v.widgets.size(); ++i) {
            Rect r = unscrolled.widgets[i].rect;
            r.top -= c.clamped;
            r.bottom -= c.clamped;
            EXPECT_EQ(v.widgets[i].rect, r);
        }
    }
}

TEST(MainView, WheelScrollsWholeNotchesAndStopsBelowTheLowestItem) {
    const std::vector<ScreenInfo> screens = {screen(0)};
    const Settings s = settings_for(screens);
    struct Case { int32_t scroll, delta, height, result; };
    const Case cases[] = {
        {0, -120, 400, 48},   {0, -119, 400, 0},    {0, -239, 400, 48},  {100, 120, 400, 52},
        {30, 120, 400, 0},    {0, 120, 400, 0},     {0, -1200, 400, 402}, {402, -120, 400, 402},
        {300, -240, 400, 396}, {0, -120, 900, 0},  {0, 119, 400, 0},
    };
    for (const Case& c : cases) {
        MainViewInput in{s};
        in.screens = screens;
        in.scroll = c.scroll;
        in.height = c.height;
        const MainView v = build_main_view(in);
        ASSERT_EQ(v.scroll, std::min(c.scroll, 402));
        EXPECT_EQ(wheel_scroll(v.scroll, c.delta, v.widgets, c.height), c.result)
            << c.scroll << " by " << c.delta;
    }
    EXPECT_EQ(wheel_scroll(0, -120, {}, 10), 6);  // nothing but the 16 DIPs margin
}

}  // namespace
}  // namespace tw
