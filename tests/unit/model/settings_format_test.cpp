#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "core/model/settings.h"
#include "support/settings_print.h"

namespace tw {
namespace {

// A file in the writer's exact form: several screens (names holding quotes, a
// backslash, brackets and braces), layouts with fractions, and unknown entries.
constexpr std::string_view kWritten =
    "{\n"
    "  \"AutoStart\": true,\n"
    "  \"AccentColor\": \"#12ab9f\",\n"
    "  \"Theme\": \"light\",\n"
    "  \"Language\": \"pt-BR\",\n"
    "  \"HideToTray\": false,\n"
    "  \"StartMinimized\": true,\n"
    "  \"UpdateAutomatically\": true,\n"
    "  \"UsageStatistics\": false,\n"
    "  \"SkippedUpdateVersion\": \"2.1.0\",\n"
    "  \"WindowPos\": [-1200, 45],\n"
    "  \"DefaultLayoutsSeeded\": true,\n"
    "  \"HotkeyStartStop\": [0, 0],\n"
    "  \"HotkeyToggleZones\": [3, 90],\n"
    "  \"HotkeyCycleLayout\": [6, 67],\n"
    "  \"HotkeyMoveLeft\": [3, 65],\n"
    "  \"HotkeyMoveRight\": [3, 68],\n"
    "  \"HotkeyMoveUp\": [3, 87],\n"
    "  \"HotkeyMoveDown\": [3, 83],\n"
    "  \"HotkeyShareZone1\": [3, 49],\n"
    "  \"HotkeyShareZone2\": [3, 50],\n"
    "  \"HotkeyShareZone3\": [3, 51],\n"
    "  \"HotkeyShareZone4\": [12, 52],\n"
    "  \"HotkeyShareZone5\": [0, 0],\n"
    "  \"HotkeyShareZone6\": [0, 0],\n"
    "  \"HotkeyShareZone7\": [0, 0],\n"
    "  \"HotkeyShareZone8\": [0, 0],\n"
    "  \"HotkeyShareZone9\": [0, 0],\n"
    "  \"Screens\": [{ \"Id\": \"\\\\\\\\?\\\\DISPLAY#DEL41A8#5&1\", \"Name\": \"Dell {27\\\"} [U2720Q]\", "
    "\"Enabled\": true, \"CoverTaskbar\": false, \"ActiveLayout\": \"Code\" }, "
    "{ \"Id\": \"DISPLAY2\", \"Name\": \"Laptop\", \"Enabled\": false, \"CoverTaskbar\": true, "
    "\"ActiveLayout\": \"100%\" }, "
    "{ \"Id\": \"DISPLAY3\", \"Name\": \"\", \"Enabled\": true, \"CoverTaskbar\": false, \"ActiveLayout\": \"Gone\" }],\n"
    "  \"ScreenLayouts\": [{ \"Screen\": \"\\\\\\\\?\\\\DISPLAY#DEL41A8#5&1\", \"Name\": \"Code\", "
    "\"Zones\": [[0, 0, 0.3333333333333333, 1], [0.3333333333333333, 0, 1, 0.5], [0.3333333333333333, 0.5, 1, 1]] }, "
    "{ \"Screen\": \"\\\\\\\\?\\\\DISPLAY#DEL41A8#5&1\", \"Name\": \"Empty\", \"Zones\": [] }, "
    "{ \"Screen\": \"DISPLAY2\", \"Name\": \"100%\", \"Zones\": [[0, 0, 1, 1]] }, "
    "{ \"Screen\": \"DISPLAY2\", \"Name\": \"Odd\", \"Zones\": [[-0.25, 0.1, 1.75, 12345678.5]] }],\n"
    "  \"SelectedScreen\": \"DISPLAY2\",\n"
    "  \"Plugin\": { \"a\": [1, 2, {\"b\": \"}]\"}] },\n"
    "  \"Note\": \"say \\\"hi\\\"\",\n"
    "  \"Count\": 17,\n"
    "  \"HotkeyShareZone10\": [1, 2]\n"
    "}\n";

TEST(SettingsFormat, FileInWriterFormatRoundTripsByteForByte) {
    Settings s = parse_settings(kWritten);
    EXPECT_EQ(serialize_settings(s), kWritten);

    EXPECT_TRUE(s.auto_start);
    EXPECT_EQ(s.accent_color, 0x12AB9Fu);
    EXPECT_EQ(s.theme, Theme::Light);
    EXPECT_EQ(s.window_pos, (std::pair<int32_t, int32_t>{-1200, 45}));
    EXPECT_FALSE(s.hotkey(HotkeyAction::StartStop).bound());
    EXPECT_EQ(s.hotkey(HotkeyAction::ShareZone4), (HotkeyBinding{12, 52}));
    ASSERT_EQ(s.screens.size(), 3u);
    EXPECT_EQ(s.screens[0].id, R"(\\?\DISPLAY#DEL41A8#5&1)");
    EXPECT_EQ(s.screens[0].name, "Dell {27\"} [U2720Q]");
    ASSERT_EQ(s.screens[0].layouts.size(), 2u);
    EXPECT_EQ(s.screens[0].layouts[0].zones[1], (Zone{1.0 / 3, 0, 1, 0.5}));
    EXPECT_TRUE(s.screens[0].layouts[1].zones.empty());
    EXPECT_EQ(s.screens[1].layouts.size(), 2u);
    // A screen without layouts keeps the name of its active layout.
    EXPECT_TRUE(s.screens[2].layouts.empty());
    EXPECT_EQ(s.screens[2].active_layout, "Gone");
    const std::vector<std::pair<std::string, std::string>> extra = {
        {"Plugin", R"({ "a": [1, 2, {"b": "}]"}] })"},
        {"Note", R"("say \"hi\"")"},
        {"Count", "17"},
        {"HotkeyShareZone10", "[1, 2]"},
    };
    EXPECT_EQ(s.extra, extra);
}

