// Drives the running Tilewright.exe through its everyday work many times over and
// samples what the program holds, for tools/soak. It owns one plain window and, per
// cycle: maximises it (the engine confines it to a zone), moves it with the Move
// Right/Left hotkeys, restores and moves it; every 10 cycles it Shift-drags it into the
// other half (with --request-folder, see shift_drag_to); every 100 cycles it stops and
// starts the engine and switches the layout there and back; every 250 cycles it starts
// and stops a Zone Share, and (with --request-folder, at cycle --editor-at of every 250,
// default 187; see open_and_close_editor) has the layout editor opened and closed.
// Prints
//   sample cycle=N private=B handles=N gdi=N user=N ms=T
// every --sample-every cycles, "editor cycle=N opened=0|1 closed=0|1 ms=T" for each
// editor step, a "slow" line for a step that did not happen in time, and
// "done cycles=N slow=N". Asserts nothing: tools/soak judges the figures.
//   soak_driver.exe --cycles 5000 --sample-every 250 [--request-folder Z:\\...] [--editor-at 187]
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

HWND g_window = nullptr;
RECT g_work{};
int g_slow = 0;

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Handles this thread's messages until `done` holds or the time is up.
template <class Done>
bool pump_until(Done done, DWORD timeout_ms) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now < 10 ? end - now : 10), QS_ALLINPUT);
    }
}

void pause(DWORD ms) {
    pump_until([] { return false; }, ms);
}

void expect(bool ok, const char* step, int cycle) {
    if (ok) return;
    ++g_slow;
    std::printf("slow cycle=%d step=%s\n", cycle, step);
    std::fflush(stdout);
}

void key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

void ctrl_alt(WORD vk) {
    key(VK_SHIFT, true);  // a Shift an xdotool drag may have left down would change the chord
    key(VK_CONTROL, false);
    key(VK_MENU, false);
    key(vk, false);
    key(vk, true);
    key(VK_MENU, true);
    key(VK_CONTROL, true);
}

RECT rect() {
    RECT r{};
    GetWindowRect(g_window, &r);
    return r;
}

int work_width() { return g_work.right - g_work.left; }
// In one of the zones of Halves or Thirds: not maximised, full height, at most
// three quarters of the width (the restored rectangle is shorter).
bool in_zone() {
    const RECT r = rect();
    return !IsZoomed(g_window) && r.right - r.left < work_width() * 3 / 4 &&
           r.bottom - r.top >= g_work.bottom - g_work.top - 8;
}
bool centre_in_right_half() {
    const RECT r = rect();
    return (r.left + r.right) / 2 > (g_work.left + g_work.right) / 2;
}

void foreground() {
    SetForegroundWindow(g_window);
    pump_until([] { return GetForegroundWindow() == g_window; }, 2000);
}

// Asks tools/soak for what only real X input can do: writes `line` into `name` in the
// request folder (through a temporary file and a rename, so that it is never read half
// written); tools/soak does what it asks and deletes the file. Handles messages and
// calls `watch` meanwhile; true when the file was gone within the time.
template <class Watch>
bool ask_soak_tool(const std::wstring& folder, const wchar_t* name, const char* line, DWORD timeout_ms,
                   Watch watch) {
    const std::wstring request = folder + L"\\" + name;
    const std::wstring tmp = request + L".tmp";
    HANDLE h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    CloseHandle(h);
    if (!MoveFileExW(tmp.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    return pump_until(
        [&request, &watch] {
            watch();
            return GetFileAttributesW(request.c_str()) == INVALID_FILE_ATTRIBUTES;
        },
        timeout_ms);
}

// Shift-drag into the other half. Wine takes the Shift state of another process from
// the X server, so the drag is made there: the driver asks with "<from x> <from y> <to
// x> <to y>" in drag.request and tools/soak performs it with xdotool (Shift and the
// left button held, the cursor moved, both let go). The engine puts the foreground
// window into the zone under the cursor.
bool shift_drag_to(const std::wstring& folder, bool right) {
    const RECT r = rect();
    const int y = (g_work.top + g_work.bottom) / 2;
    const int x = g_work.left + work_width() * (right ? 3 : 1) / 4;
    char line[80];
    std::snprintf(line, sizeof line, "%ld %ld %d %d\n", (r.left + r.right) / 2, r.top + 200, x, y);
    return ask_soak_tool(folder, L"drag.request", line, 30000, [] {});
}

bool main_window_hidden() {
    const HWND main = FindWindowW(L"TilewrightMain", nullptr);
    return main && !IsWindowVisible(main);
}

// The layout editor opened and closed as a user does it, with real clicks, so asked of
// tools/soak in editor.request: a click on the tray icon shows the main window, a click
// on its "Edit Layouts…" link opens the editor, Escape closes it and the main window's
// close button hides it to the tray again. Meanwhile the driver watches for the
// editor's window; afterwards the editor must be gone and the main window hidden. The
// step is slow when it took longer than 60 s (screenshots tell tools/soak when the
// windows have painted, which takes seconds on a loaded machine). The driver's own
// window is hidden meanwhile: without a window manager Wine activates the main window
// without raising it above another program's window that covers it.
void open_and_close_editor(const std::wstring& folder, int cycle) {
    const ULONGLONG start = GetTickCount64();
    ShowWindow(g_window, SW_HIDE);
    bool opened = false;
    const bool answered =
        ask_soak_tool(folder, L"editor.request", "editor\n", 180000,
                      [&opened] { opened = opened || FindWindowW(L"TilewrightEditor", nullptr) != nullptr; });
    const bool closed = answered && pump_until(
                                        [] { return !FindWindowW(L"TilewrightEditor", nullptr) && main_window_hidden(); },
                                        10000);
    const ULONGLONG ms = GetTickCount64() - start;
    ShowWindow(g_window, SW_SHOWNORMAL);
    std::printf("editor cycle=%d opened=%d closed=%d ms=%llu\n", cycle, opened ? 1 : 0, closed ? 1 : 0,
                static_cast<unsigned long long>(ms));
    std::fflush(stdout);
    expect(opened && closed && ms <= 60000, "editor", cycle);
}

struct Sample {
    long long priv = -1, handles = -1, gdi = -1, user = -1;
};

Sample sample(HANDLE process) {
    Sample s;
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        s.priv = static_cast<long long>(pmc.PrivateUsage);
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count)) s.handles = count;
    s.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    s.user = GetGuiResources(process, GR_USEROBJECTS);
    return s;
}

