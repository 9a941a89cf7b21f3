// The tray's Win32 pieces: the drawn icon carries exactly the computed pixels, and the
// popup menu made from the menu model has its texts, flags, commands and submenus.
#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "app/platform/icons_win.h"
#include "app/windows/tray.h"
#include "core/ui/program_icon.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tw::app {
namespace {

// The colour bitmap of an icon as 0xAARRGGBB, rows top-down.
std::vector<uint32_t> icon_pixels(HICON icon, int size) {
    ICONINFO ii{};
    if (!GetIconInfo(icon, &ii)) return {};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> px(static_cast<size_t>(size * size));
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, ii.hbmColor, 0, static_cast<UINT>(size), px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    if (rows != size) return {};
    return px;
}

TEST(TrayIcon, DrawnIconHoldsTheComputedPixels) {
    struct Case { int size; bool active; uint32_t accent; };
    for (const Case& c : {Case{16, true, 0xA855F7}, Case{16, false, 0xA855F7}, Case{32, true, 0x2080F0},
                          Case{16, false, 0xFFFFFF}}) {
        HICON icon = draw_program_icon(c.size, c.active, c.accent);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon_pixels(icon, c.size), program_icon_pixels(c.size, c.active, c.accent))
            << c.size << " active=" << c.active;
        ICONINFO ii{};
        ASSERT_TRUE(GetIconInfo(icon, &ii));
        EXPECT_TRUE(ii.fIcon);  // an icon, not a cursor
        DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);
        DestroyIcon(icon);
    }
}

std::wstring item_text(HMENU menu, UINT pos) {
    wchar_t buf[256] = {};
    GetMenuStringW(menu, pos, buf, 256, MF_BYPOSITION);
    return buf;
}

TEST(TrayIcon, PopupMenuFromTheModel) {
    TrayMenuItem check;
    check.text = "R&&D";
    check.command = 251;
    check.checked = true;
    TrayMenuItem grey;
    grey.text = "Hide zones\tCtrl+Alt+Z";
    grey.command = 203;
    grey.grayed = true;
    TrayMenuItem sep;
    sep.kind = TrayItemKind::Separator;
    TrayMenuItem sub;
    sub.kind = TrayItemKind::Submenu;
    sub.text = "Layout\tCtrl+Alt+C";
    sub.children = {check};
    TrayMenuItem empty_sub = sub;
    empty_sub.text = "Share";
    empty_sub.children.clear();

    HMENU menu = tray_popup_menu({grey, sep, sub, empty_sub});
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(item_text(menu, 0), L"Hide zones\tCtrl+Alt+Z");
    EXPECT_EQ(GetMenuItemID(menu, 0), 203u);
    EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(item_text(menu, 2), L"Layout\tCtrl+Alt+C");
    HMENU layouts = GetSubMenu(menu, 2);
    ASSERT_NE(layouts, nullptr);
    ASSERT_EQ(GetMenuItemCount(layouts), 1);
    EXPECT_EQ(item_text(layouts, 0), L"R&&D");  // shown as "R&D"
    EXPECT_EQ(GetMenuItemID(layouts, 0), 251u);
    EXPECT_TRUE(GetMenuState(layouts, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(layouts, 0, MF_BYPOSITION) & MF_GRAYED);
    HMENU shares = GetSubMenu(menu, 3);  // attached even when empty
    ASSERT_NE(shares, nullptr);
    EXPECT_EQ(GetMenuItemCount(shares), 0);
    DestroyMenu(menu);
}

int wine_tray_icons() {
    HWND tray = FindWindowW(nullptr, L"Wine System Tray");
    if (!tray) return -1;  // not under Wine: the shell's icons cannot be counted
    int n = 0;
    EnumChildWindows(
        tray, [](HWND child, LPARAM count) {
            if (IsWindowVisible(child)) ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

// The notice about windows of elevated programs needs an icon: without one, an icon
// is added for it and removed when the balloon ends; an icon that was there stays.
TEST(TrayIcon, NoticeBringsItsOwnIconWhenNoneIsShown) {
    AppState state;
    state.main = CreateWindowExW(0, L"STATIC", L"tray test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(state.main, nullptr);
    auto pump = [] {
        MSG msg;
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(25);
        }
    };
    // Wine makes its tray window with the first icon.
    const int before = std::max(0, wine_tray_icons());

    tray_notify_refused_moves(state);
    EXPECT_TRUE(state.tray_present);
    EXPECT_TRUE(state.tray_for_notice);
    pump();
    const int during = wine_tray_icons();
    if (during >= 0) {
        EXPECT_EQ(during, before + 1);
    }
    tray_callback(state, NIN_BALLOONTIMEOUT);
    EXPECT_FALSE(state.tray_present);
    pump();
    if (during >= 0) {
        EXPECT_EQ(wine_tray_icons(), before);
    }

    // "Show in tray" switched on while the notice shows: the icon stays afterwards.
    tray_notify_refused_moves(state);
    state.settings.hide_to_tray = true;
    tray_follow_setting(state);
    tray_callback(state, NIN_BALLOONUSERCLICK);
    EXPECT_TRUE(state.tray_present);
    EXPECT_FALSE(state.tray_for_notice);

    tray_remove(state);
    DestroyWindow(state.main);
}

}  // namespace
}  // namespace tw::app