TEST(SettingsFormat, DefaultsAreWrittenInTheFixedOrder) {
    const std::string text = serialize_settings(Settings{});
    EXPECT_EQ(text,
              "{\n"
              "  \"AutoStart\": false,\n"
              "  \"AccentColor\": \"#a855f7\",\n"
              "  \"Theme\": \"dark\",\n"
              "  \"Language\": \"en\",\n"
              "  \"HideToTray\": true,\n"
              "  \"StartMinimized\": false,\n"
              "  \"UpdateAutomatically\": false,\n"
              "  \"UsageStatistics\": true,\n"
              "  \"SkippedUpdateVersion\": null,\n"
              "  \"WindowPos\": null,\n"
              "  \"DefaultLayoutsSeeded\": false,\n"
              "  \"HotkeyStartStop\": [3, 82],\n"
              "  \"HotkeyToggleZones\": [3, 90],\n"
              "  \"HotkeyCycleLayout\": [3, 67],\n"
              "  \"HotkeyMoveLeft\": [3, 65],\n"
              "  \"HotkeyMoveRight\": [3, 68],\n"
              "  \"HotkeyMoveUp\": [3, 87],\n"
              "  \"HotkeyMoveDown\": [3, 83],\n"
              "  \"HotkeyShareZone1\": [3, 49],\n"
              "  \"HotkeyShareZone2\": [3, 50],\n"
              "  \"HotkeyShareZone3\": [3, 51],\n"
              "  \"HotkeyShareZone4\": [0, 0],\n"
              "  \"HotkeyShareZone5\": [0, 0],\n"
              "  \"HotkeyShareZone6\": [0, 0],\n"
              "  \"HotkeyShareZone7\": [0, 0],\n"
              "  \"HotkeyShareZone8\": [0, 0],\n"
              "  \"HotkeyShareZone9\": [0, 0],\n"
              "  \"Screens\": [],\n"
              "  \"ScreenLayouts\": [],\n"
              "  \"SelectedScreen\": \"\"\n"
              "}\n");
    EXPECT_EQ(parse_settings(text), Settings{});
    EXPECT_EQ(parse_settings(""), Settings{});
}

TEST(SettingsFormat, DefaultLayoutsAreWrittenWithShortNumbers) {
    Settings s;
    s.screens.push_back(new_screen_layout("M1", "Main"));
    const std::string text = serialize_settings(s);
    EXPECT_NE(text.find(R"({ "Screen": "M1", "Name": "50% | 50%", "Zones": [[0, 0, 0.5, 1], [0.5, 0, 1, 1]] })"),
              std::string::npos);
    EXPECT_NE(text.find("[0.3333333333333333, 0, 0.6666666666666666, 1]"), std::string::npos);
    EXPECT_EQ(text.find(".0,"), std::string::npos);
}

