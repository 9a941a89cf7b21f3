#include <gtest/gtest.h>

#include "core/net/encoding.h"
#include "core/net/https_url.h"

namespace tw {
namespace {

std::string text_of(const std::optional<std::vector<uint8_t>>& bytes) {
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<none>");
}

TEST(HttpsUrl, SplitsIntoHostAndPath) {
    struct Case {
        std::string url, host, path, error;
    };
    const Case cases[] = {
        {"https://example.com/a/b?x=1", "example.com", "/a/b?x=1", ""},
        {"https://example.com/", "example.com", "/", ""},
        {"https://example.com:8443/x#f", "example.com:8443", "/x#f", ""},  // no port handling
        {"https://example.com", "", "", "URL has no path"},
        {"http://example.com/a", "", "", "only https URLs are supported"},
        {"HTTPS://example.com/a", "", "", "only https URLs are supported"},
        {"", "", "", "only https URLs are supported"},
    };
    for (const auto& c : cases) {
        auto got = split_https_url(c.url);
        EXPECT_EQ(got.error, c.error) << c.url;
        if (c.error.empty()) {
            EXPECT_EQ(got.value, (HttpsTarget{c.host, c.path})) << c.url;
        }
    }
}

TEST(Encoding, PercentEncodesAllButUnreservedCharacters) {
    EXPECT_EQ(percent_encode("aZ09-._~"), "aZ09-._~");
    EXPECT_EQ(percent_encode("pt BR/&=?%+"), "pt%20BR%2F%26%3D%3F%25%2B");
    EXPECT_EQ(percent_encode("\xC3\xA9\n"), "%C3%A9%0A");
}

TEST(Encoding, Hexadecimal) {
    const uint8_t bytes[] = {0x00, 0x7f, 0xab, 0xff};
    EXPECT_EQ(hex_lower(bytes), "007fabff");
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"", ""},          {"414a", "AJ"},     {"414A", "AJ"},  // either case
        {"41 4a", "<none>"}, {"414", "<none>"}, {"4g", "<none>"}, {"\xC3\xA9", "<none>"},
    };
    for (const auto& c : cases) EXPECT_EQ(text_of(decode_hex(c.in)), c.out) << c.in;
}

TEST(Encoding, Base64) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"", ""},
        {"TWFu", "Man"},
        {"TWE=", "Ma"},
        {"TWE", "Ma"},                      // padding is optional
        {"TQ==", "M"},
        {"TWFu\r\nTWFu\n TW E=\t", "ManManMa"},  // broken over lines, spaces anywhere
        {"TW=Fu", "Man"},                   // "=" skipped wherever it is
        {"+/+/", "\xFB\xFF\xBF"},
        {"TWFuT", "<none>"},                // a final group of one character
        {"TWF-", "<none>"},                 // URL-safe alphabet is not accepted
        {"TWFu.", "<none>"},
    };
    for (const auto& c : cases) EXPECT_EQ(text_of(decode_base64(c.in)), c.out) << c.in;
}

TEST(Encoding, AsciiCaseInsensitiveComparison) {
    EXPECT_TRUE(equals_ignoring_ascii_case("ABCdef09", "abcDEF09"));
    EXPECT_FALSE(equals_ignoring_ascii_case("abc", "abcd"));
    EXPECT_FALSE(equals_ignoring_ascii_case("\xC3\xA9", "\xC3\x89"));  // only ASCII folds
}

}  // namespace
}  // namespace tw
