#include <gtest/gtest.h>

#include <algorithm>

#include "core/views/excluded_apps_view.h"

namespace tw {
namespace {

const WidgetItem* find(const std::vector<WidgetItem>& items, uint64_t id) {
    for (const auto& it : items)
        if (it.id == id) return &it;
    return nullptr;
}

// Rows, remove buttons and running rows act on the entries shown, also when scrolled.
TEST(ExcludedAppsView, CommandsActOnTheRowsShown) {
    std::vector<std::string> list;
    for (int i = 0; i < 8; ++i) list.push_back("app" + std::to_string(i) + ".exe");
    ExcludedAppsState s;
    EXPECT_TRUE(excluded_apps_wheel(list, s, -120));
    EXPECT_TRUE(excluded_apps_wheel(list, s, -120));
    EXPECT_FALSE(excluded_apps_wheel(list, s, -120));  // rows 2 to 7 shown: the end
    auto view = build_excluded_apps_view(list, s, kExcludedWidth);
    ASSERT_NE(find(view, excluded_id::kRemove), nullptr);
    EXPECT_EQ(find(view, excluded_id::kRemove + kExcludedRows), nullptr);
    EXPECT_TRUE(excluded_apps_command(excluded_id::kRemove + 1, list, s).list_changed);
    EXPECT_EQ(std::count(list.begin(), list.end(), "app3.exe"), 0);
    EXPECT_EQ(list.size(), 7u);

    // Typing: an empty field cannot be added, a name can, once.
    EXPECT_EQ(find(build_excluded_apps_view(list, s, kExcludedWidth), excluded_id::kAdd)->enabled, 0);
    s.field.set_text(" VLC.exe ");
    EXPECT_EQ(excluded_apps_command(excluded_id::kAdd, list, s), (ExcludedOutcome{true, false, false}));
    EXPECT_EQ(list.back(), "VLC.exe");
    EXPECT_EQ(s.field.text(), "");
    s.field.set_text("vlc.exe");
    EXPECT_FALSE(excluded_apps_command(excluded_id::kAdd, list, s).list_changed);

    // The running applications: opened, scrolled, picked; a row is no command once closed.
    EXPECT_EQ(excluded_apps_command(excluded_id::kRunningField, list, s), (ExcludedOutcome{false, false, true}));
    for (int i = 0; i < 9; ++i) s.running.push_back("run" + std::to_string(i) + ".exe");
    EXPECT_TRUE(excluded_apps_wheel(list, s, -120));
    EXPECT_TRUE(excluded_apps_command(excluded_id::kRunningRow + 2, list, s).list_changed);
    EXPECT_EQ(list.back(), "run3.exe");
    EXPECT_FALSE(s.running_open);
    EXPECT_FALSE(excluded_apps_command(excluded_id::kRunningRow, list, s).list_changed);
    EXPECT_TRUE(excluded_apps_command(excluded_id::kDone, list, s).close);
}

}  // namespace
}  // namespace tw