TEST(SettingsFormat, ZoneNumbersReadBackExactly) {
    struct Case { double value; std::string_view text; };
    const Case cases[] = {
        {0.0, "0"}, {1.0, "1"}, {0.5, "0.5"}, {0.1, "0.1"}, {1.0 / 3, "0.3333333333333333"},
        {-0.0, "-0"}, {1e22, "10000000000000000000000"}, {-2.5, "-2.5"}, {1e-7, "0.0000001"},
        {DBL_MAX, ""}, {DBL_MIN, ""}, {std::numeric_limits<double>::denorm_min(), ""},
        {-DBL_MAX, ""}, {123456789.123, "123456789.123"},
    };
    for (const auto& c : cases) {
        Settings s;
        s.screens.push_back(ScreenLayout{"A", "A", true, false, "L", {Layout{"L", {Zone{c.value, 0, 0, 0}}}}});
        const std::string text = serialize_settings(s);
        const size_t from = text.find("\"Zones\": [[");
        const size_t to = text.find("]]", from);
        ASSERT_NE(to, std::string::npos);
        const std::string zone = text.substr(from + 11, to - from - 11);
        EXPECT_EQ(zone.find_first_of("eE"), std::string::npos) << zone;
        if (!c.text.empty()) {
            EXPECT_NE(text.find("[[" + std::string(c.text) + ", 0, 0, 0]]"), std::string::npos) << c.text;
        }
        const Settings back = parse_settings(text);
        ASSERT_EQ(back.screens.size(), 1u);
        ASSERT_EQ(back.screens[0].layouts.size(), 1u);
        ASSERT_EQ(back.screens[0].layouts[0].zones.size(), 1u) << c.value;
        const double read = back.screens[0].layouts[0].zones[0].left;
        EXPECT_EQ(read, c.value);
        EXPECT_EQ(std::signbit(read), std::signbit(c.value));
    }
}

TEST(SettingsFormat, NonFiniteZoneNumbersAreWrittenAsZeroSoNoZoneIsLost) {
    Settings s;
    s.screens.push_back(ScreenLayout{"A", "A", true, false, "L",
                                     {Layout{"L", {Zone{std::nan(""), INFINITY, -INFINITY, 0.5}}}}});
    const Settings back = parse_settings(serialize_settings(s));
    ASSERT_EQ(back.screens[0].layouts[0].zones.size(), 1u);
    EXPECT_EQ(back.screens[0].layouts[0].zones[0], (Zone{0, 0, 0, 0.5}));
}

TEST(SettingsFormat, StringsRoundTripWhateverTheyHold) {
    const std::string_view values[] = {
        "plain", "quote\"inside", "back\\slash", "ends with \\", "\\\"", "line\nbreak\ttab\r",
        "\\n kept as typed", "{[}]", "\"SelectedScreen\"", "SelectedScreen", "\"SkippedUpdateVersion",
        "ActiveLayout", "\"Zones\": [[0,0,1,1]]", "", "\xc3\xa9t\xc3\xa9", std::string_view("nul\0byte", 8),
    };
    for (auto v : values) {
        Settings s;
        s.language = v;
        s.skipped_update_version = std::string(v) + "x";
        s.selected_screen = v;
        s.screens.push_back(ScreenLayout{std::string(v), std::string(v), true, true, "L",
                                         {Layout{"L", {Zone{0, 0, 1, 1}}}}});
        s.screens.push_back(ScreenLayout{"second", std::string(v), false, false, std::string(v), {}});
        const Settings back = parse_settings(serialize_settings(s));
        EXPECT_EQ(back, s) << v;
    }
}

TEST(SettingsFormat, ExtraEntriesAreKeptVerbatimAfterTheFixedLines) {
    const std::string text =
        "{\"Zeta\": {\"nested\": [1, {\"x\": \"]\"}]},\r\n\"AutoStart\": true, \"Alpha\": [ 1 ,2 ],\t"
        "\"Beta\": null   , \"Gamma\": \"g\\\"h\", \"HotkeyShareZone0\": [1, 2], \"UsedCount\": 5}";
    const Settings s = parse_settings(text);
    const std::string out = serialize_settings(s);
    const std::string tail =
        "  \"SelectedScreen\": \"\",\n"
        "  \"Zeta\": {\"nested\": [1, {\"x\": \"]\"}]},\n"
        "  \"Alpha\": [ 1 ,2 ],\n"
        "  \"Beta\": null,\n"
        "  \"Gamma\": \"g\\\"h\",\n"
        "  \"HotkeyShareZone0\": [1, 2]\n"
        "}\n";
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    EXPECT_EQ(s.used_count, 5u);
    EXPECT_EQ(out.find("UsedCount"), std::string::npos);
}

