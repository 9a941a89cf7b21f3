#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/views/main_view.h"

namespace tw {
namespace {

using A = MainAction;

MainCommand of(MainAction a) {
    MainCommand c;
    c.action = a;
    return c;
}

struct Fixture {
    std::vector<ScreenInfo> screens;
    Settings settings;
    std::vector<LanguageIndexEntry> languages = {{"en", "English"}, {"de", "Deutsch"}};

    explicit Fixture(size_t n = 2) {
        for (size_t i = 0; i < n; ++i) {
            ScreenInfo s;
            s.id = "id" + std::to_string(i);
            s.name = "Display " + std::to_string(i + 1);
            s.bounds = s.work = {0, 0, 1920, 1080};
            screens.push_back(s);
            ScreenLayout e;
            e.id = s.id;
            e.enabled = true;
            e.layouts = {{"Full", {{0, 0, 1, 1}}}, {"Halves", {{0, 0, .5, 1}, {.5, 0, 1, 1}}}};
            e.active_layout = "Full";
            settings.screens.push_back(e);
        }
        if (n) settings.selected_screen = screens[0].id;
    }
    MainViewInput input() const {
        MainViewInput in{settings};
        in.screens = screens;
        in.languages = languages;
        in.engine_running = true;
        return in;
    }
};

TEST(MainCommand, IdsMapToTheirActions) {
    struct Case { uint64_t id; MainAction action; size_t index; bool close_lists; };
    const Case cases[] = {
        {102, A::ToggleAutoStart, 0, false},   {103, A::ToggleEngine, 0, false},
        {104, A::ToggleZones, 0, false},       {105, A::ToggleCoverTaskbar, 0, false},
        {106, A::SetStartWithWindows, 0, false}, {107, A::ToggleHideToTray, 0, false},
        {109, A::ToggleUpdateAutomatically, 0, false}, {110, A::OpenShortcuts, 0, false},
        {111, A::OpenLayoutManager, 0, false}, {115, A::OpenLayoutManager, 0, false},
        {112, A::ToggleLayoutMenu, 0, false},  {113, A::Minimise, 0, false},
        {114, A::Close, 0, false},             {116, A::ToggleStartMinimized, 0, false},
        {117, A::OpenColour, 0, false},        {118, A::SetTheme, 0, false},
        {121, A::OpenUpdate, 0, false},        {122, A::ToggleScreenEnabled, 0, false},
        {123, A::OpenAbout, 0, false},         {124, A::ToggleLanguageMenu, 0, false},
        {125, A::ToggleUsageStatistics, 0, false}, {138, A::ToggleCheckForUpdates, 0, false},
        {600, A::SelectLayout, 0, true},       {601, A::SelectLayout, 1, true},
        {650, A::SelectScreen, 0, false},      {651, A::SelectScreen, 1, false},
        {680, A::SelectLanguage, 0, true},     {681, A::SelectLanguage, 1, true},
        // Targets that no longer exist only close the lists.
        {602, A::CloseLists, 0, true},         {649, A::CloseLists, 0, true},
        {652, A::CloseLists, 0, true},         {679, A::CloseLists, 0, true},
        {682, A::CloseLists, 0, true},         {719, A::CloseLists, 0, true},
        {0, A::None, 0, false},                {108, A::None, 0, false},
        {720, A::None, 0, false},              {599, A::None, 0, false},
    };
    Fixture f;
    MainViewInput in = f.input();
    in.update_version = "9.9.9";
    const MainView v = build_main_view(in);
    for (const Case& c : cases) {
        const MainCommand cmd = decide_main_command(c.id, in, v.widgets);
        EXPECT_EQ(cmd.action, c.action) << c.id;
        EXPECT_EQ(cmd.index, c.index) << c.id;
        EXPECT_EQ(cmd.close_lists, c.close_lists) << c.id;
    }
}

TEST(MainCommand, StateDependentCommandsDoNothingWithoutTheirTarget) {
    Fixture f;
    MainViewInput in = f.input();
    in.engine_running = false;  // zones cannot be shown
    const MainView v = build_main_view(in);
    EXPECT_EQ(decide_main_command(104, in, v.widgets).action, A::None);
    EXPECT_EQ(decide_main_command(121, in, v.widgets).action, A::None);  // no known update
    const struct { uint64_t id; Theme theme; } themes[] = {
        {118, Theme::Dark}, {119, Theme::Light}, {120, Theme::Auto}};
    for (const auto& t : themes) {
        const MainCommand cmd = decide_main_command(t.id, in, v.widgets);
        EXPECT_EQ(cmd.action, A::SetTheme);
        EXPECT_EQ(cmd.theme, t.theme);
        Settings s = f.settings;
        EXPECT_TRUE(apply_main_command(s, cmd, f.screens));
        EXPECT_EQ(s.theme, t.theme);
    }
}

TEST(MainCommand, TogglesReadTheFirstWidgetWithTheIdAndFlipIt) {
    using Get = std::function<bool(const Settings&)>;
    struct Case { uint64_t id; MainAction action; Get get; };
    const Case cases[] = {
        {102, A::ToggleAutoStart, [](const Settings& s) { return s.auto_start; }},
        {107, A::ToggleHideToTray, [](const Settings& s) { return s.hide_to_tray; }},
        {109, A::ToggleUpdateAutomatically, [](const Settings& s) { return s.update_automatically; }},
        {116, A::ToggleStartMinimized, [](const Settings& s) { return s.start_minimized; }},
        {125, A::ToggleUsageStatistics, [](const Settings& s) { return s.usage_statistics; }},
        {138, A::ToggleCheckForUpdates, [](const Settings& s) { return s.check_for_updates; }},
        {105, A::ToggleCoverTaskbar, [](const Settings& s) { return s.screens[0].cover_taskbar; }},
        {122, A::ToggleScreenEnabled, [](const Settings& s) { return s.screens[0].enabled; }},
    };
    for (const Case& c : cases) {
        for (const bool shown : {false, true}) {
            Fixture f;
            const MainView v = build_main_view(f.input());
            // The window acts on what it shows, even when the settings moved since.
            std::vector<WidgetItem> widgets = v.widgets;
            for (auto& w : widgets)
                if (w.id == c.id) w.on = shown;
            // A later item with the same number does not count.
            push_item(widgets, c.id, 10, {0, 0, 1, 1}).on = !shown;
            const MainCommand cmd = decide_main_command(c.id, f.input(), widgets);
            EXPECT_EQ(cmd.action, c.action);
            EXPECT_EQ(cmd.on, shown) << c.id;
            EXPECT_TRUE(apply_main_command(f.settings, cmd, f.screens));
            EXPECT_EQ(c.get(f.settings), !shown) << c.id;
        }
    }
    Fixture f;
    std::vector<WidgetItem> widgets = build_main_view(f.input()).widgets;
    for (auto& w : widgets)
        if (w.id == 106) w.on = 1;
    const MainCommand cmd = decide_main_command(106, f.input(), widgets);
    EXPECT_EQ(cmd.action, A::SetStartWithWindows);
    EXPECT_FALSE(cmd.value);
    // The registry value is not part of the settings file.
    EXPECT_FALSE(apply_main_command(f.settings, cmd, f.screens));
}

TEST(MainCommand, SelectionsChangeTheSettingsOnlyWhenTheTargetExists) {
    struct Case { uint64_t id; bool changes; std::string selected; std::string active; };
    const Case cases[] = {
        {601, true, "id0", "Halves"}, {600, true, "id0", "Full"}, {602, false, "id0", "Full"},
        {651, true, "id1", "Full"},   {650, true, "id0", "Full"}, {679, false, "id0", "Full"},
        {681, false, "id0", "Full"},  // languages are installed by the window, not here
    };
    for (const Case& c : cases) {
        Fixture f;
        const Settings before = f.settings;
        const MainView v = build_main_view(f.input());
        const MainCommand cmd = decide_main_command(c.id, f.input(), v.widgets);
        EXPECT_EQ(apply_main_command(f.settings, cmd, f.screens), c.changes) << c.id;
        EXPECT_EQ(f.settings.selected_screen, c.selected) << c.id;
        EXPECT_EQ(f.settings.screens[0].active_layout, c.active) << c.id;
        if (!c.changes) {
            EXPECT_EQ(f.settings, before) << c.id;
        }
    }
    // A layout row without a selected screen, and with no screens at all.
    Fixture none(0);
    const MainCommand cmd = decide_main_command(600, none.input(), {});
    EXPECT_EQ(cmd.action, A::CloseLists);
    EXPECT_FALSE(apply_main_command(none.settings, of(A::SelectLayout),
                                    none.screens));
    EXPECT_FALSE(apply_main_command(none.settings, of(A::ToggleScreenEnabled), none.screens));
    EXPECT_FALSE(apply_main_command(none.settings, of(A::SelectScreen), none.screens));
}

// Row numbers count the rows in view: a scrolled list chooses the layout shown there.
TEST(MainCommand, ScrolledLayoutListRowsChooseTheLayoutsInView) {
    Fixture f(1);
    auto& ls = f.settings.screens[0].layouts;
    for (int i = 0; i < 68; ++i) ls.push_back({"L" + std::to_string(i + 2), {{0, 0, 1, 1}}});
    struct Case { size_t first; uint64_t id; MainAction action; std::string active; };
    const Case cases[] = {
        {0, 600, A::SelectLayout, "Full"},  {10, 600, A::SelectLayout, "L10"},
        {10, 611, A::SelectLayout, "L21"},  {58, 611, A::SelectLayout, "L69"},
        {500, 611, A::SelectLayout, "L69"},  // a stale offset is clamped like the view's
        {10, 612, A::CloseLists, "Full"},   // no thirteenth row is shown
    };
    for (const Case& c : cases) {
        Fixture g = f;
        MainViewInput in = g.input();
        in.layout_menu_open = true;
        in.layout_list_first = c.first;
        const MainView v = build_main_view(in);
        const MainCommand cmd = decide_main_command(c.id, in, v.widgets);
        EXPECT_EQ(cmd.action, c.action) << c.first << " " << c.id;
        apply_main_command(g.settings, cmd, g.screens);
        EXPECT_EQ(g.settings.screens[0].active_layout, c.active) << c.first << " " << c.id;
    }
}

TEST(MainCommand, ListStateOpensOneListAndClosesBoth) {
    struct Case {
        MainCommand cmd;
        bool layout, language;          // before
        bool layout_after, language_after, changed;
    };
    MainCommand close;
    close.action = A::CloseLists;
    close.close_lists = true;
    MainCommand pick_layout = close;
    pick_layout.action = A::SelectLayout;
    const Case cases[] = {
        {of(A::ToggleLayoutMenu), false, false, true, false, true},
        {of(A::ToggleLayoutMenu), true, false, false, false, true},
        {of(A::ToggleLayoutMenu), false, true, true, false, true},
        {of(A::ToggleLanguageMenu), true, false, false, true, true},
        {of(A::ToggleLanguageMenu), false, true, false, false, true},
        {close, true, true, false, false, true},
        {close, false, false, false, false, false},
        {pick_layout, true, false, false, false, true},
        {of(A::ToggleAutoStart), true, false, true, false, false},
    };
    for (const Case& c : cases) {
        bool layout = c.layout, language = c.language;
        EXPECT_EQ(apply_list_command(c.cmd, layout, language), c.changed);
        EXPECT_EQ(layout, c.layout_after);
        EXPECT_EQ(language, c.language_after);
    }
}

TEST(MainCommand, PressWithAnOpenListGoesAheadOnlyOnThatList) {
    Fixture f;
    struct Case {
        bool layout, language;
        int32_t x, y;
        bool proceeds;
    };
    // Layout list under the field at B = 380; language list at the top right, its
    // field at x 284..394.
    const Case cases[] = {
        {false, false, 300, 500, true},   // nothing open: every press
        {false, false, 5, 5, true},
        {true, false, 100, 390, true},    // first layout row
        {true, false, 100, 365, true},    // the layout field
        {true, false, 300, 500, false},   // a switch: closes instead
        {true, false, 5, 5, false},       // nothing there
        {true, false, 330, 20, false},
        {false, true, 330, 20, true},
        {false, true, 300, 45, true},     // a language row
        {false, true, 100, 365, false},   // the other list's field
        {false, true, 570, 20, false},    // the close glyph
    };
    for (const Case& c : cases) {
        MainViewInput in = f.input();
        in.layout_menu_open = c.layout;
        in.language_menu_open = c.language;
        const MainView v = build_main_view(in);
        EXPECT_EQ(press_proceeds(v.widgets, c.x, c.y, c.layout, c.language), c.proceeds)
            << c.x << "," << c.y << " layout " << c.layout << " language " << c.language;
    }
}

TEST(MainFocus, TabWalksEnabledFocusableKindsAndWraps) {
    std::vector<WidgetItem> items;
    const uint8_t kinds[] = {0, 7, 14, 10, 11, 17, 13, 22, 29, 16, 8, 9, 12};
    for (uint8_t k : kinds) push_item(items, 1, k, {0, 0, 10, 10});
    items[3].enabled = 0;   // a disabled switch is skipped
    items[11].enabled = 0;  // and so is a disabled accent label
    using O = std::optional<size_t>;
    struct Case { O current; bool backwards; O next; };
    const Case cases[] = {
        {std::nullopt, false, 1}, {std::nullopt, true, 12}, {1, false, 4},   {4, false, 6},
        {6, false, 10},           {10, false, 12},          {12, false, 1},  {1, true, 12},
        {12, true, 10},           {6, true, 4},             {2, false, 4},   {3, true, 1},
        {99, false, 1},           {99, true, 12},
    };
    for (const Case& c : cases)
        EXPECT_EQ(next_focus(items, c.current, c.backwards), c.next)
            << (c.current ? static_cast<int>(*c.current) : -1) << (c.backwards ? " back" : "");

    std::vector<WidgetItem> one;
    push_item(one, 1, 0, {});
    push_item(one, 1, 13, {});
    EXPECT_EQ(next_focus(one, 1, false), O(1));  // the only one keeps the focus
    one[1].enabled = 0;
    EXPECT_EQ(next_focus(one, std::nullopt, false), std::nullopt);
    EXPECT_EQ(next_focus({}, std::nullopt, true), std::nullopt);
}

TEST(MainFocus, MainViewStartsAtStartStopAndEndsAtAbout) {
    Fixture f;
    MainViewInput in = f.input();
    in.engine_running = false;
    const MainView v = build_main_view(in);
    const auto first = next_focus(v.widgets, std::nullopt, false);
    const auto last = next_focus(v.widgets, std::nullopt, true);
    ASSERT_TRUE(first && last);
    EXPECT_EQ(v.widgets[*first].id, 103u);
    EXPECT_EQ(v.widgets[*last].id, 123u);
    // "Show zones" is disabled while stopped: Tab goes from the first switch on to 102.
    size_t i = *first;
    std::vector<uint64_t> order;
    do {
        order.push_back(v.widgets[i].id);
        i = *next_focus(v.widgets, i, false);
    } while (i != *first);
    const std::vector<uint64_t> expected = {103, 122, 111, 102, 105, 106, 107,
                                            116, 109, 125, 138, 150, 151, 110, 117, 123};
    EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace tw
