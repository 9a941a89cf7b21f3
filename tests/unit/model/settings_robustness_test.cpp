#include <gtest/gtest.h>

#include <random>

#include "core/model/settings.h"
#include "support/settings_print.h"

namespace tw {
namespace {

// A file of the writer's form with most of what the reader knows, as the seed of the
// mutations.
std::string seed_text() {
    Settings s;
    s.auto_start = true;
    s.accent_color = 0x123456;
    s.language = "de \"x\" \\ y";
    s.skipped_update_version = "1.2.3";
    s.window_pos = {{-10, 20}};
    s.screens.push_back(new_screen_layout("DISPLAY1", "Dell [27\"] {x}"));
    s.screens.push_back(ScreenLayout{"DISPLAY2", "Two", false, true, "L", {Layout{"L", {Zone{0.125, 0, 1, 1}, Zone{-0.0, 1e-9, 3e10, 0.7}}}}});
    s.selected_screen = "DISPLAY2";
    s.extra = {{"Plugin", R"({"a": [1, {"b": "]}"}]})"}, {"Note", R"("n\"o")"}, {"Bare", "17"}};
    return serialize_settings(s) + "{\"UsedCount\": 5, \"CustomLayouts\": [], \"Layout\": \"custom\"}";
}

// What a parse yields must come back unchanged from the writer. The usage-counter
// values are read only for migration and are never written: a save may drop them, but
// must never make one appear or change.
class RoundTrip {
public:
    void check(std::string_view text) {
        ++checked_;
        Settings first = parse_settings(text, {1920, 1080});
        const std::string written = serialize_settings(first);
        Settings second = parse_settings(written, {1920, 1080});
        const bool counts_kept = (!second.used_count || second.used_count == first.used_count) &&
                                 (!second.counting_since || second.counting_since == first.counting_since);
        first.used_count.reset();
        first.counting_since.reset();
        second.used_count.reset();
        second.counting_since.reset();
        if ((second != first || !counts_kept) && failures_++ < 3) {
            ADD_FAILURE() << "input: " << testing::PrintToString(std::string(text)) << "\nfirst:" << testing::PrintToString(first)
                          << "\nsecond:" << testing::PrintToString(second);
        }
    }
    size_t checked() const { return checked_; }

private:
    size_t checked_ = 0;
    size_t failures_ = 0;
};

std::string mutate(std::string text, std::mt19937& rng) {
    static constexpr std::string_view kSpecial = "\"\\[]{},: \n0.-+e";
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    const size_t edits = 1 + pick(6);
    for (size_t e = 0; e < edits && !text.empty(); ++e) {
        const size_t at = pick(text.size());
        switch (pick(6)) {
            case 0: text[at] = static_cast<char>(pick(256)); break;
            case 1: text[at] = kSpecial[pick(kSpecial.size())]; break;
            case 2: text.insert(at, 1, kSpecial[pick(kSpecial.size())]); break;
            case 3: text.erase(at, 1 + pick(40)); break;
            case 4: text.insert(at, text.substr(pick(text.size()), pick(80))); break;
            default: text[at] ^= static_cast<char>(1u << pick(8)); break;
        }
    }
    return text;
}

std::string token_soup(std::mt19937& rng) {
    static const std::vector<std::string> kTokens = {
        "{", "}", "[", "]", ":", ",", " ", "\n", "\"", "\\", "true", "false", "null", "0", "1", "-1", "0.5",
        "+2", "1e999", "nan", "4294967296", "\"x\"", "\"a\\\"b\"", "\"\\\\\"", "[0, 0, 1, 1]", "[3, 65]",
        "\"AutoStart\"", "\"Theme\"", "\"Language\"", "\"UsageStatistics\"", "\"WindowPos\"", "\"HotkeyStartStop\"",
        "\"HotkeyShareZone3\"", "\"Screens\"", "\"ScreenLayouts\"", "\"SelectedScreen\"", "\"Id\"", "\"Name\"",
        "\"Screen\"", "\"Zones\"", "\"ActiveLayout\"", "\"CoverTaskbar\"", "\"Enabled\"", "\"CustomLayouts\"",
        "\"Layout\"", "\"custom\"", "\"CustomRegion\"", "\"UsedCount\"", "\"Other\"", "\"light\"",
    };
    std::string out = "{";
    const size_t n = std::uniform_int_distribution<size_t>(1, 120)(rng);
    for (size_t i = 0; i < n; ++i) out += kTokens[std::uniform_int_distribution<size_t>(0, kTokens.size() - 1)(rng)];
    return out;
}

TEST(SettingsRobustness, TruncatedAtEveryPosition) {
    const std::string text = seed_text();
    RoundTrip rt;
    for (size_t n = 0; n <= text.size(); ++n) rt.check(std::string_view(text).substr(0, n));
    // And cut from the front, which leaves unbalanced quotes ahead of every key.
    for (size_t n = 0; n <= text.size(); n += 3) rt.check(std::string_view(text).substr(n));
}

TEST(SettingsRobustness, MutatedFiles) {
    const std::string text = seed_text();
    std::mt19937 rng(20240611);
    RoundTrip rt;
    for (int i = 0; i < 3000; ++i) rt.check(mutate(text, rng));
    for (int i = 0; i < 3000; ++i) rt.check(token_soup(rng));
    for (int i = 0; i < 300; ++i) {
        std::string bytes(std::uniform_int_distribution<size_t>(0, 400)(rng), '\0');
        for (auto& b : bytes) b = static_cast<char>(rng());
        rt.check(bytes);
    }
    EXPECT_EQ(rt.checked(), 6300u);
}

// Known keys inside entries the program keeps verbatim: after a save the entry is
// still there, and the key inside it must not start to count.
TEST(SettingsRobustness, KnownKeysNestedInUnknownEntries) {
    const std::string inputs[] = {
        R"({"UsedCount": null, "X": {"UsedCount": 7}})",
        R"({"CountingSince": "soon", "X": [{"CountingSince": 1600000000}]})",
        R"({"Layout": null, "X": {"Layout": "custom", "CustomRegion": [0, 0, 960, 1080]}})",
        R"({"X": {"CustomLayouts": [{"Name": "Nested", "Zones": [[0, 0, 1, 1]]}]}})",
        R"({"X": {"Screens": [{"Id": "nested"}], "AutoStart": true}, "Screens": []})",
    };
    RoundTrip rt;
    for (const auto& text : inputs) {
        rt.check(text);
        const Settings s = parse_settings(text, {1920, 1080});
        EXPECT_FALSE(s.used_count || s.counting_since) << text;
        EXPECT_TRUE(s.screens.empty()) << text;
        EXPECT_FALSE(s.auto_start) << text;
    }
}

// Unknown entries whose value is malformed: kept verbatim, the quotes or brackets in
// them would read differently once the file was rewritten around them (the first row
// turned up a legacy screen after a save).
TEST(SettingsRobustness, MalformedUnknownEntries) {
    const std::string inputs[] = {
        "{\"AutoStart\": false, \"Layout\": 'custom\", \"CustomRegion\": [101, 0, 960, 1080], \"untingSince\":"
        "\xbc" "0330284089L \"CustomLayouts\": [{\"Nameme:\" an]}\r\n",
        R"({"X": 1 "CustomLayouts": [], "Y": 2})",
        R"({"X": tru"e", "Screens": [{"Id": "a"}]})",
        R"({"X": nu[ll, "Screens": [{"Id": "a"}]})",
    };
    RoundTrip rt;
    for (const auto& text : inputs) rt.check(text);
}

TEST(SettingsRobustness, DeepNestingAndLongRuns) {
    const size_t n = 100000;
    const std::string opens(n, '['), braces(n, '{'), quotes(n, '"'), slashes(n, '\\');
    std::string repeated_keys;
    for (size_t i = 0; i < n / 10; ++i) repeated_keys += "\"AutoStart\" ";
    std::string many_screens = "{\"Screens\": [";
    std::string many_layouts = "\"ScreenLayouts\": [";
    for (size_t i = 0; i < 3000; ++i) {
        many_screens += "{\"Id\": \"s" + std::to_string(i % 1500) + "\"},";
        many_layouts += "{\"Screen\": \"s" + std::to_string(i) + "\", \"Name\": \"L\", \"Zones\": [[0,0,1,1]]},";
    }
    const std::string inputs[] = {
        opens,
        "{\"Screens\": " + opens,
        "{\"Screens\": [" + braces,
        "{\"ScreenLayouts\": [{\"Screen\": \"a\", \"Name\": \"b\", \"Zones\": " + opens,
        "{\"Plugin\": " + braces + "}",
        "{\"Plugin\": " + opens + std::string(n, ']') + ", \"B\": 1}",
        "{\"Language\": " + quotes,
        "{\"Language\": \"" + slashes,
        "{" + quotes,
        repeated_keys + "\"AutoStart\": true",
        std::string(n, 'S'),
        "{\"Language\": \"" + std::string(n, 'L') + "\"}",
        "{\"CustomLayouts\": [" + braces,
        "{\"HotkeyStartStop\": [" + std::string(n, ',') + "]}",
        many_screens + "], " + many_layouts + "]}",
    };
    RoundTrip rt;
    for (const auto& text : inputs) rt.check(text);
    EXPECT_TRUE(parse_settings(repeated_keys + "\"AutoStart\": true").auto_start);
    const Settings many = parse_settings(many_screens + "], " + many_layouts + "]}");
    ASSERT_EQ(many.screens.size(), 3000u);
    EXPECT_EQ(many.screens[0].layouts.size(), 1u);
    EXPECT_TRUE(many.screens[1500].layouts.empty());
}

}  // namespace
}  // namespace tw
