#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/model/catalog.h"
#include "core/base/files.h"
#include "core/base/key_value.h"
#include "support/temp_folder.h"

namespace tw {
namespace {

// Random text that leans towards the characters the readers care about, so that
// keys, comments, separators, marks and broken UTF-8 sequences all turn up often.
std::string random_text(std::mt19937& rng, size_t max_size) {
    using namespace std::string_literals;
    static const std::string interesting = "=#\n\r\t \xEF\xBB\xBF\xC3\xE2\x80\xFF\x00{}ab"s;
    std::uniform_int_distribution<size_t> size(0, max_size);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<size_t> pick(0, interesting.size());
    std::string text(size(rng), '\0');
    for (char& c : text) {
        const size_t i = pick(rng);
        c = i < interesting.size() ? interesting[i] : static_cast<char>(byte(rng));
    }
    return text;
}

bool has_outer_space(std::string_view s) { return trim_view(s).size() != s.size(); }

TEST(TextRobustness, CatalogParserOnRandomBytes) {
    for (uint32_t seed : {1u, 2u, 3u, 42u, 1234u}) {
        std::mt19937 rng(seed);
        for (int round = 0; round < 300; ++round) {
            const std::string text = random_text(rng, 2000);
            const Catalog catalog = parse_catalog(text);
            for (const auto& [key, value] : catalog) {
                ASSERT_FALSE(key.empty()) << seed;
                ASSERT_NE(key.front(), '#') << seed;
                ASSERT_EQ(key.find('='), std::string::npos) << seed;
                ASSERT_EQ(key.find('\n'), std::string::npos) << seed;
                ASSERT_EQ(value.find('\n'), std::string::npos) << seed;
                ASSERT_FALSE(has_outer_space(key) || has_outer_space(value)) << seed;
            }
        }
    }
}

TEST(TextRobustness, KeyValueReaderOnRandomBytes) {
    for (uint32_t seed : {7u, 8u, 9u, 99u, 4321u}) {
        std::mt19937 rng(seed);
        for (int round = 0; round < 300; ++round) {
            const KeyValues values = parse_key_values(random_text(rng, 2000));
            for (const auto& [key, value] : values) {
                ASSERT_EQ(key.find('='), std::string::npos) << seed;
                ASSERT_EQ(key.find('\n'), std::string::npos) << seed;
                ASSERT_EQ(value.find('\n'), std::string::npos) << seed;
                ASSERT_FALSE(has_outer_space(key) || has_outer_space(value)) << seed;
                (void)parse_u64(value);
            }
        }
    }
}

TEST(TextRobustness, LanguageFilesOfRandomBytes) {
    test::TempFolder settings;
    std::mt19937 rng(77);
    for (int round = 0; round < 40; ++round) {
        const std::string text = random_text(rng, 4000);
        test::write_bytes(settings / "lang" / "zz.lang", text);
        auto catalog = load_language_file("zz", settings.path());
        // Only text that is valid UTF-8 loads at all.
        EXPECT_EQ(catalog.has_value(), is_valid_utf8(text));
    }
}

}  // namespace
}  // namespace tw
