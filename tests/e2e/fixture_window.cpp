// A plain top-level window for end-to-end scenarios: it can maximise itself, fight a
// placement by re-maximising, and reports its rectangle to a file after every change,
// with the number of mouse presses it received (on its client area or its frame).
// With --pattern 1 it is a borderless window painting eight vertical colour bands (see
// kBands), whose order every left click reverses, for the Share Zone scenarios.
//   fixture_window.exe --title T [--rect l,t,r,b] [--maximize-after MS]
//                      [--remaximize N] [--report PATH] [--lifetime S] [--pattern 1]
//                      [--maximize-every MS]
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

std::wstring g_report;
ULONGLONG g_maximized_at = 0;  // GetTickCount64 when the fixture maximised itself
int g_remaximize = 0;
int g_maximize_every = 0;  // after the first maximise, again every so many ms
bool g_pattern = false;
bool g_flipped = false;
int g_clicks = 0;
constexpr UINT_PTR kMaximizeTimer = 1, kLifetimeTimer = 3;
bool g_fighting = false;  // inside our own fight-back placement
// The pattern's colours, left to right (0xRRGGBB); the end-to-end scenarios know them.
constexpr COLORREF kBands[8] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0xFF8000};

void paint_pattern(HWND hwnd, HDC dc) {
    RECT client{};
    GetClientRect(hwnd, &client);
    for (int i = 0; i < 8; ++i) {
        const COLORREF rgb = kBands[g_flipped ? 7 - i : i];
        HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
        RECT band{client.right * i / 8, 0, client.right * (i + 1) / 8, client.bottom};
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}

void report(HWND hwnd) {
    if (g_report.empty()) return;
    RECT r{};
    GetWindowRect(hwnd, &r);
    char line[200];
    int n = std::snprintf(line, sizeof line,
                          "%ld %ld %ld %ld zoomed=%d foreground=%d t=%llu maximized_at=%llu clicks=%d\n",
                          r.left, r.top, r.right, r.bottom, IsZoomed(hwnd) ? 1 : 0,
                          GetForegroundWindow() == hwnd ? 1 : 0,
                          static_cast<unsigned long long>(GetTickCount64()),
                          static_cast<unsigned long long>(g_maximized_at), g_clicks);
    // Write to a temporary file and move it, so a reader never sees half a line.
    std::wstring tmp = g_report + L".tmp";
    HANDLE h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, line, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(h);
    MoveFileExW(tmp.c_str(), g_report.c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool covers_work_area(HWND hwnd) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    RECT r{};
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi) || !GetWindowRect(hwnd, &r))
        return false;
    return r.left <= mi.rcWork.left && r.top <= mi.rcWork.top && r.right >= mi.rcWork.right &&
           r.bottom >= mi.rcWork.bottom;
}

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        report(hwnd);  // the foreground flag changed
        break;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        ++g_clicks;
        report(hwnd);
        if (msg == WM_LBUTTONDOWN && g_pattern) {
            g_flipped = !g_flipped;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_WINDOWPOSCHANGED:
        report(hwnd);
        // A placement that un-maximised us: fight back at once, inside the placement
        // itself, as some applications do. Done here rather than from a posted message
        // so that the engine never sees the window in its zone between two fights,
        // however late this process is scheduled on a loaded machine.
        if (g_remaximize > 0 && !g_fighting && !covers_work_area(hwnd)) {
            --g_remaximize;
            g_fighting = true;
            // Sized back over the whole work area, as a player going fullscreen does
            // (a maximise request alone is not always honoured without a window manager).
            MONITORINFO mi{};
            mi.cbSize = sizeof mi;
            GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
            const RECT& w = mi.rcWork;
            SetWindowPos(hwnd, nullptr, w.left, w.top, w.right - w.left, w.bottom - w.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            g_fighting = false;
        }
        break;
    case WM_TIMER:
        KillTimer(hwnd, wp);
        if (wp == kMaximizeTimer) {
            SetForegroundWindow(hwnd);
            g_maximized_at = GetTickCount64();
            ShowWindow(hwnd, SW_MAXIMIZE);
            if (g_maximize_every > 0) SetTimer(hwnd, kMaximizeTimer, static_cast<UINT>(g_maximize_every), nullptr);
        } else if (wp == kLifetimeTimer) {
            DestroyWindow(hwnd);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (g_pattern)
            paint_pattern(hwnd, dc);
        else
            FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring title = L"Fixture";
    RECT rect{200, 150, 900, 650};
    int maximize_after = -1, lifetime = 120;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring k = argv[i], v = argv[i + 1];
        if (k == L"--title") title = v;
        else if (k == L"--rect") swscanf(v.c_str(), L"%ld,%ld,%ld,%ld", &rect.left, &rect.top, &rect.right, &rect.bottom);
        else if (k == L"--maximize-after") maximize_after = _wtoi(v.c_str());
        else if (k == L"--remaximize") g_remaximize = _wtoi(v.c_str());
        else if (k == L"--maximize-every") g_maximize_every = _wtoi(v.c_str());
        else if (k == L"--report") g_report = v;
        else if (k == L"--lifetime") lifetime = _wtoi(v.c_str());
        else if (k == L"--pattern") g_pattern = v == L"1";
    }
    LocalFree(argv);

    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"TilewrightFixture";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title.c_str(), g_pattern ? WS_POPUP : WS_OVERLAPPEDWINDOW,
                                rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, nullptr, nullptr, inst, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    report(hwnd);
    if (maximize_after >= 0) SetTimer(hwnd, kMaximizeTimer, static_cast<UINT>(maximize_after), nullptr);
    SetTimer(hwnd, kLifetimeTimer, static_cast<UINT>(lifetime) * 1000, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
