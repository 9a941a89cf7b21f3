// What the engine asks the window system that the portable tests cannot answer: a
// window whose application stopped answering, and the state of the left button.
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

}  // namespace
}  // namespace tw::app