TEST(SettingsFormat, UnknownScreenLayoutsEntryIsGoneAfterTheNextSave) {
    const std::string text =
        R"({"Screens": [{"Id": "A", "ActiveLayout": "x"}], "ScreenLayouts": [)"
        R"({"Screen": "B", "Name": "Lost", "Zones": [[0,0,1,1]]}, {"Screen": "A", "Name": "Kept", "Zones": [[0,0,1,1]]}]})";
    const std::string out = serialize_settings(parse_settings(text));
    EXPECT_EQ(out.find("Lost"), std::string::npos);
    EXPECT_NE(out.find(R"({ "Screen": "A", "Name": "Kept", "Zones": [[0, 0, 1, 1]] })"), std::string::npos);
    // Rule A picked the only layout.
    EXPECT_NE(out.find(R"("ActiveLayout": "Kept" })"), std::string::npos);
}

TEST(SettingsFormat, LegacySingleScreenFileIsMigrated) {
    const std::string legacy =
        "{\r\n"
        "  \"AutoStart\": true,\r\n"
        "  \"Layout\": \"50-50\",\r\n"
        "  \"ActiveLayout\": \"50-50-left\",\r\n"
        "  \"CoverTaskbar\": true,\r\n"
        "  \"CustomLayouts\": [\r\n"
        "    { \"Name\": \"Wide\", \"Zones\": [[0.0, 0.0, 0.7, 1.0], [0.7, 0.0, 1.0, 1.0]] },\r\n"
        "    { \"Name\": \"Top\", \"Zones\": [[0, 0, 1, 0.5], [0, 0.5, 1]] }\r\n"
        "  ],\r\n"
        "  \"CustomRegion\": [0, 0, 960, 1080]\r\n"
        "}\r\n";
    Settings s = parse_settings(legacy);
    ASSERT_EQ(s.screens.size(), 1u);
    const ScreenLayout& legacy_screen = s.screens[0];
    EXPECT_EQ(legacy_screen.id, "primary-legacy");
    EXPECT_EQ(legacy_screen.name, "Primary");
    EXPECT_TRUE(legacy_screen.enabled);
    EXPECT_TRUE(legacy_screen.cover_taskbar);
    ASSERT_EQ(legacy_screen.layouts.size(), 2u);
    EXPECT_EQ(legacy_screen.layouts[0].zones, (std::vector<Zone>{{0, 0, 0.7, 1}, {0.7, 0, 1, 1}}));
    EXPECT_EQ(legacy_screen.layouts[1].zones.size(), 1u);
    // "50-50-left" becomes "50-50", which names no layout: rule A picks the first one.
    EXPECT_EQ(legacy_screen.active_layout, "Wide");
    EXPECT_TRUE(s.extra.empty());

    reconcile_screens(s, {{"MON1", "Dell", true}});
    const std::string out = serialize_settings(s);
    EXPECT_NE(out.find(R"({ "Screen": "MON1", "Name": "Wide", "Zones": [[0, 0, 0.7, 1], [0.7, 0, 1, 1]] })"),
              std::string::npos);
    for (auto gone : {"\"Layout\"", "\"CustomLayouts\"", "\"CustomRegion\"", "primary-legacy", "\r"})
        EXPECT_EQ(out.find(gone), std::string::npos) << gone;
    EXPECT_EQ(parse_settings(out), s);
}

