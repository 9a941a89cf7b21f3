#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/views/main_view.h"
#include "core/views/tray_menu.h"

namespace tw {
namespace {

using K = TrayItemKind;

MonitorZones row(std::string id, size_t zones) {
    MonitorZones r;
    r.screen_id = std::move(id);
    for (size_t i = 0; i < zones; ++i) r.zones.push_back({int32_t(i * 10), 0, int32_t(i * 10 + 10), 10});
    return r;
}

ScreenInfo screen(std::string id, std::string name) {
    ScreenInfo s;
    s.id = std::move(id);
    s.name = std::move(name);
    return s;
}

// A selected screen "A" with `layouts` layouts named L0, L1, ..., L1 active.
Settings settings_with(size_t layouts, std::string selected = "A") {
    Settings s;
    ScreenLayout e;
    e.id = "A";
    for (size_t i = 0; i < layouts; ++i) e.layouts.push_back({"L" + std::to_string(i), {{0, 0, 1, 1}}});
    e.active_layout = "L1";
    s.screens.push_back(e);
    s.selected_screen = std::move(selected);
    return s;
}

std::vector<TrayMenuItem> menu_for(const Settings& s, bool running, bool shown,
                                   const std::vector<ScreenInfo>& screens = {},
                                   const std::vector<MonitorZones>& table = {}) {
    TrayMenuInput in(s);
    in.engine_running = running;
    in.zones_shown = shown;
    in.screens = screens;
    in.zone_table = table;
    in.shared = [](const std::string& id, size_t zone) { return id == "B" && zone == 1; };
    return build_tray_menu(in);
}

TEST(TrayMenu, FixedItemsInOrder) {
    const auto menu = menu_for(settings_with(2), true, true);
    struct Want { K kind; uint32_t command; std::string text; };
    const Want want[] = {
        {K::Command, 200, "Show"},
        {K::Separator, 0, ""},
        {K::Command, 202, "Stop\tCtrl+Alt+R"},
        {K::Command, 203, "Hide zones\tCtrl+Alt+Z"},
        {K::Submenu, 0, "Layout\tCtrl+Alt+C"},
        {K::Submenu, 0, "Share"},
        {K::Separator, 0, ""},
        {K::Command, 201, "Exit"},
    };
    ASSERT_EQ(menu.size(), std::size(want));
    for (size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].kind, want[i].kind) << i;
        EXPECT_EQ(menu[i].command, want[i].command) << i;
        EXPECT_EQ(menu[i].text, want[i].text) << i;
    }
}

TEST(TrayMenu, StartStopAndZonesItemsFollowTheEngine) {
    struct Case {
        bool running, shown, unbound;
        const char* start_stop;
        const char* zones;
        bool zones_grayed;
    };
    const Case cases[] = {
        {true, true, false, "Stop\tCtrl+Alt+R", "Hide zones\tCtrl+Alt+Z", false},
        {true, false, false, "Stop\tCtrl+Alt+R", "Show zones\tCtrl+Alt+Z", false},
        {false, false, false, "Start\tCtrl+Alt+R", "Hide zones\tCtrl+Alt+Z", true},
        {false, true, false, "Start\tCtrl+Alt+R", "Hide zones\tCtrl+Alt+Z", true},
        {true, true, true, "Stop\tUnbound", "Hide zones\tUnbound", false},
    };
    for (const Case& c : cases) {
        Settings s = settings_with(2);
        if (c.unbound)
            for (HotkeyAction a : {HotkeyAction::StartStop, HotkeyAction::ToggleZones})
                s.hotkey(a) = {0, 0x52};
        const auto menu = menu_for(s, c.running, c.shown);
        EXPECT_EQ(menu[2].text, c.start_stop);
        EXPECT_FALSE(menu[2].grayed);
        EXPECT_EQ(menu[3].text, c.zones);
        EXPECT_EQ(menu[3].grayed, c.zones_grayed) << c.zones;
    }
}

TEST(TrayMenu, LayoutSubmenuListsTheSelectedScreensLayouts) {
    struct Case {
        size_t layouts;
        const char* selected;
        size_t listed;
    };
    const Case cases[] = {{3, "A", 3}, {20, "A", 20}, {25, "A", 20}, {0, "A", 0}, {3, "gone", 0}};
    for (const Case& c : cases) {
        const auto items = menu_for(settings_with(c.layouts, c.selected), true, true)[4].children;
        ASSERT_EQ(items.size(), c.listed) << c.layouts << c.selected;
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].command, 250 + i);
            // Layouts 1 to 9 show their Apply layout shortcut after the tab.
            const std::string hotkey = i < 9 ? "\tCtrl+Alt+Win+" + std::to_string(i + 1) : "";
            EXPECT_EQ(items[i].text, "L" + std::to_string(i) + hotkey);
            EXPECT_EQ(items[i].checked, i == 1);
        }
    }
}

