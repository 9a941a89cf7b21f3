#include <gtest/gtest.h>

#include <windows.h>

#include "app/engine/win32_desktop.h"

namespace tw::app {
namespace {

// Ctrl is read as the system has it right now, either key, apart from Shift.
TEST(Win32Desktop, CtrlKeyState) {
    Win32Desktop desktop;
    auto send = [](WORD vk, DWORD flags) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = flags;
        return SendInput(1, &in, sizeof in) == 1;
    };
    for (WORD vk : {WORD{VK_LCONTROL}, WORD{VK_RCONTROL}}) {
        ASSERT_TRUE(send(vk, 0));
        EXPECT_TRUE(desktop.ctrl_down()) << vk;
        EXPECT_FALSE(desktop.shift_down()) << vk;
        ASSERT_TRUE(send(vk, KEYEVENTF_KEYUP));
        EXPECT_FALSE(desktop.ctrl_down()) << vk;
    }
}

}  // namespace
}  // namespace tw::app
