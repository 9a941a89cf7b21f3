// The first-start hint of the main window: shown in place of the idle status until
// Tilewright is started or the hint dismissed, and remembered in the settings file
// only once done.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/catalog.h"
#include "core/model/settings_reader.h"
#include "core/views/main_view.h"

namespace tw {
namespace {

const WidgetItem* find(const std::vector<WidgetItem>& items, uint64_t id) {
    for (const auto& w : items)
        if (w.id == id) return &w;
    return nullptr;
}

TEST(StartHint, ShownUntilStartedOrDismissed) {
    const std::vector<ScreenInfo> screens = {{"S1", "Display 1", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 0, true}};
    struct Case { bool done, running, layouts, shown; };
    const Case cases[] = {
        {false, false, true, true},  {true, false, true, false}, {false, true, true, false},
        {false, false, false, false},  // no layouts: the Add button and its status say what to do
    };
    for (const Case& c : cases) {
        Settings s;
        reconcile_screen_layouts(s, screens);
        ASSERT_FALSE(s.screens.empty());
        if (!c.layouts) s.screens[0].layouts.clear();
        s.start_hint_done = c.done;
        MainViewInput in{s};
        in.screens = screens;
        in.engine_running = c.running;
        const MainView v = build_main_view(in);
        EXPECT_EQ(shows_start_hint(in), c.shown);
        EXPECT_EQ(find(v.widgets, main_id::kDismissStartHint) != nullptr, c.shown);
        EXPECT_EQ(v.widgets[9].text == tr("main.start_hint"), c.shown);
        // The new screen still starts on "100%".
        if (c.layouts) {
            EXPECT_EQ(s.screens[0].active_layout, "100%");
        }
    }
}

TEST(StartHint, DismissingIsSavedOnceAndOnlyThenWritten) {
    Settings s;
    const std::string untouched = serialize_settings(s);
    EXPECT_EQ(untouched.find("StartHintDone"), std::string::npos);
    MainViewInput in{s};
    const MainCommand cmd = decide_main_command(main_id::kDismissStartHint, in, {});
    EXPECT_EQ(cmd.action, MainAction::DismissStartHint);
    EXPECT_TRUE(apply_main_command(s, cmd, {}));
    EXPECT_FALSE(apply_main_command(s, cmd, {}));  // nothing left to save
    const std::string text = serialize_settings(s);
    EXPECT_NE(text.find("\"StartHintDone\": true"), std::string::npos) << text;
    EXPECT_TRUE(parse_settings(text).start_hint_done);
    EXPECT_TRUE(parse_settings(text).extra.empty());  // a known key, not kept twice
    EXPECT_TRUE(is_known_key("StartHintDone"));
}

}  // namespace
}  // namespace tw
