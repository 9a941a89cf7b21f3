#include <gtest/gtest.h>

#include "core/base/log.h"
#include "core/model/settings.h"

namespace tw {
namespace {

std::string file_with_layouts(std::string_view layouts) {
    return "{\n  \"Screens\": [{ \"Id\": \"D1\", \"Name\": \"One\", \"Enabled\": true, \"CoverTaskbar\": false, "
           "\"ActiveLayout\": \"Wide\" }],\n  \"ScreenLayouts\": [" +
           std::string(layouts) + "]\n}\n";
}

TEST(LayoutSpacing, StoredOnlyWhenSetAndReadBackByteForByte) {
    Settings s = parse_settings(file_with_layouts(""));
    s.screens[0].layouts = {{"Wide", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}, 12}, {"Plain", {{0, 0, 1, 1}}, 0}};
    const std::string text = serialize_settings(s);
    EXPECT_NE(text.find("{ \"Screen\": \"D1\", \"Name\": \"Wide\", \"Zones\": [[0, 0, 0.5, 1], [0.5, 0, 1, 1]], "
                        "\"Spacing\": 12 }, { \"Screen\": \"D1\", \"Name\": \"Plain\", \"Zones\": [[0, 0, 1, 1]] }"),
              std::string::npos)
        << text;
    const Settings back = parse_settings(text);
    EXPECT_EQ(back.screens, s.screens);
    EXPECT_EQ(serialize_settings(back), text);
    // Members the program does not know inside a layout are not kept as extra entries.
    EXPECT_TRUE(back.extra.empty());
}

TEST(LayoutSpacing, ValueOutsideZeroToSixtyFourReadsAsNoSpacingWithALogLine) {
    struct Case {
        std::string_view stored;
        int expected;
        bool logged;
    };
    const Case cases[] = {
        {"0", 0, false},     {"64", 64, false},       {"7\n    ", 7, false}, {"65", 0, true},
        {"-4", 0, true},     {"+4", 0, true},         {"4.5", 0, true},     {"\"8\"", 0, true},
        {"null", 0, true},   {"", 0, true},           {"99999999999999999999", 0, true},
    };
    for (const Case& c : cases) {
        LogCapture log;
        const Settings s = parse_settings(file_with_layouts(
            "{ \"Screen\": \"D1\", \"Name\": \"Wide\", \"Zones\": [[0, 0, 1, 1]], \"Spacing\": " +
            std::string(c.stored) + "}"));
        ASSERT_EQ(s.screens[0].layouts.size(), 1u) << c.stored;
        EXPECT_EQ(s.screens[0].layouts[0].spacing, c.expected) << c.stored;
        EXPECT_EQ(s.screens[0].layouts[0].zones.size(), 1u) << c.stored;
        if (c.logged)
            EXPECT_TRUE(log.contains("settings: spacing '" + std::string(c.stored) +
                                     "' of layout 'Wide' is not a whole number from 0 to 64; "
                                     "the layout has no spacing"))
                << c.stored << ": " << (log.lines().empty() ? "" : log.lines()[0]);
        else
            EXPECT_TRUE(log.lines().empty()) << c.stored;
    }
}

}  // namespace
}  // namespace tw
