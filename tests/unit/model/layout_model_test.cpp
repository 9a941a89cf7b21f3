#include <gtest/gtest.h>

#include "core/model/layout_model.h"
#include "core/model/settings.h"
#include "support/settings_print.h"

namespace tw {
namespace {

Layout named(std::string name) { return Layout{std::move(name), {Zone{0, 0, 1, 1}}}; }

ScreenLayout entry(std::string id, std::string name, std::vector<Layout> layouts = {named("Mine")}) {
    return ScreenLayout{std::move(id), std::move(name), false, true, "Mine", std::move(layouts)};
}

std::vector<std::string> names(const std::vector<Layout>& layouts) {
    std::vector<std::string> out;
    for (const auto& l : layouts) out.push_back(l.name);
    return out;
}

TEST(LayoutModel, RepairActiveLayout) {
    struct Case { std::vector<std::string> layouts; std::string active, expected; };
    const Case cases[] = {
        {{"A", "B"}, "B", "B"},
        {{"A", "B"}, "Gone", "A"},
        {{"A", "B"}, "", "A"},
        {{"A", "B"}, "b", "A"},    // exact, case-sensitive
        {{"A", "B"}, " B", "A"},
        {{}, "Gone", "Gone"},      // nothing to choose from: kept
        {{}, "", ""},
    };
    for (const auto& c : cases) {
        ScreenLayout s;
        for (const auto& n : c.layouts) s.layouts.push_back(named(n));
        s.active_layout = c.active;
        repair_active_layout(s);
        EXPECT_EQ(s.active_layout, c.expected) << c.active;
    }
}

TEST(LayoutModel, ActiveLayoutTakesTheFirstMatch) {
    ScreenLayout s{"id", "n", true, false, "Same", {Layout{"Other", {}}, Layout{"Same", {Zone{0, 0, 1, 1}}}, Layout{"Same", {}}}};
    ASSERT_NE(active_layout(s), nullptr);
    EXPECT_EQ(active_layout(s), &s.layouts[1]);
    s.active_layout = "none";
    EXPECT_EQ(active_layout(s), nullptr);
}

TEST(LayoutModel, RestoreDefaults) {
    const std::vector<std::string> all = {"50% | 50%", "33% | 33% | 33%", "25% | 50% | 25%", "100%"};
    struct Case { std::vector<std::string> existing, missing; };
    const Case cases[] = {
        {all, {}},
        {{"50% | 50%", "33% | 33% | 33%", "25% | 50% | 25%"}, {"100%"}},
        {{}, all},
        {{"Mine", "100%"}, {"50% | 50%", "33% | 33% | 33%", "25% | 50% | 25%"}},
        // Renamed by the user: the default comes back beside the copy.
        {{"50% | 50% (mine)", "33% | 33% | 33%", "25% | 50% | 25%", "100%"}, {"50% | 50%"}},
        {{"100% ", "50%|50%"}, all},
    };
    for (const auto& c : cases) {
        std::vector<Layout> existing;
        for (const auto& n : c.existing) existing.push_back(named(n));
        EXPECT_EQ(names(missing_default_layouts(existing)), c.missing);
    }
    // What comes back is the default itself, zones and all.
    const auto restored = missing_default_layouts({});
    EXPECT_EQ(restored, default_layouts());
}

TEST(LayoutModel, LegacyLayoutIds) {
    struct Case { std::string_view id, expected; };
    const Case cases[] = {
        {"25-50-25", "25% | 50% | 25%"}, {"50-50", "50% | 50%"}, {"33-33-33", "33% | 33% | 33%"},
        {"50-50-left", "50% | 50%"}, {"50-50-right", "50% | 50%"}, {"100%", "100%"},
        {"50-50-LEFT", "50-50-LEFT"}, {" 50-50", " 50-50"}, {"", ""}, {"Custom", "Custom"},
    };
    for (const auto& c : cases) EXPECT_EQ(translate_legacy_layout_id(c.id), c.expected) << c.id;
}

TEST(LayoutModel, NewScreenRecord) {
    const ScreenLayout s = new_screen_layout("\\\\?\\DISPLAY#1", "Dell U2720Q");
    EXPECT_EQ(s.id, "\\\\?\\DISPLAY#1");
    EXPECT_EQ(s.name, "Dell U2720Q");
    EXPECT_EQ(s.active_layout, "100%");
    EXPECT_TRUE(s.enabled);
    EXPECT_FALSE(s.cover_taskbar);
    EXPECT_EQ(s.layouts, default_layouts());
    ASSERT_NE(active_layout(s), nullptr);
    EXPECT_EQ(active_layout(s)->zones, (std::vector<Zone>{{0, 0, 1, 1}}));
}

TEST(LayoutModel, LayoutNames) {
    struct Case { std::string_view name; bool valid; };
    const Case cases[] = {
        {"Code", true}, {"  padded  ", true}, {"50% | 50%", true}, {"Ünïcödé ✓", true}, {"a:b,c'd", true},
        {"", false}, {"   ", false}, {"\t\r\n", false}, {"a\"b", false}, {"a\\b", false}, {"{", false},
        {"}", false}, {"[x", false}, {"x]", false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_valid_layout_name(c.name), c.valid) << c.name;
    EXPECT_EQ(trim("  a b \t"), "a b");
}

TEST(LayoutModel, FindScreenIsExactAndFirst) {
    Settings s;
    s.screens = {entry("A", "first"), entry("a", "lower"), entry("A", "second")};
    ASSERT_NE(find_screen(s, "A"), nullptr);
    EXPECT_EQ(find_screen(s, "A")->name, "first");
    EXPECT_EQ(find_screen(std::as_const(s), "a")->name, "lower");
    EXPECT_EQ(find_screen(s, "B"), nullptr);
}

struct ReconcileCase {
    std::string what;
    std::vector<ScreenLayout> before;
    std::string selected_before;
    std::vector<AttachedScreen> attached;
    std::vector<std::pair<std::string, std::string>> after;  // (id, name) in order
    std::string selected_after;
};

TEST(LayoutModel, ReconcileScreens) {
    const ReconcileCase cases[] = {
        {"legacy entry takes the primary's id",
         {entry("primary-legacy", "Primary")}, "", {{"P", "Dell", true}, {"S", "HP", false}},
         {{"P", "Dell"}, {"S", "HP"}}, "P"},
        {"legacy entry removed when the primary already has one",
         {entry("P", "old"), entry("primary-legacy", "Primary")}, "P", {{"P", "Dell", true}},
         {{"P", "Dell"}}, "P"},
        {"second legacy entry removed",
         {entry("primary-legacy", "One"), entry("primary-legacy", "Two")}, "", {{"P", "Dell", true}},
         {{"P", "Dell"}}, "P"},
        {"legacy entry kept while no screen is primary",
         {entry("primary-legacy", "Primary")}, "x", {{"S", "HP", false}},
         {{"primary-legacy", "Primary"}, {"S", "HP"}}, "S"},
        {"legacy entry kept without any screen",
         {entry("primary-legacy", "Primary")}, "x", {}, {{"primary-legacy", "Primary"}}, ""},
        {"names refreshed, unplugged screens kept in place",
         {entry("A", "old A"), entry("Gone", "Unplugged"), entry("B", "old B")}, "B",
         {{"B", "new B", false}, {"A", "new A", true}},
         {{"A", "new A"}, {"Gone", "Unplugged"}, {"B", "new B"}}, "B"},
        {"new screens appended in monitor order",
         {entry("A", "a")}, "A", {{"C", "c", true}, {"A", "a", false}, {"B", "b", false}},
         {{"A", "a"}, {"C", "c"}, {"B", "b"}}, "A"},
        {"selection on an unplugged screen moves to the primary",
         {entry("A", "a"), entry("Gone", "g")}, "Gone", {{"B", "b", false}, {"A", "a", true}},
         {{"A", "a"}, {"Gone", "g"}, {"B", "b"}}, "A"},
        {"empty selection goes to the primary", {}, "", {{"A", "a", false}, {"B", "b", true}},
         {{"A", "a"}, {"B", "b"}}, "B"},
        {"without a primary the first monitor is selected", {}, "zzz", {{"A", "a", false}, {"B", "b", false}},
         {{"A", "a"}, {"B", "b"}}, "A"},
        {"no monitors: selection cleared, entries kept", {entry("A", "a")}, "A", {},
         {{"A", "a"}}, ""},
    };
    for (const auto& c : cases) {
        Settings s;
        s.screens = c.before;
        s.selected_screen = c.selected_before;
        reconcile_screens(s, c.attached);
        std::vector<std::pair<std::string, std::string>> got;
        for (const auto& screen : s.screens) got.emplace_back(screen.id, screen.name);
        EXPECT_EQ(got, c.after) << c.what;
        EXPECT_EQ(s.selected_screen, c.selected_after) << c.what;
    }
}

TEST(LayoutModel, ReconcileKeepsLayoutsAndCreatesDefaults) {
    Settings s;
    s.screens = {entry("primary-legacy", "Primary", {named("Wide"), named("Tall")}), entry("Gone", "g", {named("Keep")}),
                 entry("primary-legacy", "Second", {named("Dropped")})};
    reconcile_screens(s, {{"P", "Dell", true}, {"N", "New", false}});
    ASSERT_EQ(s.screens.size(), 3u);
    EXPECT_EQ(names(s.screens[0].layouts), (std::vector<std::string>{"Wide", "Tall"}));
    EXPECT_FALSE(s.screens[0].enabled);  // the migrated flags travel with the entry
    EXPECT_TRUE(s.screens[0].cover_taskbar);
    EXPECT_EQ(names(s.screens[1].layouts), (std::vector<std::string>{"Keep"}));
    EXPECT_EQ(s.screens[2], new_screen_layout("N", "New"));

    // Plugging the screen back in finds its layouts again.
    reconcile_screens(s, {{"P", "Dell", true}, {"Gone", "Back", false}});
    ASSERT_EQ(s.screens.size(), 3u);
    EXPECT_EQ(s.screens[1].name, "Back");
    EXPECT_EQ(names(s.screens[1].layouts), (std::vector<std::string>{"Keep"}));
}

}  // namespace
}  // namespace tw
