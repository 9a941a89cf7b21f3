#include <gtest/gtest.h>

#include "core/base/log_text.h"

namespace tw {
namespace {

// A server's text in a log line stays on that line and within reason.
TEST(LogText, ControlCharactersAreShownNotObeyed) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"1.4.0", "1.4.0"},
        {"1.4.0\nupdate: started the installer", "1.4.0\\x0Aupdate: started the installer"},
        {"a\r\tb\x1B[2J\x7F", "a\\x0D\\x09b\\x1B[2J\\x7F"},
        {"caf\xC3\xA9 \xE2\x80\x94", "caf\xC3\xA9 \xE2\x80\x94"},   // UTF-8 letters stay
        {"\xC2\x85next", "\\x85next"},                               // NEL, a C1 line break
        {"bad \xFF byte", "bad \xEF\xBF\xBD byte"},
        {std::string("nul\0x", 5), "nul\\x00x"},
    };
    for (const auto& c : cases) EXPECT_EQ(log_text(c.in), c.out) << c.in;
}

TEST(LogText, LongTextIsCutAtACharacterBoundary) {
    EXPECT_EQ(log_text(std::string(500, 'a')), std::string(kLogTextLimit, 'a') + "\u2026");
    EXPECT_EQ(log_text("ab\xC3\xA9", 3), "ab\u2026");   // é would pass the limit
    EXPECT_EQ(log_text("ab\n", 4), "ab\u2026");         // and so would \x0A
    EXPECT_EQ(log_text("abc", 3), "abc");
}

}  // namespace
}  // namespace tw
