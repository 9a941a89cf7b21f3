// The shortcuts window and the colour, About and update dialogs as windows: what they
// do to the main window, the program's hotkeys, the theme and the settings file.
// Headers that bring core declarations come before <windows.h> and its "near" macro.
#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/engine/hotkeys_win.h"
#include "app/windows/about_dialog.h"
#include "app/windows/color_dialog.h"
#include "app/windows/shortcuts_window.h"
#include "app/windows/update_dialog.h"
#include "core/views/dialog_views.h"
#include "support/env.h"
#include "support/temp_folder.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

namespace tw::app {
namespace {

using test::TestWindow;

// At 96 DPI (Wine's) a DIP is a pixel.
void click(HWND hwnd, int x, int y) {
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void key(HWND hwnd, UINT vk) { SendMessageW(hwnd, WM_KEYDOWN, vk, 0); }

// Ctrl and Alt held, as GetKeyState sees them on this thread.
void hold_ctrl_alt(bool down) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_MENU] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Whether another window could register the combination now.
bool free_combination(UINT modifiers, UINT vk) {
    TestWindow other(10, 10);
    if (!RegisterHotKey(other.hwnd(), 7, modifiers, vk)) return false;
    UnregisterHotKey(other.hwnd(), 7);
    return true;
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        state.instance = GetModuleHandleW(nullptr);
        state.main = main.hwnd();
        save_settings(state.settings);  // the file as the program keeps it
    }
    void TearDown() override { theme_state() = saved_theme; }

    test::TempFolder folder;
    test::ScopedEnv appdata{"APPDATA", folder.path()};
    ThemeState saved_theme = theme_state();
    TestWindow main{580, 734};
    AppState state;
};

TEST_F(Dialogs, ColourCancelKeepsTheOpeningColourOnScreenAndOnDisk) {
    const auto before = test::read_bytes(*settings_path());
    open_color_dialog(state);
    const HWND dialog = state.color_dialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main.hwnd()));
    click(dialog, 330, 104);  // the sixth preset
    EXPECT_EQ(theme_state().accent, 0x10B981u);
    EXPECT_EQ(test::read_bytes(*settings_path()), before);  // applied, not saved
    // Something else saves while the trial colour is in force (a layout hotkey).
    save_settings(state.settings);
    key(dialog, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(state.color_dialog, nullptr);
    EXPECT_EQ(theme_state().accent, kDefaultAccent);
    EXPECT_EQ(test::read_bytes(*settings_path()), before);
    EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
}

TEST_F(Dialogs, ColourDoneSavesATypedColour) {
    open_color_dialog(state);
    const HWND dialog = state.color_dialog;
    ASSERT_NE(dialog, nullptr);
    for (int i = 0; i < 7; ++i) key(dialog, VK_BACK);
    for (const wchar_t c : std::wstring(L"#3050F0")) SendMessageW(dialog, WM_CHAR, c, 0);
    EXPECT_EQ(theme_state().accent, 0x3050F0u);  // a complete colour shows at once
    key(dialog, VK_RETURN);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(state.settings.accent_color, 0x3050F0u);
    EXPECT_NE(test::read_bytes(*settings_path())->find("\"AccentColor\": \"#3050f0\""), std::string::npos);
}

TEST_F(Dialogs, ShortcutsFreeEveryHotkeyWhileOpenAndRegisterTheSavedOnes) {
    register_engine_hotkeys(main.hwnd(), state.settings);
    register_share_hotkeys(main.hwnd(), state.settings);
    constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
    EXPECT_FALSE(free_combination(kCtrlAlt, 'R'));
    EXPECT_FALSE(free_combination(kCtrlAlt | MOD_SHIFT, 'D'));  // Extend right
    TestWindow holder(10, 10);
    ASSERT_TRUE(RegisterHotKey(holder.hwnd(), 1, kCtrlAlt, 'K'));  // another program's

    // The main window mostly off the bottom right: the window centred on it is
    // still kept on the screen.
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(main.hwnd(), MONITOR_DEFAULTTONEAREST), &mi));
    SetWindowPos(main.hwnd(), nullptr, mi.rcWork.right - 200, mi.rcWork.bottom - 200, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    open_shortcuts_window(state);
    const HWND window = state.shortcuts_window;
    ASSERT_NE(window, nullptr);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ((Rect{r.left, r.top, r.right, r.bottom}),
              (Rect{mi.rcWork.right - 640, mi.rcWork.bottom - 756, mi.rcWork.right, mi.rcWork.bottom}));
    EXPECT_FALSE(IsWindowEnabled(main.hwnd()));
    EXPECT_TRUE(free_combination(kCtrlAlt, 'R'));
    EXPECT_TRUE(free_combination(kCtrlAlt, '1'));
    EXPECT_TRUE(free_combination(kCtrlAlt | MOD_SHIFT, 'D'));

    hold_ctrl_alt(true);
    click(window, 500, 113);  // Change, Hide / Show zones
    key(window, 'K');         // held: refused, the capture goes on
    key(window, 'R');         // Start / Stop has it: refused
    key(window, 'J');
    click(window, 500, 75);   // Change, Start / Stop
    key(window, 'Y');
    hold_ctrl_alt(false);
    click(window, 66, 725);   // Save
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(state.shortcuts_window, nullptr);
    EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
    EXPECT_EQ(state.settings.hotkeys[0], (HotkeyBinding{kCtrlAlt, 'Y'}));
    EXPECT_EQ(state.settings.hotkeys[1], (HotkeyBinding{kCtrlAlt, 'J'}));
    EXPECT_FALSE(free_combination(kCtrlAlt, 'Y'));
    EXPECT_TRUE(free_combination(kCtrlAlt, 'R'));
    EXPECT_FALSE(free_combination(kCtrlAlt, '1'));
    EXPECT_FALSE(free_combination(kCtrlAlt | MOD_SHIFT, 'D'));
    EXPECT_EQ(load_settings().hotkeys, state.settings.hotkeys);
    unregister_engine_hotkeys(main.hwnd());
    unregister_share_hotkeys(main.hwnd());
}

