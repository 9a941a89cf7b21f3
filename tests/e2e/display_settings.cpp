// Switches monitors off and on through the display settings, as the user does in the
// system's display settings, so that the system tells every program with
// WM_DISPLAYCHANGE (Wine does not for outputs switched on or off behind its back).
//   display_settings.exe off X,Y ...          detaches the monitor under each point
//   display_settings.exe on NAME@X,Y,W,H ...  attaches each display at that rectangle
// All changes are applied at once. Prints one "off NAME@X,Y,W,H" line per detached
// monitor (what "on" takes to bring it back); exits with 1 when anything failed.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

bool stage(const wchar_t* device, LONG x, LONG y, DWORD w, DWORD h) {
    DEVMODEW dm{};
    dm.dmSize = sizeof dm;
    dm.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;  // a zero size detaches
    dm.dmPosition.x = x;
    dm.dmPosition.y = y;
    dm.dmPelsWidth = w;
    dm.dmPelsHeight = h;
    const LONG r = ChangeDisplaySettingsExW(device, &dm, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr);
    if (r != DISP_CHANGE_SUCCESSFUL) std::printf("ChangeDisplaySettingsExW(%ls) failed: %ld\n", device, r);
    return r == DISP_CHANGE_SUCCESSFUL;
}

bool switch_off(const wchar_t* arg) {
    POINT p{};
    if (std::swscanf(arg, L"%ld,%ld", &p.x, &p.y) != 2) return false;
    MONITORINFOEXW mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONULL), &mi)) {
        std::printf("no monitor at %ld,%ld\n", p.x, p.y);
        return false;
    }
    const RECT& r = mi.rcMonitor;
    std::printf("off %ls@%ld,%ld,%ld,%ld\n", mi.szDevice, r.left, r.top, r.right - r.left, r.bottom - r.top);
    return stage(mi.szDevice, 0, 0, 0, 0);
}

bool switch_on(const wchar_t* arg) {
    wchar_t device[CCHDEVICENAME]{};
    LONG x = 0, y = 0;
    DWORD w = 0, h = 0;
    if (std::swscanf(arg, L"%31l[^@]@%ld,%ld,%lu,%lu", device, &x, &y, &w, &h) != 5) return false;
    return stage(device, x, y, w, h);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const bool off = std::wcscmp(argv[1], L"off") == 0;
    bool ok = true;
    for (int i = 2; i < argc; ++i) ok = (off ? switch_off(argv[i]) : switch_on(argv[i])) && ok;
    const LONG r = ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
    if (r != DISP_CHANGE_SUCCESSFUL) std::printf("applying the display settings failed: %ld\n", r);
    std::fflush(stdout);
    return ok && r == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}
