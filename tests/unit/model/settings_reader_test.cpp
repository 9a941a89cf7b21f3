#include <gtest/gtest.h>

#include <functional>

#include "core/model/settings.h"
#include "core/model/settings_reader.h"
#include "support/settings_print.h"

namespace tw {
namespace {

std::string one_entry(std::string_view key, std::string_view value) {
    return "{\n  \"" + std::string(key) + "\": " + std::string(value) + "\n}\n";
}

TEST(SettingsReader, Booleans) {
    struct Case { std::string_view key, value; bool expected; };
    using Get = std::function<bool(const Settings&)>;
    const std::pair<std::string_view, Get> fields[] = {
        {"AutoStart", [](const Settings& s) { return s.auto_start; }},
        {"HideToTray", [](const Settings& s) { return s.hide_to_tray; }},
        {"StartMinimized", [](const Settings& s) { return s.start_minimized; }},
        {"UpdateAutomatically", [](const Settings& s) { return s.update_automatically; }},
        {"UsageStatistics", [](const Settings& s) { return s.usage_statistics; }},
        {"DefaultLayoutsSeeded", [](const Settings& s) { return s.default_layouts_seeded; }},
        {"CheckForUpdates", [](const Settings& s) { return s.check_for_updates; }},
    };
    const Case cases[] = {
        {"AutoStart", "true", true},         {"AutoStart", "\"true\"", false},
        {"AutoStart", "TRUE", false},        {"AutoStart", "1", false},
        {"AutoStart", "trueish", true},      {"AutoStart", "\n\t true", true},
        {"HideToTray", "false", false},      {"HideToTray", "0", false},
        {"HideToTray", "null", false},       {"HideToTray", "true", true},
        {"StartMinimized", "true,", true},   {"UpdateAutomatically", "yes", false},
        {"UsageStatistics", "0", true},      {"UsageStatistics", "false", false},
        {"UsageStatistics", "\"false\"", true}, {"UsageStatistics", "null", true},
        {"UsageStatistics", "falsey", false}, {"DefaultLayoutsSeeded", "true", true},
        {"CheckForUpdates", "false", false}, {"CheckForUpdates", "0", true},
        {"CheckForUpdates", "null", true},   {"CheckForUpdates", "true", true},
    };
    for (const auto& c : cases) {
        const Settings s = parse_settings(one_entry(c.key, c.value));
        for (const auto& [key, get] : fields) {
            const bool expected = key == c.key ? c.expected : get(Settings{});
            EXPECT_EQ(get(s), expected) << c.key << " = " << c.value << ", checking " << key;
        }
    }
}

TEST(SettingsReader, Strings) {
    struct Case { std::string_view value; std::string expected; };
    const Case cases[] = {
        {R"("de")", "de"},
        {R"("a\"b")", "a\"b"},
        {R"("a\\b")", "a\\b"},
        {R"("a\nb")", "a\\nb"},          // other escapes keep both characters
        {R"("\u00e9")", "\\u00e9"},
        {R"("a\\")", "a\\"},
        {R"("")", ""},
        {"\"two\nlines\"", "two\nlines"},
        {"null", "en"},                   // absent: the default stays
        {"de", "en"},
        {R"("unterminated)", "en"},
        {R"("ends in escape\")", "en"},
        {R"( "spaced" )", "spaced"},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_settings(one_entry("Language", c.value)).language, c.expected) << c.value;