TEST(TrayMenu, ShareSubmenuFromTheZoneTable) {
    const std::vector<ScreenInfo> screens = {screen("A", "Dell & Co"), screen("B", "{z}"), screen("C", "")};
    // Row 0 has 12 zones (9 listed); row 1's screen is named "{z}"; row 2's screen has
    // no name; row 3's screen is not attached.
    const std::vector<MonitorZones> table = {row("A", 12), row("B", 2), row("C", 1), row("X", 1)};
    const auto items = menu_for(settings_with(2), true, true, screens, table)[5].children;
    struct Want { uint32_t command; std::string text; bool checked; };
    std::vector<Want> want;
    for (uint32_t z = 0; z < 9; ++z)
        want.push_back({1000 + z, "Dell && Co: Zone " + std::to_string(z + 1), false});
    want.push_back({1009, "{z}: Zone 1", false});
    want.push_back({1010, "{z}: Zone 2", true});
    want.push_back({1018, "Display 3: Zone 1", false});
    want.push_back({1027, "Display 4: Zone 1", false});
    ASSERT_EQ(items.size(), want.size());
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].command, want[i].command) << i;
        EXPECT_EQ(items[i].text, want[i].text) << i;
        EXPECT_EQ(items[i].checked, want[i].checked) << i;
    }
    EXPECT_TRUE(menu_for(settings_with(2), true, true, screens, {})[5].children.empty());
}

TEST(TrayMenu, CommandsAgainstTheStateWhenChosen) {
    const Settings s = settings_with(3);
    const std::vector<MonitorZones> table = {row("A", 12), row("B", 2)};
    struct Case {
        uint32_t id;
        TrayAction action;
        uint64_t main_command;
        const char* screen;
        size_t zone;
    };
    using T = TrayAction;
    const Case cases[] = {
        {0, T::None, 0, "", 0},                 {200, T::ShowMain, 0, "", 0},
        {201, T::Exit, 0, "", 0},               {202, T::MainCommand, main_id::kStartStop, "", 0},
        {203, T::MainCommand, main_id::kShowZones, "", 0},
        // A layout by its place in the screen's list, whatever the main window's list shows.
        {250, T::SelectLayout, 0, "A", 0},      {252, T::SelectLayout, 0, "A", 2},
        {253, T::None, 0, "", 0},  // that layout is gone
        {270, T::None, 0, "", 0},               {999, T::None, 0, "", 0},
        {1000, T::ToggleShare, 0, "A", 0},      {1008, T::ToggleShare, 0, "A", 8},
        {1009, T::ToggleShare, 0, "B", 0},      {1010, T::ToggleShare, 0, "B", 1},
        {1011, T::None, 0, "", 0},  // row B has two zones
        {1018, T::None, 0, "", 0},  // no third row
        {1269, T::None, 0, "", 0},              {1270, T::None, 0, "", 0},
    };
    for (const Case& c : cases) {
        const TrayCommand got = decide_tray_command(c.id, s, table);
        EXPECT_EQ(got.action, c.action) << c.id;
        EXPECT_EQ(got.main_command, c.main_command) << c.id;
        EXPECT_EQ(got.screen_id, c.screen) << c.id;
        EXPECT_EQ(c.action == T::SelectLayout ? got.layout : got.zone, c.zone) << c.id;
    }
    EXPECT_EQ(decide_tray_command(250, settings_with(3, "gone"), table).action, T::None);
}

TEST(TrayMenu, NamesAreMadeSafeForMenus) {
    struct Case { const char* name; const char* text; };
    const Case cases[] = {
        {"Work", "Work"}, {"R&D", "R&&D"}, {"&&", "&&&&"}, {"a\tb", "a b"}, {"a\r\nb", "a  b"}, {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(menu_safe(c.name), c.text) << c.name;
    Settings s = settings_with(1);
    s.screens[0].layouts[0].name = "Code & Docs\tbig";
    EXPECT_EQ(menu_for(s, true, true)[4].children[0].text, "Code && Docs big\tCtrl+Alt+Win+1");
    // A name holding the placeholder stays as it is; a rebound or cleared shortcut shows.
    s.screens[0].layouts[0].name = "{hotkey}";
    s.hotkey(HotkeyAction::ApplyLayout1) = {kModShift | kModAlt, 'L'};
    EXPECT_EQ(menu_for(s, true, true)[4].children[0].text, "{hotkey}\tAlt+Shift+L");
    s.hotkey(HotkeyAction::ApplyLayout1) = {};
    EXPECT_EQ(menu_for(s, true, true)[4].children[0].text, "{hotkey}\tUnbound");
}

}  // namespace
}  // namespace tw
