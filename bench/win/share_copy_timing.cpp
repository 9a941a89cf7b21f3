// What one frame of the screen-copy capture costs for a 960 x 1080 zone: the copy from
// the screen and the comparison with the previous frame (all a still desktop costs),
// the store of a changed frame, and the mirror window's paint of it. Prints figures:
//   share_copy_timing.exe [rounds]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/share/capture_sources.h"
#include "app/share/mirror_image.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of this thread in ms: on a loaded machine the wall time of a copy is mostly
// waiting, so both are reported.
double thread_cpu_ms() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

struct Figures {
    double cpu_ms = 0;  // thread CPU over all rounds
    std::vector<double> ms;
    double median() {
        std::sort(ms.begin(), ms.end());
        return ms.empty() ? 0 : ms[ms.size() / 2];
    }
    double mean() const {
        double sum = 0;
        for (double v : ms) sum += v;
        return ms.empty() ? 0 : sum / static_cast<double>(ms.size());
    }
};

COLORREF g_colour = RGB(200, 30, 30);

LRESULT CALLBACK painter(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH brush = CreateSolidBrush(g_colour);
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 60;
    constexpr int w = 960, h = 1080;
    const tw::Rect zone{0, 0, w, h};

    WNDCLASSW wc{};
    wc.lpfnWndProc = painter;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ShareCopyTiming";
    RegisterClassW(&wc);
    // A window filling the zone whose colour changes when a changed frame is wanted.
    HWND scene = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, w, h,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(scene, SW_SHOWNOACTIVATE);
    UpdateWindow(scene);
    HWND target = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    Sleep(500);
    pump();

    tw::app::MirrorImage image(w, h);
    auto source = tw::app::open_screen_copy(zone, target, image);
    if (!source) {
        std::printf("share_copy_timing: the screen copy could not be opened\n");
        return 1;
    }
    Figures still, changed, paint;
    auto measure_still = [&](Figures& f) {
        source->acquire(0);
        source->present();
        const double cpu = thread_cpu_ms();
        for (int i = 0; i < rounds; ++i) {
            const auto start = Clock::now();
            const tw::FrameWait got = source->acquire(0);
            f.ms.push_back(ms_since(start));
            if (got != tw::FrameWait::Timeout) std::printf("share_copy_timing: the still zone changed in round %d\n", i);
        }
        f.cpu_ms = thread_cpu_ms() - cpu;
    };
    measure_still(still);
    Figures still_bare;
    ShowWindow(scene, SW_HIDE);
    Sleep(300);
    pump();
    measure_still(still_bare);
    ShowWindow(scene, SW_SHOWNOACTIVATE);
    UpdateWindow(scene);
    Sleep(300);
    pump();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    int missed = 0;
    for (int i = 0; i < rounds; ++i) {
        g_colour = RGB(40 + (i * 37) % 200, 90, 200 - (i * 53) % 150);
        InvalidateRect(scene, nullptr, FALSE);
        UpdateWindow(scene);
        GdiFlush();
        const auto start = Clock::now();
        const double cpu = thread_cpu_ms();
        if (source->acquire(0) == tw::FrameWait::Frame) {
            source->present();
            changed.ms.push_back(ms_since(start));
            changed.cpu_ms += thread_cpu_ms() - cpu;
        } else {
            ++missed;
        }
        const auto paint_start = Clock::now();
        image.paint(memory);
        GdiFlush();
        paint.ms.push_back(ms_since(paint_start));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    auto per_frame = [](const Figures& f) { return f.ms.empty() ? 0 : f.cpu_ms / static_cast<double>(f.ms.size()); };
    std::printf("screen-copy capture of a %d x %d zone, %d rounds each (wall time; CPU of this process):\n", w, h,
                rounds);
    std::printf("  still frame (copy from the screen + compare): median %.2f ms, mean %.2f ms; CPU %.2f ms\n",
                still.median(), still.mean(), per_frame(still));
    std::printf("  still frame over the bare desktop: median %.2f ms, mean %.2f ms; CPU %.2f ms\n",
                still_bare.median(), still_bare.mean(), per_frame(still_bare));
    std::printf("  changed frame (copy + compare + store for the mirror): median %.2f ms, mean %.2f ms; CPU %.2f ms%s\n",
                changed.median(), changed.mean(), per_frame(changed), missed ? " (some changes were not seen)" : "");
    std::printf("  mirror paint of a frame: median %.2f ms, mean %.2f ms\n", paint.median(), paint.mean());
    DestroyWindow(scene);
    DestroyWindow(target);
    return 0;
}
