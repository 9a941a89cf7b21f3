// Which downloaded language files may replace a stored one, and which finished
// download the user interface takes on.
#include <gtest/gtest.h>

#include "core/model/language_pack.h"

namespace tw {
namespace {

// A translation of the first `count` English keys.
std::string translation(size_t count, std::string_view extra = "") {
    std::string text = "# Deutsch\n\n";
    size_t n = 0;
    for (const auto& [key, value] : english_catalog()) {
        if (n++ == count) break;
        text += key + " = [de] " + value + "\r\n";
    }
    return text + std::string(extra);
}

TEST(LanguagePack, OnlyACatalogOfThisProgramIsAccepted) {
    const std::string soft_404 =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Not found</title></head>\n"
        "<body>a = b</body></html>\n";
    struct Case {
        std::string what, text;
        std::string error;  // empty: accepted
    };
    const Case cases[] = {
        {"a whole translation", translation(1000), ""},
        {"a partial translation", translation(20), ""},
        {"with a byte-order mark", "\xEF\xBB\xBF" + translation(20), ""},
        {"a newer key this version lacks", translation(20, "main.future_thing = Neu\n"), ""},
        {"an error page served with 200", soft_404, "downloaded language file is not a language file (line 1)"},
        {"an error page ending in good lines", translation(20, "<p>oops</p>\n"),
         "downloaded language file is not a language file (line 23)"},
        {"a key with spaces", translation(5, "main status = x\n"),
         "downloaded language file is not a language file (line 8)"},
        {"a key without a group", translation(5, "title = x\n"),
         "downloaded language file is not a language file (line 8)"},
        {"only comments", "# nothing here\n\n# nor here\n", "downloaded language file had no valid entries"},
        {"an empty body", "", "downloaded language file had no valid entries"},
        {"another program's strings", "app.one = 1\napp.two = 2\nmain.status_idle = x\n",
         "downloaded language file has only 1 of its 3 keys in the English catalog"},
    };
    for (const auto& c : cases) {
        const LanguageFileCheck check = accept_language_file(c.text, english_catalog(), std::nullopt);
        EXPECT_EQ(check.error, c.error) << c.what;
        EXPECT_EQ(check.catalog.has_value(), c.error.empty()) << c.what;
    }
}

TEST(LanguagePack, AStoredFileIsNotReplacedByOneCoveringFarFewerKeys) {
    const Catalog stored = parse_catalog(translation(100));
    struct Case {
        size_t keys;
        bool accepted;
    };
    const Case cases[] = {{100, true}, {120, true}, {50, true}, {49, false}, {1, false}};
    for (const auto& c : cases) {
        const LanguageFileCheck check = accept_language_file(translation(c.keys), english_catalog(), stored);
        EXPECT_EQ(check.catalog.has_value(), c.accepted) << c.keys;
        if (!c.accepted) {
            EXPECT_EQ(check.error, "downloaded language file covers " + std::to_string(c.keys) +
                                       " keys, the stored file 100");
        }
    }
    // A stored file that was empty or foreign does not hold a good one back.
    EXPECT_TRUE(accept_language_file(translation(3), english_catalog(), Catalog{}).catalog);
}

TEST(LanguagePack, TheUsersLatestPickWins) {
    using Pick = std::optional<std::string>;
    struct Case {
        const char* what;
        const char* finished;
        bool succeeded;
        Pick pick;
        const char* in_force;
        bool install;
        Pick next;
    };
    const Case cases[] = {
        {"refresh of the current language", "fr", true, std::nullopt, "fr", true, std::nullopt},
        {"refresh ending after a pick of a stored language", "fr", true, std::nullopt, "it", false, std::nullopt},
        {"refresh ending after a pick of English", "fr", true, std::nullopt, "en", false, std::nullopt},
        {"the picked language arrives", "de", true, "de", "fr", true, std::nullopt},
        {"the picked language failed", "de", false, "de", "fr", false, std::nullopt},
        {"refresh ending while a pick waits", "fr", true, "de", "fr", false, "de"},
        {"failed refresh while a pick waits", "fr", false, "de", "fr", false, "de"},
        {"an earlier pick overtaken by a later one", "de", true, "es", "fr", false, "es"},
    };
    for (const auto& c : cases) {
        const LanguageDownloadEnd end = finish_language_download(c.finished, c.succeeded, c.pick, c.in_force);
        EXPECT_EQ(end.install, c.install) << c.what;
        EXPECT_EQ(end.next, c.next) << c.what;
    }
}

}  // namespace
}  // namespace tw
