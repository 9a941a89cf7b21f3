// What a tray scenario asks of the shell, from outside the program:
//   tray_probe icons            prints the number of icons in Wine's system tray window
//   tray_probe menus            prints the number of open popup menus
//   tray_probe forget           the tray drops Tilewright's icon, as a restarted shell
//                               starts without it
//   tray_probe taskbar-created  broadcasts "TaskbarCreated", as a restarted shell does
//   tray_probe keyboard-menu    asks for the icon's menu as the shell does for Shift+F10
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

namespace {

BOOL CALLBACK count_visible(HWND hwnd, LPARAM counter) {
    if (IsWindowVisible(hwnd)) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

BOOL CALLBACK count_menus(HWND hwnd, LPARAM counter) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (IsWindowVisible(hwnd) && std::wcscmp(cls, L"#32768") == 0) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"icons") == 0) {
        HWND tray = FindWindowW(nullptr, L"Wine System Tray");
        int icons = 0;
        if (tray) EnumChildWindows(tray, count_visible, reinterpret_cast<LPARAM>(&icons));
        std::printf("tray=%d icons=%d\n", tray ? 1 : 0, icons);
        return 0;
    }
    if (argc == 2 && std::wcscmp(argv[1], L"menus") == 0) {
        int menus = 0;
        EnumWindows(count_menus, reinterpret_cast<LPARAM>(&menus));
        std::printf("menus=%d\n", menus);
        return 0;
    }
    if (argc == 2 && std::wcscmp(argv[1], L"forget") == 0) {
        NOTIFYICONDATAW d{};
        d.cbSize = sizeof d;
        d.hWnd = FindWindowW(L"TilewrightMain", nullptr);
        d.uID = 1;
        const BOOL ok = d.hWnd && Shell_NotifyIconW(NIM_DELETE, &d);
        std::printf("forgotten=%d\n", ok ? 1 : 0);
        return ok ? 0 : 1;
    }
    if (argc == 2 && std::wcscmp(argv[1], L"taskbar-created") == 0) {
        const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
        std::printf("sent %u\n", message);
        return message ? 0 : 1;
    }
    if (argc == 2 && std::wcscmp(argv[1], L"keyboard-menu") == 0) {
        // What the shell tells the icon's owner when the icon, reached from the keyboard
        // (Win+B, arrows), gets Shift+F10 or the menu key: Wine's tray has no keyboard.
        HWND main = FindWindowW(L"TilewrightMain", nullptr);
        const BOOL ok = main && PostMessageW(main, WM_APP + 5, 1, WM_CONTEXTMENU);
        std::printf("asked=%d\n", ok ? 1 : 0);
        return ok ? 0 : 1;
    }
    std::fprintf(stderr, "usage: tray_probe icons | menus | forget | taskbar-created | keyboard-menu\n");
    return 2;
}