    EXPECT_EQ(parse_settings(one_entry("SkippedUpdateVersion", R"("1.2.3")")).skipped_update_version, "1.2.3");
    EXPECT_EQ(parse_settings(one_entry("SkippedUpdateVersion", "null")).skipped_update_version, std::nullopt);
    EXPECT_EQ(parse_settings(one_entry("SelectedScreen", R"("X\\Y")")).selected_screen, "X\\Y");
    EXPECT_EQ(parse_settings(one_entry("SelectedScreen", "7")).selected_screen, "");
}

TEST(SettingsReader, AccentColourAndTheme) {
    struct ColourCase { std::string_view value; uint32_t expected; };
    const ColourCase colours[] = {
        {R"("FF0000")", 0xFF0000}, {R"("#ff0000")", 0xFF0000}, {R"("#00aBcD")", 0x00ABCD},
        {R"("#fff")", kDefaultAccent}, {R"("fff")", kDefaultAccent}, {R"("#1234567")", kDefaultAccent},
        {R"("12345g")", kDefaultAccent}, {R"(" #ff0000")", kDefaultAccent}, {"16711680", kDefaultAccent},
        {R"("##ff0000")", kDefaultAccent}, {"null", kDefaultAccent},
    };
    for (const auto& c : colours)
        EXPECT_EQ(parse_settings(one_entry("AccentColor", c.value)).accent_color, c.expected) << c.value;

    struct ThemeCase { std::string_view value; Theme expected; };
    const ThemeCase themes[] = {
        {R"(" Light ")", Theme::Light}, {R"("light")", Theme::Light}, {R"("AUTO")", Theme::Auto},
        {"\"\tdark\n\"", Theme::Dark}, {R"("blue")", Theme::Dark}, {R"("lite")", Theme::Dark},
        {"light", Theme::Dark}, {R"("l i g h t")", Theme::Dark},
    };
    for (const auto& c : themes) EXPECT_EQ(parse_settings(one_entry("Theme", c.value)).theme, c.expected) << c.value;
}

TEST(SettingsReader, NumberPairs) {
    const HotkeyBinding def = default_bindings()[0];
    struct Case { std::string_view value; std::optional<HotkeyBinding> expected; };  // none: default
    const Case hotkeys[] = {
        {"[3, 82]", HotkeyBinding{3, 82}},
        {"[3, x, 65]", HotkeyBinding{3, 65}},
        {"[3, 65, 1]", std::nullopt},
        {"[+3, +65]", HotkeyBinding{3, 65}},
        {"[ 3 ,\n 65 ]", HotkeyBinding{3, 65}},
        {"[0, 0]", HotkeyBinding{0, 0}},
        {"[0, 82]", HotkeyBinding{0, 0}},  // modifiers 0: unbound, whatever the key
        {"[4294967295, 1]", HotkeyBinding{4294967295u, 1}},
        {"[4294967296, 1]", std::nullopt},
        {"[-1, 65]", std::nullopt},
        {"[+-3, 65]", std::nullopt},
        {"[3.0, 65]", std::nullopt},
        {"[0x3, 65]", std::nullopt},
        {"[3, 65", std::nullopt},
        {"3, 65", std::nullopt},
        {"[3]", std::nullopt},
        {"[3, 65] trailing", HotkeyBinding{3, 65}},
        {"[[3, 65]]", std::nullopt},
        {"[3, 65,]", HotkeyBinding{3, 65}},
        {"null", std::nullopt},
    };
    for (const auto& c : hotkeys) {
        const Settings s = parse_settings(one_entry("HotkeyStartStop", c.value));
        EXPECT_EQ(s.hotkey(HotkeyAction::StartStop), c.expected.value_or(def)) << c.value;
        EXPECT_EQ(s.hotkeys[1], default_bindings()[1]);
    }

    using Pos = std::optional<std::pair<int32_t, int32_t>>;
    struct PosCase { std::string_view value; Pos expected; };
    const PosCase positions[] = {
        {"[-1200, 45]", Pos{{-1200, 45}}},
        {"[+5, -6]", Pos{{5, -6}}},
        {"[-2147483648, 2147483647]", Pos{{INT32_MIN, INT32_MAX}}},
        {"[2147483648, 1, 2]", Pos{{1, 2}}},
        {"[1, 2, 3]", std::nullopt},
        {"null", std::nullopt},
        {"[1]", std::nullopt},
    };
    for (const auto& c : positions)
        EXPECT_EQ(parse_settings(one_entry("WindowPos", c.value)).window_pos, c.expected) << c.value;
}

TEST(SettingsReader, EveryHotkeyKeyIsRead) {
    std::string text = "{";
    for (size_t i = 0; i < kHotkeyActionCount; ++i)
        text += "\"" + std::string(hotkey_actions()[i].settings_key) + "\": [" + std::to_string(i + 1) + ", " +
                std::to_string(100 + i) + "],";
    text += "}";
    const Settings s = parse_settings(text);
    for (size_t i = 0; i < kHotkeyActionCount; ++i)
        EXPECT_EQ(s.hotkeys[i], (HotkeyBinding{static_cast<uint32_t>(i + 1), static_cast<uint32_t>(100 + i)}));
    EXPECT_TRUE(s.extra.empty());
}

TEST(SettingsReader, Counts) {
    struct Case { std::string_view value; std::optional<uint64_t> expected; };
    const Case cases[] = {
        {"42", 42u}, {"0", 0u}, {"12abc", 12u}, {"18446744073709551615", UINT64_MAX},
        {"18446744073709551616", std::nullopt}, {"null", std::nullopt}, {"nullx", std::nullopt},
        {"-3", std::nullopt}, {"+3", std::nullopt}, {"\"5\"", std::nullopt}, {"x1", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse_settings(one_entry("UsedCount", c.value)).used_count, c.expected) << c.value;
        EXPECT_EQ(parse_settings(one_entry("CountingSince", c.value)).counting_since, c.expected) << c.value;
        EXPECT_EQ(parse_settings(one_entry("UpdateLaterAt", c.value)).update_later_at, c.expected) << c.value;
    }
}

TEST(SettingsReader, KeyLookup) {
    struct Case { std::string_view text; std::string language; };
    const Case cases[] = {
        {R"({"Language": "a", "Language": "b"})", "a"},
        {R"({"Language"   :   "a"})", "a"},
        {"{\"Language\"\r\n:\r\n\"a\"}", "a"},
        // Only members of the outermost object are keys: an entry the program does not
        // know is kept verbatim and must not lend it a value.
        {R"({"X": {"Language": "nested"}, "Language": "top"})", "top"},
        {R"({"X": {"Language": "nested"}})", "en"},
        {R"({"X": [{"Language": "nested"}], "Language": "top"})", "top"},
        {R"({"X": "{\"Language\": \"in a string\"}", "Language": "top"})", "top"},
        {R"("Language": "no braces")", "no braces"},
        {R"({"language": "lower"})", "en"},
        {R"({Language: "bare"})", "en"},
        {R"({"Language" "missing colon"})", "en"},
        // A string value equal to a key name is not the key.
        {R"({"SelectedScreen": "Language", "Language": "real"})", "real"},
        {R"({"Name": "\"Language", "Language": "real"})", "real"},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_settings(c.text).language, c.language) << c.text;
}

TEST(SettingsReader, LayoutNamedLikeALaterKeyDoesNotShadowIt) {
    Settings s;
    s.screens.push_back(ScreenLayout{"A", "SelectedScreen", true, false, "SelectedScreen",
                                     {Layout{"SelectedScreen", {Zone{0, 0, 1, 1}}}, Layout{"ScreenLayouts", {}}}});
    s.screens.push_back(ScreenLayout{"B", "Zones", true, false, "ScreenLayouts", {Layout{"Zones", {}}, Layout{"ScreenLayouts", {}}}});
    s.selected_screen = "B";
    s.skipped_update_version = "SelectedScreen";
    s.language = "SkippedUpdateVersion";
    EXPECT_EQ(parse_settings(serialize_settings(s)), s);
}

TEST(SettingsReader, ScreensEntries) {
    const std::string text = R"({"Screens": [
        {"Name": "no id", "Enabled": true},
        {"Id": 5, "Name": "numeric id"},
        {"Id": "A"},
        {"Id": "B", "Name": "Bee ] }", "Enabled": true, "CoverTaskbar": true, "ActiveLayout": "x"},
        "{\"Id\": \"in a string\"}",
        {"Id": "C", "Name": "[{\"", "Enabled": "true", "CoverTaskbar": 1, "ActiveLayout": null},
        {"Id": "D", "Extra": {"Id": "inner"}}
    ], "Id": "top"})";
    const Settings s = parse_settings(text);
    ASSERT_EQ(s.screens.size(), 4u);
    EXPECT_EQ(s.screens[0], (ScreenLayout{"A", "", false, false, "", {}}));
    EXPECT_EQ(s.screens[1], (ScreenLayout{"B", "Bee ] }", true, true, "x", {}}));
    EXPECT_EQ(s.screens[2], (ScreenLayout{"C", "[{\"", false, false, "", {}}));
    EXPECT_EQ(s.screens[3].id, "D");
}

TEST(SettingsReader, ListsStartWithABracket) {
    struct Case { std::string_view text; size_t screens; };
    const Case cases[] = {
        {R"({"Screens": null, "ScreenLayouts": [{"Id": "fake"}]})", 0},
        {R"({"Screens": "[{\"Id\": \"A\"}]"})", 0},
        {R"({"Screens": [{"Id": "A"}, {"Id": "B"})", 2},        // cut short: complete entries stay
        {R"({"Screens": [{"Id": "A"}, {"Id": "B")", 1},
        {R"({"Screens": [{"Id": "A"}], "X": [{"Id": "B"}]})", 1},
        {R"({"Screens": [{"Id": "A", "Name": "]"}, {"Id": "B", "Name": "}"}]})", 2},
        {R"({"Screens": [{"Id": "A\\"}, {"Id": "B"}]})", 2},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_settings(c.text).screens.size(), c.screens) << c.text;
}

TEST(SettingsReader, ScreenLayoutsEntries) {
    const std::string text = R"({
        "Screens": [{"Id": "A", "ActiveLayout": "Missing"}, {"Id": "B", "ActiveLayout": "Two"}, {"Id": "A", "Name": "dup"}],
        "ScreenLayouts": [
            {"Screen": "A", "Name": "One", "Zones": [[0, 0, 0.5, 1], [0.5, 0, 1], [0.5, 0, 1, 1]]},
            {"Screen": "B", "Name": "Two", "Zones": []},
            {"Screen": "B", "Name": "NoZones"},
            {"Name": "NoScreen", "Zones": [[0, 0, 1, 1]]},
            {"Screen": "A", "Zones": [[0, 0, 1, 1]]},
            {"Screen": "Z", "Name": "Unknown", "Zones": [[0, 0, 1, 1]]},
            {"Screen": "B", "Name": "Null", "Zones": null},
            {"Screen": "A", "Name": "Odd [x]", "Zones": [[0, 0, 1, 1, 1], [1, 2, 3, 4], 5, [nan, 0, 1, 1], [inf, 0, 1, 1]]},
            {"Screen": "A", "Name": "Text", "Zones": ["[0, 0, 1, 1]", [+0.5, -0.25, 1e2, .5]]}
        ]})";
    const Settings s = parse_settings(text);
    ASSERT_EQ(s.screens.size(), 3u);
    const auto& a = s.screens[0].layouts;
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0], (Layout{"One", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}}));
    EXPECT_EQ(a[1], (Layout{"Odd [x]", {{1, 2, 3, 4}}}));
    EXPECT_EQ(a[2], (Layout{"Text", {{0.5, -0.25, 100, 0.5}}}));
    // Rule A: a missing active layout falls back to the first one.
    EXPECT_EQ(s.screens[0].active_layout, "One");
    const auto& b = s.screens[1].layouts;
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0], (Layout{"Two", {}}));
    EXPECT_EQ(b[1], (Layout{"Null", {}}));
    EXPECT_EQ(s.screens[1].active_layout, "Two");
    // Layouts go to the first screen with the Id.
    EXPECT_TRUE(s.screens[2].layouts.empty());
}

