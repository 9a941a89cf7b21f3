#include <gtest/gtest.h>

#include "core/ui/theme.h"

namespace tw {
namespace {

TEST(Theme, SettingAndLightFlagMoveTogether) {
    struct Case {
        bool was_light;
        Theme value;
        std::optional<uint32_t> system;
        bool light;
        bool changed;
    };
    const Case cases[] = {
        {false, Theme::Light, std::nullopt, true, true},
        {true, Theme::Light, 0u, true, false},
        {true, Theme::Dark, 1u, false, true},
        {false, Theme::Auto, 1u, true, true},
        {false, Theme::Auto, 7u, true, true},
        {true, Theme::Auto, 0u, false, true},
        {true, Theme::Auto, std::nullopt, false, true},  // unreadable system value: dark
        {false, Theme::Auto, std::nullopt, false, false},
    };
    for (const Case& c : cases) {
        Settings s;
        ThemeState t;
        t.light = c.was_light;
        EXPECT_EQ(set_theme(s, t, c.value, c.system), c.changed);
        EXPECT_EQ(s.theme, c.value);
        EXPECT_EQ(t.light, c.light);
    }
}

TEST(Theme, AccentGoesToSettingsAndGlobal) {
    Settings s;
    ThemeState t;
    EXPECT_FALSE(set_accent(s, t, kDefaultAccent));
    EXPECT_TRUE(set_accent(s, t, 0xFF123456));  // only the low 24 bits are a colour
    EXPECT_EQ(s.accent_color, 0x123456u);
    EXPECT_EQ(t.accent, 0x123456u);
    // The saved text form follows.
    EXPECT_NE(serialize_settings(s).find("\"AccentColor\": \"#123456\""), std::string::npos);
}

}  // namespace
}  // namespace tw
