// The zone overlay windows as the system sees them: their window region is the outline
// of the zones, and a shared zone's ring is cut out of it.
#include "app/app_state.h"
#include "app/engine/engine_shell_win.h"
#include "core/base/log.h"

#include <gtest/gtest.h>

namespace tw::app {
namespace {

struct Probe {
    int x, y;
    bool inside;
};

void expect_region(HWND hwnd, const std::vector<Probe>& probes, const char* what) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd, rgn), ERROR) << what;
    for (const Probe& p : probes)
        EXPECT_EQ(PtInRegion(rgn, p.x, p.y) != 0, p.inside) << what << " at " << p.x << "," << p.y;
    DeleteObject(rgn);
}

TEST(OverlayWindows, RegionIsTheZoneOutline) {
    AppState state;
    state.instance = GetModuleHandleW(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(0xA8, 0x55, 0xF7));
    register_overlay_classes(state.instance, brush);
    Win32EngineShell shell(state);
    std::vector<size_t> shared;
    shell.shared_zones = [&](const std::string&) { return shared; };

    // Two columns on a 1920 x 1040 work area that starts 40 pixels down.
    MonitorZones row{"screen", {{0, 40, 960, 1080}, {960, 40, 1920, 1080}}, {0, 0, 1920, 1080},
                     {0, 40, 1920, 1080}};
    auto windows = shell.create_overlays({row}, true);
    ASSERT_EQ(windows.size(), 1u);
    HWND hwnd = to_hwnd(windows[0]);
    ASSERT_NE(hwnd, nullptr);
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    EXPECT_EQ(to_rect(wr), (Rect{0, 40, 1920, 1080}));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & 0x80800A8, 0x80800A8);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

    // Window coordinates: the frame along every edge, the shared border at 959 and 960.
    expect_region(hwnd,
                  {{0, 500, true}, {1, 500, true}, {2, 500, false}, {500, 500, false},
                   {958, 500, false}, {959, 500, true}, {960, 500, true}, {961, 500, false},
                   {1918, 500, true}, {1919, 500, true}, {500, 0, true}, {500, 1039, true},
                   {500, 2, false}},
                  "two columns");

    // Sharing the first zone clears the 4-pixel band along its edges.
    shared = {0};
    shell.cut_share_frames();
    expect_region(hwnd,
                  {{0, 500, false}, {959, 500, false}, {960, 500, false}, {500, 0, false},
                   {1919, 500, true}, {1500, 0, true}},
                  "first zone shared");

    shell.destroy_overlays();
    EXPECT_FALSE(IsWindow(hwnd));
    DeleteObject(brush);
}

// A point exactly on a zone line belongs to the window beneath the overlay: clicks
// there, and on the edges of windows held in their zones, reach those windows.
TEST(OverlayWindows, LinesLetThePointerThrough) {
    AppState state;
    state.instance = GetModuleHandleW(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(0xA8, 0x55, 0xF7));
    register_overlay_classes(state.instance, brush);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = state.instance;
    wc.lpszClassName = L"OverlayTestBeneath";
    RegisterClassW(&wc);
    HWND beneath = CreateWindowExW(0, wc.lpszClassName, L"beneath", WS_POPUP | WS_VISIBLE, 800, 300,
                                   300, 400, nullptr, nullptr, state.instance, nullptr);
    ASSERT_NE(beneath, nullptr);
    Win32EngineShell shell(state);
    MonitorZones row{"screen", {{0, 0, 960, 1040}, {960, 0, 1920, 1040}}, {0, 0, 1920, 1080},
                     {0, 0, 1920, 1040}};
    auto windows = shell.create_overlays({row}, true);
    ASSERT_EQ(windows.size(), 1u);
    for (const POINT p : {POINT{959, 500}, POINT{960, 500}, POINT{1000, 500}})
        EXPECT_EQ(WindowFromPoint(p), beneath) << p.x;
    shell.destroy_overlays();
    DestroyWindow(beneath);
    DeleteObject(brush);
}

// Rectangles for the overlay regions until `g_regions_left` runs out, as when the
// process has used up its GDI objects.
int g_regions_left = 0;
HRGN WINAPI scarce_rect_region(int l, int t, int r, int b) {
    if (g_regions_left <= 0) return nullptr;
    --g_regions_left;
    return CreateRectRgn(l, t, r, b);
}

// A region with one rectangle missing is a wrong shape (without the inner cut-out, a
// solid rectangle over the monitor): the overlay is left out instead, and said so.
TEST(OverlayWindows, RegionThatCannotBeBuiltLeavesTheOverlayOut) {
    AppState state;
    state.instance = GetModuleHandleW(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(0xA8, 0x55, 0xF7));
    register_overlay_classes(state.instance, brush);
    Win32EngineShell shell(state);
    shell.create_rect_region = scarce_rect_region;
    const MonitorZones row{"screen", {{0, 0, 960, 1040}, {960, 0, 1920, 1040}}, {0, 0, 1920, 1080},
                           {0, 0, 1920, 1040}};
    const std::string line = "overlay: region of screen screen could not be built (out of GDI objects?); "
                             "its overlay is left out";
    for (int regions : {0, 1, 3}) {  // the region itself, or one of its rectangles
        LogCapture log;
        g_regions_left = regions;
        EXPECT_EQ(shell.create_overlays({row}, true), std::vector<WindowId>{0}) << regions;
        EXPECT_EQ(FindWindowW(L"TilewrightOverlay", nullptr), nullptr) << regions;
        EXPECT_EQ(log.lines(), std::vector<std::string>{line}) << regions;
    }
    // Enough for the lines, but not for cutting a share ring out of them later.
    g_regions_left = 100;
    auto windows = shell.create_overlays({row}, true);
    ASSERT_NE(windows[0], 0);
    std::vector<size_t> shared{0};
    shell.shared_zones = [&](const std::string&) { return shared; };
    g_regions_left = 3;
    LogCapture log;
    shell.cut_share_frames();
    EXPECT_FALSE(IsWindow(to_hwnd(windows[0])));
    EXPECT_EQ(log.lines(), std::vector<std::string>{line});
    shell.destroy_overlays();
    DeleteObject(brush);
}

}  // namespace
}  // namespace tw::app
