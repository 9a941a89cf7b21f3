// What the engine asks the window system that the portable tests cannot answer: a
// window whose application stopped answering, the snapshot the confiner compares from
// pass to pass, and the state of the left button.
#include "app/engine/win32_desktop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace tw::app {
namespace {

// A window whose thread stops reading its messages is reported as not responding
// once the system gives up waiting for it (about five seconds).
TEST(Win32Desktop, WindowThatStopsAnsweringIsHung) {
    std::atomic<HWND> hwnd{nullptr};
    std::atomic<bool> release{false};
    std::thread app([&] {
        HWND w = CreateWindowExW(0, L"STATIC", L"busy", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        hwnd = w;
        while (!release) Sleep(50);  // busy, reading no messages
        DestroyWindow(w);
    });
    while (!hwnd) Sleep(10);
    Win32Desktop desktop;
    const WindowId id = to_window_id(hwnd);
    EXPECT_FALSE(desktop.is_hung(id));
    bool hung = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!(hung = desktop.is_hung(id)) && std::chrono::steady_clock::now() < deadline) Sleep(100);
    EXPECT_TRUE(hung);
    release = true;
    app.join();
    EXPECT_FALSE(desktop.is_hung(id)) << "a destroyed window";
}

// The confiner takes a window whose snapshot is unchanged as unchanged: every change
// it acts on shows in the snapshot.
TEST(Win32Desktop, SnapshotShowsEveryChangeTheConfinerActsOn) {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"app", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(hwnd);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    Win32Desktop desktop;
    const WindowId id = to_window_id(hwnd);
    struct Case {
        const char* what;
        void (*change)(HWND);
    };
    const Case cases[] = {
        {"moved", [](HWND h) { SetWindowPos(h, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }},
        {"maximised", [](HWND h) { ShowWindow(h, SW_MAXIMIZE); }},
        {"restored", [](HWND h) { ShowWindow(h, SW_RESTORE); }},
        {"minimised", [](HWND h) { ShowWindow(h, SW_MINIMIZE); }},
        {"shown again", [](HWND h) { ShowWindow(h, SW_RESTORE); }},
        {"made topmost", [](HWND h) { SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); }},
        {"made a tool window", [](HWND h) { SetWindowLongPtrW(h, GWL_EXSTYLE, GetWindowLongPtrW(h, GWL_EXSTYLE) | WS_EX_TOOLWINDOW); }},
        {"hidden", [](HWND h) { ShowWindow(h, SW_HIDE); }},
    };
    auto before = desktop.snapshot(id);
    ASSERT_TRUE(before);
    EXPECT_EQ(desktop.snapshot(id), before) << "nothing changed";
    for (const auto& c : cases) {
        c.change(hwnd);
        const auto after = desktop.snapshot(id);
        ASSERT_TRUE(after) << c.what;
        EXPECT_NE(*after, *before) << c.what;
        EXPECT_EQ(after->rect, desktop.window_rect(id)) << c.what;
        EXPECT_EQ((after->style & kWsMaximize) != 0, desktop.is_zoomed(id)) << c.what;
        EXPECT_EQ((after->style & kWsMinimize) != 0, desktop.is_iconic(id)) << c.what;
        EXPECT_EQ((after->style & kWsVisible) != 0, desktop.is_visible(id)) << c.what;
        EXPECT_EQ(after->ex_style, desktop.ex_style(id)) << c.what;
        before = after;
    }
    DestroyWindow(hwnd);
    EXPECT_FALSE(desktop.snapshot(id)) << "a destroyed window";
}

TEST(Win32Desktop, LeftButtonState) {
    Win32Desktop desktop;
    auto send = [](DWORD flags) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flags;
        return SendInput(1, &in, sizeof in) == 1;
    };
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    ASSERT_TRUE(send(swapped ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN));
    EXPECT_TRUE(desktop.left_button_down());
    ASSERT_TRUE(send(swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP));
    EXPECT_FALSE(desktop.left_button_down());
}

// Fixed size means: the user can neither drag a border nor maximise it.
TEST(Win32Desktop, FixedSizeIsNoSizingBorderAndNoMaximiseButton) {
    struct Case {
        const char* what;
        DWORD style;
        bool fixed;
    } cases[] = {
        {"ordinary window", WS_OVERLAPPEDWINDOW, false},
        {"caption and minimise button only, like a game", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, true},
        {"sizing border without maximise button", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME, false},
        {"maximise button without sizing border", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, false},
        {"borderless popup", WS_POPUP, true},
    };
    Win32Desktop desktop;
    for (const Case& c : cases) {
        HWND hwnd = CreateWindowExW(0, L"STATIC", L"app", c.style, 100, 100, 300, 200, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(hwnd) << c.what;
        EXPECT_EQ(desktop.is_fixed_size(to_window_id(hwnd)), c.fixed) << c.what;
        DestroyWindow(hwnd);
        EXPECT_FALSE(desktop.is_fixed_size(to_window_id(hwnd))) << c.what << ", destroyed";
    }
}

// Wine hides nothing from the user the way Windows cloaks the windows of other virtual
// desktops: the query fails there and every window counts as not cloaked. The engine's
// handling of cloaked windows is therefore tested only against the fake desktop.
TEST(Win32Desktop, WineCloaksNoWindow) {
    HWND w = CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    Win32Desktop desktop;
    EXPECT_FALSE(desktop.is_cloaked(to_window_id(w)));
    DestroyWindow(w);
    EXPECT_FALSE(desktop.is_cloaked(to_window_id(w))) << "a destroyed window";
}

}  // namespace
}  // namespace tw::app
