// Mouse messages over a widget list, the clipboard, the caret blink and the system
// theme value.
// Headers that bring core declarations come before <windows.h> and its "near" macro.
#include "app/toolkit/drawn_window.h"

#include "app/toolkit/caret_blink.h"
#include "app/toolkit/clipboard.h"
#include "app/platform/system_theme.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw::app {
namespace {

using test::TestWindow;

// Three stacked buttons 100 x 30 at y = 0, 40, 80, commands 100..102.
std::vector<WidgetItem> three_items() {
    std::vector<WidgetItem> items(3);
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].id = 100 + i;
        items[i].kind = 11;
        items[i].rect = {0, static_cast<int32_t>(40 * i), 100, static_cast<int32_t>(40 * i + 30)};
    }
    return items;
}

std::string flags(const std::vector<WidgetItem>& items) {
    std::string s;
    for (const auto& it : items) s += std::string(it.hovered ? "h" : "-") + (it.pressed ? "p" : "-") + " ";
    return s;
}

TEST(WidgetMouse, TranslatesWindowMessagesIntoAClick) {
    auto items = three_items();
    PointerTracker tracker;
    // The window hands capture changes back, as a drawn window's procedure does.
    TestWindow window(300, 200, [&](HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
        if (msg == WM_CAPTURECHANGED) handle_widget_mouse(hwnd, msg, lp, items, tracker);
        return false;
    });
    const HWND h = window.hwnd();
    struct Step {
        UINT msg;
        int x, y;
        std::optional<uint64_t> command;
        bool captured_after;
        const char* flags_after;
    } steps[] = {
        {WM_MOUSEMOVE, 10, 45, {}, false, "-- h- -- "},
        {WM_LBUTTONDOWN, 10, 45, {}, true, "-- hp -- "},
        {WM_LBUTTONUP, 12, 50, 101, false, "-- h- -- "},
        // Pressed, dragged out to the left of the window and released there.
        {WM_LBUTTONDOWN, 10, 5, {}, true, "-p h- -- "},  // a press does not move the hover
        {WM_MOUSEMOVE, -5, -7, {}, true, "-p -- -- "},
        {WM_LBUTTONUP, -5, -7, {}, false, "-- -- -- "},
        {WM_LBUTTONDOWN, 10, 300, {}, false, "-- -- -- "},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(handle_widget_mouse(h, s.msg, MAKELPARAM(s.x, s.y), items, tracker), s.command)
            << s.msg << " " << s.x << "," << s.y;
        EXPECT_EQ(GetCapture() == h, s.captured_after) << s.msg << " " << s.x << "," << s.y;
        EXPECT_EQ(flags(items), s.flags_after) << s.msg << " " << s.x << "," << s.y;
    }
    // A press whose capture is taken away ends without a command.
    handle_widget_mouse(h, WM_LBUTTONDOWN, MAKELPARAM(10, 85), items, tracker);
    ASSERT_EQ(GetCapture(), h);
    ReleaseCapture();
    EXPECT_EQ(tracker.pressed(), std::nullopt);
    EXPECT_EQ(flags(items), "-- -- -- ");
    EXPECT_EQ(handle_widget_mouse(h, WM_LBUTTONUP, MAKELPARAM(10, 85), items, tracker), std::nullopt);
}

TEST(Clipboard, RoundTripsUnicodeText) {
    TestWindow window(50, 50);
    const std::string cases[] = {
        "Zon\xC3\xA9 \xE2\x86\x92 \xE6\x97\xA5\xE6\x9C\xAC",
        "\xF0\x9F\x98\x80 emoji",
        "two\r\nlines\ttab",
        "",
    };
    for (const auto& text : cases) {
        ASSERT_TRUE(copy_to_clipboard(window.hwnd(), text));
        EXPECT_EQ(read_clipboard(window.hwnd()), std::optional<std::string>(text));
    }
}

TEST(Clipboard, ReadsNothingWhenThereIsNoText) {
    TestWindow window(50, 50);
    ASSERT_TRUE(OpenClipboard(window.hwnd()));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(read_clipboard(window.hwnd()), std::nullopt);
}

TEST(Clipboard, StopsAtTheEndOfABlockWithoutTerminator) {
    TestWindow window(50, 50);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3 * sizeof(wchar_t));
    ASSERT_NE(block, nullptr);
    auto* p = static_cast<wchar_t*>(GlobalLock(block));
    p[0] = L'a';
    p[1] = L'b';
    p[2] = L'c';
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(window.hwnd()));
    EmptyClipboard();
    ASSERT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
    CloseClipboard();
    // What is read never runs past the block (some systems terminate it in place).
    const auto text = read_clipboard(window.hwnd());
    ASSERT_TRUE(text);
    EXPECT_TRUE(std::string("abc").starts_with(*text)) << *text;
    EXPECT_GE(text->size(), 2u);
}

TEST(CaretBlink, FlipsOnItsOwnTimerOnly) {
    TestWindow window(50, 50);
    const HWND h = window.hwnd();
    CaretBlink caret(kEditorCaretTimer);
    EXPECT_FALSE(caret.visible());
    caret.start(h);
    EXPECT_TRUE(caret.running());
    struct Step {
        WPARAM timer;
        bool handled;
        bool visible_after;
    } steps[] = {
        {kEditorCaretTimer, true, false},
        {kColorDialogCaretTimer, false, false},
        {kEditorCaretTimer, true, true},
        {1, false, true},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(caret.on_timer(h, s.timer), s.handled) << s.timer;
        EXPECT_EQ(caret.visible(), s.visible_after) << s.timer;
    }
    caret.on_timer(h, kEditorCaretTimer);
    caret.start(h);  // a click back into the field shows the caret at once
    EXPECT_TRUE(caret.visible());
    caret.stop(h);
    EXPECT_FALSE(caret.running());
    EXPECT_FALSE(caret.visible());
    // The timer is really gone: killing it again fails.
    EXPECT_FALSE(KillTimer(h, kEditorCaretTimer));
}

TEST(SystemTheme, ReadsOnlyDwordValues) {
    const wchar_t* key = L"Software\\TilewrightTests\\Theme";
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
    struct Case {
        const char* name;
        DWORD type;
        DWORD value;
        std::optional<uint32_t> want;
    } cases[] = {
        {"zero", REG_DWORD, 0, 0u},
        {"one", REG_DWORD, 1, 1u},
        {"any non-zero", REG_DWORD, 2, 2u},
        {"wrong type", REG_BINARY, 1, std::nullopt},
    };
    EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, key, L"AppsUseLightTheme"), std::nullopt);
    for (const auto& c : cases) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, L"AppsUseLightTheme", c.type, &c.value,
                                  sizeof c.value),
                  ERROR_SUCCESS);
        EXPECT_EQ(read_registry_dword(HKEY_CURRENT_USER, key, L"AppsUseLightTheme"), c.want) << c.name;
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
    // The real value may or may not exist in the test prefix; when it does, it is a flag.
    const auto system = read_registry_dword(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
        L"AppsUseLightTheme");
    EXPECT_EQ(read_apps_use_light_theme(), system ? std::optional<bool>(*system != 0) : std::nullopt);
}

}  // namespace
}  // namespace tw::app
