#include <gtest/gtest.h>

#include <string>

#include "core/base/log.h"
#include "core/model/settings.h"
#include "core/model/settings_copy.h"
#include "support/env.h"
#include "support/settings_print.h"
#include "support/temp_folder.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;
using test::ScopedEnv;
using test::TempFolder;
using test::write_bytes;

const char* const kWhole =
    "{\n  \"AutoStart\": true,\n  \"AccentColor\": \"#00ff00\",\n  \"Theme\": \" Light \",\n"
    "  \"WindowPos\": null,\n  \"HotkeyMoveLeft\": [3, 65],\n"
    "  \"Screens\": [{ \"Id\": \"D1\", \"Name\": \"One\", \"Enabled\": true, \"ActiveLayout\": \"A\" }],\n"
    "  \"ScreenLayouts\": [{ \"Screen\": \"D1\", \"Name\": \"A\", \"Zones\": [[0, 0, 0.5, 1], [0.5, 0, 1, 1]] }],\n"
    "  \"SelectedScreen\": \"D1\",\n  \"Future\": {\"kept\": [1, 2]}\n}\n";

std::string with(std::string_view from, std::string_view to) {
    std::string s = kWhole;
    s.replace(s.find(from), from.size(), to);
    return s;
}

// Everything the start-up save would drop is found; nothing it keeps is reported.
TEST(SettingsCopy, ReadLosses) {
    struct Case { std::string what, text; std::string loss; };
    const std::string whole = kWhole;
    const Case cases[] = {
        {"whole file", whole, ""},
        {"empty", "", ""},
        {"blank with BOM", "\xEF\xBB\xBF \n", ""},
        {"BOM and CRLF", "\xEF\xBB\xBF{\r\n  \"AutoStart\": true\r\n}\r\n", ""},
        {"legacy single-screen file",
         "{ \"ActiveLayout\": \"Halves\", \"CustomLayouts\": [ { \"Name\": \"Halves\", \"Zones\": [[0, 0, 1, 1]] } ] }", ""},
        {"cut off in the layouts", whole.substr(0, whole.find("[0.5, 0, 1")), "entries after the point"},
        {"closing brace missing", whole.substr(0, whole.rfind('}')), "entries after the point"},
        {"not JSON at all", "AutoStart=true", "text before the settings object"},
        {"malformed entry", with("\"SelectedScreen\": \"D1\"", "\"SelectedScreen\" \"D1\""), "entries after the point"},
        {"screen without Id", with("{ \"Id\": \"D1\",", "{ \"Id\": \"D1\" }, { \"Name\": \"x\" }, {"),
         "2 Screens entries without an Id"},
        {"layout of an unknown screen", with("\"Screen\": \"D1\"", "\"Screen\": \"D9\""),
         "1 layouts of a screen that is not in Screens"},
        {"layout without Zones", with("\"Zones\":", "\"Zonez\":"), "1 ScreenLayouts entries without"},
        {"zone of three numbers", with("[0.5, 0, 1, 1]", "[0.5, 0, 1]"), "1 zones without four numbers"},
        {"colour that is not one", with("#00ff00", "#00ff0"), "AccentColor"},
        {"theme word", with(" Light ", "purple"), "Theme"},
        {"window position", with("\"WindowPos\": null", "\"WindowPos\": [1]"), "WindowPos"},
        {"hotkey", with("[3, 65]", "[3, 65, 1]"), "HotkeyMoveLeft"},
        {"legacy layout without a name",
         "{ \"CustomLayouts\": [ { \"Zones\": [[0, 0, 1, 1]] } ] }", "1 CustomLayouts entries without"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> losses = settings_read_losses(c.text);
        if (c.loss.empty()) {
            EXPECT_TRUE(losses.empty()) << c.what << ": " << (losses.empty() ? "" : losses[0]);
            continue;
        }
        std::string all;
        for (const auto& l : losses) all += l + "|";
        EXPECT_NE(all.find(c.loss), std::string::npos) << c.what << ": " << all;
    }
}

// A file cut off anywhere before its closing brace always loses something.
TEST(SettingsCopy, EveryCutIsALoss) {
    const std::string whole = kWhole;
    const size_t brace = whole.rfind('}');
    for (size_t n = 1; n <= brace; ++n)
        EXPECT_FALSE(settings_read_losses(whole.substr(0, n)).empty()) << n << ": " << whole.substr(0, n);
    EXPECT_TRUE(settings_read_losses(whole.substr(0, brace + 1)).empty());
}

// What the program wrote itself is always read in full.
TEST(SettingsCopy, WrittenFilesLoseNothing) {
    Settings rich;
    rich.window_pos = {{-4, 9}};
    rich.skipped_update_version = "2.0.0";
    rich.hotkey(HotkeyAction::MoveLeft) = {};
    rich.screens.push_back(new_screen_layout("D1", "One \"quoted\" \\"));
    rich.screens.push_back(new_screen_layout("D2", "Two"));
    rich.screens[1].layouts.clear();
    rich.extra.emplace_back("Future", "[{\"a\": \"]\"}]");
    rich.kept_settings_copy = "settings.json.bad";
    for (const Settings& s : {Settings{}, rich})
        EXPECT_TRUE(settings_read_losses(serialize_settings(s)).empty()) << serialize_settings(s);
}

// An earlier copy is never written over: the next free name is taken, and a copy
// that already holds the same bytes is used again.
TEST(SettingsCopy, CopiesNeverReplaceEarlierOnes) {
    TempFolder dir;
    const auto keep = [&](std::string_view bytes) { return keep_settings_copy(dir.path(), "s.bad", bytes); };
    EXPECT_EQ(keep("one"), dir / "s.bad");
    EXPECT_EQ(keep("one"), dir / "s.bad");
    EXPECT_EQ(keep("two"), dir / "s.bad-2");
    EXPECT_EQ(read_bytes(dir / "s.bad"), "one");
    EXPECT_EQ(read_bytes(dir / "s.bad-2"), "two");
    for (int n = 3; n < 100; ++n) write_bytes(dir / ("s.bad-" + std::to_string(n)), "taken");
    EXPECT_EQ(keep("three"), std::nullopt);
    EXPECT_EQ(keep("two"), dir / "s.bad-2");
}

// A cut-off file: what could be read is used, the file as it was is kept beside it,
// and the notice stays in the file until the user dismisses it.
TEST(SettingsCopy, PartlyReadFileIsKeptBeforeTheStartUpSave) {
    TempFolder dir;
    ScopedEnv appdata("APPDATA");
    appdata.set(dir.path());
    const fs::path file = dir.path() / "Tilewright" / "settings.json";
    const std::string whole = kWhole;
    const std::string cut = whole.substr(0, whole.find("\"SelectedScreen\"") + 20);
    write_bytes(file, cut);
    LogCapture log;
    Settings s = load_settings();
    EXPECT_TRUE(s.auto_start);
    ASSERT_EQ(s.screens.size(), 1u);
    EXPECT_EQ(s.screens[0].layouts.size(), 1u);
    EXPECT_EQ(s.kept_settings_copy, "settings.json.damaged");
    EXPECT_EQ(read_bytes(dir.path() / "Tilewright" / "settings.json.damaged"), cut);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "settings: settings.json could not be read in full (entries after the point where "
                              "reading stopped (cut off or malformed)); the file as it was is kept as "
                              "settings.json.damaged");

    save_settings(s);
    const Settings again = load_settings();
    EXPECT_EQ(again, s);
    EXPECT_FALSE(fs::exists(dir.path() / "Tilewright" / "settings.json.damaged-2"));
    s.kept_settings_copy.clear();  // dismissed: the key is gone from the file
    save_settings(s);
    EXPECT_EQ(read_bytes(file)->find("KeptSettingsCopy"), std::string::npos);
}

// Without a copy the damaged file is not written over by any save of this run.
TEST(SettingsCopy, NoCopyNoSave) {
    TempFolder dir;
    ScopedEnv appdata("APPDATA");
    appdata.set(dir.path());
    const fs::path file = dir.path() / "Tilewright" / "settings.json";
    const std::string cut = std::string(kWhole).substr(0, 60);
    write_bytes(file, cut);
    fs::create_directories(dir.path() / "Tilewright" / "settings.json.damaged" / "x");
    for (int n = 2; n < 100; ++n)
        write_bytes(dir.path() / "Tilewright" / ("settings.json.damaged-" + std::to_string(n)), "taken");
    const Settings s = load_settings();
    EXPECT_TRUE(s.kept_settings_copy.empty());
    save_settings(s);
    EXPECT_EQ(read_bytes(file), cut);
}

}  // namespace
}  // namespace tw