HANDLE open_program() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return nullptr;
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof pe;
    HANDLE found = nullptr;  // the first process of that name
    for (BOOL ok = Process32FirstW(snap, &pe); ok && !found; ok = Process32NextW(snap, &pe))
        if (_wcsicmp(pe.szExeFile, L"Tilewright.exe") == 0)
            found = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pe.th32ProcessID);
    CloseHandle(snap);
    return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int cycles = 5000, every = 250, editor_at = 187;
    std::wstring request_folder;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::wcscmp(argv[i], L"--request-folder") == 0) request_folder = argv[i + 1];
        if (std::wcscmp(argv[i], L"--editor-at") == 0) editor_at = _wtoi(argv[i + 1]);
        if (std::wcscmp(argv[i], L"--cycles") == 0) cycles = _wtoi(argv[i + 1]);
        if (std::wcscmp(argv[i], L"--sample-every") == 0) every = _wtoi(argv[i + 1]);
    }
    if (cycles <= 0 || every <= 0) return 2;
    // The program may still be starting: wait for its process and its main window.
    HANDLE program = nullptr;
    pump_until([&program] { return (program = open_program()) != nullptr; }, 60000);
    if (program) pump_until([] { return FindWindowW(L"TilewrightMain", nullptr) != nullptr; }, 60000);
    if (!program) {
        std::printf("Tilewright.exe is not running\n");
        return 1;
    }
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &g_work, 0);
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SoakFixture";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    g_window = CreateWindowExW(0, wc.lpszClassName, L"Soak fixture", WS_OVERLAPPEDWINDOW, 200, 150, 800, 600,
                               nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(g_window, SW_SHOWNORMAL);
    foreground();
    const ULONGLONG start = GetTickCount64();
    for (int cycle = 0; cycle <= cycles; ++cycle) {
        if (cycle % every == 0) {
            const Sample s = sample(program);
            std::printf("sample cycle=%d private=%lld handles=%lld gdi=%lld user=%lld ms=%llu\n", cycle, s.priv,
                        s.handles, s.gdi, s.user, static_cast<unsigned long long>(GetTickCount64() - start));
            std::fflush(stdout);
        }
        if (cycle == cycles) break;
        if (WaitForSingleObject(program, 0) == WAIT_OBJECT_0) {
            std::printf("Tilewright.exe ended at cycle %d\n", cycle);
            return 1;
        }
        foreground();
        ShowWindow(g_window, SW_MAXIMIZE);
        expect(pump_until(in_zone, 10000), "confine", cycle);
        const bool right = centre_in_right_half();
        ctrl_alt(right ? 'A' : 'D');
        expect(pump_until([right] { return in_zone() && centre_in_right_half() != right; }, 5000), "hotkey", cycle);
        if (!request_folder.empty() && cycle % 10 == 5) {
            foreground();
            const bool now_right = centre_in_right_half();
            expect(shift_drag_to(request_folder, !now_right) &&
                       pump_until([now_right] { return in_zone() && centre_in_right_half() != now_right; }, 5000),
                   "shift-drag", cycle);
        }
        ShowWindow(g_window, SW_RESTORE);
        SetWindowPos(g_window, nullptr, 150 + cycle % 7 * 20, 150 + cycle % 5 * 20, 800, 600,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        pump_until([] { return !IsZoomed(g_window); }, 2000);
        if (cycle % 100 == 99) {
            ctrl_alt('R');  // stop the engine
            pause(300);
            ctrl_alt('R');  // and start it again
            pause(300);
        } else if (cycle % 100 == 49) {
            ctrl_alt('C');  // the next layout, then back to the first of two
            pause(200);
            ctrl_alt('C');
            pause(200);
        } else if (cycle % 250 == 124) {
            foreground();
            ShowWindow(g_window, SW_MAXIMIZE);
            pump_until(in_zone, 10000);
            ctrl_alt('1');  // share zone 1, then stop the share
            expect(pump_until([] { return FindWindowW(L"TilewrightMirror", nullptr) != nullptr; }, 10000),
                   "share-start", cycle);
            pause(500);
            ctrl_alt('1');
            expect(pump_until([] { return FindWindowW(L"TilewrightMirror", nullptr) == nullptr; }, 10000),
                   "share-stop", cycle);
        } else if (!request_folder.empty() && cycle % 250 == editor_at) {
            open_and_close_editor(request_folder, cycle);
        }
    }
    std::printf("done cycles=%d slow=%d\n", cycles, g_slow);
    DestroyWindow(g_window);
    CloseHandle(program);
    return 0;
}
