#include <gtest/gtest.h>

#include <functional>

#include "core/base/log.h"
#include "core/model/settings.h"
#include "support/env.h"
#include "support/settings_print.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;
using test::ScopedEnv;
using test::TempFolder;
using test::write_bytes;

Settings sample() {
    Settings s;
    s.auto_start = true;
    s.theme = Theme::Auto;
    s.language = "fr";
    s.window_pos = {{-5, 7}};
    s.screens.push_back(new_screen_layout("DISPLAY1", "Main"));
    s.selected_screen = "DISPLAY1";
    s.extra.emplace_back("Future", "{\"x\": 1}");
    return s;
}

TEST(SettingsFile, WithoutAppdataNothingIsReadOrWritten) {
    TempFolder dir;
    ScopedEnv appdata("APPDATA");
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.path());
    for (bool empty : {false, true}) {
        if (empty)
            appdata.set("");
        else
            appdata.unset();
        EXPECT_EQ(settings_dir(), std::nullopt);
        EXPECT_EQ(settings_path(), std::nullopt);
        EXPECT_EQ(load_settings(), Settings{});
        save_settings(sample());
        EXPECT_TRUE(fs::is_empty(dir.path())) << "empty=" << empty;
    }
    fs::current_path(cwd);
}

TEST(SettingsFile, SaveThenLoad) {
    TempFolder dir;
    ScopedEnv appdata("APPDATA");
    // The roaming folder may not exist yet; every missing parent is created.
    const fs::path roaming = dir.path() / "Users" / "me" / "Roaming";
    appdata.set(roaming);
    EXPECT_EQ(settings_dir(), roaming / "Tilewright");
    EXPECT_EQ(settings_path(), roaming / "Tilewright" / "settings.json");

    const Settings s = sample();
    save_settings(s);
    EXPECT_EQ(read_bytes(roaming / "Tilewright" / "settings.json"), serialize_settings(s));
    EXPECT_FALSE(fs::exists(roaming / "Tilewright" / "settings.json.tmp"));
    EXPECT_EQ(load_settings(), s);

    Settings changed = s;
    changed.hide_to_tray = false;
    save_settings(changed);
    EXPECT_EQ(load_settings(), changed);
}

TEST(SettingsFile, NonAsciiAppdataFolder) {
    TempFolder dir;
    ScopedEnv appdata("APPDATA");
    const fs::path roaming = dir.path() / fs::path(u8"J\u00fcrgen \u65e5\u672c");
    fs::create_directories(roaming);
    appdata.set(roaming);
    const Settings s = sample();
    save_settings(s);
    EXPECT_TRUE(fs::is_regular_file(roaming / "Tilewright" / "settings.json"));
    EXPECT_EQ(load_settings(), s);
}

TEST(SettingsFile, UnreadableFilesGiveDefaults) {
    struct Case { std::string what; void (*arrange)(const fs::path& file); bool defaults; };
    const Case cases[] = {
        {"missing", [](const fs::path&) {}, true},
        {"a folder", [](const fs::path& f) { fs::create_directories(f / "x"); }, true},
        {"not UTF-8", [](const fs::path& f) { write_bytes(f, "{\"AutoStart\": true, \"Language\": \"\xff\"}"); }, true},
        {"truncated UTF-8", [](const fs::path& f) { write_bytes(f, "{\"AutoStart\": true, \"Language\": \"\xc3"); }, true},
        {"empty", [](const fs::path& f) { write_bytes(f, ""); }, true},
        {"UTF-8 with BOM", [](const fs::path& f) { write_bytes(f, "\xef\xbb\xbf{\"AutoStart\": true}"); }, false},
        {"CRLF", [](const fs::path& f) { write_bytes(f, "{\r\n  \"AutoStart\": true\r\n}\r\n"); }, false},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        ScopedEnv appdata("APPDATA");
        appdata.set(dir.path());
        fs::create_directories(dir.path() / "Tilewright");
        c.arrange(dir.path() / "Tilewright" / "settings.json");
        Settings s = load_settings();
        EXPECT_EQ(s.auto_start, !c.defaults) << c.what;
        if (c.defaults) {
            s.kept_settings_copy.clear();  // the copy of a file that is not UTF-8
            EXPECT_EQ(s, Settings{}) << c.what;
        }
    }
}

