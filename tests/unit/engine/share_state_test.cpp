// Share Zone decisions: the share map, toggling, the screen of a hotkey, the mirror's
// application identity.
#include <gtest/gtest.h>

#include "core/engine/share_state.h"
#include "core/model/settings.h"

namespace tw {
namespace {

TEST(ShareAppId, SanitisedTitle) {
    const std::pair<std::string, std::string> cases[] = {
        {"Tilewright - Share Zone 1", "Corvane.Tilewright.Tilewright.Share.Zone.1"},
        {"Zone Share Test", "Corvane.Tilewright.Zone.Share.Test"},
        {"  --Leading", "Corvane.Tilewright.Leading"},
        {"Trailing ...", "Corvane.Tilewright.Trailing"},
        {"a  -- b", "Corvane.Tilewright.a.b"},
        {"Zone \xC3\xA9t\xC3\xA9 2", "Corvane.Tilewright.Zone.t.2"},  // "Zone été 2": each é is a run
        {"\xE5\x85\xB1\xE6\x9C\x89", "Corvane.Tilewright"},              // nothing ASCII is left
        {"", "Corvane.Tilewright"},
    };
    for (const auto& [title, id] : cases) EXPECT_EQ(share_app_id(title), id) << title;
}

TEST(ShareAppId, CutTo127BytesNeverEndingInADot) {
    const std::string long_title(300, 'x');
    EXPECT_EQ(share_app_id(long_title).size(), kMaxAppIdBytes);
    // The cut would leave a "." at position 127: it goes too.
    std::string title(126 - 19, 'a');  // 19 = "Corvane.Tilewright.".size()
    title += " bbbb";
    const std::string id = share_app_id(title);
    EXPECT_EQ(id.size(), 126u);
    EXPECT_NE(id.back(), '.');
    for (size_t n = 0; n < 200; n += 7) {
        std::string t;
        for (size_t i = 0; i < n; ++i) t += (i % 3 == 2) ? ' ' : 'z';
        const std::string cut = share_app_id(t);
        EXPECT_LE(cut.size(), kMaxAppIdBytes);
        EXPECT_NE(cut.back(), '.');
        EXPECT_EQ(cut.find(".."), std::string::npos);
    }
}

TEST(ShareMap, LiveEntriesOnly) {
    ShareMap map;
    const LiveShares is_alive{11, 13, 21};
    map.put("B", 2, 13);
    map.put("A", 1, 11);
    map.put("B", 0, 12);  // closed by the user
    map.put("C", 0, 21);
    map.put("AB", 0, 99);  // a screen id that shares a prefix
    map.put("A", 1, 11);   // the same key again replaces the entry
    EXPECT_EQ(map.shared_zones("B", is_alive), (std::vector<size_t>{2}));
    EXPECT_EQ(map.shared_zones("A", is_alive), (std::vector<size_t>{1}));
    EXPECT_EQ(map.shared_screens(is_alive), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(map.live_window("B", 0, is_alive), std::nullopt);
    EXPECT_EQ(map.live_window("B", 2, is_alive), std::optional<WindowId>(13));
    map.erase("B", 2);
    EXPECT_TRUE(map.shared_zones("B", is_alive).empty());
}

TEST(ShareToggle, Decisions) {
    ShareMap map;
    map.put("S", 0, 7);  // alive
    map.put("S", 1, 8);  // its window was closed
    const LiveShares alive{7};
    const std::vector<Rect> zones{{0, 0, 960, 1080}, {960, 0, 1920, 1080}};
    using K = ShareToggle::Kind;
    struct Case {
        const char* what;
        std::string screen;
        size_t zone;
        std::vector<Rect> zones;
        ShareToggle toggle;
    };
    const Case cases[] = {
        {"a live share stops", "S", 0, zones, {K::Stop, 7, {}}},
        {"a share whose window was closed starts again", "S", 1, zones, {K::Start, 0, zones[1]}},
        {"a zone beyond the layout does nothing", "S", 2, zones, {}},
        {"a screen that is not attached does nothing", "S", 0, {}, {}},
        {"another screen starts", "T", 0, zones, {K::Start, 0, zones[0]}},
    };
    for (const Case& c : cases) EXPECT_EQ(decide_share_toggle(map, c.screen, c.zone, c.zones, alive), c.toggle) << c.what;
}

ScreenInfo screen(std::string id, Rect bounds, int64_t monitor) {
    return {std::move(id), "", bounds, bounds, monitor, monitor == 1};
}

ScreenLayout entry(std::string id) {
    ScreenLayout e;
    e.id = std::move(id);
    e.enabled = true;
    e.active_layout = "Halves";
    e.layouts = {{"Halves", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}}};
    return e;
}

TEST(ShareHotkeyScreen, ForegroundThenCursorThenSelection) {
    const std::vector<ScreenInfo> screens{screen("P", {0, 0, 1920, 1080}, 1), screen("L", {-1920, 0, 0, 1080}, 2)};
    Settings with_selection;
    with_selection.screens = {entry("P"), entry("L")};
    with_selection.selected_screen = "L";
    Settings unknown_selection = with_selection;
    unknown_selection.selected_screen = "gone";
    Settings detached_first = with_selection;
    detached_first.screens = {entry("X"), entry("P")};
    detached_first.selected_screen = "";
    using M = std::optional<int64_t>;
    struct Case {
        const char* what;
        const Settings* settings;
        M foreground, cursor;
        std::optional<std::string> screen;
    };
    const Case cases[] = {
        {"the foreground window's monitor", &with_selection, 1, 2, "P"},
        {"own window in front: the cursor's monitor", &with_selection, std::nullopt, 2, "L"},
        {"a monitor that is no screen is passed over", &with_selection, 99, 1, "P"},
        {"neither: the selected screen", &with_selection, 99, 98, "L"},
        {"a selection without an entry: the first entry", &unknown_selection, std::nullopt, std::nullopt, "P"},
        {"the first entry is not attached: nothing", &detached_first, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(share_hotkey_screen(screens, *c.settings, c.foreground, c.cursor), c.screen) << c.what;
    EXPECT_EQ(share_hotkey_screen({}, with_selection, 1, 1), std::nullopt);
}

TEST(ShareZoneRects, LayoutInForceOfAnAttachedScreen) {
    const std::vector<ScreenInfo> screens{screen("P", {0, 0, 1920, 1080}, 1)};
    Settings s;
    s.screens = {entry("P"), entry("X")};
    s.screens[0].enabled = false;  // sharing does not depend on the engine's Enabled flag
    s.screens[0].cover_taskbar = true;
    EXPECT_EQ(share_zone_rects(s, screens, "P"), (std::vector<Rect>{{0, 0, 960, 1080}, {960, 0, 1920, 1080}}));
    EXPECT_TRUE(share_zone_rects(s, screens, "X").empty());
    EXPECT_TRUE(share_zone_rects(s, screens, "nowhere").empty());
}

}  // namespace
}  // namespace tw
