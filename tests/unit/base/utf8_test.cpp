#include <gtest/gtest.h>

#include "core/base/utf8.h"

namespace tw {
namespace {

// The decoding rules themselves are tabled with the text metrics that use them.
TEST(Utf8, ReceivedTextBecomesValidWithReplacementCharacters) {
    const std::string r = "\xEF\xBF\xBD";  // U+FFFD
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"", ""},
        {"plain = text\n", "plain = text\n"},
        {"\xC3\xA9\xF0\x9F\x96\xA5", "\xC3\xA9\xF0\x9F\x96\xA5"},
        {"a\xFF" "b", "a" + r + "b"},
        {"\xE2\x82" "A", r + "A"},      // one replacement for the cut sequence
        {"\xED\xA0\x80", r + r + r},    // an encoded surrogate
    };
    for (const auto& c : cases) EXPECT_EQ(utf8_with_replacement(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace tw