// Start-up saves right after loading: a file that is there but cannot be read as UTF-8
// text is copied aside first, so the user's layouts are not lost to the defaults.
TEST(SettingsFile, FileThatIsNotUtf8IsKeptAsBad) {
    TempFolder dir;
    ScopedEnv appdata("APPDATA");
    appdata.set(dir.path());
    const fs::path file = dir.path() / "Tilewright" / "settings.json";
    const std::string ansi = "{\"AutoStart\": true, \"Language\": \"Fran\xe7" "ais\"}";
    write_bytes(file, ansi);
    LogCapture log;
    Settings defaults;
    defaults.kept_settings_copy = "settings.json.bad";  // shown to the user until dismissed
    EXPECT_EQ(load_settings(), defaults);
    EXPECT_EQ(read_bytes(dir.path() / "Tilewright" / "settings.json.bad"), ansi);
    EXPECT_EQ(read_bytes(file), ansi);  // the original stays until the next save
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "settings: settings.json cannot be read as UTF-8 text; kept as "
                              "settings.json.bad, starting from defaults");

    // An earlier copy is never written over: the next one takes the next free name.
    const std::string other = "{\"Language\": \"\xe9\"}";
    write_bytes(file, other);
    defaults.kept_settings_copy = "settings.json.bad-2";
    EXPECT_EQ(load_settings(), defaults);
    EXPECT_EQ(read_bytes(dir.path() / "Tilewright" / "settings.json.bad"), ansi);
    EXPECT_EQ(read_bytes(dir.path() / "Tilewright" / "settings.json.bad-2"), other);
    fs::remove(dir.path() / "Tilewright" / "settings.json.bad-2");

    // A missing file is the ordinary first start: nothing to keep, nothing logged.
    fs::remove(file);
    fs::remove(dir.path() / "Tilewright" / "settings.json.bad");
    LogCapture quiet;
    EXPECT_EQ(load_settings(), Settings{});
    EXPECT_FALSE(fs::exists(dir.path() / "Tilewright" / "settings.json.bad"));
    EXPECT_TRUE(quiet.lines().empty());
}

