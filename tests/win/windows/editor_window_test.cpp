// The layout editor window on Win32: its class, owner and size, the caption band, the
// main window disabled while it is open, and a layout added by keys and clicks that
// reaches the settings file.
#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/windows/editor_window.h"
#include "core/views/editor_view.h"
#include "support/temp_folder.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <string>

namespace tw::app {
namespace {

using test::TestWindow;

LRESULT hit_at(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

void click(HWND hwnd, int x, int y, WPARAM keys = 0) {
    SendMessageW(hwnd, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
    SendMessageW(hwnd, WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(hwnd, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}

void type(HWND hwnd, const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c) SendMessageW(hwnd, WM_CHAR, *c, 0);
}

RECT window_rect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

TEST(EditorWindow, OpensOverTheDisabledMainWindowAndSavesWhatIsTyped) {
    test::TempFolder appdata;
    test::ScopedEnv env("APPDATA", appdata.path());
    TestWindow main(580, 700);
    AppState state;
    state.instance = GetModuleHandleW(nullptr);
    state.main = main.hwnd();
    ScreenLayout screen = new_screen_layout("S", "Screen");
    state.settings.screens.push_back(screen);
    state.settings.selected_screen = "S";

    open_editor(state);
    const HWND editor = state.editor;
    ASSERT_NE(editor, nullptr);
    wchar_t cls[64] = {};
    GetClassNameW(editor, cls, 64);
    EXPECT_EQ(std::wstring(cls), L"TilewrightEditor");
    EXPECT_EQ(GetWindow(editor, GW_OWNER), main.hwnd());
    EXPECT_NE(GetWindowLongPtrW(editor, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_FALSE(IsWindowEnabled(main.hwnd()));
    // Four default layouts: their rows, then the buttons 30 high and the margin.
    const int buttons = 76 + 56 * 4;
    RECT r = window_rect(editor);
    EXPECT_EQ(r.right - r.left, 480);
    EXPECT_EQ(r.bottom - r.top, buttons + 30 + 16);
    EXPECT_EQ(hit_at(editor, 20, 20), HTCAPTION);
    EXPECT_EQ(hit_at(editor, 460, 20), HTCLIENT);  // the close glyph
    EXPECT_EQ(hit_at(editor, 20, 60), HTCLIENT);
    open_editor(state);  // a second request finds the open window
    EXPECT_EQ(state.editor, editor);

    click(editor, 58, buttons + 15);  // Add: the edit view, typing goes to the name
    r = window_rect(editor);
    EXPECT_EQ(r.bottom - r.top, 220 + 288 + 28 * 3 + 66 + 16);
    type(editor, L"Wide");
    // Tab walks every control in reading order: the four templates, Rows + (Rows − is
    // off with one row), Columns − and +, Spacing + (Spacing − is off at 0), the canvas,
    // then the width of zone 1.
    for (int i = 0; i < 10; ++i) SendMessageW(editor, WM_KEYDOWN, VK_TAB, 0);  // all selected
    type(editor, L"left");
    SendMessageW(editor, WM_KEYDOWN, VK_BACK, 0);
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);  // in a size field: only a commit
    ASSERT_EQ(state.settings.screens[0].layouts.size(), 4u);
    SendMessageW(editor, WM_KEYDOWN, VK_TAB, 0);     // height of zone 1
    SendMessageW(editor, WM_KEYDOWN, VK_TAB, 0);     // its unit button
    SendMessageW(editor, WM_KEYDOWN, VK_TAB, 0);     // width of zone 2
    type(editor, L"50%");
    SendMessageW(editor, WM_KEYDOWN, VK_TAB, 0);
    click(editor, 30, 90);                            // the name field: Enter saves
    SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);

    ASSERT_EQ(state.settings.screens[0].layouts.size(), 5u);
    const Layout& saved = state.settings.screens[0].layouts.back();
    EXPECT_EQ(saved.name, "Wide");
    ASSERT_EQ(saved.zones.size(), 3u);
    EXPECT_NEAR(saved.zones[1].right - saved.zones[1].left, 0.5, 1e-9);
    EXPECT_NEAR(saved.zones[0].right - saved.zones[0].left, 1 / 3.0, 1e-9);
    const std::string file = test::read_bytes(appdata / "Tilewright" / "settings.json").value_or("");
    EXPECT_NE(file.find("\"Wide\""), std::string::npos);
    EXPECT_EQ(window_rect(editor).bottom - window_rect(editor).top, 76 + 56 * 5 + 30 + 16);

    SendMessageW(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(state.editor, nullptr);
    EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
}

}  // namespace
}  // namespace tw::app
