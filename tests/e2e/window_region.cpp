// Prints the window rectangle and the window region (as rectangles in window
// coordinates) of every top-level window of a class, for the end-to-end scenarios:
//   window_region.exe TilewrightOverlay
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

const wchar_t* g_class = nullptr;

BOOL CALLBACK print_window(HWND hwnd, LPARAM) {
    wchar_t cls[128];
    if (!GetClassNameW(hwnd, cls, 128) || lstrcmpW(cls, g_class) != 0) return TRUE;
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    std::printf("window %ld %ld %ld %ld visible=%d enabled=%d\n", wr.left, wr.top, wr.right, wr.bottom,
                IsWindowVisible(hwnd) ? 1 : 0, IsWindowEnabled(hwnd) ? 1 : 0);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(hwnd, rgn) != ERROR) {
        const DWORD size = GetRegionData(rgn, 0, nullptr);
        std::vector<char> buf(size);
        auto* data = reinterpret_cast<RGNDATA*>(buf.data());
        if (size && GetRegionData(rgn, size, data)) {
            const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
            for (DWORD i = 0; i < data->rdh.nCount; ++i)
                std::printf("rect %ld %ld %ld %ld\n", rects[i].left, rects[i].top, rects[i].right,
                            rects[i].bottom);
        }
    }
    DeleteObject(rgn);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    g_class = argv[1];
    EnumWindows(print_window, 0);
    return 0;
}
