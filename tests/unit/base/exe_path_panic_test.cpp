#include <gtest/gtest.h>

#include <string>

#include "core/base/exe_path.h"
#include "core/base/log.h"
#include "core/base/panic.h"

namespace tw {
namespace {

TEST(ExePath, NormalisedComparison) {
    struct Case { const char* a; const char* b; bool same; };
    for (auto [a, b, same] : {
             Case{"C:\\Apps\\Tilewright.exe", "c:/apps/tilewright.EXE", true},
             Case{"  \\\\?\\C:\\Apps\\Tilewright.exe\\ ", "C:\\Apps\\Tilewright.exe", true},
             Case{"C:\\Apps\\Tilewright.exe", "D:\\Apps\\Tilewright.exe", false},
         })
        EXPECT_EQ(same_exe_path(a, b), same) << a << " vs " << b;
    EXPECT_EQ(autostart_command("C:\\A b\\Tilewright.exe"), "\"C:\\A b\\Tilewright.exe\" --tray");
}

// Uninstalling one copy removes the Run value only when it starts that copy.
TEST(ExePath, ProgramOfRunValue) {
    struct Case { const char* command; const char* exe; };
    for (auto [command, exe] : {
             Case{"\"C:\\O'Brien's Apps\\Tilewright.exe\" --tray", "C:\\O'Brien's Apps\\Tilewright.exe"},
             Case{"  \"C:\\A\\Tilewright.exe\"", "C:\\A\\Tilewright.exe"},
             Case{"C:\\My Tools\\Tilewright.EXE --tray", "C:\\My Tools\\Tilewright.EXE"},
             Case{"C:\\setup.exes\\Tilewright.exe", "C:\\setup.exes\\Tilewright.exe"},
             Case{"tilewright --tray", "tilewright"},
             Case{"\"C:\\unterminated --tray", ""},
             Case{"", ""},
         })
        EXPECT_EQ(autostart_command_exe(command), exe) << command;
    EXPECT_EQ(autostart_command_exe(autostart_command("C:\\A b\\T.exe")), "C:\\A b\\T.exe");
}

TEST(Panic, LineFormat) {
    EXPECT_EQ(panic_line("core/x.cpp", 12, "check failed: a"), "PANIC at core/x.cpp:12: check failed: a");
    EXPECT_EQ(panic_line("f", 1, ""), "PANIC at f:1: <non-string panic>");
}

TEST(Panic, GuardedWorkerEndsOnlyItself) {
    LogCapture capture;
    bool after = false;
    EXPECT_FALSE(run_guarded([&] {
        TW_CHECK(1 + 1 == 3);
        after = true;
    }));
    EXPECT_FALSE(after);
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_NE(capture.lines()[0].find("PANIC at "), std::string::npos);
    EXPECT_NE(capture.lines()[0].find(": check failed: 1 + 1 == 3"), std::string::npos);
    EXPECT_TRUE(run_guarded([] {}));
}

}  // namespace
}  // namespace tw