TEST(SettingsReader, ZoneNumbers) {
    struct Case { std::string_view part; std::optional<double> expected; };
    const Case cases[] = {
        {"0", 0.0}, {"1.0", 1.0}, {"-0.5", -0.5}, {"+0.5", 0.5}, {".25", 0.25}, {"+.25", 0.25},
        {"5.", 5.0}, {"1e2", 100.0}, {"2.5E-1", 0.25}, {"1e308", 1e308},
        {"nan", std::nullopt}, {"NaN", std::nullopt}, {"inf", std::nullopt}, {"-infinity", std::nullopt},
        {"1e999", std::nullopt}, {"-1e999", std::nullopt}, {"0x1p-1", std::nullopt}, {"0x10", std::nullopt},
        {"", std::nullopt}, {"+", std::nullopt}, {"-", std::nullopt}, {".", std::nullopt}, {"+-1", std::nullopt},
        {"++1", std::nullopt}, {"1e", std::nullopt}, {"1 2", std::nullopt}, {"1,5", std::nullopt},
        {"0.5x", std::nullopt}, {"true", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_decimal(c.part), c.expected) << c.part;
}

TEST(SettingsReader, ExtraEntryScan) {
    using Extra = std::vector<std::pair<std::string, std::string>>;
    struct Case { std::string_view text; Extra expected; };
    const Case cases[] = {
        {R"({"A": 1, "B": "two", "C": [3], "D": {"e": 4}})", {{"A", "1"}, {"B", "\"two\""}, {"C", "[3]"}, {"D", "{\"e\": 4}"}}},
        {"{ \"A\" :\t7 \r\n, \"B\":8}", {{"A", "7"}, {"B", "8"}}},
        {R"(junk before {"A": 1})", {{"A", "1"}}},
        {R"({"A": 1,, "B": 2})", {{"A", "1"}, {"B", "2"}}},
        {R"({"A": 1 2, "B": 3})", {{"A", "1 2"}, {"B", "3"}}},
        {R"({"A": 1 "B": 2})", {}},  // a bare value with a quote, bracket or brace in it is malformed
        {R"({"A": 1; [2], "B": 3})", {}},
        {R"({"Z": 0, "A": x{, "B": 3})", {{"Z", "0"}}},
        {R"({"A": 1, x "B": 2})", {{"A", "1"}}},
        {R"({"A": , "B": 2})", {}},
        {R"({"A" 1, "B": 2})", {}},
        {R"({"A": [1, "]", 2], "B": 3})", {{"A", R"([1, "]", 2])"}, {"B", "3"}}},
        {R"({"A": [1, {2]}, "B": 3})", {{"A", "[1, {2]}"}, {"B", "3"}}},
        {R"({"A": [1, 2, "B": 3})", {{"A", R"([1, 2, "B": 3})"}}},  // one depth over both kinds
        {R"({"A": [1, 2, "B": 3)", {}},
        {R"({"A": "unterminated, "B": 3})", {{"A", R"("unterminated, ")"}}},
        {R"({"A\"q": 1, "B\\": 2})", {{R"(A\"q)", "1"}, {R"(B\\)", "2"}}},
        {R"({"A": 1} "B": 2)", {{"A", "1"}}},
        {R"({"A": 1)", {{"A", "1"}}},
        {R"({"A":)", {}},
        {"no brace at all", {}},
        {R"({"AutoStart": true, "Screens": [], "HotkeyShareZone9": [0, 0], "HotkeyShareZone0": 1, "HotkeyShareZone": 2, "HotkeyShareZone10": 3, "Layout": "x", "CustomRegion": null, "CustomLayouts": [], "ActiveLayout": "", "CoverTaskbar": true, "UsedCount": 1, "CountingSince": 2, "autostart": 3})",
         {{"HotkeyShareZone0", "1"}, {"HotkeyShareZone", "2"}, {"HotkeyShareZone10", "3"}, {"autostart", "3"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(read_extra_entries(c.text), c.expected) << c.text;
}

TEST(SettingsReader, DefaultLayoutText) {
    const auto text = default_layouts_text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 8);
    const auto layouts = default_layouts();
    ASSERT_EQ(layouts.size(), 4u);
    EXPECT_EQ(layouts[0], (Layout{"50% | 50%", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}}));
    EXPECT_EQ(layouts[1], (Layout{"33% | 33% | 33%", {{0, 0, 1.0 / 3, 1}, {1.0 / 3, 0, 2.0 / 3, 1}, {2.0 / 3, 0, 1, 1}}}));
    EXPECT_EQ(layouts[2], (Layout{"25% | 50% | 25%", {{0, 0, 0.25, 1}, {0.25, 0, 0.75, 1}, {0.75, 0, 1, 1}}}));
    EXPECT_EQ(layouts[3], (Layout{"100%", {{0, 0, 1, 1}}}));
}

}  // namespace
}  // namespace tw