// A settings.json that is there but cannot be read at start-up (a lock, a permission
// problem) must not be replaced by the defaults: not by the start-up save, and not by
// a later save once the file has become readable again.
TEST(SettingsFile, FileUnreadableAtStartIsNeverWrittenOver) {
    const std::string users = serialize_settings(sample());
    struct Case {
        const char* what;
        // Makes the file unreadable; returns what lifts that again.
        std::function<std::function<void()>(const fs::path& file)> lock;
    };
    std::vector<Case> cases = {
        {"a folder in its place",
         [&](const fs::path& f) -> std::function<void()> {
             fs::create_directories(f / "x");
             return [f, &users] { fs::remove_all(f); write_bytes(f, users); };
         }},
        {"not UTF-8 and no copy can be kept",
         [&](const fs::path& f) -> std::function<void()> {
             write_bytes(f, "{\"Language\": \"Fran\xe7" "ais\"}");
             fs::create_directories(f.parent_path() / "settings.json.bad.tmp" / "x");
             return [f, &users] { write_bytes(f, users); };
         }},
#ifdef _WIN32
        {"open without sharing",
         [&](const fs::path& f) -> std::function<void()> {
             write_bytes(f, users);
             HANDLE h = CreateFileW(f.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
             EXPECT_NE(h, INVALID_HANDLE_VALUE);
             return [h] { CloseHandle(h); };
         }},
#endif
    };
    for (const auto& c : cases) {
        TempFolder dir;
        ScopedEnv appdata("APPDATA");
        appdata.set(dir.path());
        const fs::path file = dir.path() / "Tilewright" / "settings.json";
        fs::create_directories(file.parent_path());
        auto unlock = c.lock(file);
        LogCapture log;
        EXPECT_EQ(load_settings(), Settings{}) << c.what;
        EXPECT_EQ(log.lines(), (std::vector<std::string>{
                                   "settings: settings.json cannot be read; starting from defaults and leaving "
                                   "the file as it is (changes made in this run are not saved)"}))
            << c.what;
        save_settings(Settings{});  // the start-up save
        unlock();
        Settings changed;
        changed.auto_start = true;
        save_settings(changed);  // a change made later in the same run
        EXPECT_EQ(read_bytes(file), users) << c.what;
        // The next start reads the file as the user left it, and saves again.
        EXPECT_EQ(load_settings(), sample()) << c.what;
        save_settings(changed);
        EXPECT_EQ(load_settings(), changed) << c.what;
    }
}

TEST(SettingsFile, OneTimeCopyFromTheFormerFolder) {
    const std::string old_text = serialize_settings(sample());
    struct Case {
        std::string what;
        bool old_file, old_is_folder, new_file;
        bool expect_copy;
    };
    const Case cases[] = {
        {"copied when only the former folder has a file", true, false, false, true},
        {"not copied over an existing file", true, false, true, false},
        {"nothing to copy", false, false, false, false},
        {"former settings.json is a folder", false, true, false, false},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        ScopedEnv appdata("APPDATA");
        appdata.set(dir.path());
        const fs::path old_path = dir.path() / "Wallcarve" / "settings.json";
        const fs::path new_path = dir.path() / "Tilewright" / "settings.json";
        if (c.old_file) {
            fs::create_directories(old_path.parent_path());
            write_bytes(old_path, old_text);
        }
        if (c.old_is_folder) fs::create_directories(old_path / "x");
        if (c.new_file) {
            fs::create_directories(new_path.parent_path());
            write_bytes(new_path, "{\"Language\": \"it\"}");
        }
        const Settings s = load_settings();
        if (c.expect_copy) {
            EXPECT_EQ(s, sample()) << c.what;
            EXPECT_EQ(read_bytes(new_path), old_text) << c.what;
        } else if (c.new_file) {
            EXPECT_EQ(s.language, "it") << c.what;
        } else {
            EXPECT_EQ(s, Settings{}) << c.what;
            EXPECT_FALSE(fs::exists(new_path)) << c.what;
        }
        // The old file stays where it was.
        if (c.old_file) {
            EXPECT_EQ(read_bytes(old_path), old_text) << c.what;
        }
    }
}

TEST(SettingsFile, CopiedFileThatIsNotUtf8GivesDefaults) {
    TempFolder dir;
    ScopedEnv appdata("APPDATA");
    appdata.set(dir.path());
    fs::create_directories(dir.path() / "Wallcarve");
    write_bytes(dir.path() / "Wallcarve" / "settings.json", "{\"AutoStart\": true \xfe}");
    Settings defaults;
    defaults.kept_settings_copy = "settings.json.bad";
    EXPECT_EQ(load_settings(), defaults);
    EXPECT_TRUE(fs::exists(dir.path() / "Tilewright" / "settings.json"));
}

TEST(SettingsFile, FailedSaveLeavesThePreviousState) {
    struct Case { std::string what; void (*arrange)(const fs::path& folder); };
    const Case cases[] = {
        {"settings.json is a folder", [](const fs::path& f) { fs::create_directories(f / "settings.json" / "x"); }},
        {"temporary name is a folder", [](const fs::path& f) {
             write_bytes(f / "settings.json", "{\"Language\": \"old\"}");
             fs::create_directories(f / "settings.json.tmp" / "x");
         }},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        ScopedEnv appdata("APPDATA");
        appdata.set(dir.path());
        const fs::path folder = dir.path() / "Tilewright";
        fs::create_directories(folder);
        c.arrange(folder);
        save_settings(sample());
        const fs::path file = folder / "settings.json";
        if (fs::is_regular_file(file)) {
            EXPECT_EQ(read_bytes(file), "{\"Language\": \"old\"}") << c.what;
            EXPECT_EQ(load_settings().language, "old") << c.what;
        } else {
            EXPECT_TRUE(fs::is_directory(file / "x")) << c.what;
            EXPECT_FALSE(fs::exists(folder / "settings.json.tmp")) << c.what;
            EXPECT_EQ(load_settings(), Settings{}) << c.what;
        }
    }

    // The program's folder name is taken by a file: nothing is written, nothing breaks.
    TempFolder dir;
    ScopedEnv appdata("APPDATA");
    appdata.set(dir.path());
    write_bytes(dir.path() / "Tilewright", "not a folder");
    save_settings(sample());
    EXPECT_EQ(read_bytes(dir.path() / "Tilewright"), "not a folder");
    EXPECT_EQ(load_settings(), Settings{});
}

}  // namespace
}  // namespace tw
