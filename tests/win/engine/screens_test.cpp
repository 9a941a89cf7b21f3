// The screen list as Wine reports it: one primary monitor with a work area.
#include "app/engine/screens_win.h"

#include <gtest/gtest.h>

namespace tw::app {
namespace {

TEST(Screens, EnumeratesThePrimaryMonitor) {
    const auto screens = enumerate_screens();
    ASSERT_FALSE(screens.empty());
    EXPECT_TRUE(screens[0].primary);
    EXPECT_GT(screens[0].bounds.width(), 0);
    EXPECT_FALSE(screens[0].id.empty());
    EXPECT_FALSE(screens[0].name.empty());
    EXPECT_EQ(screens[0].dpi, 96u);  // Wine's monitors are unscaled unless told otherwise
    const Rect work = primary_work_area();
    EXPECT_GT(work.width(), 0);
    EXPECT_GT(work.height(), 0);
}

}  // namespace
}  // namespace tw::app
