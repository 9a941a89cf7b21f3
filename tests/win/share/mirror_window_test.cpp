// A share as the system sees it: the mirror window over the zone holds the zone's live
// image, the dashed frame surrounds it, and destroying the mirror ends the capture
// thread and takes the frame with it.
#include "app/engine/win32_desktop.h"
#include "app/share/mirror_image.h"
#include "app/share/mirror_window.h"
#include "core/base/log.h"
#include "core/ui/widgets.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tw::app {
namespace {

using test::TestWindow;

constexpr COLORREF kLeft = RGB(0xFF, 0x20, 0x20), kRight = RGB(0x20, 0x40, 0xFF);

// The window's image as it paints it for PrintWindow; CLR_INVALID outside it.
COLORREF printed_pixel(HWND hwnd, int x, int y) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const COLORREF c = PrintWindow(hwnd, memory, 0) ? GetPixel(memory, x, y) : CLR_INVALID;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

// Pumps this thread's messages until `cond` holds or 30 s have passed.
template <typename Cond>
bool wait_until(Cond cond) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        TestWindow::pump();
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

COLORREF class_brush_colour(HWND hwnd) {
    auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND));
    LOGBRUSH lb{};
    if (!brush || !GetObjectW(brush, sizeof lb, &lb)) return CLR_INVALID;
    return lb.lbColor;
}

// A window painting two colour halves at (40, 40), 200 x 120 (TestWindow's origin).
struct Pattern {
    bool swapped = false;
    TestWindow window{200, 120, [this](HWND hwnd, UINT msg, WPARAM, LPARAM) {
                          if (msg != WM_PAINT) return false;
                          PAINTSTRUCT ps;
                          HDC dc = BeginPaint(hwnd, &ps);
                          HBRUSH a = CreateSolidBrush(swapped ? kRight : kLeft);
                          HBRUSH b = CreateSolidBrush(swapped ? kLeft : kRight);
                          RECT left{0, 0, 100, 120}, right{100, 0, 200, 120};
                          FillRect(dc, &left, a);
                          FillRect(dc, &right, b);
                          DeleteObject(a);
                          DeleteObject(b);
                          EndPaint(hwnd, &ps);
                          return true;
                      }};
};

TEST(MirrorWindow, HoldsTheZonesLiveImageAndEndsWithItsWindow) {
    Pattern pattern;
    TestWindow::pump();
    LogCapture logs;
    const Rect zone{40, 40, 240, 160};
    HWND mirror = create_mirror_window(zone, "Tilewright - Share Zone 1");
    ASSERT_NE(mirror, nullptr);
    EXPECT_TRUE(is_active_share(mirror));

    RECT wr{};
    GetWindowRect(mirror, &wr);
    EXPECT_EQ(to_rect(wr), zone);
    wchar_t title[64] = L"";
    GetWindowTextW(mirror, title, 64);
    EXPECT_STREQ(title, L"Tilewright - Share Zone 1");
    const auto ex = static_cast<DWORD>(GetWindowLongPtrW(mirror, GWL_EXSTYLE));
    const DWORD mirror_ex = WS_EX_LAYERED | WS_EX_APPWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
    EXPECT_EQ(ex & mirror_ex, mirror_ex);
    BYTE alpha = 255;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(mirror, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_NE(SendMessageW(mirror, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(mirror, WM_GETICON, ICON_SMALL, 0), 0);

    // The frame: a dashed border exactly around the zone, never activated.
    HWND frame = share_frame(mirror);
    ASSERT_NE(frame, nullptr);
    GetWindowRect(frame, &wr);
    EXPECT_EQ(to_rect(wr), zone);
    const DWORD frame_ex = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(frame, GWL_EXSTYLE)) & frame_ex, frame_ex);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(frame, rgn), ERROR);
    const struct { int x, y; bool in; } probes[] = {
        {0, 0, true}, {23, 1, true}, {24, 0, false}, {36, 0, true}, {199, 119, true}, {1, 30, false},
        {0, 40, true}, {100, 60, false}, {198, 10, true}, {2, 2, false},
    };
    for (const auto& p : probes) EXPECT_EQ(PtInRegion(rgn, p.x, p.y) != 0, p.in) << p.x << "," << p.y;
    DeleteObject(rgn);

    // The zone's pixels reach the mirror, and so do later changes.
    ASSERT_TRUE(wait_until([&] { return printed_pixel(mirror, 50, 60) == kLeft; }))
        << "mirror shows " << std::hex << printed_pixel(mirror, 50, 60);
    EXPECT_EQ(printed_pixel(mirror, 150, 60), kRight);
    pattern.swapped = true;
    InvalidateRect(pattern.window.hwnd(), nullptr, TRUE);
    EXPECT_TRUE(wait_until([&] { return printed_pixel(mirror, 50, 60) == kRight; }));

    // A mirror cannot be minimised.
    SendMessageW(mirror, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsIconic(mirror));

    DestroyWindow(mirror);
    EXPECT_FALSE(is_active_share(mirror));
    EXPECT_FALSE(IsWindow(frame));
    // The capture thread has been joined: its lines are all in.
    EXPECT_TRUE(logs.contains("zone_share: capture thread for [40,40,240,160] stopped"));
    EXPECT_TRUE(logs.contains("zone_share: share of [40,40,240,160] ended"));
    EXPECT_FALSE(logs.contains("zone_share: capture thread panicked"));
}