TEST(SettingsFormat, LegacyMigrationCases) {
    struct Case {
        std::string_view text;
        WorkAreaSize work;
        bool migrated;
        std::string active;
        std::vector<Zone> zones;  // of the first layout
    };
    const Case cases[] = {
        {R"({"Layout": "custom", "CustomRegion": [0, 0, 960, 1080]})", {}, true, "Custom", {{0, 0, 0.5, 1}}},
        {R"({"Layout": "custom", "CustomRegion": [480, 270, 960, 540]})", {1920, 1080}, true, "Custom",
         {{0.25, 0.25, 0.75, 0.75}}},
        {R"({"Layout": "custom", "CustomRegion": [0, 0, 1280, 720]})", {2560, 1440}, true, "Custom", {{0, 0, 0.5, 0.5}}},
        {R"({"Layout": "custom", "CustomRegion": [0, x, 0, 10, 10]})", {100, 100}, true, "Custom", {{0, 0, 0.1, 0.1}}},
        {R"({"Layout": "custom", "CustomRegion": null})", {}, false, "", {}},
        {R"({"Layout": "custom", "CustomRegion": [0, 0, 960]})", {}, false, "", {}},
        {R"({"Layout": "custom", "CustomRegion": [0, 0, 960, 1080, 5]})", {}, false, "", {}},
        {R"({"Layout": "custom", "CustomRegion": [0, 0, 960, 1080]})", {0, 1080}, false, "", {}},
        {R"({"Layout": "custom", "CustomRegion": [0, 0, 960, 1080]})", {1920, -1}, false, "", {}},
        {R"({"Layout": "custom", "CustomRegion": [1e308, 0, 1e308, 1]})", {1, 1}, false, "", {}},
        {R"({"Layout": "grid", "CustomRegion": [0, 0, 960, 1080]})", {}, false, "", {}},
        {R"({"Layout": "Custom", "CustomRegion": [0, 0, 960, 1080]})", {}, false, "", {}},
        {R"({"ActiveLayout": "50-50-right"})", {}, true, "50-50", {}},
        {R"({"ActiveLayout": "33-33-33"})", {}, true, "33-33-33", {}},
        {R"({"ActiveLayout": null, "Layout": "custom", "CustomRegion": [0, 0, 1, 1]})", {}, true, "", {}},
        {R"({"CoverTaskbar": false})", {}, true, "", {}},
        {R"({"CustomLayouts": []})", {}, true, "", {}},
        {R"({"Screens": [{"Id": "A"}], "ActiveLayout": "50-50"})", {}, false, "", {}},
        {R"({"Screens": [{"Name": "no id"}], "ActiveLayout": "x"})", {}, true, "x", {}},
        {R"({"Language": "ActiveLayout"})", {}, false, "", {}},
    };
    for (const auto& c : cases) {
        const Settings s = parse_settings(c.text, c.work);
        const ScreenLayout* legacy = find_screen(s, kLegacyPrimaryId);
        ASSERT_EQ(legacy != nullptr, c.migrated) << c.text;
        if (!legacy) continue;
        EXPECT_EQ(s.screens.size(), 1u);
        EXPECT_EQ(legacy->active_layout, c.active) << c.text;
        if (!c.zones.empty()) {
            ASSERT_EQ(legacy->layouts.size(), 1u);
            EXPECT_EQ(legacy->layouts[0].name, "Custom");
            EXPECT_EQ(legacy->layouts[0].zones, c.zones) << c.text;
            EXPECT_FALSE(legacy->cover_taskbar);
        }
    }
}

}  // namespace
}  // namespace tw

namespace tw {
namespace {

// The update preferences appear in the file only while they differ from the
// defaults, right after "UsageStatistics", and read back as they were written.
TEST(SettingsFormat, UpdatePreferencesAreWrittenOnlyWhenSet) {
    struct Case { bool check; std::optional<uint64_t> later; const char* lines; };
    const Case cases[] = {
        {true, std::nullopt, ""},
        {false, std::nullopt, "  \"CheckForUpdates\": false,\n"},
        {true, 1790985600u, "  \"UpdateLaterAt\": 1790985600,\n"},
        {false, 7u, "  \"CheckForUpdates\": false,\n  \"UpdateLaterAt\": 7,\n"},
    };
    for (const auto& c : cases) {
        Settings s;
        s.check_for_updates = c.check;
        s.update_later_at = c.later;
        const std::string text = serialize_settings(s);
        const std::string expected = std::string("  \"UsageStatistics\": true,\n") + c.lines +
                                     "  \"SkippedUpdateVersion\": null,\n";
        EXPECT_NE(text.find(expected), std::string::npos) << c.lines;
        const Settings back = parse_settings(text);
        EXPECT_EQ(back, s) << c.lines;
        EXPECT_TRUE(back.extra.empty()) << "a known key kept twice: " << c.lines;
    }
}

}  // namespace
}  // namespace tw
