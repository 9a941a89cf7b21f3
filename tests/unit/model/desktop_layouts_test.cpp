// A layout per virtual desktop: the choice, its fallback, pruning, and the settings list.
#include <gtest/gtest.h>

#include <array>

#include "core/base/log.h"
#include "core/model/desktop_layouts.h"
#include "core/model/settings.h"

namespace tw {
namespace {

const std::string kD1 = "{11111111-0000-0000-0000-000000000001}";
const std::string kD2 = "{22222222-0000-0000-0000-000000000002}";
const std::string kD3 = "{33333333-0000-0000-0000-000000000003}";

// Screens A (layouts A1..A3, A1 active) and B (B1, B2, B1 active).
Settings two_screens() {
    Settings s;
    for (const char* id : {"A", "B"}) {
        ScreenLayout e;
        e.id = id;
        const int count = id[0] == 'A' ? 3 : 2;
        for (int i = 1; i <= count; ++i) e.layouts.push_back({id + std::to_string(i), {{0, 0, 1, 1}}});
        e.active_layout = e.layouts.front().name;
        s.screens.push_back(e);
    }
    return s;
}

void pick(Settings& s, const std::string& screen, const std::string& layout, const std::string& desktop) {
    find_screen(s, screen)->active_layout = layout;
    record_desktop_choice(s, screen, desktop);
}

std::string active(const Settings& s, const std::string& screen) { return find_screen(s, screen)->active_layout; }

// The user picks layouts on some desktops, then switches between them.
TEST(DesktopLayouts, SwitchingDesktopsTakesEachDesktopsChoice) {
    struct Step {
        const char* what;
        std::string switch_to;
        const char* a;
        const char* b;
        std::vector<std::string> changed;
    };
    Settings s = two_screens();
    pick(s, "A", "A2", kD1);
    pick(s, "A", "A3", kD2);
    pick(s, "B", "B2", kD2);
    const Step steps[] = {
        {"back to D1: A takes its choice, B has none there and keeps its layout", kD1, "A2", "B2", {"A"}},
        {"D2: both screens take their choices", kD2, "A3", "B2", {"A"}},
        {"D3 without choices: the layouts in force stay", kD3, "A3", "B2", {}},
        {"D1 again", kD1, "A2", "B2", {"A"}},
        {"no desktop known: nothing changes", "", "A2", "B2", {}},
    };
    for (const Step& st : steps) {
        EXPECT_EQ(apply_desktop_choices(s, st.switch_to), st.changed) << st.what;
        EXPECT_EQ(active(s, "A"), st.a) << st.what;
        EXPECT_EQ(active(s, "B"), st.b) << st.what;
    }
    // Picking again on a desktop replaces its choice; without a desktop nothing is kept.
    pick(s, "A", "A1", kD1);
    pick(s, "B", "B1", "");
    EXPECT_EQ(s.desktop_layouts, (std::vector<DesktopLayoutChoice>{
                                     {"A", kD1, "A1"}, {"A", kD2, "A3"}, {"B", kD2, "B2"}}));
    EXPECT_FALSE(record_desktop_choice(s, "A", kD1));   // unchanged
    EXPECT_FALSE(record_desktop_choice(s, "Z", kD1));   // no such screen
}

TEST(DesktopLayouts, ChoicesThatCannotBeUsedAreDropped) {
    struct Case {
        const char* what;
        std::vector<std::string> desktops;
        std::function<void(Settings&)> change;
        std::vector<DesktopLayoutChoice> left;
    };
    const std::vector<DesktopLayoutChoice> all = {{"A", kD1, "A2"}, {"B", kD2, "B2"}, {"A", kD3, "A3"}};
    const Case cases[] = {
        {"every desktop still there", {kD1, kD2, kD3}, nullptr, all},
        {"D2 closed", {kD1, kD3}, nullptr, {all[0], all[2]}},
        {"desktop list unknown: kept", {}, nullptr, all},
        {"screen B's entry gone", {}, [](Settings& s) { s.screens.pop_back(); }, {all[0], all[2]}},
        {"layout A3 deleted", {}, [](Settings& s) { s.screens[0].layouts.pop_back(); }, {all[0], all[1]}},
    };
    for (const Case& c : cases) {
        Settings s = two_screens();
        s.desktop_layouts = all;
        if (c.change) c.change(s);
        EXPECT_EQ(prune_desktop_choices(s, c.desktops), all.size() - c.left.size()) << c.what;
        EXPECT_EQ(s.desktop_layouts, c.left) << c.what;
    }
    // A choice naming a layout the screen lost is not applied before it is pruned.
    Settings s = two_screens();
    s.desktop_layouts = {{"A", kD1, "Gone"}};
    EXPECT_TRUE(apply_desktop_choices(s, kD1).empty());
    EXPECT_EQ(active(s, "A"), "A1");
}

TEST(DesktopLayouts, DesktopIdentifiersFromRegistryBytes) {
    const std::array<uint8_t, 16> bytes = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                                           0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(guid_text(bytes), "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
    std::vector<uint8_t> two(bytes.begin(), bytes.end());
    two.insert(two.end(), 16, 0);
    two.push_back(7);  // a partial third identifier
    EXPECT_EQ(guid_list(two), (std::vector<std::string>{"{12345678-9ABC-DEF0-0123-456789ABCDEF}",
                                                        "{00000000-0000-0000-0000-000000000000}"}));
    EXPECT_TRUE(guid_list({}).empty());
}

TEST(DesktopLayouts, SettingsListIsWrittenOnlyWhenInUse) {
    Settings s = two_screens();
    s.selected_screen = "A";
    const std::string plain = serialize_settings(s);
    EXPECT_EQ(plain.find("DesktopLayouts"), std::string::npos);
    s.desktop_layouts = {{"A", kD1, "A2"}, {"B", kD2, "B \"2\""}};
    const std::string text = serialize_settings(s);
    const std::string line = "  \"DesktopLayouts\": [{ \"Screen\": \"A\", \"Desktop\": \"" + kD1 +
                             "\", \"Layout\": \"A2\" }, { \"Screen\": \"B\", \"Desktop\": \"" + kD2 +
                             "\", \"Layout\": \"B \\\"2\\\"\" }]\n";
    EXPECT_NE(text.find(line), std::string::npos) << text;
    const Settings back = parse_settings(text);
    EXPECT_EQ(back.desktop_layouts, s.desktop_layouts);
    EXPECT_TRUE(back.extra.empty());
    EXPECT_EQ(serialize_settings(back), text);
    // Entries missing a member, and a second entry for the same screen and desktop, are skipped.
    const Settings odd = parse_settings(R"({"DesktopLayouts": [{"Screen": "A", "Desktop": "x"},
        {"Screen": "A", "Desktop": "", "Layout": "A1"}, {"Screen": "A", "Desktop": "d", "Layout": "A1"},
        {"Screen": "A", "Desktop": "d", "Layout": "A2"}, 5]})");
    EXPECT_EQ(odd.desktop_layouts, (std::vector<DesktopLayoutChoice>{{"A", "d", "A1"}}));
}

}  // namespace
}  // namespace tw
