#include <gtest/gtest.h>

#include "core/base/utf16.h"

namespace tw {
namespace {

TEST(Utf16, ConvertsAndReplacesBrokenSurrogates) {
    struct Case {
        std::u16string in;
        std::string out;
    };
    const Case cases[] = {
        {u"", ""},
        {u"Dell U2720Q", "Dell U2720Q"},
        {u"\u00e9cran \u65e5\u672c", "\xC3\xA9" "cran \xE6\x97\xA5\xE6\x9C\xAC"},
        {u"\U0001F5A5", "\xF0\x9F\x96\xA5"},                                  // surrogate pair
        {std::u16string{u'a', char16_t(0xD83D), u'b'}, "a\xEF\xBF\xBD" "b"},  // lone high
        {std::u16string{char16_t(0xDDA5), u'x'}, "\xEF\xBF\xBDx"},            // lone low
        {std::u16string{u'x', char16_t(0xD83D)}, "x\xEF\xBF\xBD"},            // high at the end
        {std::u16string{char16_t(0xDDA5), char16_t(0xD83D)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},  // reversed pair
        {std::u16string{u'a', u'\0', u'b'}, std::string("a\0b", 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(utf16_to_utf8(c.in), c.out);
}

TEST(Utf16, BuffersEndAtTheFirstNulOrTheirLength) {
    const char16_t full[4] = {u'A', u'B', u'C', u'D'};
    const char16_t early[8] = {u' ', u'X', u' ', u'\0', u'J', u'U', u'N', u'K'};
    EXPECT_EQ(utf16_until_nul(full, 4), u"ABCD");
    EXPECT_EQ(utf16_until_nul(full, 2), u"AB");
    EXPECT_EQ(utf16_until_nul(early, 8), u" X ");
    EXPECT_EQ(utf16_until_nul(nullptr, 8), u"");
    EXPECT_EQ(name_from_utf16(early, 8), "X");
    EXPECT_EQ(name_from_utf16(full, 4), "ABCD");
}

TEST(Utf16, TrimsUnicodeWhiteSpaceOnly) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"  \t\r\nName \v\f", "Name"},
        {"\xC2\xA0" "LG\xE3\x80\x80", "LG"},                       // no-break and ideographic space
        {"\xE2\x80\x80\xE2\x80\x8A\xE2\x80\xAFX\xE2\x81\x9F", "X"},  // en quad, hair, narrow, math space
        {"A  B", "A  B"},
        {"\xE2\x80\x8B" "Z", "\xE2\x80\x8B" "Z"},  // zero-width space is not white space
        {"   ", ""},
        {"\xC2", "\xC2"},                          // a stray byte is kept
    };
    for (const auto& c : cases) EXPECT_EQ(trim_unicode_space(c.in), c.out);
}

TEST(Utf16, FitsFixedBuffersWithoutSplittingAPair) {
    const std::u16string pair = u"\U0001F600";  // two units
    struct Case {
        std::u16string text;
        size_t capacity;
        size_t fits;
    };
    const Case cases[] = {
        {u"Tilewright", 127, 10},
        {u"abcdef", 3, 3},
        {u"ab" + pair + u"c", 3, 2},   // the pair would be cut: it moves out whole
        {u"ab" + pair + u"c", 4, 4},
        {u"abc" + pair, 4, 3},
        {pair + u"x", 2, 2},           // the cut falls after the pair
        {pair, 1, 0},
        {u"", 0, 0},
        {u"x", 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(utf16_fit(c.text, c.capacity), c.fits) << c.capacity;
}

}  // namespace
}  // namespace tw
