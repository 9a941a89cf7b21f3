#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/model/catalog.h"
#include "core/base/log.h"
#include "support/temp_folder.h"

namespace tw {
namespace {

using test::TempFolder;
using test::write_bytes;

// Every test starts and ends with the empty current catalog of a fresh UI thread.
class CatalogTest : public ::testing::Test {
protected:
    void SetUp() override { set_language("", {}); }
    void TearDown() override { set_language("", {}); }
};

TEST(ParseCatalog, LineRules) {
    struct Case {
        const char* name;
        std::string text;
        Catalog expected;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"spaces around key and value", "key.a   =   some value   \n", {{"key.a", "some value"}}},
        {"empty value", "key.b=\n", {{"key.b", ""}}},
        {"no key", "= value\n", {}},
        {"no equals sign", "just text\n", {}},
        {"comment with equals", "# a = b\n", {}},
        {"indented comment", "   # a = b\n", {}},
        {"hash inside a key is not a comment", "a#b = c\n", {{"a#b", "c"}}},
        {"second equals kept", "a = b = c\n", {{"a", "b = c"}}},
        {"last definition wins", "a = 1\na = 2\n", {{"a", "2"}}},
        {"carriage returns", "a = 1\r\nb = 2\r\n", {{"a", "1"}, {"b", "2"}}},
        {"no final line feed", "a = 1\nb = 2", {{"a", "1"}, {"b", "2"}}},
        {"inner tab kept", "t = x\ty\n", {{"t", "x\ty"}}},
        {"no escapes", "e = a\\nb \\t\n", {{"e", "a\\nb \\t"}}},
        {"inner space in key", "a b = c\n", {{"a b", "c"}}},
        {"utf-8", "u = \xE2\x80\xA6 \xC2\xB7\n", {{"u", "\xE2\x80\xA6 \xC2\xB7"}}},
        {"byte-order mark", "\xEF\xBB\xBF" "first = 1\n", {{"first", "1"}}},
        {"blank lines", "\n\n  \t\na = 1\n\n", {{"a", "1"}}},
        {"lone carriage return stays inside a line", "a = 1\rb = 2\n", {{"a", "1\rb = 2"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_catalog(c.text), c.expected) << c.name;
}

TEST_F(CatalogTest, LookupFallsBackToEnglishThenTheKey) {
    set_language("de", {{"common.save", "Speichern"}, {"extra.only_here", "Nur hier"}});
    EXPECT_EQ(current_language(), "de");
    struct Case {
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"common.save", "Speichern"},
        {"common.cancel", "Cancel"},
        {"extra.only_here", "Nur hier"},
        {"no.such.key", "no.such.key"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(tr(c.key), c.text) << c.key;
}

TEST_F(CatalogTest, CurrentCatalogBelongsToItsThread) {
    set_language("de", {{"common.save", "Speichern"}});
    std::string seen_language = "unset", seen_text;
    std::thread worker([&] {
        seen_language = current_language();
        seen_text = tr("common.save");
    });
    worker.join();
    EXPECT_EQ(seen_language, "");
    EXPECT_EQ(seen_text, "Save");
    EXPECT_EQ(tr("common.save"), "Speichern");
}

TEST_F(CatalogTest, Placeholders) {
    set_language("xx", {{"t.twice", "{a}-{a}"},
                        {"t.chain", "{a}{b}"},
                        {"t.self", "{a}!"},
                        {"t.braces", "{a} {b} {}"}});
    struct Case {
        const char* key;
        std::vector<std::pair<std::string, std::string>> args;
        const char* text;
    };
    const Case cases[] = {
        {"update.heading_available", {{"version", "2.0.1"}}, "Tilewright 2.0.1 is available"},
        {"update.heading_available", {{"other", "x"}}, "Tilewright {version} is available"},
        {"update.heading_available", {}, "Tilewright {version} is available"},
        {"about.used_count", {{"count", "12"}, {"date", "3/4/2024"}}, "Used 12 times since 3/4/2024"},
        {"tray.action_with_hotkey", {{"action", "Start"}, {"hotkey", "Ctrl+Alt+S"}}, "Start\tCtrl+Alt+S"},
        {"tray.share_display_zone", {{"name", "DELL U2720Q"}, {"z", "2"}}, "DELL U2720Q: Zone 2"},
        {"t.twice", {{"a", "x"}}, "x-x"},
        // Plain replacement in pair order: a value may introduce a later placeholder.
        {"t.chain", {{"a", "{b}"}, {"b", "X"}}, "XX"},
        {"t.chain", {{"b", "X"}, {"a", "{b}"}}, "{b}X"},
        {"t.self", {{"a", "{a}"}}, "{a}!"},
        {"t.braces", {{"", "E"}, {"a", ""}}, " {b} E"},
        {"missing.key", {{"key", "v"}}, "missing.key"},
    };
    for (const auto& c : cases) {
        std::string text;
        switch (c.args.size()) {
            case 0: text = tr_args(c.key, {}); break;
            case 1: text = tr_args(c.key, {{c.args[0].first, c.args[0].second}}); break;
            default:
                text = tr_args(c.key, {{c.args[0].first, c.args[0].second},
                                       {c.args[1].first, c.args[1].second}});
        }
        EXPECT_EQ(text, c.text) << c.key;
    }
}

TEST_F(CatalogTest, PluralChoice) {
    struct Case {
        uint64_t count;
        const char* text;
    };
    const Case english[] = {{0, "0 zones"}, {1, "1 zone"}, {2, "2 zones"}, {21, "21 zones"},
                            {UINT64_MAX, "18446744073709551615 zones"}};
    for (const auto& c : english) EXPECT_EQ(tr_plural("manage.zone_count", c.count), c.text);

    // A translation that only has the plural form still shows English for one.
    set_language("de", {{"manage.zone_count_other", "{n} Zonen"}});
    EXPECT_EQ(tr_plural("manage.zone_count", 1), "1 zone");
    EXPECT_EQ(tr_plural("manage.zone_count", 3), "3 Zonen");
}

TEST(LanguageCode, OnlyPlainCodesNameFiles) {
    struct Case {
        const char* code;
        bool safe;
    };
    const Case cases[] = {
        {"de", true},    {"pt-BR", true},  {"zh_Hant", true}, {"en", true},
        {"", false},     {".", false},     {"..", false},     {"../de", false},
        {"a/b", false},  {"a\\b", false},  {"c:", false},     {"de.lang", false},
        {"de ", false},  {"d\xC3\xA9", false}, {"de\n", false},
        // Device names open a device instead of a file, with or without ".lang".
        {"con", false},  {"NUL", false},   {"Com1", false},   {"lpt9", false},
        {"com", true},   {"com10", true},  {"console", true},
    };
    for (const auto& c : cases) EXPECT_EQ(is_safe_language_code(c.code), c.safe) << c.code;
    EXPECT_FALSE(is_safe_language_code(std::string(65, 'a')));
    EXPECT_FALSE(is_safe_language_code(std::string_view("de\0x", 4)));
}

TEST_F(CatalogTest, LanguageFiles) {
    TempFolder settings;
    write_bytes(settings / "lang" / "de.lang", "# German\ncommon.save = Speichern\n");
    write_bytes(settings / "lang" / "es.lang", "");
    write_bytes(settings / "lang" / "bad.lang", "common.save = \xFF\xFE\n");
    write_bytes(settings / "lang" / "bom.lang", "\xEF\xBB\xBF" "common.save = Enregistrer\n");
    std::filesystem::create_directories(settings / "lang" / "dir.lang");
    write_bytes(settings / "secret.lang", "common.save = Escaped\n");

    struct Case {
        const char* code;
        bool loads;
        size_t entries;
    };
    const Case cases[] = {
        {"de", true, 1},     {"es", true, 0},       {"bom", true, 1},     {"fr", false, 0},
        {"bad", false, 0},   {"dir", false, 0},     {"../secret", false, 0},
        {"..", false, 0},    {"lang/../../secret", false, 0},
    };
    for (const auto& c : cases) {
        auto catalog = load_language_file(c.code, settings.path());
        ASSERT_EQ(catalog.has_value(), c.loads) << c.code;
        if (catalog) {
            EXPECT_EQ(catalog->size(), c.entries) << c.code;
        }
    }
    EXPECT_EQ(load_language_file("de", settings.path())->at("common.save"), "Speichern");
    EXPECT_FALSE(load_language_file("de", std::nullopt).has_value());
    EXPECT_EQ(language_file_path(settings.path(), "de"), settings / "lang" / "de.lang");
    EXPECT_FALSE(language_file_path(std::nullopt, "de").has_value());
    EXPECT_FALSE(language_file_path(settings.path(), "../de").has_value());
}

TEST_F(CatalogTest, UnsafeCodeIsRefusedWithALogLine) {
    LogCapture capture;
    EXPECT_FALSE(load_language_file("../secret", std::filesystem::path("x")).has_value());
    EXPECT_TRUE(capture.contains("i18n: refusing unsafe language code \"../secret\""));
}

TEST_F(CatalogTest, StartupLanguage) {
    TempFolder settings;
    write_bytes(settings / "lang" / "de.lang", "common.save = Speichern\n");
    write_bytes(settings / "lang" / "es.lang", "# nothing translated yet\n");
    write_bytes(settings / "lang" / "en.lang", "common.save = Not used\n");
    struct Case {
        const char* language;
        bool installed;
        const char* current;
        const char* save_text;
    };
    const Case cases[] = {
        {"en", false, "", "Save"},
        {"de", true, "de", "Speichern"},
        {"es", true, "es", "Save"},
        {"fr", false, "", "Save"},
        {"", false, "", "Save"},
        {"../de", false, "", "Save"},
    };
    for (const auto& c : cases) {
        set_language("", {});
        EXPECT_EQ(apply_startup_language(c.language, settings.path()), c.installed) << c.language;
        EXPECT_EQ(current_language(), c.current) << c.language;
        EXPECT_EQ(tr("common.save"), c.save_text) << c.language;
    }
    set_language("", {});
    EXPECT_FALSE(apply_startup_language("de", std::nullopt));
    EXPECT_EQ(tr("common.save"), "Save");
}

TEST(LanguageList, EnglishFirstThenByNameStable) {
    const std::vector<LanguageIndexEntry> index = {
        {"nl", "Nederlands"}, {"el", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC"},
        {"de", "Deutsch"},    {"fr", "Fran\xC3\xA7" "ais"},
        {"en", "English (US)"}, {"de-CH", "Deutsch"},
        {"es", "Espa\xC3\xB1ol"}, {"xx", "deutsch"},
    };
    const std::vector<LanguageIndexEntry> expected = {
        {"en", "English"},
        {"de", "Deutsch"},
        {"de-CH", "Deutsch"},
        {"es", "Espa\xC3\xB1ol"},
        {"fr", "Fran\xC3\xA7" "ais"},
        {"nl", "Nederlands"},
        {"xx", "deutsch"},
        {"el", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC"},
    };
    EXPECT_EQ(language_list(index), expected);
    EXPECT_EQ(language_list({}), (std::vector<LanguageIndexEntry>{{"en", "English"}}));
}

TEST(DateFormat, SecondsToFileTimeSaturates) {
    struct Case {
        uint64_t seconds;
        uint64_t file_time;
    };
    const Case cases[] = {
        {0, 116444736000000000ull},
        {1, 116444736010000000ull},
        {1700000000, 133444736000000000ull},
        {1833029933770ull, 18446744073700000000ull},  // the last second that fits
        {1833029933771ull, UINT64_MAX},
        {UINT64_MAX - 11644473600ull, UINT64_MAX},
        {UINT64_MAX, UINT64_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(unix_seconds_to_file_time(c.seconds), c.file_time) << c.seconds;
}

TEST_F(CatalogTest, FormatDate) {
    // Out of the system's calendar range: no date, so callers show their no-date text.
    EXPECT_FALSE(format_date(UINT64_MAX).has_value());
    EXPECT_FALSE(format_date(1833029933770ull).has_value());
    auto english = format_date(1700000000);
    ASSERT_TRUE(english.has_value());
    EXPECT_FALSE(english->empty());
#ifdef _WIN32
    struct Case {
        const char* language;
        uint64_t seconds;
        const char* text;
    };
    // Formatted in UTC: 1700000000 is 2023-11-14 22:13:20 UTC.
    const Case cases[] = {
        {"en-US", 1700000000, "11/14/2023"},
        {"de", 1700000000, "14.11.2023"},
        {"de", 1702252800, "11.12.2023"},
        {"en-US", 1702252800, "12/11/2023"},
        {"xx-bogus", 1700000000, nullptr},
        {"ja", 1700000000, "2023/11/14"},
    };
    for (const auto& c : cases) {
        set_language(c.language, {});
        auto text = format_date(c.seconds);
        if (c.text) {
            EXPECT_EQ(text, c.text) << c.language;
        } else {
            EXPECT_FALSE(text.has_value()) << *text;
        }
    }
#else
    EXPECT_EQ(*english, "2023-11-14");
    EXPECT_EQ(format_date(0), "1970-01-01");
    EXPECT_EQ(format_date(951782400), "2000-02-29");
    EXPECT_EQ(format_date(4102444799), "2099-12-31");
#endif
}

}  // namespace
}  // namespace tw
