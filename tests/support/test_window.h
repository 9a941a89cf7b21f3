#pragma once
// A plain popup window for the Windows tests: its client area is exactly the size asked
// for, and a test can hook its messages. Windows only.
#include <windows.h>

#include <functional>

namespace tw::test {

class TestWindow {
public:
    // Handles a message; return true when handled (the result is then 0).
    using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM)>;

    TestWindow(int width, int height, Handler handler = {}) : handler_(std::move(handler)) {
        static const ATOM cls = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &TestWindow::proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.lpszClassName = L"TilewrightTestWindow";
            return RegisterClassExW(&wc);
        }();
        (void)cls;
        hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"TilewrightTestWindow", L"test", WS_POPUP,
                                40, 40, width, height, nullptr, nullptr,
                                GetModuleHandleW(nullptr), this);
        if (hwnd_) ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    }
    ~TestWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    void set_handler(Handler h) { handler_ = std::move(h); }

    // Delivers every message that is waiting, WM_PAINT included.
    static void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && self->handler_ && self->handler_(hwnd, msg, wp, lp)) return 0;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }

    Handler handler_;
    HWND hwnd_ = nullptr;
};

}  // namespace tw::test
