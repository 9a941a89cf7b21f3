#include <gtest/gtest.h>

#include "core/base/sys/sys.h"
#include "core/model/handover.h"
#include "support/env.h"
#include "support/temp_folder.h"

namespace tw {
namespace {

constexpr uint64_t kNow = 1'800'000'000;

TEST(Handover, ReadsOnlyACompleteFreshText) {
    struct Case { std::string what, text; std::optional<RunningState> read; };
    const Case cases[] = {
        {"running, zones shown", handover_text({true, true}, kNow), RunningState{true, true}},
        {"running, zones hidden", handover_text({true, false}, kNow - 600), RunningState{true, false}},
        {"stopped", handover_text({false, true}, kNow + 60), RunningState{false, true}},
        {"older than ten minutes", handover_text({true, true}, kNow - 601), std::nullopt},
        {"from the future", handover_text({true, true}, kNow + 61), std::nullopt},
        {"no time", "engine=running\nzones=shown\n", std::nullopt},
        {"unknown word", "written=1800000000\nengine=yes\nzones=shown\n", std::nullopt},
        {"zones missing", "written=1800000000\nengine=running\n", std::nullopt},
        {"CRLF and a BOM", "\xEF\xBB\xBFwritten=1800000000\r\nengine=running\r\nzones=hidden\r\n",
         RunningState{true, false}},
        {"garbage", std::string("\0\xff=\n=", 5), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(read_handover(c.text, kNow), c.read) << c.what;
}

// The replaced instance's state wins over AutoStart; without one AutoStart decides.
TEST(Handover, StartPlan) {
    struct Case { bool auto_start; std::optional<RunningState> handed; StartPlan plan; };
    const Case cases[] = {
        {false, std::nullopt, {false, false}},
        {true, std::nullopt, {true, false}},
        {false, RunningState{true, true}, {true, false}},
        {false, RunningState{true, false}, {true, true}},
        {true, RunningState{false, true}, {false, false}},
        {true, RunningState{false, false}, {false, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plan_start(c.auto_start, c.handed), c.plan) << c.auto_start << " " << c.handed.has_value();
}

// Left by the exiting copy, taken once by the next one.
TEST(Handover, FileIsTakenOnce) {
    test::TempFolder dir;
    test::ScopedEnv tmp("TMP"), temp("TEMP"), tmpdir("TMPDIR");
    tmp.set(dir.path());
    temp.set(dir.path());
    tmpdir.set(dir.path());
    ASSERT_EQ(handover_path(), sys::temp_dir().value() / "tilewright-handover.txt");
    EXPECT_EQ(take_handover(kNow), std::nullopt);
    ASSERT_TRUE(leave_handover({true, false}, kNow));
    EXPECT_EQ(take_handover(kNow + 5), (RunningState{true, false}));
    EXPECT_EQ(take_handover(kNow + 5), std::nullopt);
    ASSERT_TRUE(leave_handover({true, true}, kNow));
    EXPECT_EQ(take_handover(kNow + 3600), std::nullopt);  // stale, and removed all the same
    EXPECT_FALSE(std::filesystem::exists(*handover_path()));
}

}  // namespace
}  // namespace tw