TEST_F(Dialogs, AboutIsCentredAndDragsByItsCaption) {
    open_about_dialog(state);
    const HWND dialog = state.about_dialog;
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(main.hwnd(), MONITOR_DEFAULTTONEAREST), &mi));
    const Point origin = dialog_origin({mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom},
                                       kAboutWidth, kAboutHeight);
    RECT r{};
    GetWindowRect(dialog, &r);
    EXPECT_EQ((Rect{r.left, r.top, r.right, r.bottom}),
              (Rect{origin.x, origin.y, origin.x + kAboutWidth, origin.y + kAboutHeight}));
    struct Case {
        int x, y;
        LRESULT hit;
    };
    const Case cases[] = {{100, 20, HTCAPTION}, {kAboutWidth - 20, 20, HTCLIENT}, {100, 100, HTCLIENT}};
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageW(dialog, WM_NCHITTEST, 0, MAKELPARAM(r.left + c.x, r.top + c.y)), c.hit) << c.x;
    open_about_dialog(state);  // at most one
    EXPECT_EQ(state.about_dialog, dialog);
    key(dialog, VK_ESCAPE);
    EXPECT_EQ(state.about_dialog, nullptr);
}

TEST_F(Dialogs, UpdateOfferFromDownloadToInstallerReady) {
    const UpdateInfo info{"2.0.0", "# New\n- one\n- two", "https://example.org/setup.exe", "", ""};
    state.net.known_update = info;  // as the check that offers it records it
    open_update_dialog(state, info, false);
    const HWND first = state.update_dialog;
    ASSERT_NE(first, nullptr);
    RECT r{};
    GetWindowRect(first, &r);
    EXPECT_EQ(r.right - r.left, kUpdateWidth);
    EXPECT_EQ(r.bottom - r.top, 220);  // three short lines: the smallest dialog

    key(first, VK_RETURN);  // Install: the download starts, the dialog waits disabled
    EXPECT_FALSE(IsWindowEnabled(first));
    open_update_dialog(state, info, false);  // a later check: the same dialog
    EXPECT_EQ(state.update_dialog, first);
    enable_update_dialog(state);  // the download failed
    EXPECT_TRUE(IsWindowEnabled(first));

    open_update_dialog(state, info, true);  // the download succeeded: a new dialog
    const HWND ready = state.update_dialog;
    EXPECT_FALSE(IsWindow(first));
    ASSERT_NE(ready, nullptr);
    key(ready, VK_RETURN);  // no verified installer here: nothing runs, the dialog stays
    EXPECT_TRUE(IsWindow(ready));
    EXPECT_FALSE(state.net.ready_installer);

    RECT rr{};
    GetWindowRect(ready, &rr);
    click(ready, 400, rr.bottom - rr.top - 31);  // Skip this version
    EXPECT_EQ(state.update_dialog, nullptr);
    EXPECT_EQ(state.settings.skipped_update_version, "2.0.0");
    EXPECT_EQ(load_settings().skipped_update_version, "2.0.0");

    open_offered_update_dialog(state);  // the main window's update link
    ASSERT_NE(state.update_dialog, nullptr);
    key(state.update_dialog, VK_ESCAPE);
    EXPECT_EQ(state.update_dialog, nullptr);
}

}  // namespace
}  // namespace tw::app
