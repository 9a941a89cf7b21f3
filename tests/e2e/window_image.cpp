// Reads the windows of a class from another process, for the Share Zone scenarios:
//   window_image.exe CLASS [--snapshot] [--close]
// prints one line per top-level window of the class:
//   window L T R B visible=V exstyle=0xX alpha=A title=TITLE
// (alpha: the layered window's constant alpha, -1 when it has none). --snapshot asks
// the first window for its image (the program writes it to tilewright-mirror.ppm in its
// temporary folder when started with --test-mirror-snapshots; a window's pixels cannot
// be read from another process under Wine) and prints "snapshot=1" when it did;
// --close posts WM_CLOSE to the first window.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<HWND> g_found;
const wchar_t* g_class = nullptr;

BOOL CALLBACK collect(HWND hwnd, LPARAM) {
    wchar_t cls[128];
    if (GetClassNameW(hwnd, cls, 128) && lstrcmpW(cls, g_class) == 0) g_found.push_back(hwnd);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    g_class = argv[1];
    EnumWindows(collect, 0);
    for (HWND hwnd : g_found) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        wchar_t title[256] = L"";
        GetWindowTextW(hwnd, title, 256);
        BYTE alpha = 0;
        DWORD flags = 0;
        const int shown_alpha = GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) ? alpha : -1;
        std::printf("window %ld %ld %ld %ld visible=%d exstyle=0x%lX alpha=%d title=%ls\n", r.left, r.top, r.right,
                    r.bottom, IsWindowVisible(hwnd) ? 1 : 0,
                    static_cast<unsigned long>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)), shown_alpha, title);
    }
    for (int i = 2; i < argc; ++i) {
        const std::wstring opt = argv[i];
        if (g_found.empty()) return 1;
        if (opt == L"--snapshot") {
            const UINT message = RegisterWindowMessageW(L"TilewrightMirrorSnapshot");
            std::printf("snapshot=%d\n", SendMessageW(g_found[0], message, 0, 0) == 1 ? 1 : 0);
        } else if (opt == L"--close") {
            PostMessageW(g_found[0], WM_CLOSE, 0, 0);
        }
    }
    return 0;
}
