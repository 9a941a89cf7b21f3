// "--command" against a real main window in this process: what the sender makes of the
// main window's answers, and what the main window does with messages no sender of ours
// would write.
#include "app/app_state.h"
#include "app/command/command_sender.h"
#include "app/engine/engine_shell_win.h"
#include "app/engine/screens_win.h"
#include "app/windows/main_window.h"
#include "core/base/log.h"
#include "core/model/handover.h"
#include "core/views/remote_command.h"
#include "support/env.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace tw::app {
namespace {

WNDPROC g_main_proc = nullptr;

// A main window from before commands existed: WM_COPYDATA is not its business.
LRESULT CALLBACK old_version_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) return DefWindowProcW(hwnd, msg, wp, lp);
    return CallWindowProcW(g_main_proc, hwnd, msg, wp, lp);
}

struct CommandRig {
    test::TempFolder appdata;
    test::ScopedEnv env{"APPDATA"};
    AppState state;

    CommandRig() {
        env.set(appdata.path());
        set_app_state(&state);
        state.instance = GetModuleHandleW(nullptr);
        register_main_class(state.instance);
        state.shell = std::make_unique<Win32EngineShell>(state);
        state.engine = std::make_unique<Engine>(state.desktop, state.clock, *state.shell, nullptr);
        state.screens = enumerate_screens();
        ScreenLayout entry = new_screen_layout(state.screens.at(0).id, state.screens[0].name);
        entry.layouts = {Layout{"Halves", {Zone{0, 0, 0.5, 1}, Zone{0.5, 0, 1, 1}}},
                         Layout{"Full", {Zone{0, 0, 1, 1}}}};
        entry.active_layout = "Halves";
        state.settings.screens = {entry};
        state.settings.selected_screen = entry.id;
        create_main_window(state);
        state.engine->set_main_window(to_window_id(state.main));
    }
    ~CommandRig() {
        if (IsWindow(state.main)) DestroyWindow(state.main);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}
        state.engine.reset();
        state.shell.reset();
        set_app_state(nullptr);
    }
    LRESULT raw(ULONG_PTR tag, const void* data, DWORD size) {
        COPYDATASTRUCT cds{tag, size, const_cast<void*>(data)};
        return SendMessageW(state.main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    }
};

TEST(Command, SenderReportsWhatTheMainWindowAnswers) {
    CommandRig r;
    LogCapture log;
    EXPECT_EQ(send_command({L"layout", L"Full"}), 0);
    EXPECT_EQ(r.state.settings.screens[0].active_layout, "Full");
    EXPECT_EQ(send_command({L"layout", L"full"}), 3);
    EXPECT_EQ(send_command({L"zones", L"blink"}), 2);
    EXPECT_EQ(send_command({L"status"}), 0);
    EXPECT_TRUE(log.contains("command: sent \"layout Full\" -> 0 Layout \"Full\" applied on " +
                             r.state.screens[0].name + "."));
    EXPECT_TRUE(log.contains("command: \"zones blink\" -> 2 Wrong arguments. Usage: zones show|hide|toggle"));

    // An older Tilewright answers 0: not a success, and said so.
    g_main_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(r.state.main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_version_proc)));
    EXPECT_EQ(send_command({L"status"}), 1);
    EXPECT_TRUE(log.contains("command: sent \"status\" -> 1 The running Tilewright does not take commands; update it."));
    SetWindowLongPtrW(r.state.main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_main_proc));

    DestroyWindow(r.state.main);
    EXPECT_EQ(send_command({L"status"}), 1);
    EXPECT_EQ(send_command({L"launch", L"calc.exe"}), 2);  // what could never work says why first
}

TEST(Command, MainWindowRefusesWhatNoSenderOfOursWrites) {
    CommandRig r;
    const std::string status("status\0", 7);
    EXPECT_EQ(r.raw(kRemoteCommandTag, status.data(), 7), remote_result(RemoteCode::Done));
    EXPECT_EQ(r.raw(kRemoteCommandTag + 1, status.data(), 7), 0);  // not a command
    // Sizes beyond the cap, a size without data, text that is not UTF-8, no final zero byte.
    EXPECT_EQ(r.raw(kRemoteCommandTag, nullptr, 0x7FFFFFFF), remote_result(RemoteCode::BadCommand));
    EXPECT_EQ(r.raw(kRemoteCommandTag, nullptr, 7), remote_result(RemoteCode::BadCommand));
    EXPECT_EQ(r.raw(kRemoteCommandTag, "layout\0\xFF\0", 10), remote_result(RemoteCode::BadCommand));
    EXPECT_EQ(r.raw(kRemoteCommandTag, status.data(), 6), remote_result(RemoteCode::BadCommand));
    EXPECT_EQ(r.state.settings.screens[0].active_layout, "Halves");
}

TEST(Command, OnlyAReplacingCopyLeavesTheRunningStateForTheNextStart) {
    struct Case {
        const char* what;
        std::function<void(CommandRig&)> end;
        bool left;
    };
    const Case cases[] = {
        {"a newer copy takes over", [](CommandRig& r) { PostMessageW(r.state.main, kMsgExit, 0, 0); }, true},
        {"the exit command", [](CommandRig&) { EXPECT_EQ(send_command({L"exit"}), 0); }, false},
    };
    for (const Case& c : cases) {
        test::TempFolder tmp;
        test::ScopedEnv env{"TMP"};
        env.set(tmp.path());
        CommandRig r;
        c.end(r);
        MSG msg;
        while (IsWindow(r.state.main) && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        EXPECT_FALSE(IsWindow(r.state.main)) << c.what;
        EXPECT_EQ(std::filesystem::exists(handover_path().value()), c.left) << c.what;
    }
}

}  // namespace
}  // namespace tw::app
