#include <gtest/gtest.h>

#include "core/net/changelog.h"

namespace tw {
namespace {

TEST(Changelog, Preparation) {
    struct Case {
        const char* name;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"headings lose their marks", "# Title\n### Sub  heading\n#NoSpace", "Title\nSub  heading\nNoSpace"},
        {"bullets", "- one\n* two\n+ three\n-not a bullet", "\u2022 one\n\u2022 two\n\u2022 three\n-not a bullet"},
        {"indentation stays", "  - nested\n\t* tabbed\n    ## deep", "  \u2022 nested\n\t\u2022 tabbed\n    deep"},
        {"markup removed", "**bold** _it_ `code` snake_case", "bold it code snakecase"},
        {"trailing white space", "text   \t\nmore  ", "text\nmore"},
        {"CR LF line ends", "a\r\nb\r\n\r\nc\r\n", "a\nb\n\nc"},
        {"blank runs collapse", "a\n\n\n   \n**\nb", "a\n\nb"},
        {"blank ends dropped", "\n\n  \n# \nbody\n\n\n", "body"},
        {"only blanks and markup", "\n  \n**\n#\n`` __\n", ""},
        {"nothing", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(prepare_changelog(c.text), c.expected) << c.name;
}

}  // namespace
}  // namespace tw
