// The baselines of tools/idle-cost: a plain visible window that does nothing, and with
// --timer MS the same window with a timer whose ticks do nothing (the floor a program
// with a periodic timer cannot go below).
//   idle_window.exe [--timer 120]
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) return 0;
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    UINT timer = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::wcscmp(argv[i], L"--timer") == 0) timer = static_cast<UINT>(_wtoi(argv[i + 1]));
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"IdleBaseline";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, timer ? L"Idle baseline with timer" : L"Idle baseline",
                                WS_OVERLAPPEDWINDOW, 40, 40, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    if (timer) SetTimer(hwnd, 1, timer, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
