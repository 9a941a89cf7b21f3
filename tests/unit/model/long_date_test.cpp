// Dates written out in full, so that 3 October is never read as 10 March.
#include <gtest/gtest.h>

#include "core/model/catalog.h"
#include "core/views/dialog_views.h"

namespace tw {
namespace {

TEST(LongDate, DayMonthNameAndYear) {
    struct Case { uint64_t seconds; const char* text; };
    const Case cases[] = {
        {1790985600, "3 October 2026"},  // the release date the About dialog shows
        {0, "1 January 1970"},
        {951782400, "29 February 2000"},
        {4102444799, "31 December 2099"},
        {1700000000, "14 November 2023"},  // 22:13 UTC: the day in UTC
        {910670515199ull, "31 December 30827"},  // the last day of the Windows calendar
        {910670515200ull, nullptr},
        {1833029933771ull, nullptr},
        {UINT64_MAX, nullptr},
    };
    for (const Case& c : cases) {
        const auto text = format_long_date(c.seconds);
        if (c.text) {
            EXPECT_EQ(text, c.text) << c.seconds;
        } else {
            EXPECT_FALSE(text.has_value()) << *text;
        }
    }
    EXPECT_EQ(about_version_line("1.3.19", format_long_date(1790985600)), "Version 1.3.19 \u00B7 3 October 2026");
}

}  // namespace
}  // namespace tw
