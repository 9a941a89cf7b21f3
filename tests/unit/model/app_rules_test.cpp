#include <gtest/gtest.h>

#include <fstream>

#include "core/base/files.h"
#include "core/base/log.h"
#include "core/model/excluded_apps.h"
#include "core/model/last_zones.h"
#include "core/model/settings.h"
#include "core/model/settings_reader.h"
#include "support/temp_folder.h"

namespace tw {
namespace {

TEST(ExcludedApps, MatchByFileNameOrFullPathIgnoringCase) {
    const struct {
        std::vector<std::string> list;
        const char* exe;
        bool excluded;
    } cases[] = {
        {{"vlc.exe"}, "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe", true},
        {{"VLC.EXE"}, "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe", true},
        {{"vlc"}, "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe", false},
        {{"lc.exe"}, "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe", false},
        {{"c:\\program files\\videolan\\vlc\\VLC.exe"}, "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe", true},
        {{"C:/Program Files/VideoLAN/VLC/vlc.exe"}, "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe", true},
        {{"D:\\VLC\\vlc.exe"}, "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe", false},
        {{"  notepad.exe "}, "C:\\windows\\system32\\notepad.exe", true},
        {{"", "x.exe"}, "C:\\x.exe", true},
        {{"x.exe"}, "", false},  // path unknown: nothing matches
        {{}, "C:\\x.exe", false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_excluded_app(c.list, c.exe), c.excluded) << c.exe;
}

TEST(ExcludedApps, EntriesAreCleanedAndNotListedTwice) {
    std::vector<std::string> list;
    EXPECT_TRUE(add_excluded_app(list, "  vlc.exe\t"));
    EXPECT_FALSE(add_excluded_app(list, "VLC.exe"));
    EXPECT_TRUE(add_excluded_app(list, "\"C:\\Tools\\a b.exe\""));  // Explorer's "Copy as path"
    EXPECT_FALSE(add_excluded_app(list, "c:/tools/A B.exe"));
    EXPECT_FALSE(add_excluded_app(list, " \r\n "));
    EXPECT_EQ(list, (std::vector<std::string>{"vlc.exe", "C:\\Tools\\a b.exe"}));
    EXPECT_FALSE(remove_excluded_app(list, 2));
    EXPECT_TRUE(remove_excluded_app(list, 0));
    EXPECT_EQ(list, (std::vector<std::string>{"C:\\Tools\\a b.exe"}));
}

TEST(AppRulesSettings, WrittenOnlyWhenUsedAndReadBackExactly) {
    const Settings plain;
    const std::string text = serialize_settings(plain);
    EXPECT_EQ(text.find("OpenInLastZone"), std::string::npos);
    EXPECT_EQ(text.find("ExcludedApps"), std::string::npos);

    Settings s;
    s.open_in_last_zone = true;
    s.excluded_apps = {"vlc.exe", "C:\\Odd [dir]\\\"q\".exe", "{x}, \\y\\", "ExcludedApps"};
    const std::string written = serialize_settings(s);
    EXPECT_NE(written.find("  \"OpenInLastZone\": true,\n"), std::string::npos);
    const Settings back = parse_settings(written);
    EXPECT_TRUE(back.open_in_last_zone);
    EXPECT_EQ(back.excluded_apps, s.excluded_apps);
    EXPECT_TRUE(back.extra.empty());  // known keys, not kept twice
    EXPECT_EQ(serialize_settings(back), written);
}

TEST(AppRulesSettings, ListReadsStringsUpToTheFirstValueThatIsNone) {
    const std::string text = "{\n  \"ExcludedApps\": [\"a.exe\", \"C:\\\\b [1].exe\"],\n  \"Other\": 1\n}\n";
    EXPECT_EQ(parse_settings(text).excluded_apps, (std::vector<std::string>{"a.exe", "C:\\b [1].exe"}));
    EXPECT_EQ(read_string_list("[\"a\", 3, \"b\"]"), std::vector<std::string>{"a"});
    EXPECT_TRUE(read_string_list("null").empty());
}

AppKey app(const char* path, const char* cls = "Notepad") { return {path, cls}; }
ZonePlace place(uint32_t zone, const char* layout = "Halves", const char* screen = "MON1") {
    return {screen, layout, zone};
}

TEST(LastZones, LatestPlacementWinsAndAPathMatchesWithoutRegardToCase) {
    LastZones z;
    EXPECT_TRUE(z.remember(app("C:\\Apps\\Edit.exe"), place(1)));
    EXPECT_FALSE(z.remember(app("c:\\apps\\edit.EXE"), place(1)));  // nothing new to write
    EXPECT_TRUE(z.remember(app("c:\\apps\\edit.EXE"), place(2)));
    EXPECT_TRUE(z.remember(app("C:\\Apps\\Edit.exe", "EditFind"), place(3)));  // another kind of window
    ASSERT_NE(z.find(app("C:\\APPS\\EDIT.EXE")), nullptr);
    EXPECT_EQ(*z.find(app("C:\\APPS\\EDIT.EXE")), place(2));
    EXPECT_EQ(z.entries().size(), 2u);
    // A window put in zone 3 earlier and now moved away does not undo a later placement.
    EXPECT_FALSE(z.forget(app("C:\\Apps\\Edit.exe"), place(1)));
    EXPECT_TRUE(z.forget(app("C:\\Apps\\Edit.exe"), place(2)));
    EXPECT_EQ(z.find(app("C:\\Apps\\Edit.exe")), nullptr);
}

TEST(LastZones, TheLeastRecentlyUsedGoesBeyondTheCapacity) {
    LastZones z;
    for (size_t i = 0; i < LastZones::kCapacity; ++i)
        z.remember(app(("C:\\a" + std::to_string(i) + ".exe").c_str()), place(1));
    z.remember(app("C:\\a0.exe"), place(2));  // used again: now the most recent
    z.remember(app("C:\\new.exe"), place(1));
    EXPECT_EQ(z.entries().size(), LastZones::kCapacity);
    EXPECT_NE(z.find(app("C:\\a0.exe")), nullptr);
    EXPECT_EQ(z.find(app("C:\\a1.exe")), nullptr);
    EXPECT_NE(z.find(app("C:\\a2.exe")), nullptr);
    EXPECT_EQ(z.entries().front().app.exe_path, "C:\\new.exe");
}

TEST(LastZones, FileRoundTripAndDamagedFilesAreSetAside) {
    test::TempFolder dir;
    const auto path = dir.path() / "last-zones.txt";
    LastZones z;
    z.remember(app("C:\\x\\tab\there.exe", "Cls\\1"), place(2, "Lay\nout", "\\\\?\\DISPLAY#1"));
    z.remember(app("C:\\y.exe"), place(9));
    ASSERT_TRUE(save_last_zones(path, z));
    const LastZones back = load_last_zones(path);
    ASSERT_EQ(back.entries().size(), 2u);
    EXPECT_EQ(serialize_last_zones(back), serialize_last_zones(z));
    // A single zone keeps its five fields; a span adds its bottom-right zone.
    ZonePlace span = place(2);
    span.span_end = 5;
    z.remember(app("C:\\s.exe"), span);
    const std::string spanned = serialize_last_zones(z);
    EXPECT_NE(spanned.find("\t9\n"), std::string::npos);
    EXPECT_NE(spanned.find("\t2\t5\n"), std::string::npos);
    ASSERT_TRUE(parse_last_zones(spanned));
    EXPECT_EQ(*parse_last_zones(spanned)->find(app("C:\\s.exe")), span);

    const char* damaged[] = {
        "", "Tilewright last zones 2\n", "Tilewright last zones 1\nC:\\a.exe\tC\tM\tL\n",
        "Tilewright last zones 1\nC:\\a.exe\tC\tM\tL\t0\n", "Tilewright last zones 1\nC:\\a.exe\tC\tM\tL\t2x\n",
        "Tilewright last zones 1\nC:\\a.exe\tC\tM\tL\t2\t3\t4\n",
        "Tilewright last zones 1\nC:\\a.exe\tC\tM\tL\t2\t0\n", "Tilewright last zones 1\nbad\\q\tC\tM\tL\t2\n",
        "Tilewright last zones 1\n\xff\tC\tM\tL\t2\n",
    };
    for (const char* text : damaged) {
        ASSERT_TRUE(write_atomically(path, text));
        LogCapture cap;
        EXPECT_TRUE(load_last_zones(path).entries().empty()) << text;
        EXPECT_TRUE(cap.contains("last_zone: last-zones.txt is damaged; set aside as last-zones.txt.bad, "
                                 "starting with no remembered zones"))
            << text;
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_EQ(read_file(dir.path() / "last-zones.txt.bad").bytes, std::string(text));
    }
    LogCapture cap;
    EXPECT_TRUE(load_last_zones(dir.path() / "missing.txt").entries().empty());
    EXPECT_TRUE(cap.lines().empty());
}

}  // namespace
}  // namespace tw