TEST(MirrorWindow, FrameFollowsTheAccentColour) {
    const ThemeState saved = theme_state();
    theme_state().accent = 0x10A020;
    HWND first = create_mirror_window({300, 40, 400, 140}, "Tilewright - Share Zone 1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(class_brush_colour(share_frame(first)), RGB(0x10, 0xA0, 0x20));
    theme_state().accent = 0x3050F0;
    share_frames_follow_accent();
    EXPECT_EQ(class_brush_colour(share_frame(first)), RGB(0x30, 0x50, 0xF0));
    DestroyWindow(first);
    // A share started after a change made while no frame existed.
    theme_state().accent = 0xF0A000;
    share_frames_follow_accent();
    HWND second = create_mirror_window({300, 40, 400, 140}, "Tilewright - Share Zone 2");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(class_brush_colour(share_frame(second)), RGB(0xF0, 0xA0, 0x00));
    DestroyWindow(second);
    theme_state() = saved;
}

TEST(MirrorWindow, EmptyZoneStillMakesOnePixelWindowsAndStopsCleanly) {
    LogCapture logs;
    HWND mirror = create_mirror_window({10, 20, 10, 20}, "Tilewright - Share Zone 3");
    ASSERT_NE(mirror, nullptr);
    RECT wr{};
    GetWindowRect(mirror, &wr);
    EXPECT_EQ(to_rect(wr), (Rect{10, 20, 11, 21}));
    ASSERT_NE(share_frame(mirror), nullptr);
    GetWindowRect(share_frame(mirror), &wr);
    EXPECT_EQ(to_rect(wr), (Rect{10, 20, 11, 21}));
    // Let the capture thread start before it is stopped.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    DestroyWindow(mirror);
    EXPECT_TRUE(logs.contains("zone_share: share of [10,20,10,20] ended"));
    EXPECT_FALSE(logs.contains("zone_share: capture thread panicked"));
}

// Ending several shares: every capture thread is asked first and winds down on its
// own, before any window is destroyed and any thread joined.
TEST(MirrorWindow, SeveralSharesStopTogether) {
    Pattern pattern;
    TestWindow::pump();
    LogCapture logs;
    const Rect zones[] = {{40, 40, 100, 100}, {100, 40, 160, 100}, {160, 40, 240, 160}};
    std::vector<HWND> mirrors;
    for (const Rect& zone : zones) mirrors.push_back(create_mirror_window(zone, "Tilewright - Share Zone"));
    for (HWND m : mirrors) ASSERT_NE(m, nullptr);
    request_capture_stop(mirrors);
    const auto all_stopped = [&] {
        for (const Rect& zone : zones)
            if (!logs.contains("zone_share: capture thread for " + rect_text(zone) + " stopped")) return false;
        return true;
    };
    EXPECT_TRUE(wait_until(all_stopped));
    for (HWND m : mirrors) EXPECT_TRUE(is_active_share(m)) << "no window was destroyed meanwhile";
    for (HWND m : mirrors) DestroyWindow(m);
    EXPECT_TRUE(active_mirrors().empty());
}

// A share drawn through desktop duplication never stores a frame, so its image holds
// no memory; the screen copy allocates with its first frame.
TEST(MirrorImage, HoldsNoPixelsBeforeTheFirstFrame) {
    MirrorImage image(1920, 1080);
    EXPECT_EQ(image.allocated_bytes(), 0u);
    EXPECT_FALSE(image.has_image());
    const std::vector<uint32_t> frame(1920 * 1080, 0xFF102030);
    EXPECT_TRUE(image.differs(frame.data()));
    image.store(frame.data());
    EXPECT_EQ(image.allocated_bytes(), frame.size() * 4);
    EXPECT_FALSE(image.differs(frame.data()));
    EXPECT_TRUE(image.has_image());
}

}  // namespace
}  // namespace tw::app
