#include <gtest/gtest.h>

#include "core/net/manifest.h"

namespace tw {
namespace {

TEST(Manifest, StringFieldsWithJsonEscapes) {
    struct Case {
        std::string body;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {R"({"k":"plain"})", "plain"},
        {"{\"k\" :\n\t \"spaced\"}", "spaced"},
        {R"({"k":"a\"b\/c\\d\b\f\n\r\t"})", "a\"b/c\\d\b\f\n\r\t"},
        {R"({"k":"\u00e9\u20AC"})", "\xC3\xA9\xE2\x82\xAC"},
        {R"({"k":"\ud83d\ude00"})", "\xF0\x9F\x98\x80"},       // a surrogate pair
        {R"({"k":"\ud83d"})", std::nullopt},                   // lone high surrogate
        {R"({"k":"\ud83dx\ude00"})", std::nullopt},
        {R"({"k":"\ude00"})", std::nullopt},                   // lone low surrogate
        {R"({"k":"\ud83d\u0041"})", std::nullopt},             // high followed by a non-low
        {R"({"k":"\x41"})", std::nullopt},                     // not a JSON escape
        {R"({"k":"\u12G4"})", std::nullopt},
        {R"({"k":"\u12")", std::nullopt},
        {R"({"k":"unterminated)", std::nullopt},
        {R"({"k":140})", std::nullopt},                        // not a string
        {R"({"k" "x"})", std::nullopt},                        // no colon after the key
        {R"({"other":"x"})", std::nullopt},
        {R"({"k":"first","k":"second"})", "first"},
        {R"({"note":"see \"k\"","k":"real"})", "real"},        // an escaped quote is not the key
    };
    for (const auto& c : cases) EXPECT_EQ(manifest_field(c.body, "k"), c.value) << c.body;
}

TEST(Manifest, AllFiveFieldsAreRequired) {
    const std::string good =
        R"({"version": "1.4.0", "changelog": "# New\n- faster", "download_url": "https://h/s.exe",)"
        R"( "sha256": "AB01", "signature": "c2ln\nbmF0dXJl=="})";
    auto info = parse_update_manifest(good);
    ASSERT_TRUE(info) << info.error;
    EXPECT_EQ(*info.value, (UpdateInfo{"1.4.0", "# New\n- faster", "https://h/s.exe", "AB01", "c2ln\nbmF0dXJl=="}));

    const std::string broken[] = {
        R"({"version": "1.4.0", "changelog": "", "download_url": "https://h/s.exe", "sha256": "AB01"})",
        R"({"version": 1.4, "changelog": "", "download_url": "u", "sha256": "s", "signature": "g"})",
        "<html><body><h1>404 Not Found</h1></body></html>",
        "",
    };
    for (const auto& body : broken) {
        auto got = parse_update_manifest(body);
        EXPECT_FALSE(got) << body;
        EXPECT_EQ(got.error, "malformed update manifest");
    }
}

}  // namespace
}  // namespace tw
